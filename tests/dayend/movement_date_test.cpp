// The printer's movement date as the driver returns it, under a fixed clock.
#include <gmock/gmock.h>

#include "dayend_fixture.h"
#include "hostrt/format.h"

namespace dayend_test {
namespace {

using ::testing::Contains;

class MovementDateTest : public DayEndTest {
 protected:
  hostrt::DateTime MovementDate() { return KVR(driver, DataMoviFiscal)("001"); }

  // Opens the printer's day on its own clock with one receipt in cash.
  void OpenPrinterDay(const std::string& ddmmyyyyhhmmss) {
    printer.set_clock(ddmmyyyyhhmmss);
    ASSERT_EQ(1, Call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "TAXA"));
    ASSERT_EQ(1, Call("Bematech_FI_RecibimientoNoFiscal", "01", "1,00", "Dinheiro"));
  }
};

TEST_F(MovementDateTest, PrinterWithoutMovementGivesTodayAndLogsTheAnswer) {
  hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2026, 12, 7).value + 0.75});
  EXPECT_EQ(hostrt::EncodeDate(2026, 12, 7), MovementDate()) << "\"000000\" is today, without the time";
  ASSERT_EQ(1u, printer.calls_of("Bematech_FI_FechaMovimiento").size());
  EXPECT_THAT(LogEntries(), Contains("Retorno da Impressora : 000000"));
  EXPECT_TRUE(host->dialogs.empty());
}

TEST_F(MovementDateTest, OpenDayIsThePrintersDate) {
  OpenPrinterDay("08032009230000");
  EXPECT_EQ(hostrt::EncodeDate(2009, 3, 8), MovementDate()) << "the printer's day, not the computer's (09/03)";
}

TEST_F(MovementDateTest, CenturyComesFromTheComputersYear) {
  OpenPrinterDay("31122099100000");
  hostrt::SetFixedNow(hostrt::EncodeDate(2026, 6, 1));
  EXPECT_EQ(hostrt::EncodeDate(2099, 12, 31), MovementDate()) << "311299 in 2026 is 2099, not the nearest 1999";
  hostrt::SetFixedNow(hostrt::EncodeDate(2150, 6, 1));
  EXPECT_EQ(hostrt::EncodeDate(2199, 12, 31), MovementDate());
}

TEST_F(MovementDateTest, RefusedReadGivesTodayWithoutDialog) {
  SetLastStatus(6, 0, 1);
  printer.script("Bematech_FI_FechaMovimiento", 0, 6, 0, 1);
  EXPECT_EQ(hostrt::Date(), MovementDate()) << "the buffer keeps its blanks";
  EXPECT_TRUE(host->dialogs.empty());
}

TEST_F(MovementDateTest, ImpossibleDateGivesToday) {
  if (printer.configure("RespostaDataMovimento", "310299") != 1)
    GTEST_SKIP() << "emulator: no way to make FechaMovimiento answer a given text (requested)";
  EXPECT_EQ(hostrt::Date(), MovementDate());
  printer.configure("RespostaDataMovimento", "3112AB");
  EXPECT_EQ(hostrt::Date(), MovementDate());
}

}  // namespace
}  // namespace dayend_test
