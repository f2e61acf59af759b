// The rates dataset built from the printer's tax rates and ISS list.
#include <gmock/gmock.h>

#include <ostream>

#include "driver_fixture.h"
#include "hostrt/dataset.h"
#include "hostrt/format.h"
#include "hostrt/text.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Rate {
  std::string code;
  double value;
  std::string kind;
  bool operator==(const Rate&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rate& rate) {
  return out << rate.code << " " << rate.value << " " << rate.kind;
}

const Rate kNotTaxed{"NN", 0, "N"}, kExempt{"II", 0, "I"}, kSubstitution{"FF", 0, "F"};

// Rows in the dataset's current order.
std::vector<Rate> Rows(hostrt::ClientDataSet& rates) {
  std::vector<Rate> rows;
  for (rates.First(); !rates.Eof(); rates.Next())
    rows.push_back({rates.FieldByName("CDALIQIMPFIS").AsString(), rates.FieldByName("VRALIQIMPFIS").AsFloat(),
                    rates.FieldByName("IDALIQIMPFIS").AsString()});
  return rows;
}

class TaxRatesTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }

  // Programs the printer's rates by position ("S" marks an ISS rate).
  void PrinterRates(const std::string& list) {
    ASSERT_EQ(printer.configure("Aliquotas", list), 1);
    printer.clear_journal();
  }
  std::vector<Rate> Load() {
    KVR(driver, CarregaAliquota)("004", host_rates);
    return Rows(host_rates);
  }
  std::string Iss() const { return KVR_GLOBAL(driver, stAliquotaIss); }

  hostrt::ClientDataSet host_rates{"cdsAliqImpFis"};
};

class TaxRatesUnderSeparator : public TaxRatesTest, public ::testing::WithParamInterface<char> {
 protected:
  void SetUp() override {
    hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
    settings.DecimalSeparator = GetParam();
    settings.ThousandSeparator = GetParam() == ',' ? '.' : ',';
    hostrt::SetFormatSettings(settings);
    TaxRatesTest::SetUp();
  }
};

TEST_P(TaxRatesUnderSeparator, CodesKeepThePrintersPositionsAndZeroRatesAreLeftOut) {
  PrinterRates("1800,0000,0700,0500S");
  // Index IdxIdAliqVrAliq: by kind, then value.
  EXPECT_THAT(Load(), ElementsAre(kSubstitution, kExempt, kNotTaxed, Rate{"04", 5.0, "S"}, Rate{"03", 7.0, "T"},
                                  Rate{"01", 18.0, "T"}));
  EXPECT_EQ(host_rates.IndexName(), "IdxIdAliqVrAliq");
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, TaxRatesUnderSeparator, ::testing::Values(',', '.'));

TEST_F(TaxRatesTest, BothListsAreReadIntoSeventyNineBlanksAndLogged) {
  PrinterRates("1800,1200,0500S");
  Load();
  const auto rates = printer.calls_of("Bematech_FI_RetornoAlicuotas");
  const auto iss = printer.calls_of("Bematech_FI_VerificaAlicuotasIss");
  ASSERT_EQ(rates.size(), 1u);
  ASSERT_EQ(iss.size(), 1u);
  EXPECT_EQ(rates[0].given[0], std::string(79, ' '));
  EXPECT_EQ(iss[0].given[0], std::string(79, ' '));
  EXPECT_EQ(Iss(), iss[0].returned[0]);
  const std::string log = test_support::read_file_or_empty(LogPath());
  EXPECT_NE(log.find("Bematech_FI_RetornoAlicuotas\r\nRetorno da Impressora : " + rates[0].returned[0]),
            std::string::npos);
  EXPECT_NE(log.find("Bematech_FI_VerificaAlicuotasIss\r\nRetorno da Impressora : " + iss[0].returned[0]),
            std::string::npos);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(TaxRatesTest, TheIssMarkMatchesWholeEntriesNeverAPieceAcrossTwo) {
  // The rates text "0312,0500,..." holds the piece "12,05", and so does the
  // ISS list "0212,0550": only 2.12 and 5.50 are ISS rates.
  PrinterRates("0312,0500,0212S,0550S");
  EXPECT_THAT(Load(), ElementsAre(kSubstitution, kExempt, kNotTaxed, Rate{"03", 2.12, "S"}, Rate{"04", 5.5, "S"},
                                  Rate{"01", 3.12, "T"}, Rate{"02", 5.0, "T"}));
}

TEST_F(TaxRatesTest, ARefusedReadGivesOnlyTheFixedRowsSilently) {
  printer.script("Bematech_FI_RetornoAlicuotas", -1, 6, 0, 0);
  EXPECT_THAT(Load(), ElementsAre(kSubstitution, kExempt, kNotTaxed));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(TaxRatesTest, TheCallersRowsAndStructureAreReplaced) {
  host_rates.AddFieldDef("OUTRO", hostrt::FieldType::String, 5);
  host_rates.CreateDataSet();
  host_rates.Append();
  host_rates.FieldByName("OUTRO").SetAsString("velho");
  host_rates.Post();
  PrinterRates("1800");
  EXPECT_THAT(Load(), ElementsAre(kSubstitution, kExempt, kNotTaxed, Rate{"01", 18.0, "T"}));
  EXPECT_EQ(host_rates.FindField("OUTRO"), nullptr);
}

TEST_F(TaxRatesTest, WithoutABoundLibraryOnlyTheFixedRowsComeBack) {
  KVR(driver, StopImpFiscal)();
  EXPECT_THAT(Load(), ElementsAre(kSubstitution, kExempt, kNotTaxed));
  EXPECT_FALSE(KVR(driver, Retorno_Aliquotas_Imp)("004"));
}

TEST_F(TaxRatesTest, TheIssQueryRefreshesTheExportedListWithoutTouchingADataset) {
  PrinterRates("1800,0500S,0300S");
  EXPECT_TRUE(KVR(driver, Retorno_Aliquotas_Imp)("004"));
  EXPECT_EQ(hostrt::Trim(Iss()), "0500,0300");
  EXPECT_EQ(printer.calls_of("Bematech_FI_RetornoAlicuotas").size(), 1u);  // both lists are logged

  printer.script("Bematech_FI_VerificaAlicuotasIss", -1, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, Retorno_Aliquotas_Imp)("004"));
  EXPECT_EQ(Iss(), std::string(79, ' '));  // refused: the blanks as handed over
  EXPECT_THAT(host->dialogs, IsEmpty());
}

}  // namespace
}  // namespace driver_test
