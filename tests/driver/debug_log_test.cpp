// The monthly debug log: its name, its line form, its month change.
#include <filesystem>

#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "hostrt/format.h"
#include "platform/paths.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;

using DebugLogTest = DriverTest;

TEST_F(DebugLogTest, LinesGoToTheMonthsFileInTheHostDirectory) {
  auto log = KVR(driver, ImpFisDebug);
  log("primeira");
  hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2009, 3, 31).value + hostrt::EncodeTime(23, 59, 58).value});
  log(L1("segunda linha: ação"));
  const std::string march = env.exe_dir() + "/impdebug0309.txt";
  const std::string march_text =
      "09/03/2009 14:05:00 - primeira\r\n31/03/2009 23:59:58 - " + L1("segunda linha: ação") + "\r\n";
  EXPECT_EQ(test_support::read_file_or_empty(march), march_text);

  // The first line of a new month starts a new file; the old one stays.
  hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2009, 4, 1).value + hostrt::EncodeTime(0, 0, 1).value});
  log("abril");
  log("abril 2");
  EXPECT_EQ(test_support::read_file_or_empty(env.exe_dir() + "/impdebug0409.txt"),
            "01/04/2009 00:00:01 - abril\r\n01/04/2009 00:00:01 - abril 2\r\n");
  EXPECT_EQ(test_support::read_file_or_empty(march), march_text);
}

TEST_F(DebugLogTest, TheDateFollowsTheHostsFormatSettings) {
  hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
  settings.DateSeparator = '.';
  settings.ShortDateFormat = "dd/mm/yy";
  hostrt::SetFormatSettings(settings);
  KVR(driver, ImpFisDebug)("x");
  EXPECT_EQ(test_support::read_file_or_empty(env.exe_dir() + "/impdebug0309.txt"), "09.03.09 14:05:00 - x\r\n");
}

TEST_F(DebugLogTest, AnUnwritableLogFailsTheLogCallButNoPrinterOperation) {
  ASSERT_TRUE(Start());
  platform::set_executable_directory(env.root() + "/missing");
  EXPECT_THROW(KVR(driver, ImpFisDebug)("x"), std::runtime_error);
  // The analysis still reaches its verdict and tells the operator.
  EXPECT_FALSE(KVR(driver, AnalisaRetorno)("001", -2, true, false, false));
  EXPECT_TRUE(KVR(driver, Estado_Imp)("001", false, false));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Parâmetro inválido.")));
}

TEST_F(DebugLogTest, EveryPrinterCallIsLoggedBeforeItsAnalysis) {
  ASSERT_TRUE(Start());
  std::string date_time;
  printer.script("Bematech_FI_FechaHoraImpresora", 1, 6, 128, 0, 1, EMU_SCRIPT_EXECUTE);
  EXPECT_FALSE(KVR(driver, Data_Imp)("001", date_time));
  EXPECT_EQ(date_time, "090309140500");
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_FechaHoraImpresora090309140500140500",
                                        "ERRO!!! " + L1("Impressora fiscal sem papel.")));
}

}  // namespace
}  // namespace driver_test
