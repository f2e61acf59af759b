// Filter texts as the driver writes them, and what they select.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "tables.h"

namespace dataset_tests {
namespace {

using hostrt::DataSetError;

std::vector<std::string> Filtered(ClientDataSet& ds, const std::string& filter, const char* column) {
  ds.SetFilter(filter);
  ds.SetFiltered(true);
  auto out = Column(ds, column);
  ds.SetFiltered(false);
  return out;
}

TEST(DataSetFilter, TicketKindsMatchTextAndIntegerFields) {
  ClientDataSet text;
  MakeTextTable(text, {"ID", "IDTIPORECE"}, {{"a", "5"}, {"b", "1"}, {"c", "7"}, {"d", "B"}, {"e", "\x01"}, {"f", "05"}});
  EXPECT_EQ(Filtered(text, "IDTIPORECE = 5 OR IDTIPORECE = 7", "ID"), (std::vector<std::string>{"a", "c", "f"}));
  EXPECT_EQ(Filtered(text, "IDTIPORECE <> 5", "ID"), (std::vector<std::string>{"b", "c", "d", "e"}));

  ClientDataSet integer;
  integer.AddFieldDef("ID", FieldType::String, 1);
  integer.AddFieldDef("IDTIPORECE", FieldType::Integer);
  integer.CreateDataSet();
  for (int kind : {5, 1, 7, 0}) {
    integer.Append();
    integer.FieldByName("ID").SetAsString(std::string(1, static_cast<char>('a' + kind)));
    integer.FieldByName("IDTIPORECE").SetAsInteger(kind);
    integer.Post();
  }
  integer.Append();
  integer.FieldByName("ID").SetAsString("n");  // IDTIPORECE stays Null
  integer.Post();
  EXPECT_EQ(Filtered(integer, "IDTIPORECE = 5 OR IDTIPORECE = 7", "ID"), (std::vector<std::string>{"f", "h"}));
  EXPECT_EQ(Filtered(integer, "IDTIPORECE = '7'", "ID"), (std::vector<std::string>{"h"}));
  EXPECT_EQ(Filtered(integer, "IDTIPORECE >= 1 and IDTIPORECE < 7", "ID"), (std::vector<std::string>{"f", "b"}));
  EXPECT_EQ(Filtered(integer, "IDTIPORECE IS NULL", "ID"), (std::vector<std::string>{"n"}));
}

TEST(DataSetFilter, BlankTextEqualsASingleBlank) {
  ClientDataSet ds;
  MakeTextTable(ds, {"ID", "CDFPIMPFIS"}, {{"a", "S"}, {"b", ""}, {"c", "   "}, {"d", "\x01"}, {"e", " S"}});
  EXPECT_EQ(Filtered(ds, "CDFPIMPFIS <> ' '", "ID"), (std::vector<std::string>{"a", "e"}));
  EXPECT_EQ(Filtered(ds, "CDFPIMPFIS = ' '", "ID"), (std::vector<std::string>{"b", "c", "d"}));
  EXPECT_EQ(Filtered(ds, "CDFPIMPFIS = ''", "ID"), (std::vector<std::string>{"b", "c", "d"}));
}

TEST(DataSetFilter, TextsThePrintingOperationsUse) {
  ClientDataSet items;
  MakeTextTable(items, {"NRSEQVENDA", "CDFAMILISALD", "NMPRODUTO"},
                {{"12", "3", "cafe"}, {"12", "4", "suco"}, {"13", "3", "pao"}, {"12", "3", "bolo"}});
  EXPECT_EQ(Filtered(items, "NRSEQVENDA = '12'AND CDFAMILISALD = '3'", "NMPRODUTO"),
            (std::vector<std::string>{"cafe", "bolo"}));
  EXPECT_EQ(Filtered(items, "CDFAMILISALD = '3'", "NMPRODUTO"), (std::vector<std::string>{"cafe", "pao", "bolo"}));

  ClientDataSet sale;
  MakeTextTable(sale, {"NMPRODUTO", "IDTPIMPOSFIS", "IDTPBUTTON"},
                {{"a", "T", "5"}, {"b", "I", "5"}, {"c", "\x01", "1"}, {"d", "t", "5"}});
  EXPECT_EQ(Filtered(sale, "IDTPIMPOSFIS = 'T'", "NMPRODUTO"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(Filtered(sale, "IDTPIMPOSFIS <> 'T'", "NMPRODUTO"), (std::vector<std::string>{"b", "c", "d"}));
  EXPECT_EQ(Filtered(sale, "IDTPBUTTON = '5'", "NMPRODUTO"), (std::vector<std::string>{"a", "b", "d"}));

  ClientDataSet check;
  MakeTextTable(check, {"CDFILIAL", "CDCAIXA", "NRSERIEECF", "IDSITECFIMPF", "CAMPO02"},
                {{"1", "2", "X", "I", "old"}, {"1", "2", "X", "A", "live"}, {"1", "3", "X", "A", "other"}});
  EXPECT_EQ(Filtered(check, "CDFILIAL = '1' AND CDCAIXA = '2' AND NRSERIEECF = 'X'", "CAMPO02"),
            (std::vector<std::string>{"old", "live"}));
  EXPECT_EQ(Filtered(check, "CDFILIAL = '1' AND CDCAIXA = '2' AND NRSERIEECF = 'X' AND IDSITECFIMPF = 'A'", "CAMPO02"),
            (std::vector<std::string>{"live"}));

  ClientDataSet consumers;
  MakeTextTable(consumers, {"CDTIPOCONS", "NMCONSUMIDOR"}, {{"1", "Ana"}, {"2", "Rui"}, {"1", "Eva"}});
  EXPECT_EQ(Filtered(consumers, "CDTIPOCONS = '1'", "NMCONSUMIDOR"), (std::vector<std::string>{"Ana", "Eva"}));
}

TEST(DataSetFilter, KeywordsParenthesesQuotesAndPrecedence) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A", "B"}, {{"1", "x"}, {"2", "y"}, {"3", "it's"}, {"4", "x"}});
  EXPECT_EQ(Filtered(ds, "not (A = 1 or A = 2) and B = 'x'", "A"), (std::vector<std::string>{"4"}));
  EXPECT_EQ(Filtered(ds, "A = 1 OR A = 2 AND B = 'x'", "A"), (std::vector<std::string>{"1"}));  // AND binds tighter
  EXPECT_EQ(Filtered(ds, "(A = 1 OR A = 2) AND B = 'x'", "A"), (std::vector<std::string>{"1"}));
  EXPECT_EQ(Filtered(ds, "B = 'it''s'", "A"), (std::vector<std::string>{"3"}));
  EXPECT_EQ(Filtered(ds, "b='x'Or a=3", "A"), (std::vector<std::string>{"1", "3", "4"}));
  EXPECT_EQ(Filtered(ds, "NOT NOT A <= 2", "A"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Filtered(ds, "A > 2 AND A != 4", "A"), (std::vector<std::string>{"3"}));
  EXPECT_EQ(Filtered(ds, "[B] = 'y'", "A"), (std::vector<std::string>{"2"}));
  // Text against text is compared as text and with case.
  EXPECT_EQ(Filtered(ds, "B >= 'x'", "A"), (std::vector<std::string>{"1", "2", "4"}));
  EXPECT_EQ(Filtered(ds, "B = 'X'", "A"), (std::vector<std::string>{}));
}

TEST(DataSetFilter, DatesBooleansAndNegativeNumbers) {
  FormatSettingsGuard guard;
  ClientDataSet ds;
  ds.AddFieldDef("WHEN", FieldType::DateTime);
  ds.AddFieldDef("OK", FieldType::Boolean);
  ds.AddFieldDef("V", FieldType::Float);
  ds.CreateDataSet();
  const double days[] = {hostrt::EncodeDate(2024, 1, 31).value, hostrt::EncodeDate(2024, 2, 1).value};
  for (int i = 0; i < 2; ++i) {
    ds.Append();
    ds.FieldByName("WHEN").SetAsDateTime(hostrt::DateTime{days[i]});
    ds.FieldByName("OK").SetAsBoolean(i == 1);
    ds.FieldByName("V").SetAsFloat(i == 0 ? -2.5 : 3);
    ds.Post();
  }
  EXPECT_EQ(Filtered(ds, "WHEN >= '01/02/2024'", "V").size(), 1u);
  EXPECT_EQ(Filtered(ds, "OK", "V").size(), 1u);
  EXPECT_EQ(Filtered(ds, "OK = FALSE", "V").size(), 1u);
  EXPECT_EQ(Filtered(ds, "V = -2.5", "V").size(), 1u);
  EXPECT_EQ(Filtered(ds, "V < -2", "V").size(), 1u);
}

TEST(DataSetFilter, BadTextsNameTheTextAndPositionAndKeepTheOldFilter) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"2"}});
  ds.SetFilter("A = '1'");
  ds.SetFiltered(true);
  ASSERT_EQ(ds.RecordCount(), 1);

  const std::pair<const char*, const char*> bad[] = {
      {"A = '1", "position 5"},        {"A = ", "position 5"},         {"A = 1 AND", "position 10"},
      {"(A = 1", "position 7"},        {"A = 1)", "position 6"},       {"NOPE = 1", "field 'NOPE' not found"},
      {"A == 1", "position 4"},        {"A # 1", "position 3"},        {"A", "position 1"},
      {"A = 1 OR OR A = 2", "position 10"}, {"A IS 5", "position 6"}, {"", ""}};
  for (const auto& [text, where] : bad) {
    if (!*text) continue;
    try {
      ds.SetFilter(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const DataSetError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(std::string("'") + text + "'"), std::string::npos) << message;
      EXPECT_NE(message.find(where), std::string::npos) << message;
    }
    EXPECT_EQ(ds.Filter(), "A = '1'");
    EXPECT_EQ(ds.RecordCount(), 1);
  }
  // Hostile nesting is refused, not recursed into.
  EXPECT_THROW(ds.SetFilter(std::string(100000, '(') + "A = 1"), DataSetError);
  // A bad text set while the filter is off is reported when it is turned on.
  ds.SetFiltered(false);
  ds.SetFilter("A = ");
  EXPECT_THROW(ds.SetFiltered(true), DataSetError);
  EXPECT_FALSE(ds.Filtered());
  EXPECT_EQ(ds.RecordCount(), 2);
}

TEST(DataSetFilter, EditsRespectTheActiveFilter) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A", "B"}, {{"1", "T"}, {"2", "T"}, {"3", "T"}});
  ds.SetFilter("B = 'T'");
  ds.SetFiltered(true);
  ds.First();
  ds.Next();
  ds.Edit();
  ds.FieldByName("B").SetAsString("N");
  ds.Post();  // row 2 leaves the view; the cursor takes the row after it
  EXPECT_EQ(ds.RecordCount(), 2);
  EXPECT_EQ(ds.FieldByName("A").AsString(), "3");
  ds.Append();
  ds.FieldByName("A").SetAsString("4");
  ds.FieldByName("B").SetAsString("T");
  ds.Post();
  EXPECT_EQ(Column(ds, "A"), (std::vector<std::string>{"1", "3", "4"}));
  ds.SetFiltered(false);
  EXPECT_EQ(Column(ds, "A"), (std::vector<std::string>{"1", "2", "3", "4"}));
}

}  // namespace
}  // namespace dataset_tests

namespace dataset_tests {
namespace {

// Any text at all either parses or raises DataSetError; nothing else escapes.
TEST(DataSetFilter, RandomTextsNeverEscapeAsOtherErrors) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A", "B"}, {{"1", "x"}, {"2", "\x01"}});
  const char* pieces[] = {"A", "B", "C", " ", "=", "<", ">", "!", "'", "''", "(", ")", "[", "]", "-",
                          "5", ".", "AND", "or", "NOT", "IS", "NULL", "TRUE", "\xE9", "\t", "#"};
  std::mt19937 rng(3);
  int parsed = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    std::string text;
    for (int n = static_cast<int>(rng() % 12); n > 0; --n) text += pieces[rng() % std::size(pieces)];
    try {
      ds.SetFilter(text);
      ds.SetFiltered(true);
      ++parsed;
      ds.RecordCount();
    } catch (const DataSetError&) {
    }
    ds.SetFiltered(false);
  }
  EXPECT_GT(parsed, 100);
}

}  // namespace
}  // namespace dataset_tests
