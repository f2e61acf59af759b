// Start, stop and port closing through the real loader.

#include <filesystem>

#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "hostrt/params.h"

namespace driver_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every slot of a loaded driver, as the host would read it.
std::vector<const void*> SlotAddresses(const test_support::LoadedLibrary& driver) {
  std::vector<const void*> addresses;
#define READ_SLOT(name, result, args) \
  addresses.push_back(reinterpret_cast<const void*>(KVR_GLOBAL(driver, name).function));
  KVR_BOUND_ENTRY_POINTS(READ_SLOT)
  KVR_OPTIONAL_ENTRY_POINTS(READ_SLOT)
#undef READ_SLOT
  return addresses;
}

bool AllEmpty(const std::vector<const void*>& slots) {
  for (const void* slot : slots)
    if (slot) return false;
  return true;
}

using StartTest = DriverTest;

TEST_F(StartTest, StartBindsTheLibraryOpensThePortAndPublishesIt) {
  ASSERT_TRUE(KVR(driver, StartImpFiscal)(StartParams()));
  EXPECT_TRUE(KVR_GLOBAL(driver, boImpFiscalOK));
  void* handle = KVR_GLOBAL(driver, ImpFisDLLHandle);
  ASSERT_NE(handle, nullptr);
  // Every required slot holds the printer's own entry point.
#define CHECK_BOUND(name, result, args) \
  EXPECT_EQ(reinterpret_cast<void*>(KVR_GLOBAL(driver, name).function), printer.library().find(#name)) << #name;
  KVR_BOUND_ENTRY_POINTS(CHECK_BOUND)
  KVR_OPTIONAL_ENTRY_POINTS(CHECK_BOUND)
#undef CHECK_BOUND
  EXPECT_FALSE(printer.calls_of("Bematech_FI_AbrePuertaSerial").empty());
  EXPECT_TRUE(host->dialogs.empty());

  // A second start binds and opens again with the library already loaded.
  printer.clear_journal();
  EXPECT_TRUE(KVR(driver, StartImpFiscal)(StartParams()));
  EXPECT_EQ(KVR_GLOBAL(driver, ImpFisDLLHandle), handle);
  EXPECT_EQ(printer.calls_of("Bematech_FI_AbrePuertaSerial").size(), 1u);
}

TEST_F(StartTest, StopEmptiesTheSlotsAndAnEmptySlotThrowsInsteadOfCallingNull) {
  ASSERT_TRUE(Start());
  KVR(driver, StopImpFiscal)();
  EXPECT_TRUE(AllEmpty(SlotAddresses(driver)));
  EXPECT_NE(KVR_GLOBAL(driver, ImpFisDLLHandle), nullptr);  // the library stays loaded
  EXPECT_TRUE(KVR_GLOBAL(driver, boImpFiscalOK));
  auto& slot = KVR_GLOBAL(driver, Bematech_FI_LecturaX);
  EXPECT_THROW(slot(), kvr::EmptySlotError);
  EXPECT_FALSE(KVR(driver, FechaPorta)());
}

TEST_F(StartTest, AFailedStartAfterAGoodOneLeavesTheFlagAndEmptiesTheSlots) {
  ASSERT_TRUE(Start());
  printer.set_port_refused(true);
  EXPECT_FALSE(KVR(driver, StartImpFiscal)(StartParams("COM7")));
  EXPECT_TRUE(KVR_GLOBAL(driver, boImpFiscalOK));
  EXPECT_TRUE(AllEmpty(SlotAddresses(driver)));
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Abrindo porta COM7"));
  EXPECT_EQ(LogEntries().back(), "Descarregando DLL Impressora Fiscal");
  EXPECT_EQ(printer.calls_of("Bematech_FI_CierraPuertaSerial").size(), 1u);
}

TEST_F(StartTest, AnUnreadableRecordIsReportedAndTheStartGoesOnUntilThePortNeedsIt) {
  EXPECT_FALSE(KVR(driver, StartImpFiscal)(hostrt::Variant("not a record")));
  EXPECT_NE(KVR_GLOBAL(driver, ImpFisDLLHandle), nullptr);
  EXPECT_EQ(LogEntries().back(), "Descarregando DLL Impressora Fiscal");
  ASSERT_FALSE(host->dialogs.empty());
  const auto& notice = host->dialogs.front();
  EXPECT_EQ(notice.text.rfind(L1("Erro no recebimento dos parâmetros da função: StartImpFiscal - Kvr_00102.bpl\r"), 0),
            0u);
  EXPECT_EQ(notice.kind, hostrt::kErrorOrRetry);
  EXPECT_EQ(notice.colour_scheme, "001");
}

TEST_F(StartTest, PortClosingIsTrueOnlyForResultOne) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(KVR(driver, FechaPorta)());
  printer.script("Bematech_FI_CierraPuertaSerial", 0, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, FechaPorta)());
  printer.script("Bematech_FI_CierraPuertaSerial", -5, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, FechaPorta)());
  EXPECT_THAT(LogLines(), IsEmpty());  // neither analysed nor logged
}

// A driver copied into a folder whose "BemaFI32" lacks the last required name.
class IncompleteLibraryTest : public ::testing::Test {
 protected:
  test_support::TempEnvironment env;
};

TEST_F(IncompleteLibraryTest, ALibraryLackingOneNameFailsTheStartWithEverySlotEmpty) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(env.root()) / "driver";
  fs::create_directories(folder);
  using test_support::module_file_name;
  fs::copy_file(fs::path(test_support::bin_directory()) / module_file_name("Kvr00102"),
                folder / module_file_name("Kvr00102"));
  fs::copy_file(fs::path(test_support::bin_directory()) / module_file_name("incomplete_bemafi32"),
                folder / module_file_name("BemaFI32"));
  auto host = std::make_shared<hostrt::ScriptedHost>();
  hostrt::InstallHostServices(host);
  {
    test_support::LoadedLibrary driver((folder / module_file_name("Kvr00102")).string());
    test_support::LoadedLibrary incomplete((folder / module_file_name("BemaFI32")).string());
    ASSERT_NE(incomplete.find("Bematech_FI_AnulaCupon"), nullptr);
    ASSERT_EQ(incomplete.find("Bematech_FI_CierraPuertaSerial"), nullptr);
    EXPECT_FALSE(KVR(driver, StartImpFiscal)(StartParams()));
    EXPECT_NE(KVR_GLOBAL(driver, ImpFisDLLHandle), nullptr);
    EXPECT_TRUE(AllEmpty(SlotAddresses(driver)));
    EXPECT_FALSE(KVR_GLOBAL(driver, boImpFiscalOK));
  }
  EXPECT_TRUE(host->dialogs.empty());  // nothing shown
  EXPECT_TRUE(fs::is_empty(env.exe_dir()));  // nothing logged
  hostrt::InstallHostServices(nullptr);
}

}  // namespace
}  // namespace driver_test
