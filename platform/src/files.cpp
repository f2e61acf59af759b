#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "os_errors.h"

#include "platform/numbers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include "aside_file.h"
#include "kill_points.h"
#endif

namespace platform {

using detail::os_failure;

std::string read_file(const std::string& path) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw std::runtime_error(os_failure("cannot open", path, errno ? errno : ENOENT));
  std::string contents;
  char buffer[64 * 1024];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) contents.append(buffer, n);
  if (std::ferror(file.get())) throw std::runtime_error(os_failure("cannot read", path, errno ? errno : EIO));
  return contents;
}

std::string read_file_tail(const std::string& path, std::size_t max_bytes) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw std::runtime_error(os_failure("cannot open", path, errno ? errno : ENOENT));
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > max_bytes) {
#ifdef _WIN32
    const int moved = _fseeki64(file.get(), static_cast<long long>(size - max_bytes), SEEK_SET);
#else
    const int moved = fseeko(file.get(), static_cast<off_t>(size - max_bytes), SEEK_SET);
#endif
    if (moved != 0) throw std::runtime_error(os_failure("cannot read", path, errno ? errno : EIO));
  }
  std::string contents;
  char buffer[64 * 1024];
  std::size_t n = 0;
  while (contents.size() < max_bytes &&
         (n = std::fread(buffer, 1, std::min(sizeof buffer, max_bytes - contents.size()), file.get())) > 0)
    contents.append(buffer, n);
  if (std::ferror(file.get())) throw std::runtime_error(os_failure("cannot read", path, errno ? errno : EIO));
  return contents;
}

bool file_exists(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool directory_exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

void remove_file(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error || file_exists(path))
    throw std::runtime_error(os_failure("cannot remove", path, error ? error.value() : EEXIST));
}

void make_directories(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error || !directory_exists(path))
    throw std::runtime_error(os_failure("cannot create folder", path, error ? error.value() : ENOTDIR));
}

#ifdef _WIN32

void write_file_atomic(const std::string& path, std::string_view contents) {
  const auto cut = path.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? std::string(".") : path.substr(0, cut + 1);
  char aside[MAX_PATH + 1] = {};
  if (GetTempFileNameA(folder.c_str(), "wr", 0, aside) == 0)
    throw std::runtime_error("cannot write " + path + ": error " + platform::to_text(GetLastError()));
  HANDLE file = CreateFileA(aside, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool written = file != INVALID_HANDLE_VALUE;
  while (written && !contents.empty()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size(), 1u << 30));
    written = WriteFile(file, contents.data(), chunk, &n, nullptr) && n > 0;
    contents.remove_prefix(n);
  }
  written = written && FlushFileBuffers(file);
  DWORD error = written ? 0 : GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (written && !MoveFileExA(aside, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    written = false;
    error = GetLastError();
  }
  if (!written) {
    DeleteFileA(aside);
    throw std::runtime_error("cannot write " + path + ": error " + platform::to_text(error));
  }
}

#else

void write_file_atomic(const std::string& path, std::string_view contents) {
  detail::kill_point(path);
  struct stat existing {};
  const bool replaces = ::stat(path.c_str(), &existing) == 0;
  detail::AsideFile aside(path);
  aside.write(contents);
  if (replaces) aside.set_permissions(existing.st_mode);
  if (!aside.commit(true)) throw std::runtime_error(os_failure("cannot write", path, aside.error()));
  detail::kill_point(path);
}

#endif

}  // namespace platform
