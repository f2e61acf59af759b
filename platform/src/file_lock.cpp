#include "platform/file_lock.h"

#include <cerrno>
#include <stdexcept>

#include "os_errors.h"
#include "platform/numbers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32

FileLock::FileLock(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot open lock file " + path + ": error " + to_text(GetLastError()));
  OVERLAPPED at{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    throw std::runtime_error("cannot lock " + path + ": error " + to_text(error));
  }
  handle_ = file;
}

FileLock::~FileLock() {
  OVERLAPPED at{};
  UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &at);
  CloseHandle(static_cast<HANDLE>(handle_));
}

#else

// flock() locks belong to the open file, not to the process, so two locks
// of one process on the same file exclude each other too, and closing some
// other descriptor of the file does not drop the lock.
FileLock::FileLock(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0 && (errno == EACCES || errno == EROFS))
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a read-only lock file locks as well
  if (fd_ < 0) throw std::runtime_error(detail::os_failure("cannot open lock file", path, errno));
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(fd_);
    throw std::runtime_error(detail::os_failure("cannot lock", path, error));
  }
}

FileLock::~FileLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

#endif

}  // namespace platform
