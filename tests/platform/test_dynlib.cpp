// Libraries loaded by their Windows names through the real dynamic loader.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/dynlib.h"
#include "platform/files.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

using ProbeLoad = void* (*)(const char*);
using ProbeText = const char* (*)();
using Answer = int (*)(int);

// The probe module lives in a folder that no search path names; whatever it
// loads by bare name must come from that folder, its own.
class DynlibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    probe_ = platform::load_library(PLATFORM_PROBE_PATH, &error);
    ASSERT_NE(probe_, nullptr) << error;
    load_ = reinterpret_cast<ProbeLoad>(platform::resolve_symbol(probe_, "ProbeLoad"));
    error_ = reinterpret_cast<ProbeText>(platform::resolve_symbol(probe_, "ProbeError"));
    directory_ = reinterpret_cast<ProbeText>(platform::resolve_symbol(probe_, "ProbeDirectory"));
    ASSERT_TRUE(load_ && error_ && directory_);
  }

  static int answer_of(void* library) {
    const auto answer = reinterpret_cast<Answer>(platform::resolve_symbol(library, "PlatformSampleAnswer"));
    return answer ? answer(3) : -1;
  }

  void* probe_ = nullptr;
  ProbeLoad load_ = nullptr;
  ProbeText error_ = nullptr;
  ProbeText directory_ = nullptr;
};

TEST_F(DynlibTest, ModuleDirectoryIsThatOfTheCallingModule) {
  EXPECT_EQ(std::string(directory_()), fs::path(PLATFORM_PROBE_PATH).parent_path().string());
  EXPECT_EQ(platform::module_directory(), fs::read_symlink("/proc/self/exe").parent_path().string());
}

TEST_F(DynlibTest, EachModuleKeepsItsOwnPlatformCode) {
  // Exported, another module's copy could stand in for this one's, and its
  // module_directory() would name the wrong module.
  EXPECT_EQ(::dlsym(probe_, "_ZN8platform16module_directoryB5cxx11Ev"), nullptr);
  EXPECT_EQ(::dlsym(probe_, "_ZN8platform12load_libraryERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEPS5_"),
            nullptr);
}

TEST_F(DynlibTest, WindowsNameLoadsFromTheModulesOwnFolder) {
  for (const char* name : {"PlatformSample.dll", "PlatformSample.DLL", "platformsample.Dll", "PlatformSample"}) {
    void* library = load_(name);
    ASSERT_NE(library, nullptr) << name << ": " << error_();
    EXPECT_STREQ(error_(), "") << name;
    EXPECT_EQ(answer_of(library), 7) << name;
    platform::unload_library(library);
  }
}

TEST_F(DynlibTest, OtherModulesDoNotSeeThatFolder) {
  std::string error;
  EXPECT_EQ(platform::load_library("PlatformSample.dll", &error), nullptr);
  EXPECT_NE(error.find("PlatformSample.so"), std::string::npos) << error;
}

TEST_F(DynlibTest, SymbolsStayLocalToTheLibrary) {
  void* library = load_("PlatformSample.dll");
  ASSERT_NE(library, nullptr) << error_();
  EXPECT_EQ(::dlsym(RTLD_DEFAULT, "PlatformSampleAnswer"), nullptr);
  EXPECT_EQ(platform::resolve_symbol(library, "Bematech_FI_NoSuchEntry"), nullptr);
  EXPECT_EQ(platform::resolve_symbol(nullptr, "PlatformSampleAnswer"), nullptr);
  EXPECT_EQ(platform::resolve_symbol(library, nullptr), nullptr);
  platform::unload_library(library);
  platform::unload_library(nullptr);
}

TEST_F(DynlibTest, FailuresCarryTheLoadersMessage) {
  EXPECT_EQ(load_("NoSuchVendorLibrary.dll"), nullptr);
  const std::string missing = error_();
  EXPECT_NE(missing.find("NoSuchVendorLibrary.so"), std::string::npos) << missing;
  // The loader's words, in the language of the process locale.
  EXPECT_NE(missing.find(std::strerror(ENOENT)), std::string::npos) << missing;

  EXPECT_EQ(load_(""), nullptr);
  EXPECT_FALSE(std::string(error_()).empty());

  platform_test::TempFolder temp;
  platform::write_file_atomic(temp / "Broken.so", std::string(4096, 'x'));
  std::string error;
  EXPECT_EQ(platform::load_library(temp.path() + "\\Broken.dll", &error), nullptr);
  EXPECT_NE(error.find("Broken.so"), std::string::npos) << error;
  // The loader's own words, as it gives them for that file.
  ASSERT_EQ(dlopen((temp / "Broken.so").c_str(), RTLD_NOW | RTLD_LOCAL), nullptr);
  std::string loader = dlerror();
  loader = loader.substr(loader.rfind(": ") + 2);
  EXPECT_NE(error.find(loader), std::string::npos) << error << " / " << loader;
}

}  // namespace
