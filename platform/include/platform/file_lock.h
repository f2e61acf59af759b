#pragma once
// An exclusive lock between processes, held on a lock file for as long as
// the object lives: a second process (or a second lock in this one) that asks
// for the same file waits until it is released. The file is created when
// missing and left in place; it holds nothing.
#include <string>

namespace platform {

class FileLock {
 public:
  // Waits for the lock; throws std::runtime_error naming the file when it
  // cannot be opened or locked.
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
#ifdef _WIN32
  void* handle_;
#else
  int fd_;
#endif
};

}  // namespace platform
