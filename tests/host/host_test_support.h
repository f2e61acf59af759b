#pragma once
// What every host runtime test starts from: Brazilian settings, a fixed clock
// (2026-07-15 10:30:00) and no installed host; all restored afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/services.h"
#include "test_support/unique_folder.h"

namespace host_test {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hostrt::SetFormatSettings(hostrt::BrazilianFormatSettings());
    hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2026, 7, 15).value + hostrt::EncodeTime(10, 30, 0).value});
    hostrt::SetClockOffset(0);
  }
  void TearDown() override {
    hostrt::SetFormatSettings(hostrt::BrazilianFormatSettings());
    hostrt::InstallHostServices(nullptr);
    hostrt::UseSystemClock();
  }

  // Settings with "." as decimal and "," as thousands separator.
  static hostrt::FormatSettings DotSettings() {
    hostrt::FormatSettings fs = hostrt::BrazilianFormatSettings();
    fs.DecimalSeparator = '.';
    fs.ThousandSeparator = ',';
    return fs;
  }
};

// A folder of its own for one test, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    path_ = test_support::make_unique_folder("hostrt-test");
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace host_test
