// A host may unload the driver and load it again while it runs: each cycle
// gives back what the driver took (the data module, its tables), so a hundred
// cycles leave the process as they found it. Under the sanitizer build
// LeakSanitizer checks every allocation; elsewhere the resident memory must
// stay flat.
#include <string>

#include "driver_fixture.h"
#include "hostrt/format.h"
#include "platform/files.h"
#include "test_support/resident_memory.h"

namespace driver_test {
namespace {

bool DriverMapped() {
  return platform::read_file("/proc/self/maps").find("/Kvr00102.so") != std::string::npos;
}

TEST(DriverReloadTest, AHundredUnloadsAndReloadsOfTheDriverLeaveNothingBehind) {
  test_support::TempEnvironment env;
  auto host = std::make_shared<hostrt::ScriptedHost>();
  hostrt::InstallHostServices(host);
  hostrt::SetFixedNow(TestNow());
  test_support::EmulatedPrinter printer;
  // An earlier driver in this process may have left the printer library loaded
  // on its own folder: it takes this test's folder first, as the fixture does.
  printer.reload();
  ASSERT_EQ(1, printer.reset());
  ASSERT_EQ(1, printer.set_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", TestNow())));
  ASSERT_FALSE(DriverMapped());

  constexpr int kCycles = 100;
  std::int64_t settled_kib = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    {
      test_support::LoadedLibrary driver("Kvr00102.so");
      ASSERT_TRUE(KVR(driver, StartImpFiscal)(StartParams())) << "cycle " << cycle;
      EXPECT_TRUE(KVR(driver, Estado_Imp)("001", false, false)) << "cycle " << cycle;
      std::string coupons;
      EXPECT_TRUE(KVR(driver, ContadorCupomFiscalMFD)("001", coupons)) << "cycle " << cycle;
      EXPECT_FALSE(coupons.empty());
      EXPECT_TRUE(KVR(driver, FechaPorta)());
      KVR(driver, StopImpFiscal)();
    }
    ASSERT_FALSE(DriverMapped()) << "the loader unloaded the driver, cycle " << cycle;
    if (cycle == 9) settled_kib = test_support::resident_kib();
  }
  EXPECT_TRUE(host->dialogs.empty()) << "every start found the printer well";

  const std::int64_t growth_kib = test_support::resident_kib() - settled_kib;
  if (!test_support::kAddressSanitizer) {
    // Ninety cycles of a leaking data module would take megabytes.
    EXPECT_LT(growth_kib, 2048) << "resident memory grew by " << growth_kib << " KiB over 90 reloads";
  }
  hostrt::UseSystemClock();
  hostrt::InstallHostServices(nullptr);
}

}  // namespace
}  // namespace driver_test
