#include "owner_only_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#if defined(_WIN32)
#error "owner-only files need their Windows branch (the owner's ACL only)"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ecf_server {

void CreateOwnerOnlyFile(const std::string& path, const std::string& contents) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
  const ssize_t written = ::write(fd, contents.data(), contents.size());
  const bool complete = written == static_cast<ssize_t>(contents.size()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!complete) {
    ::unlink(path.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

bool IsOwnerOnly(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0 &&
         status.st_uid == ::getuid();
}

}  // namespace ecf_server
