// Withdrawal and supply: the amount and payment form that reach the printer,
// the zero and negative amounts, and the two messages of a refusal.
#include <gmock/gmock.h>

#include "documents_fixture.h"
#include "hostrt/format.h"

namespace documents_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

using CashMovementsTest = DocumentsTest;

TEST_F(CashMovementsTest, ZeroWithdrawalWithdrawsOneCent) {
  EXPECT_TRUE(KVR(driver, Sangria)("", "007", 0));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_Sangria"), ElementsAre(ElementsAre("0,01")));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_Sangria : 0,01"));
  EXPECT_EQ(printer.summary_value("Sangrias"), "0,01");
}

TEST_F(CashMovementsTest, WithdrawalUsesTheSystemsDecimalSeparator) {
  hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
  settings.DecimalSeparator = '.';
  settings.ThousandSeparator = ',';
  hostrt::SetFormatSettings(settings);
  EXPECT_TRUE(KVR(driver, Sangria)("", "007", 1234.5));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_Sangria"), ElementsAre(ElementsAre("1234.50")));
  EXPECT_EQ(printer.summary_value("Sangrias"), "1.234,50");
}

TEST_F(CashMovementsTest, SupplyOfZeroOrLessPrintsNothing) {
  EXPECT_TRUE(KVR(driver, Suprimento)("", "007", 0));
  EXPECT_TRUE(KVR(driver, Suprimento)("", "007", -5));
  EXPECT_THAT(printer.journal(), IsEmpty());
  EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(CashMovementsTest, SupplyAlwaysNamesTheCashForm) {
  EXPECT_TRUE(KVR(driver, Suprimento)("", "007", 50));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_Provision"), ElementsAre(ElementsAre("50,00", "Efectivo")));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_Provision : 50,00 - Efectivo"));
  EXPECT_EQ(printer.summary_value("Suprimentos"), "50,00");
}

TEST_F(CashMovementsTest, RefusalShowsTheAnalysisThenTheCommandError) {
  printer.script("Bematech_FI_Sangria", -1, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, Sangria)("", "007", 10));
  ASSERT_THAT(host->dialogs, SizeIs(2));
  EXPECT_EQ(host->dialogs[1].text, L1("Erro ao enviar comando para a impressora."));
  EXPECT_EQ(host->dialogs[1].kind, hostrt::kPrinterNotice);
  EXPECT_EQ(host->dialogs[1].form, "N");
  EXPECT_EQ(host->dialogs[1].colour_scheme, "007");

  host->dialogs.clear();
  EXPECT_FALSE(KVR(driver, Sangria)("", "007", -5)) << "the printer refuses a negative withdrawal";
  EXPECT_THAT(ArgumentsOf("Bematech_FI_Sangria").back(), ElementsAre("-5,00"));
  EXPECT_THAT(host->dialogs, SizeIs(2));
  EXPECT_EQ(printer.summary_value("Sangrias"), "0,00");
}

TEST_F(CashMovementsTest, ExceptionsReachTheHost) {
  KVR_GLOBAL(driver, Bematech_FI_Provision).Clear();
  EXPECT_THROW(KVR(driver, Suprimento)("", "007", 10), std::exception);
  EXPECT_TRUE(KVR(driver, Suprimento)("", "007", 0)) << "nothing to send, nothing to fail";
}

}  // namespace
}  // namespace documents_test
