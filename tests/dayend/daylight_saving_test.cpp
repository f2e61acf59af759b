// The printer's daylight-saving state and its switch.
#include <gmock/gmock.h>

#include "driver_fixture.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DaylightSavingTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }
  bool InDaylightSaving() { return KVR(driver, EstHorVerao)("006"); }
  bool Switch() { return KVR(driver, MudaHorario)("006"); }
};

TEST_F(DaylightSavingTest, OnlyTheBitOfValueFourOfTheFlagsMeansDaylightSaving) {
  for (int flags : {4, 6, 12, 0, 1, 2, 8}) {
    ASSERT_EQ(printer.configure("FlagsFiscais", std::to_string(flags)), 1);
    EXPECT_EQ(InDaylightSaving(), flags == 4 || flags == 6 || flags == 12) << flags;
    const std::string log = test_support::read_file_or_empty(LogPath());
    EXPECT_NE(log.find("Bematech_FI_FlagsFiscales\r\nRetorno da Impressora : " + std::to_string(flags) + "\r\n"),
              std::string::npos)
        << flags;
  }
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(DaylightSavingTest, AFailedFlagsQueryIsShownAndFlagsNotWrittenReadAsNoDaylightSaving) {
  ASSERT_EQ(printer.configure("FlagsFiscais", "4"), 1);
  ASSERT_EQ(printer.script("Bematech_FI_FlagsFiscales", 0, 6, 0, 0), 1);  // not executed, no answer
  EXPECT_FALSE(InDaylightSaving());
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Erro de comunicação.")));
}

TEST_F(DaylightSavingTest, TheSwitchBetweenDaysTurnsItOnAndMovesThePrintersClockAnHour) {
  EXPECT_FALSE(InDaylightSaving());
  EXPECT_TRUE(Switch());
  EXPECT_TRUE(InDaylightSaving());
  EXPECT_EQ(printer.summary_value("Relogio"), "09/03/2009 15:05:00");
  EXPECT_THAT(host->dialogs, IsEmpty());
  const auto log = LogEntries();
  EXPECT_NE(std::find(log.begin(), log.end(), "Bematech_FI_ProgramaHorarioDeVerano"), log.end());

  // A computer still on standard time differs by an hour: the start refuses.
  KVR(driver, FechaPorta)();
  EXPECT_FALSE(KVR(driver, StartImpFiscal)(StartParams()));
  EXPECT_THAT(DialogTexts(),
              ElementsAre(L1("Data da impressora fiscal difere da data do sistema em mais de 15 minutos.")));
  // Once the computer has entered daylight-saving time as well, they agree.
  host->dialogs.clear();
  hostrt::SetFixedNow(hostrt::DateTime{TestNow().value + 1.0 / 24});
  EXPECT_TRUE(Start());
  EXPECT_THAT(host->dialogs, IsEmpty());

  // Switched again, the printer leaves daylight-saving time and its clock goes back.
  EXPECT_TRUE(Switch());
  EXPECT_FALSE(InDaylightSaving());
  EXPECT_EQ(printer.summary_value("Relogio"), "09/03/2009 14:05:00");
}

TEST_F(DaylightSavingTest, ASwitchTheDayRefusesIsFalseAndShowsNothing) {
  ASSERT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("006", "001", "001", ""));  // the day has begun
  ASSERT_TRUE(KVR(driver, FechRelatGerenc)("006", true, false));
  host->dialogs.clear();
  EXPECT_FALSE(Switch());
  EXPECT_FALSE(InDaylightSaving());
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(DaylightSavingTest, AnAnswerLostAfterTheSwitchIsJudgedByTheFlags) {
  ASSERT_EQ(printer.script("Bematech_FI_ProgramaHorarioDeVerano", 0, 6, 0, 0, 1, 1), 1);  // executed, no answer
  EXPECT_TRUE(Switch());
  EXPECT_TRUE(InDaylightSaving());
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(DaylightSavingTest, WithTheLibraryUnboundBothAreFalseAndTheLogSaysWhy) {
  KVR(driver, StopImpFiscal)();
  EXPECT_FALSE(InDaylightSaving());
  EXPECT_FALSE(Switch());
  EXPECT_THAT(printer.journal(), IsEmpty());
  const auto log = LogEntries();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("ERRO!!! EstHorVerao: ", 0), 0u) << log[0];
  EXPECT_EQ(log[1].rfind("ERRO!!! MudaHorario: ", 0), 0u) << log[1];
}

}  // namespace
}  // namespace driver_test
