// The printer's grand total against the host's record of it.
#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "grand_total_fixture.h"
#include "hostrt/format.h"
#include "hostrt/params.h"

namespace driver_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class GrandTotalTest : public DriverTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Start());
    SellAndCancel("4,500", "2,000");
  }
  // A coupon sold and cancelled: the grand total counts it.
  void SellAndCancel(const char* price, const char* quantity) {
    printer.entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta")("", "");
    printer.entry<int(const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                      const char*, const char*)>("Bematech_FI_VendeArticuloDepartamento")(
        "1", "ITEM", "FF", price, quantity, "00", "0000", "01", "UN");
    printer.entry<int()>("Bematech_FI_AnulaCupon")();
    std::string total;
    ASSERT_TRUE(KVR(driver, BuscaTotGer)("001", total));
    printer_total = total;
    printer.clear_journal();
    ClearLog();
  }
  bool Check(const std::string& validate, const std::string& branch = "001") {
    return KVR(driver, Atu_TotGeral)(hostrt::MakeParams({{"CDFILIAL", branch},
                                                         {"CDCAIXA", "002"},
                                                         {"NRSERIEIMP", "EMU0001"},
                                                         {"ESQUEMACOR", "009"},
                                                         {"IDVALIDA", validate}}));
  }
  std::string Paliron() const { return env.exe_dir() + "/Paliron.cds"; }
  std::string Invalid(const std::string& file) const {
    return hostrt::Format(L1("Arquivo (%s) está inválido. Valor do totalizador geral da impressora fiscal está incorreto."),
                          {hostrt::Variant(file)});
  }
  TotalRow Mine(const std::string& total, const std::string& carries = "S") const {
    return {"001", "002", "EMU0001", carries, total};
  }
  const TotalRow other_{"001", "003", "EMU0009", "S", "77,70"};
  std::string printer_total;
};

TEST_F(GrandTotalTest, WithoutValidationThePrintersTotalIsStoredAndOtherRowsKept) {
  WriteTotalRecord(Paliron(), {other_, Mine("999,99")});
  EXPECT_TRUE(Check("N"));
  const auto rows = ReadTotalRecord(Paliron());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].total, "77,70");
  EXPECT_EQ(rows[1].total, printer_total);
  EXPECT_EQ(printer.calls_of("Bematech_FI_GranTotal").size(), 1u);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, ValidationPassesWhenTheTotalsAgree) {
  WriteTotalRecord(Paliron(), {Mine(printer_total)});
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, ValidationFailsWhenTheTotalsDifferOrTheStoredOneIsEmpty) {
  for (const std::string stored : {"123,45", ""}) {
    SCOPED_TRACE(stored);
    host->dialogs.clear();
    WriteTotalRecord(Paliron(), {Mine(stored)});
    EXPECT_FALSE(Check("S"));
    ASSERT_EQ(host->dialogs.size(), 1u);
    EXPECT_EQ(host->dialogs[0].text, Invalid(env.exe_path_as_shown("Paliron.cds")));
    EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
    EXPECT_EQ(host->dialogs[0].colour_scheme, "009");
    EXPECT_EQ(ReadTotalRecord(Paliron())[0].total, stored);  // nothing overwritten
  }
}

TEST_F(GrandTotalTest, ARowNotTakenYetTakesThePrintersTotal) {
  WriteTotalRecord(Paliron(), {Mine("10,10")});
  EXPECT_TRUE(Check("S"));
  EXPECT_EQ(ReadTotalRecord(Paliron())[0].total, printer_total);
  WriteTotalRecord(Paliron(), {Mine("10.10")});  // written under the other separator
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, TheTotalIsReadAndComparedUnderEitherDecimalSeparator) {
  EXPECT_EQ(printer_total, "9");
  WriteTotalRecord(Paliron(), {Mine("9,00")});
  EXPECT_TRUE(Check("S"));
  hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
  settings.DecimalSeparator = '.';
  settings.ThousandSeparator = ',';
  hostrt::SetFormatSettings(settings);
  EXPECT_TRUE(Check("S"));
  WriteTotalRecord(Paliron(), {Mine("9.01")});
  EXPECT_FALSE(Check("S"));
}

TEST_F(GrandTotalTest, ARowWithoutATotalIsNotChecked) {
  WriteTotalRecord(Paliron(), {Mine("123,45", "N")});
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(printer.calls_of("Bematech_FI_GranTotal"), IsEmpty());
  WriteTotalRecord(Paliron(), {other_});  // no row for this printer
  EXPECT_TRUE(Check("S"));
}

TEST_F(GrandTotalTest, TheTillsOwnFileStandsInAndOnlyItsActiveRowCounts) {
  TotalRow inactive = Mine("555,55");
  inactive.situation = "I";
  const std::string lov = env.exe_dir() + "/lov002001.cds";
  WriteTotalRecord(lov, {inactive, Mine(printer_total)});
  EXPECT_TRUE(Check("S"));
  // A damaged main file is as good as a missing one.
  test_support::write_whole_file(Paliron(), "not a dataset");
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, NoRecordAtAllCannotPassAValidation) {
  EXPECT_FALSE(Check("S"));
  EXPECT_THAT(DialogTexts(), ElementsAre(Invalid(env.exe_path_as_shown("Paliron.cds"))));
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! " + Invalid(env.exe_path_as_shown("Paliron.cds"))));
  host->dialogs.clear();
  EXPECT_TRUE(Check("N"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, QuotesInTheKeysNeitherBreakNorWidenTheFilter) {
  TotalRow quoted = Mine(printer_total);
  quoted.branch = "0'1";
  WriteTotalRecord(Paliron(), {Mine("123,45"), quoted});
  EXPECT_TRUE(Check("S", "0'1"));
  EXPECT_FALSE(Check("S", "001"));
}

TEST_F(GrandTotalTest, AnUnreadablePrinterTotalNeverReplacesTheStoredOne) {
  WriteTotalRecord(Paliron(), {Mine("321,00")});
  printer.script("Bematech_FI_GranTotal", -1, 6, 0, 0);  // answer refused: the buffer stays blank
  EXPECT_TRUE(Check("N"));
  EXPECT_EQ(ReadTotalRecord(Paliron())[0].total, "321,00");
  printer.script("Bematech_FI_GranTotal", -1, 6, 0, 0);
  EXPECT_FALSE(Check("S"));
}

// These run in the Brazilian process locale too, where the C library reads
// "10.10" as 10: the cents must survive.
TEST_F(GrandTotalTest, CentsOfTheTotalsSurviveEveryProcessLocale) {
  SellAndCancel("1,100", "1,000");
  ASSERT_EQ(printer_total, "10,1");
  WriteTotalRecord(Paliron(), {Mine("10,10")});
  EXPECT_TRUE(Check("S"));
  EXPECT_EQ(ReadTotalRecord(Paliron())[0].total, "10,1") << "the row not taken yet takes the printer's total";
  EXPECT_TRUE(Check("S")) << "10,1 stored against the printer's 10,10";
  WriteTotalRecord(Paliron(), {Mine("10,11")});
  EXPECT_FALSE(Check("S")) << "one cent apart";
  EXPECT_THAT(DialogTexts(), ElementsAre(Invalid(env.exe_path_as_shown("Paliron.cds"))));
}

TEST_F(GrandTotalTest, TheUnvalidatedRefreshStoresTheCents) {
  // A new printer, whose total is then 4,55.
  printer.reset();
  ASSERT_TRUE(Start());
  SellAndCancel("4,550", "1,000");
  WriteTotalRecord(Paliron(), {Mine("1,00")});
  EXPECT_TRUE(Check("N"));
  EXPECT_EQ(ReadTotalRecord(Paliron())[0].total, "4,55");
}

TEST(GetValueTest, SeparatorsAreIgnoredAndTheLastTwoDigitsAreCents) {
  test_support::LoadedLibrary driver("Kvr00102.so");
  auto get_value = KVR(driver, GetValue);
  EXPECT_DOUBLE_EQ(get_value("1234567"), 12345.67);
  EXPECT_DOUBLE_EQ(get_value("12.345,67"), 12345.67);
  EXPECT_DOUBLE_EQ(get_value("12,345.67"), 12345.67);
  EXPECT_DOUBLE_EQ(get_value("  000000000001234567 "), 12345.67);
  EXPECT_DOUBLE_EQ(get_value("5"), 0.05);
  EXPECT_DOUBLE_EQ(get_value("-150"), -1.5);
  EXPECT_THROW(get_value(""), hostrt::EConvertError);
  EXPECT_THROW(get_value("12a4"), hostrt::EConvertError);
}

}  // namespace
}  // namespace driver_test
