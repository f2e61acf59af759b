#pragma once
// Small portable pieces of a test's machine: a new folder of its own under the
// system's temp folder, and process environment variables set and unset for
// the code under test (on Windows in the kernel's block and the C runtime's).
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace test_support {

inline std::string make_unique_folder(const std::string& prefix) {
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix + "-";
    for (int i = 0; i < 10; ++i) name += kDigits[random() % 36];
    const auto candidate = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(candidate)) return candidate.generic_string();
  }
  throw std::runtime_error("cannot create a temp folder");
}

inline void set_variable(const std::string& name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name.c_str(), value.c_str());
  _putenv_s(name.c_str(), value.c_str());
#else
  ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void unset_variable(const std::string& name) {
#ifdef _WIN32
  SetEnvironmentVariableA(name.c_str(), nullptr);
  _putenv_s(name.c_str(), "");
#else
  ::unsetenv(name.c_str());
#endif
}

}  // namespace test_support
