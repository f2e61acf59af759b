#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>

namespace platform {

// The copy goes to a temporary name in the destination folder first and is
// then moved onto the destination, so a failed copy leaves nothing behind.
unsigned copy_file(const std::string& src, const std::string& dst, bool fail_if_exists) {
  if (GetFileAttributesA(src.c_str()) == INVALID_FILE_ATTRIBUTES) return GetLastError();
  const auto cut = dst.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? std::string(".") : dst.substr(0, cut + 1);
  const DWORD folder_attributes = GetFileAttributesA(folder.c_str());
  if (folder_attributes == INVALID_FILE_ATTRIBUTES || !(folder_attributes & FILE_ATTRIBUTE_DIRECTORY))
    return kErrorPathNotFound;
  if (fail_if_exists && GetFileAttributesA(dst.c_str()) != INVALID_FILE_ATTRIBUTES) return kErrorFileExists;
  char aside[MAX_PATH + 1] = {};
  if (GetTempFileNameA(folder.c_str(), "cpy", 0, aside) == 0) return GetLastError();
  if (!CopyFileA(src.c_str(), aside, FALSE)) {
    const DWORD error = GetLastError();
    DeleteFileA(aside);
    return error;
  }
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (fail_if_exists ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (!MoveFileExA(aside, dst.c_str(), flags)) {
    const DWORD error = GetLastError();
    DeleteFileA(aside);
    return error == ERROR_ALREADY_EXISTS ? static_cast<DWORD>(kErrorFileExists) : error;
  }
  return kErrorSuccess;
}

}  // namespace platform

#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "aside_file.h"
#include "os_errors.h"

namespace platform {

using detail::windows_error_from_errno;

namespace {

// Windows tells a missing file (2) from a missing folder on its way (3).
unsigned missing_path_error(const std::string& path) {
  return directory_exists(detail::parent_folder(path)) ? kErrorFileNotFound : kErrorPathNotFound;
}

}  // namespace

unsigned copy_file(const std::string& src, const std::string& dst, bool fail_if_exists) {
  if (src.empty() || dst.empty()) return kErrorPathNotFound;
  detail::Descriptor input(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.fd() < 0) return errno == ENOENT ? missing_path_error(src) : windows_error_from_errno(errno);
  struct stat source {};
  if (::fstat(input.fd(), &source) != 0) return windows_error_from_errno(errno);
  if (S_ISDIR(source.st_mode)) return kErrorAccessDenied;

  if (!directory_exists(detail::parent_folder(dst))) return kErrorPathNotFound;
  struct stat target {};
  if (::stat(dst.c_str(), &target) == 0) {
    if (S_ISDIR(target.st_mode)) return kErrorAccessDenied;
    if (fail_if_exists) return kErrorFileExists;
    // A read-only file is not replaced, whoever asks (as the read-only attribute on Windows).
    if ((target.st_mode & 0222) == 0) return kErrorAccessDenied;
  }

  detail::AsideFile aside(dst);
  char buffer[64 * 1024];
  while (aside.ok()) {
    const ssize_t n = ::read(input.fd(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return windows_error_from_errno(errno);
    }
    aside.write(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  aside.set_permissions(source.st_mode);
  aside.commit(!fail_if_exists);
  return windows_error_from_errno(aside.error());
}

}  // namespace platform
#endif
