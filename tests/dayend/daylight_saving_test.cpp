// The printer's daylight-saving state and its switch.
#include <gmock/gmock.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "driver_fixture.h"
#include "hostrt/format.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DaylightSavingTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }
  bool InDaylightSaving() { return KVR(driver, EstHorVerao)("006"); }
  bool Switch() { return KVR(driver, MudaHorario)("006"); }
  // A new start of the driver with the computer's clock at now.
  bool StartAt(hostrt::DateTime now) {
    KVR(driver, FechaPorta)();
    hostrt::SetFixedNow(now);
    host->dialogs.clear();
    return KVR(driver, StartImpFiscal)(StartParams());
  }
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

#ifndef _WIN32  // the zone is read through the C library's TZ rules
// The computer's local time at a moment (seconds since 1970, UTC) under a real
// zone's rules, read from the zone database whatever the machine's own zone.
hostrt::DateTime LocalTime(const char* zone, std::time_t moment) {
  const char* saved = std::getenv("TZ");
  const std::string machine_zone = saved ? saved : "";
  ::setenv("TZ", zone, 1);
  ::tzset();
  std::tm local{};
  ::localtime_r(&moment, &local);
  if (saved)
    ::setenv("TZ", machine_zone.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  return hostrt::DateTime{hostrt::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value +
                          hostrt::EncodeTime(local.tm_hour, local.tm_min, local.tm_sec).value};
}

std::string Shown(hostrt::DateTime at) { return hostrt::FormatDateTime("dd/mm/yyyy hh:nn:ss", at); }

// Berlin in 2026: clocks go from 02:00 to 03:00 on 29 March at 01:00 UTC and
// back from 03:00 to 02:00 on 25 October at 01:00 UTC. Ten minutes either side
// of each change, the computer follows the zone and the printer keeps its own
// time: a start after a change refuses a printer that was not switched; with
// the driver started before the change, the switch after it brings the printer
// to the computer's time and the next start agrees.
TEST_F(DaylightSavingTest, AcrossBothYearlyChangesOfARealZoneTheSwitchKeepsThePrinterWithTheComputer) {
  constexpr std::time_t kSpring = 1774746000, kAutumn = 1792890000;
  const std::string kClockDiffers = L1("Data da impressora fiscal difere da data do sistema em mais de 15 minutos.");
  struct Change {
    std::time_t at;
    std::string before, after;                // the computer's local time ten minutes either side
    std::string printer_before, printer_after;  // what the printer reads, not switched
    bool daylight_saving_before;
  };
  const Change changes[] = {
      {kSpring, "29/03/2026 01:50:00", "29/03/2026 03:10:00", "29032026015000", "29032026021000", false},
      {kAutumn, "25/10/2026 02:50:00", "25/10/2026 02:10:00", "25102026025000", "25102026031000", true}};
  for (const Change& change : changes) {
    SCOPED_TRACE(change.after);
    const hostrt::DateTime before = LocalTime("Europe/Berlin", change.at - 600);
    const hostrt::DateTime after = LocalTime("Europe/Berlin", change.at + 600);
    ASSERT_EQ(Shown(before), change.before);
    ASSERT_EQ(Shown(after), change.after);

    ASSERT_EQ(printer.set_clock(change.printer_after), 1);
    EXPECT_FALSE(StartAt(after));
    EXPECT_THAT(DialogTexts(), ElementsAre(kClockDiffers));

    ASSERT_EQ(printer.set_clock(change.printer_before), 1);
    EXPECT_TRUE(StartAt(before));
    EXPECT_EQ(InDaylightSaving(), change.daylight_saving_before);
    ASSERT_EQ(printer.set_clock(change.printer_after), 1);
    hostrt::SetFixedNow(after);
    EXPECT_TRUE(Switch());
    EXPECT_EQ(InDaylightSaving(), !change.daylight_saving_before);
    EXPECT_EQ(printer.summary_value("Relogio"), change.after);
    EXPECT_TRUE(StartAt(after));
    EXPECT_THAT(host->dialogs, IsEmpty());
  }
}
#endif

}  // namespace
}  // namespace driver_test
