// Files written by appending (a log, a paper roll): the append and the flush
// that makes it durable are separate, so a writer may append often and flush
// seldom.
#include <stdexcept>
#include <string>

#include "kill_points.h"
#include "os_errors.h"
#include "platform/files.h"

#include "platform/numbers.h"

#ifdef _WIN32
#include <windows.h>

#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "aside_file.h"
#endif

namespace platform {

using detail::kill_point;

#ifdef _WIN32

namespace {

std::string decimal(unsigned long value) { return to_text(value); }

[[noreturn]] void windows_failure(const char* what, const std::string& path) {
  throw std::runtime_error(std::string(what) + " " + path + ": error " + decimal(GetLastError()));
}

// The aside names of write_file_atomic: GetTempFileNameA with prefix "wr",
// that is "wr", one to four hexadecimal digits, ".tmp".
bool is_aside_name(const std::string& name) {
  if (name.size() < 7 || name.size() > 10 || name.compare(0, 2, "wr") != 0) return false;
  if (name.compare(name.size() - 4, 4, ".tmp") != 0) return false;
  for (std::size_t i = 2; i + 4 < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

int remove_stale_aside_files(const std::string& path) {
  const auto cut = path.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? std::string(".\\") : path.substr(0, cut + 1);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "wr*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int removed = 0;
  do {
    // A writer at work holds its file open without sharing: the deletion fails.
    if (is_aside_name(found.cFileName) && DeleteFileA((folder + found.cFileName).c_str())) ++removed;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return removed;
}

void append_file(const std::string& path, std::string_view bytes) {
  kill_point(path);
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) windows_failure("cannot write", path);
  while (!bytes.empty()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
    if (!WriteFile(file, bytes.data(), chunk, &n, nullptr) || n == 0) {
      CloseHandle(file);
      windows_failure("cannot write", path);
    }
    bytes.remove_prefix(n);
  }
  CloseHandle(file);
  kill_point(path);
}

void flush_file(const std::string& path) {
  kill_point(path);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) windows_failure("cannot flush", path);
  const bool flushed = FlushFileBuffers(file);
  CloseHandle(file);
  if (!flushed) windows_failure("cannot flush", path);
  kill_point(path);
}

#else

using detail::Descriptor;

void append_file(const std::string& path, std::string_view bytes) {
  kill_point(path);
  Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (file.fd() < 0) throw std::runtime_error(detail::os_failure("cannot write", path, errno));
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error(detail::os_failure("cannot write", path, n < 0 ? errno : EIO));
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  kill_point(path);
}

void flush_file(const std::string& path) {
  kill_point(path);
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd() < 0 || ::fsync(file.fd()) != 0)
    throw std::runtime_error(detail::os_failure("cannot flush", path, errno));
  detail::sync_folder(detail::parent_folder(path));
  kill_point(path);
}

#endif

}  // namespace platform
