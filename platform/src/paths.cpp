#include "platform/paths.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "environment.h"
#include "native_names.h"
#include "platform/latin1.h"

#include "platform/ascii.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace platform {

using detail::environment_value;
using detail::set_environment_value;
using detail::without_trailing_separator;

namespace {

constexpr const char* kSystemDirVariable = "FISCAL_SYSTEM_DIR";
constexpr const char* kExeDirVariable = "FISCAL_EXE_DIR";

std::string drive_variable(char drive) {
  if (!platform::ascii::is_alpha(drive))
    throw std::invalid_argument(std::string("not a drive letter: '") + drive + "'");
  return std::string("FISCAL_DRIVE_") + static_cast<char>(platform::ascii::to_upper(drive));
}

}  // namespace

void set_system_directory(const std::string& dir) { set_environment_value(kSystemDirVariable, dir); }
void set_executable_directory(const std::string& dir) { set_environment_value(kExeDirVariable, dir); }
void set_drive_root(char drive, const std::string& dir) {
  set_environment_value(drive_variable(drive).c_str(), dir);
}

#ifdef _WIN32

std::string system_directory() {
  std::string dir = environment_value(kSystemDirVariable);
  if (!dir.empty()) return without_trailing_separator(dir);
  char buffer[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  return without_trailing_separator(n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string("C:\\Windows\\System32"));
}

std::string executable_directory() {
  std::string dir = environment_value(kExeDirVariable);
  if (!dir.empty()) return without_trailing_separator(dir);
  std::vector<char> buffer(MAX_PATH + 1);
  DWORD n = 0;
  while ((n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size())
    buffer.resize(buffer.size() * 2);
  std::string exe(buffer.data(), n);
  const auto cut = exe.find_last_of("\\/");
  return cut == std::string::npos ? std::string(".") : without_trailing_separator(exe.substr(0, cut + 1));
}

std::string drive_root(char drive) {
  const std::string variable = drive_variable(drive);
  std::string dir = environment_value(variable.c_str());
  if (!dir.empty()) return without_trailing_separator(dir);
  return std::string(1, variable.back()) + ":";
}

std::string native_path(std::string_view windows_path) {
  std::string path(windows_path.substr(0, windows_path.find('\0')));
  // A drive that the environment maps to a folder (a test's machine) is that
  // folder; without the mapping a path is what it says.
  if (path.size() >= 2 && path[1] == ':' && platform::ascii::is_alpha(path[0])) {
    const std::string root = environment_value(drive_variable(path[0]).c_str());
    if (!root.empty()) {
      const std::string rest = path.substr(2);
      const bool separated = !rest.empty() && (rest[0] == '\\' || rest[0] == '/');
      return without_trailing_separator(root) + (separated || rest.empty() ? "" : "\\") + rest;
    }
  }
  return path;
}

std::string short_path(const std::string& path) {
  const DWORD n = GetShortPathNameA(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::string out(n, '\0');
  const DWORD written = GetShortPathNameA(path.c_str(), out.data(), n);
  if (written == 0 || written >= n) return path;
  out.resize(written);
  return out;
}

#else

namespace {

std::string fiscal_data_home() { return detail::home_directory() + "/.local/share/fiscal"; }

bool is_separator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string system_directory() {
  std::string dir = environment_value(kSystemDirVariable);
  return dir.empty() ? fiscal_data_home() + "/system" : without_trailing_separator(dir);
}

std::string executable_directory() {
  std::string dir = environment_value(kExeDirVariable);
  if (!dir.empty()) return without_trailing_separator(dir);
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n > 0) {
    const std::string exe(buffer.data(), static_cast<std::size_t>(n));
    const auto cut = exe.rfind('/');
    if (cut != std::string::npos) return cut == 0 ? std::string("/") : exe.substr(0, cut);
  }
  return ::getcwd(buffer.data(), buffer.size()) ? std::string(buffer.data()) : std::string(".");
}

std::string drive_root(char drive) {
  const std::string variable = drive_variable(drive);
  std::string dir = environment_value(variable.c_str());
  if (!dir.empty()) return without_trailing_separator(dir);
  return fiscal_data_home() + "/drive_" + static_cast<char>(platform::ascii::to_lower(drive));
}

namespace {

// One part of a path in the file-name encoding (UTF-8).
std::string native_part(std::string_view part) {
  return detail::is_non_ascii_utf8(part) ? std::string(part) : latin1_to_utf8(part);
}

std::string joined(const std::string& root, const std::vector<std::string>& parts, std::size_t count) {
  std::string out = root;
  for (std::size_t i = 0; i < count; ++i) {
    if (!out.empty() && out.back() != '/') out += '/';
    out += parts[i];
  }
  return out;
}

// Replaces each part that does not exist as spelled by an existing entry that
// differs only in letter case. Stops at the first part that has none.
void match_existing_case(const std::string& root, std::vector<std::string>& parts) {
  if (parts.empty() || detail::path_exists(joined(root, parts, parts.size()))) return;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string folder = joined(root, parts, i);
    std::string found = detail::find_entry_ignoring_case(folder, parts[i]);
    if (found.empty()) return;
    parts[i] = std::move(found);
  }
}

}  // namespace

std::string native_path(std::string_view windows_path) {
  windows_path = windows_path.substr(0, windows_path.find('\0'));
  if (windows_path.empty()) return {};

  std::string root;             // "" for a relative name
  std::string_view rest = windows_path;
  if (windows_path.size() >= 2 && windows_path[1] == ':' &&
      platform::ascii::is_alpha(windows_path[0])) {
    root = drive_root(windows_path[0]);
    rest.remove_prefix(2);
  } else if (is_separator(windows_path[0])) {
    root = "/";
  }
  const bool trailing_separator = is_separator(rest.empty() ? '\0' : rest.back()) || (!root.empty() && rest.empty());

  std::vector<std::string> parts;
  std::size_t climbs = 0;       // leading ".." kept by a relative name
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\\/"), rest.size());
    const std::string_view part = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.size() > climbs) parts.pop_back();
      else if (root.empty()) { parts.emplace_back(".."); ++climbs; }
      continue;             // above a root: stays at the root
    }
    parts.push_back(native_part(part));
  }

  match_existing_case(root, parts);
  std::string out = joined(root, parts, parts.size());
  if (out.empty()) out = ".";
  if (trailing_separator && out.back() != '/') out += '/';
  return out;
}

std::string short_path(const std::string& path) { return path; }

#endif

}  // namespace platform
