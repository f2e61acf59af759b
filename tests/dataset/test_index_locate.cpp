// Index order, index switching and Locate.
#include <gtest/gtest.h>

#include <random>

#include "tables.h"

namespace dataset_tests {
namespace {

using hostrt::DataSetError;
using hostrt::Variant;

void MakeClosingPayments(ClientDataSet& ds) {
  MakePayments(ds);
  ds.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  ds.AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
  AddPayment(ds, {"001", "E", "1", 10.0, 2, 100.50});
  AddPayment(ds, {"002", "T", "5", 20.0, 1, 100.25});
  AddPayment(ds, {"003", "E", "1", 30.0, 1, 100.75});
  AddPayment(ds, {"004", "S", "1", 5.0, 2, 100.50});  // ties with the first row
  AddPayment(ds, {"005", "E", "7", 7.0, 0, 100.10});
  ds.SetIndexName("idxNRORDTROCO");
}

TEST(DataSetIndex, DescendingFieldsAndTiesInNaturalOrder) {
  ClientDataSet ds;
  MakeClosingPayments(ds);
  EXPECT_EQ(ds.IndexName(), "idxNRORDTROCO");
  EXPECT_EQ(Column(ds, "CDTIPORECE"), (std::vector<std::string>{"005", "003", "002", "001", "004"}));
  ds.SetIndexName("idxDTHRINCMOV");
  EXPECT_EQ(Column(ds, "CDTIPORECE"), (std::vector<std::string>{"005", "002", "001", "004", "003"}));
  ds.SetIndexName("");
  EXPECT_EQ(Column(ds, "CDTIPORECE"), (std::vector<std::string>{"001", "002", "003", "004", "005"}));
  // Switching the index keeps the cursor on its row.
  ASSERT_TRUE(ds.Locate("CDTIPORECE", Variant("003")));
  ds.SetIndexName("idxNRORDTROCO");
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "003");
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_THROW(ds.SetIndexName("idxNOPE"), DataSetError);
  EXPECT_THROW(ds.AddIndex("idxBad", "NOPE"), DataSetError);
  EXPECT_EQ(ds.IndexNames(), (std::vector<std::string>{"idxNRORDTROCO", "idxDTHRINCMOV"}));
}

TEST(DataSetIndex, OrderFollowsEditsAndAppends) {
  ClientDataSet ds;
  MakeClosingPayments(ds);
  ds.First();  // 005
  ds.Edit();
  ds.FieldByName("NRORDTROCO").SetAsInteger(9);
  ds.Post();
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "005");
  EXPECT_EQ(ds.RecNo(), 5);
  AddPayment(ds, {"006", "E", "1", 1.0, 1, 100.80});
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(Column(ds, "CDTIPORECE"), (std::vector<std::string>{"006", "003", "002", "001", "004", "005"}));
  ds.SetIndexName("idxDTHRINCMOV");  // built after the edits
  EXPECT_EQ(Column(ds, "CDTIPORECE"), (std::vector<std::string>{"005", "002", "001", "004", "003", "006"}));
}

TEST(DataSetIndex, CaseInsensitiveAndAdHocOrders) {
  ClientDataSet ds;
  MakeTextTable(ds, {"N", "K"}, {{"b", "1"}, {"A", "2"}, {"a", "3"}, {"\xC9", "4"}, {"\xE9", "5"}, {"B", "6"}});
  ds.AddIndex("idxN", "N", "", true);
  ds.SetIndexName("idxN");
  EXPECT_EQ(Column(ds, "K"), (std::vector<std::string>{"2", "3", "1", "6", "4", "5"}));
  ds.SetIndexFieldNames("N;K");
  EXPECT_EQ(ds.IndexName(), "");
  EXPECT_EQ(Column(ds, "K"), (std::vector<std::string>{"2", "6", "3", "1", "4", "5"}));
}

TEST(DataSetLocate, OneAndSeveralFields) {
  ClientDataSet ds;
  MakeClosingPayments(ds);
  EXPECT_TRUE(ds.Locate("CDTIPORECE;IDTIPOMOVIVE", Variant::ArrayOf({"003", "E"})));
  EXPECT_DOUBLE_EQ(ds.FieldByName("VRMOVIVEND").AsFloat(), 30.0);
  EXPECT_FALSE(ds.Locate("CDTIPORECE;IDTIPOMOVIVE", Variant::ArrayOf({"002", "E"})));
  EXPECT_DOUBLE_EQ(ds.FieldByName("VRMOVIVEND").AsFloat(), 30.0);  // cursor stays
  EXPECT_TRUE(ds.Locate("IDTIPOMOVIVE", Variant("t"), hostrt::loCaseInsensitive));
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "002");
  EXPECT_FALSE(ds.Locate("IDTIPOMOVIVE", Variant("t")));
  // The first match in the current order, not in natural order.
  EXPECT_TRUE(ds.Locate("IDTIPOMOVIVE", Variant("E")));
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "005");
  EXPECT_TRUE(ds.Locate("NRORDTROCO", Variant("2")));  // text converted to the field's type
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "001");
  EXPECT_FALSE(ds.Locate("NRORDTROCO", Variant("abc")));
  EXPECT_FALSE(ds.Locate("NRORDTROCO", Variant(1.5)));
  EXPECT_TRUE(ds.Locate("CDTIPORECE", Variant("00"), hostrt::loPartialKey));
  EXPECT_THROW(ds.Locate("CDTIPORECE;IDTIPOMOVIVE", Variant("001")), DataSetError);
  EXPECT_THROW(ds.Locate("NOPE", Variant("1")), DataSetError);
}

TEST(DataSetLocate, HonoursTheFilterAndLatinCase) {
  ClientDataSet ds;
  MakeTextTable(ds, {"CDFAMILISALD", "IDTPMOVEXT", "V"},
                {{"ab", "C", "1"}, {"AB", "D", "2"}, {"\xE7", "D", "3"}, {"x", "C", "4"}});
  EXPECT_TRUE(ds.Locate("CDFAMILISALD", Variant("\xC7"), hostrt::loCaseInsensitive));
  EXPECT_EQ(ds.FieldByName("V").AsString(), "3");
  EXPECT_TRUE(ds.Locate("CDFAMILISALD;IDTPMOVEXT", Variant::ArrayOf({"ab", "D"}), hostrt::loCaseInsensitive));
  EXPECT_EQ(ds.FieldByName("V").AsString(), "2");
  ds.SetFilter("IDTPMOVEXT = 'C'");
  ds.SetFiltered(true);
  EXPECT_FALSE(ds.Locate("V", Variant("2")));
  EXPECT_TRUE(ds.Locate("CDFAMILISALD", Variant("AB"), hostrt::loCaseInsensitive));
  EXPECT_EQ(ds.FieldByName("V").AsString(), "1");
}

// Locate must land on the same row whether it scans, searches the current
// index or searches another index, with and without a filter.
TEST(DataSetLocate, IndexedSearchAgreesWithScanning) {
  std::mt19937 rng(7);
  ClientDataSet ds;
  ds.AddFieldDef("ID", FieldType::Integer);
  ds.AddFieldDef("K1", FieldType::String, 4);
  ds.AddFieldDef("K2", FieldType::Integer);
  ds.AddFieldDef("K3", FieldType::Float);
  ds.CreateDataSet();
  const char* texts[] = {"a", "A", "b", "B ", "c", ""};
  for (int i = 0; i < 3000; ++i) {
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(i);
    if (rng() % 10) ds.FieldByName("K1").SetAsString(texts[rng() % 6]);
    ds.FieldByName("K2").SetAsInteger(static_cast<int>(rng() % 20));
    ds.FieldByName("K3").SetAsFloat(static_cast<double>(rng() % 5) / 2);
    ds.Post();
  }
  ds.AddIndex("ixCs", "K1;K2", "K2");
  ds.AddIndex("ixCi", "K2;K1", "K1", true);
  struct Setup {
    const char* index;
    const char* filter;
  };
  const Setup setups[] = {{"", ""}, {"ixCs", ""}, {"ixCi", ""}, {"", "K3 >= 1"}, {"ixCs", "K3 < 2"}, {"ixCi", "K3 = 0.5"}};
  for (int trial = 0; trial < 300; ++trial) {
    const Variant k1(texts[rng() % 6]);
    const Variant k2(static_cast<int>(rng() % 22));
    const int options = static_cast<int>(rng() % 2);
    const Setup& s = setups[rng() % 6];
    const bool two = rng() % 2;
    const char* fields = two ? "K1;K2" : "K1";
    const Variant values = two ? Variant::ArrayOf({k1, k2}) : k1;

    ds.SetIndexName(s.index);
    ds.SetFilter(s.filter);
    ds.SetFiltered(*s.filter != 0);
    const bool found = ds.Locate(fields, values, options);
    const std::int64_t id = found ? ds.FieldByName("ID").AsInteger() : -1;

    // The same search by walking the rows.
    std::int64_t expected = -1;
    for (ds.First(); !ds.Eof(); ds.Next()) {
      const std::string a = ds.FieldByName("K1").AsString();
      const std::string b = k1.AsString();
      auto trim = [](std::string t) { return t.erase(t.find_last_not_of(' ') + 1); };
      auto fold = [](std::string t) {
        for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return t;
      };
      const bool m1 = options ? fold(trim(a)) == fold(trim(b)) : trim(a) == trim(b);
      const bool m2 = !two || ds.FieldByName("K2").AsInteger() == k2.AsInteger();
      if (m1 && m2) {
        expected = ds.FieldByName("ID").AsInteger();
        break;
      }
    }
    ASSERT_EQ(id, expected) << "trial " << trial << " index " << s.index << " filter " << s.filter;
  }
}

}  // namespace
}  // namespace dataset_tests
