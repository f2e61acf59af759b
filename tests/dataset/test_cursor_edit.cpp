// Fields, cursor and editing.
#include <gtest/gtest.h>

#include "tables.h"

namespace dataset_tests {
namespace {

using hostrt::DataSetError;
using hostrt::DataSetState;
using hostrt::Variant;

TEST(DataSetCursor, WalksFirstToLastAndBack) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"2"}, {"3"}});
  ds.First();
  EXPECT_TRUE(ds.Bof());
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 1);
  ds.Next();
  EXPECT_FALSE(ds.Bof());
  EXPECT_EQ(ds.FieldByName("a").AsString(), "2");  // names in any case
  ds.Last();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 3);
  ds.Prior();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("A").AsString(), "2");
  ds.SetRecNo(1);
  EXPECT_EQ(ds.FieldByName("A").AsString(), "1");
  EXPECT_THROW(ds.SetRecNo(4), DataSetError);
  ds.Prior();
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.FieldByName("A").AsString(), "1");
}

TEST(DataSetCursor, EmptyAndClosedDatasets) {
  ClientDataSet ds("cdsVazio");
  EXPECT_THROW(ds.CreateDataSet(), DataSetError);  // no fields
  ds.AddFieldDef("A", FieldType::String, 5);
  EXPECT_THROW(ds.AddFieldDef("a", FieldType::Integer), DataSetError);  // duplicate
  ds.CreateDataSet();
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 0);
  EXPECT_TRUE(ds.FieldByName("A").IsNull());
  EXPECT_EQ(ds.FieldByName("A").AsString(), "");
  EXPECT_THROW(ds.Delete(), DataSetError);
  try {
    ds.FieldByName("NOPE");
    ADD_FAILURE();
  } catch (const DataSetError& e) {
    EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("cdsVazio"), std::string::npos);
  }
  EXPECT_EQ(ds.FindField("NOPE"), nullptr);
  ds.Close();
  EXPECT_FALSE(ds.Active());
  EXPECT_THROW(ds.First(), DataSetError);
  EXPECT_THROW(ds.FieldByName("A"), DataSetError);
  ds.Open();  // definitions are kept
  EXPECT_TRUE(ds.Active());
  EXPECT_EQ(ds.FieldCount(), 1);
}

TEST(DataSetFields, TypedValuesAndConversions) {
  FormatSettingsGuard guard;
  ClientDataSet ds;
  ds.AddFieldDef("S", FieldType::String, 4);
  ds.AddFieldDef("I", FieldType::Integer);
  ds.AddFieldDef("F", FieldType::Float);
  ds.AddFieldDef("B", FieldType::Boolean);
  ds.AddFieldDef("D", FieldType::DateTime);
  ds.CreateDataSet();
  EXPECT_THROW(ds.FieldByName("S").SetAsString("x"), DataSetError);  // not editing
  ds.Append();
  ds.FieldByName("S").SetAsString("abcdef");  // cut to the field's size
  ds.FieldByName("I").SetAsString("42");
  ds.FieldByName("F").SetAsString("1,5");     // Brazilian decimal comma
  ds.FieldByName("B").SetValue(Variant(true));
  ds.FieldByName("D").SetAsDateTime(hostrt::EncodeDate(2024, 3, 9));
  EXPECT_EQ(ds.State(), DataSetState::Insert);
  ds.Post();
  EXPECT_EQ(ds.FieldByName("S").AsString(), "abcd");
  EXPECT_EQ(ds.FieldByName("I").AsInteger(), 42);
  EXPECT_EQ(ds.FieldByName("I").AsString(), "42");
  EXPECT_DOUBLE_EQ(ds.FieldByName("F").AsFloat(), 1.5);
  EXPECT_EQ(ds.FieldByName("F").AsString(), "1,5");
  EXPECT_TRUE(ds.FieldByName("B").AsBoolean());
  EXPECT_EQ(ds.FieldByName("D").AsString(), "09/03/2024");
  EXPECT_EQ(ds.FieldByName("D").Value().Type(), hostrt::VarType::DateTime);

  ds.Edit();
  EXPECT_THROW(ds.FieldByName("I").SetAsString("abc"), std::exception);
  ds.FieldByName("I").SetAsString("");  // a blank text clears a number
  ds.FieldByName("F").Clear();
  ds.Post();
  EXPECT_TRUE(ds.FieldByName("I").IsNull());
  EXPECT_EQ(ds.FieldByName("I").AsInteger(), 0);
  EXPECT_EQ(ds.FieldByName("F").AsFloat(), 0.0);
  EXPECT_TRUE(ds.FieldByName("F").Value().IsNull());

  hostrt::FormatSettings dot = hostrt::CurrentFormatSettings();
  dot.DecimalSeparator = '.';
  dot.ThousandSeparator = ',';
  hostrt::SetFormatSettings(dot);
  ds.Edit();
  ds.FieldByName("F").SetAsString("2.25");
  ds.Post();
  EXPECT_EQ(ds.FieldByName("F").AsString(), "2.25");
}

TEST(DataSetEdit, CancelRestoresAndNavigationPosts) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"2"}});
  ds.First();
  ds.Edit();
  ds.FieldByName("A").SetAsString("x");
  EXPECT_EQ(ds.FieldByName("A").AsString(), "x");
  ds.Cancel();
  EXPECT_EQ(ds.FieldByName("A").AsString(), "1");
  ds.Append();
  ds.FieldByName("A").SetAsString("3");
  ds.Cancel();
  EXPECT_EQ(ds.RecordCount(), 2);
  ds.First();
  ds.Edit();
  ds.FieldByName("A").SetAsString("y");
  ds.Next();  // leaving the record posts it
  EXPECT_EQ(ds.State(), DataSetState::Browse);
  EXPECT_EQ(Column(ds, "A"), (std::vector<std::string>{"y", "2"}));
}

TEST(DataSetEdit, InsertGoesBeforeTheCurrentRow) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"3"}});
  ds.Last();
  ds.Insert();
  ds.FieldByName("A").SetAsString("2");
  ds.Post();
  EXPECT_EQ(ds.FieldByName("A").AsString(), "2");
  EXPECT_EQ(ds.RecNo(), 2);
  ds.First();
  ds.Insert();
  ds.FieldByName("A").SetAsString("0");
  ds.Post();
  EXPECT_EQ(Column(ds, "A"), (std::vector<std::string>{"0", "1", "2", "3"}));
}

TEST(DataSetEdit, DeleteWhileWalkingVisitsEveryRow) {
  ClientDataSet ds;
  MakeTextTable(ds, {"IDPRODIMPFIS", "N"},
                {{"N", "1"}, {"N", "2"}, {"S", "3"}, {"N", "4"}, {"S", "5"}, {"N", "6"}, {"N", "7"}});
  int visited = 0;
  ds.First();
  while (!ds.Eof()) {
    ++visited;
    if (ds.FieldByName("IDPRODIMPFIS").AsString() != "S") {
      ds.Delete();
    } else {
      ds.Edit();
      ds.FieldByName("N").SetAsString(ds.FieldByName("N").AsString() + "*");
      ds.Post();
      ds.Next();
    }
    ASSERT_LT(visited, 20);
  }
  EXPECT_EQ(visited, 7);
  EXPECT_EQ(Column(ds, "N"), (std::vector<std::string>{"3*", "5*"}));

  ds.First();
  while (!ds.Eof()) ds.Delete();
  EXPECT_TRUE(ds.IsEmpty());
}

TEST(DataSetEdit, DeleteKeepsTheCursorOnTheNextRowInIndexOrder) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"c"}, {"a"}, {"b"}});
  ds.SetIndexFieldNames("A");
  ds.First();
  ds.Delete();
  EXPECT_EQ(ds.FieldByName("A").AsString(), "b");
  EXPECT_FALSE(ds.Eof());
  ds.Last();
  ds.Delete();
  EXPECT_EQ(ds.FieldByName("A").AsString(), "b");
  EXPECT_TRUE(ds.Eof());
}

TEST(DataSetEdit, EmptyDataSetKeepsStructure) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"2"}});
  ds.AddIndex("idxA", "A", "A");
  ds.EmptyDataSet();
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_EQ(ds.FieldCount(), 1);
  ds.SetIndexName("idxA");
  for (const char* v : {"1", "3", "2"}) {
    ds.Append();
    ds.FieldByName("A").SetAsString(v);
    ds.Post();
  }
  EXPECT_EQ(Column(ds, "A"), (std::vector<std::string>{"3", "2", "1"}));
}

}  // namespace
}  // namespace dataset_tests
