// The cash drawer on the fiscal printer.
#include <gmock/gmock.h>

#include "driver_fixture.h"

namespace driver_test {
namespace {

using ::testing::IsEmpty;

class CashDrawerTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }
  std::string State() { return KVR(driver, Estado_Gaveta_Imp)("004"); }
};

TEST_F(CashDrawerTest, OpeningTheDrawerGoesThroughTheSpanishEntryPointAndReadsBackOpen) {
  ASSERT_EQ(printer.configure("Gaveta", "0"), 1);
  EXPECT_EQ(State(), "00");
  EXPECT_TRUE(KVR(driver, Abre_Gaveta_Imp)("004", false));
  EXPECT_EQ(printer.calls_of("Bematech_FI_AccionaGaveta").size(), 1u);
  EXPECT_THAT(printer.calls_of("Bematech_FI_AcionaGaveta"), IsEmpty());
  EXPECT_EQ(printer.summary_value("Gaveta"), "aberta");
  EXPECT_EQ(State(), "01");
  EXPECT_THAT(LogEntries(), ::testing::ElementsAre("Bematech_FI_VerificaEstadoGaveta: 0", "Bematech_FI_AccionaGaveta",
                                                   "Bematech_FI_VerificaEstadoGaveta: 1"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(CashDrawerTest, ALibraryThatLeavesTheStateAloneReadsAsOpen) {
  ASSERT_EQ(printer.configure("Gaveta", "0"), 1);
  printer.script("Bematech_FI_VerificaEstadoGaveta", 1, 6, 0, 0);  // answered without touching the state
  EXPECT_EQ(State(), "01");
  EXPECT_EQ(printer.calls_of("Bematech_FI_VerificaEstadoGaveta")[0].given[0], "1");
}

TEST_F(CashDrawerTest, ARejectedStateReadIsEmptyNotClosed) {
  printer.script("Bematech_FI_VerificaEstadoGaveta", 0, 0, 0, 0);
  EXPECT_EQ(State(), "");
  EXPECT_THAT(DialogTexts(), ::testing::ElementsAre(L1("Erro de comunicação.")));
}

TEST_F(CashDrawerTest, ARefusedOpeningIsFalseAndTheOperatorIsTold) {
  printer.script("Bematech_FI_AccionaGaveta", 0, 0, 0, 0);
  EXPECT_FALSE(KVR(driver, Abre_Gaveta_Imp)("004", true));
  EXPECT_EQ(printer.summary_value("Gaveta"), "fechada");
  EXPECT_THAT(DialogTexts(), ::testing::ElementsAre(L1("Erro de comunicação.")));
}

TEST_F(CashDrawerTest, WithoutABoundLibraryOpeningIsFalseAndTheStateReadThrows) {
  KVR(driver, StopImpFiscal)();
  EXPECT_FALSE(KVR(driver, Abre_Gaveta_Imp)("004", false));
  EXPECT_THROW(State(), std::exception);
}

}  // namespace
}  // namespace driver_test
