#include "native_names.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace platform::detail {

#ifdef _WIN32

bool path_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string find_entry_ignoring_case(const std::string& dir, const std::string& name) {
  return path_exists(dir + "\\" + name) ? name : std::string();  // the file system ignores case itself
}

#else

namespace {

// Lower-case form of a UTF-8 name: ASCII letters and the Latin-1 capitals
// U+00C0..U+00DE (but the multiplication sign), which are C3 80..C3 9E.
std::string fold_case(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace

bool path_exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string find_entry_ignoring_case(const std::string& dir, const std::string& name) {
  if (name.empty()) return {};
  if (path_exists((dir.empty() ? std::string(".") : dir) + "/" + name)) return name;
  DIR* folder = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!folder) return {};
  const std::string wanted = fold_case(name);
  std::string found;
  while (const dirent* entry = ::readdir(folder)) {
    if (fold_case(entry->d_name) == wanted) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(folder);
  return found;
}

#endif

bool is_non_ascii_utf8(std::string_view text) {
  bool non_ascii = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    non_ascii = true;
    const int extra = c >= 0xC2 && c <= 0xDF ? 1 : (c & 0xF0) == 0xE0 ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra);
  }
  return non_ascii;
}

}  // namespace platform::detail
