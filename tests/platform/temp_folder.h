#pragma once
// A fresh folder under the system's temp folder, removed with everything in it
// at the end of the test, and environment variables restored likewise.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "test_support/unique_folder.h"

namespace platform_test {

class TempFolder {
 public:
  TempFolder() {
    path_ = test_support::make_unique_folder("platform-test");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets variables for one test and puts back what was there before.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) test_support::set_variable(name, *value);
      else test_support::unset_variable(name);
    }
  }
  void set(const std::string& name, const std::string& value) {
    remember(name);
    test_support::set_variable(name, value);
  }
  void unset(const std::string& name) {
    remember(name);
    test_support::unset_variable(name);
  }
  // Only remembers, for variables that the code under test sets itself.
  void remember(const std::string& name) {
    if (saved_.count(name)) return;
    const char* value = std::getenv(name.c_str());
    saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace platform_test
