// Port opening and the printer checks of the start.
#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "grand_total_fixture.h"

namespace driver_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PortOpeningTest : public DriverTest {
 protected:
  void SetUp() override {
    // The slots are bound once; each case then opens the port itself.
    ASSERT_TRUE(Start());
  }
  bool Open() { return KVR(driver, AbrePorta)(StartParams("COM3")); }
  const std::string clock_text = L1("Data da impressora fiscal difere da data do sistema em mais de 15 minutos.");
};

TEST_F(PortOpeningTest, ARefusedOrSilentPortFailsTheOpening) {
  for (int code : {-5, 0}) {
    SCOPED_TRACE(code);
    host->dialogs.clear();
    ClearLog();
    printer.script("Bematech_FI_AbrePuertaSerial", code, 6, 0, 0);
    EXPECT_FALSE(Open());
    EXPECT_THAT(LogEntries(), Contains("ERRO!!! Abrindo porta COM3"));
    ASSERT_FALSE(host->dialogs.empty());
    EXPECT_EQ(host->dialogs.back().text, L1("Erro ao abrir porta de comunicação."));
    EXPECT_EQ(host->dialogs.back().kind, hostrt::kErrorOrRetry);
  }
}

TEST_F(PortOpeningTest, APrinterClockFifteenMinutesOffPassesSixteenFails) {
  for (long long minutes : {15, -15}) {
    printer.set_clock_offset(minutes * 60);
    EXPECT_TRUE(Open()) << minutes;
  }
  EXPECT_THAT(host->dialogs, IsEmpty());
  for (long long minutes : {16, -16, 24 * 60}) {
    host->dialogs.clear();
    printer.set_clock_offset(minutes * 60);
    EXPECT_FALSE(Open()) << minutes;
    EXPECT_THAT(DialogTexts(), ElementsAre(clock_text)) << minutes;
    EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
  }
  // The start fails on it and lets the library go.
  EXPECT_FALSE(KVR(driver, StartImpFiscal)(StartParams()));
  EXPECT_EQ(LogEntries().back(), "Descarregando DLL Impressora Fiscal");
}

TEST_F(PortOpeningTest, ClockCheckWithGivenTexts) {
  hostrt::DateTime date;
  EXPECT_TRUE(KVR(driver, VerificaData)("001", date, "090309142000", "010208", false));
  EXPECT_EQ(date, hostrt::EncodeDate(2008, 2, 1));
  EXPECT_FALSE(KVR(driver, VerificaData)("001", date, "090309142100", "", false));
  EXPECT_EQ(date, hostrt::EncodeDate(2009, 3, 9));
  // An unreadable printer clock is not a clock that agrees.
  EXPECT_FALSE(KVR(driver, VerificaData)("001", date, "99xx09142100", "310299", false));
  EXPECT_EQ(date, hostrt::EncodeDate(2009, 3, 9));  // no such date: today
  EXPECT_THAT(DialogTexts(), ElementsAre(clock_text, clock_text));
  // A two-digit year is in the century of the current year, however far off.
  EXPECT_TRUE(KVR(driver, VerificaData)("001", date, "", "311299", false));
  EXPECT_EQ(date, hostrt::EncodeDate(2099, 12, 31));
  EXPECT_TRUE(KVR(driver, VerificaData)("001", date, "", "010100", false));
  EXPECT_EQ(date, hostrt::EncodeDate(2000, 1, 1));
}

TEST_F(PortOpeningTest, APrinterThatIsOffFailsTheOpening) {
  printer.script("Bematech_FI_VerificaImpresoraPrendida", -6, 6, 0, 0);
  EXPECT_FALSE(Open());
  const std::string off = L1("Impressora desligada ou desconectada.");
  EXPECT_THAT(DialogTexts(), ElementsAre(off));
  EXPECT_EQ(LogEntries().back(), "ERRO!!! " + off);
  // Switched off altogether, the port itself does not open.
  printer.set_power(false);
  host->dialogs.clear();
  EXPECT_FALSE(Open());
  EXPECT_EQ(host->dialogs.back().text, L1("Erro ao abrir porta de comunicação."));
}

TEST_F(PortOpeningTest, OpenDocumentsAreClosedAndAnOpenCouponAloneIsCancelled) {
  WriteTotalRecord(env.exe_dir() + "/Paliron.cds", {{"001", "002", "EMU0001", "S", "999,99"}});
  ASSERT_EQ(printer.entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta")("", ""), 1);
  printer.clear_journal();
  EXPECT_TRUE(Open());
  EXPECT_EQ(printer.calls_of("Bematech_FI_CierraComprobanteNoFiscalVinculado").size(), 1u);
  EXPECT_EQ(printer.calls_of("Bematech_FI_CierraInformeGerencial").size(), 1u);
  EXPECT_EQ(printer.calls_of("Bematech_FI_AnulaCupon").size(), 1u);
  // The grand total was refreshed without validation.
  std::string total;
  ASSERT_TRUE(KVR(driver, BuscaTotGer)("001", total));
  EXPECT_EQ(ReadTotalRecord(env.exe_dir() + "/Paliron.cds")[0].total, total);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(PortOpeningTest, AnOpenCouponWithAnotherConditionIsLeftAlone) {
  ASSERT_EQ(printer.entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta")("", ""), 1);
  printer.set_paper(EMU_PAPER_NEAR_END);  // ST1 = 66
  printer.clear_journal();
  EXPECT_TRUE(Open());
  EXPECT_THAT(printer.calls_of("Bematech_FI_AnulaCupon"), IsEmpty());
  EXPECT_THAT(printer.calls_of("Bematech_FI_GranTotal"), IsEmpty());
}

}  // namespace
}  // namespace driver_test
