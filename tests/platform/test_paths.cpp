// Directories from the environment and Windows paths mapped to native ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/paths.h"
#include "temp_folder.h"

namespace {

using platform::L1;
using platform::native_path;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"FISCAL_SYSTEM_DIR", "FISCAL_EXE_DIR", "FISCAL_DRIVE_C", "FISCAL_DRIVE_D"})
      env_.unset(name);
    env_.set("HOME", home_.path());
    drive_c_ = home_ / "c";
    platform::set_drive_root('C', drive_c_);
  }

  platform_test::TempFolder home_;
  platform_test::ScopedEnvironment env_;
  std::string drive_c_;
};

TEST_F(PathsTest, DefaultsLiveUnderHomeAndNextToTheProgram) {
  env_.unset("FISCAL_DRIVE_C");
  EXPECT_EQ(platform::system_directory(), home_.path() + "/.local/share/fiscal/system");
  EXPECT_EQ(platform::drive_root('c'), home_.path() + "/.local/share/fiscal/drive_c");
  EXPECT_EQ(platform::drive_root('D'), home_.path() + "/.local/share/fiscal/drive_d");
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(platform::executable_directory(), exe.parent_path().string());
  // Nothing is created by merely asking.
  EXPECT_FALSE(std::filesystem::exists(home_.path() + "/.local"));
}

TEST_F(PathsTest, SettersWriteTheEnvironmentThatEveryModuleReads) {
  env_.remember("FISCAL_EXE_DIR");
  platform::set_system_directory(home_ / "sys/");
  platform::set_executable_directory(home_ / "bin");
  platform::set_drive_root('d', home_ / "d");
  EXPECT_STREQ(std::getenv("FISCAL_SYSTEM_DIR"), (home_ / "sys/").c_str());
  EXPECT_STREQ(std::getenv("FISCAL_DRIVE_D"), (home_ / "d").c_str());
  EXPECT_EQ(platform::system_directory(), home_ / "sys");  // no trailing separator
  EXPECT_EQ(platform::executable_directory(), home_ / "bin");
  EXPECT_EQ(platform::drive_root('D'), home_ / "d");
  EXPECT_THROW(platform::drive_root('1'), std::invalid_argument);
  EXPECT_THROW(platform::set_drive_root(':', "/x"), std::invalid_argument);
}

TEST_F(PathsTest, DrivePathsMapUnderTheirRoot) {
  EXPECT_EQ(native_path("C:\\MenuFiscal\\x.txt"), drive_c_ + "/MenuFiscal/x.txt");
  EXPECT_EQ(native_path("c:\\Download.MFD"), drive_c_ + "/Download.MFD");
  EXPECT_EQ(native_path("C:\\MenuFiscal\\"), drive_c_ + "/MenuFiscal/");
  EXPECT_EQ(native_path("C:/MenuFiscal\\\\sub//x.txt"), drive_c_ + "/MenuFiscal/sub/x.txt");
  EXPECT_EQ(native_path("C:"), drive_c_ + "/");
  EXPECT_EQ(native_path("C:\\.\\a\\.\\b"), drive_c_ + "/a/b");
  EXPECT_EQ(native_path(""), "");
}

TEST_F(PathsTest, DotDotNeverLeavesADriveRoot) {
  EXPECT_EQ(native_path("C:\\..\\..\\etc\\passwd"), drive_c_ + "/etc/passwd");
  EXPECT_EQ(native_path("C:\\a\\..\\..\\..\\b"), drive_c_ + "/b");
  EXPECT_EQ(native_path("C:\\a\\b\\..\\c"), drive_c_ + "/a/c");
  EXPECT_EQ(native_path("C:..\\x"), drive_c_ + "/x");
  EXPECT_EQ(native_path("\\..\\x"), "/x");
}

TEST_F(PathsTest, RelativeNamesStayRelative) {
  EXPECT_EQ(native_path("x.txt"), "x.txt");
  EXPECT_EQ(native_path("a\\.\\b\\..\\c"), "a/c");
  EXPECT_EQ(native_path("..\\x.txt"), "../x.txt");
  EXPECT_EQ(native_path("..\\..\\a\\..\\x"), "../../x");
  EXPECT_EQ(native_path("a\\.."), ".");
}

TEST_F(PathsTest, NativeAbsolutePathsOnlyChangeSeparators) {
  EXPECT_EQ(native_path(home_.path() + "\\Dados\\x.txt"), home_.path() + "/Dados/x.txt");
  EXPECT_EQ(native_path("/tmp/a\\b/"), "/tmp/a/b/");
  // Mapping a mapped path changes nothing, non-ASCII names included.
  const std::string once = native_path(L1("C:\\Dados\\Reduções\\x.txt"));
  EXPECT_EQ(native_path(once), once);
}

TEST_F(PathsTest, TextStopsAtAnEmbeddedNul) {
  const std::string with_nul("C:\\a.txt\0\\..\\..\\b", 17);
  EXPECT_EQ(native_path(with_nul), drive_c_ + "/a.txt");
}

TEST_F(PathsTest, Latin1NamesBecomeUtf8FileNames) {
  // "Dados\Reduções\x.txt" as the driver holds it: one byte per letter.
  const std::string latin1 = L1("Dados\\Reduções\\x.txt");
  ASSERT_EQ(latin1.size(), 20u);
  EXPECT_EQ(native_path(latin1), "Dados/Redu\xC3\xA7\xC3\xB5" "es/x.txt");

  // A native folder that already has UTF-8 in its name is kept as it is.
  const std::string native_folder = home_ / "Jo\xC3\xA3o";
  EXPECT_EQ(native_path(native_folder + "\\" + L1("Reduções")), native_folder + "/Redu\xC3\xA7\xC3\xB5" "es");

  // Created through the mapping, the folder lists with its UTF-8 name.
  const std::string folder = native_path(home_.path() + "\\" + L1("Dados\\Reduções"));
  platform::make_directories(folder);
  platform::write_file_atomic(native_path(home_.path() + "\\" + L1("Dados\\Reduções\\BemaMP2100 - 06122026.txt")), "x");
  bool listed = false;
  for (const auto& entry : std::filesystem::directory_iterator(home_ / "Dados"))
    listed = listed || entry.path().filename() == "Redu\xC3\xA7\xC3\xB5" "es";
  EXPECT_TRUE(listed);
  EXPECT_TRUE(platform::file_exists(home_ / "Dados/Redu\xC3\xA7\xC3\xB5" "es/BemaMP2100 - 06122026.txt"));
}

TEST_F(PathsTest, ExistingNamesAreFoundWhateverTheirCase) {
  const std::string system = home_ / "system";
  platform::set_system_directory(system);
  platform::make_directories(system);
  platform::write_file_atomic(system + "/BemaFI32.ini", "[Sistema]\n");
  EXPECT_EQ(native_path(platform::system_directory() + "\\Bemafi32.ini"), system + "/BemaFI32.ini");

  platform::make_directories(drive_c_ + "/MenuFiscal");
  // The folder is found; the missing file keeps the case it was given.
  EXPECT_EQ(native_path("C:\\MENUFISCAL\\LMFC_1.txt"), drive_c_ + "/MenuFiscal/LMFC_1.txt");
  // Latin-1 capitals match their UTF-8 small letters.
  platform::make_directories(drive_c_ + "/Redu\xC3\xA7\xC3\xB5" "es");
  EXPECT_EQ(native_path(L1("C:\\REDUÇÕES\\a")), drive_c_ + "/Redu\xC3\xA7\xC3\xB5" "es/a");
  // An exact match wins over one that differs in case.
  platform::make_directories(drive_c_ + "/menufiscal");
  EXPECT_EQ(native_path("C:\\menufiscal"), drive_c_ + "/menufiscal");
  EXPECT_EQ(platform::short_path(system), system);
}

}  // namespace
