// The identity read for the host and the vendor configuration repair.
#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "hostrt/params.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class IdentityTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }
  hostrt::Variant HostRecord() const {
    return hostrt::MakeParams({{"ESQUEMA", "005"},
                               {"DATAATUIMP", ""},
                               {"ECFIMP", ""},
                               {"REDIMP", "0042"},
                               {"SERIEIMP", ""},
                               {"DATAIMP", ""}});
  }
  static std::vector<std::string> Names(const hostrt::Variant& record) {
    std::vector<std::string> names;
    for (int i = record.LowBound(); i <= record.HighBound(); ++i) names.push_back(record[i][0].AsString());
    return names;
  }
  static std::string Value(const hostrt::Variant& record, const char* name) {
    return hostrt::RecebeParams(record, name).AsString();
  }
};

TEST_F(IdentityTest, TheRecordComesBackWithThePrintersValuesInItsOrder) {
  hostrt::Variant record = HostRecord();
  EXPECT_TRUE(KVR(driver, Carrega_Dados_Impressora)(record));
  EXPECT_THAT(Names(record), ElementsAre("DATAATUIMP", "ECFIMP", "REDIMP", "SERIEIMP", "DATAIMP"));
  EXPECT_EQ(Value(record, "DATAATUIMP"), "090309140500");
  EXPECT_EQ(Value(record, "ECFIMP").size(), 4u);
  EXPECT_EQ(Value(record, "REDIMP"), "0042");
  EXPECT_EQ(Value(record, "SERIEIMP").size(), 20u);
  EXPECT_EQ(Value(record, "DATAIMP").size(), 6u);
  EXPECT_THAT(host->dialogs, IsEmpty());  // identity reads are silent
  const auto entries = LogEntries();
  EXPECT_THAT(entries, ::testing::Contains("Bematech_FI_FechaHoraImpresora090309140500"));
  EXPECT_THAT(entries, ::testing::Contains("Bematech_FI_NumeroSerieMFD : "));
}

TEST_F(IdentityTest, AMovementDateOfZerosIsToday) {
  hostrt::Variant record = HostRecord();
  ASSERT_TRUE(KVR(driver, Carrega_Dados_Impressora)(record));
  // A printer whose day has not begun answers "000000".
  const auto calls = printer.calls_of("Bematech_FI_FechaMovimiento");
  ASSERT_EQ(calls.size(), 1u);
  if (calls[0].returned[0] != "000000") GTEST_SKIP() << "the printer's day is open: " << calls[0].returned[0];
  EXPECT_EQ(Value(record, "DATAIMP"), "090309");
}

TEST_F(IdentityTest, ABlankAnswerMakesTheReadFailButTheRecordStillComesBack) {
  printer.script("Bematech_FI_NumeroCaja", -1, 6, 0, 0);  // refused: the buffer stays blank
  hostrt::Variant record = HostRecord();
  EXPECT_FALSE(KVR(driver, Carrega_Dados_Impressora)(record));
  EXPECT_EQ(Value(record, "DATAATUIMP"), "090309140500");
  EXPECT_EQ(Value(record, "SERIEIMP"), "");  // not read after the blank till
  EXPECT_THAT(printer.calls_of("Bematech_FI_NumeroSerieMFD"), IsEmpty());
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(IdentityTest, PrinterSwitchedOffInTheIniIsRepairedAndTheHostAskedToClose) {
  env.write_ini({{"Serie", "X"}}, "0");
  const std::string before = test_support::read_file_or_empty(env.ini_path());
  hostrt::Variant record = HostRecord();
  KVR(driver, Carrega_Dados_Impressora)(record);
  std::string expected = before;
  expected.replace(expected.find("Impressora=0"), 12, "Impressora=1");
  EXPECT_EQ(test_support::read_file_or_empty(env.ini_path()), expected);
  EXPECT_EQ(host->terminate_requests, 1);
  ASSERT_EQ(host->dialogs.size(), 1u);
  EXPECT_EQ(host->dialogs[0].text,
            L1("O parâmetro Impressora no arquivo BemaFI32.ini encontra-se com o valor errado.O sistema irá "
               "alterar este parâmetro automaticamente e será fechado."));
  EXPECT_EQ(host->dialogs[0].kind, hostrt::kPrinterNotice);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "005");
  // The read goes on to its end.
  EXPECT_EQ(Value(record, "DATAATUIMP"), "090309140500");
}

TEST_F(IdentityTest, AnyOtherValueOrNoIniIsLeftAlone) {
  env.write_ini_text("[Sistema]\nImpressora = 2\nPath=" + env.printer_dir() + "\n");
  const std::string before = test_support::read_file_or_empty(env.ini_path());
  hostrt::Variant record = HostRecord();
  KVR(driver, Carrega_Dados_Impressora)(record);
  EXPECT_EQ(test_support::read_file_or_empty(env.ini_path()), before);
  std::remove(env.ini_path().c_str());
  record = HostRecord();
  KVR(driver, Carrega_Dados_Impressora)(record);
  EXPECT_EQ(host->terminate_requests, 0);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(IdentityTest, AMalformedRecordNeverEscapesToTheHost) {
  hostrt::Variant record("not a record");
  EXPECT_FALSE(KVR(driver, Carrega_Dados_Impressora)(record));
  EXPECT_TRUE(record.IsArray());
}

}  // namespace
}  // namespace driver_test
