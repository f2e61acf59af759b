#include "environment.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace platform::detail {

#ifdef _WIN32

// The kernel's environment block, not the C runtime's copy: every DLL with its
// own runtime sees the same values.
std::string environment_value(const char* name) {
  std::vector<char> buffer(512);
  for (;;) {
    const DWORD n = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

void set_environment_value(const char* name, const std::string& value) {
  if (!SetEnvironmentVariableA(name, value.c_str()))
    throw std::runtime_error(std::string("cannot set ") + name);
}

std::string home_directory() {
  std::string home = environment_value("USERPROFILE");
  return home.empty() ? std::string("C:\\") : home;
}

#else

std::string environment_value(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

void set_environment_value(const char* name, const std::string& value) {
  if (::setenv(name, value.c_str(), 1) != 0) throw std::runtime_error(std::string("cannot set ") + name);
}

std::string home_directory() {
  std::string home = environment_value("HOME");
  if (!home.empty()) return without_trailing_separator(home);
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && *found->pw_dir)
    return without_trailing_separator(found->pw_dir);
  return "/tmp";
}

#endif

std::string without_trailing_separator(std::string path) {
  const auto is_separator = [](char c) { return c == '/' || c == '\\'; };
  // "/" and "C:\" are roots and keep their separator.
  const std::size_t keep = path.size() >= 2 && path[1] == ':' ? 3 : 1;
  while (path.size() > keep && is_separator(path.back())) path.pop_back();
  return path;
}

}  // namespace platform::detail
