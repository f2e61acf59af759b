#ifndef _WIN32
#include "aside_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/numbers.h"

#include "kill_points.h"
#include "platform/files.h"

namespace platform::detail {

namespace {

std::atomic<unsigned> aside_sequence{0};

}  // namespace

// Makes a rename in folder durable; a failure here loses nothing, so it is ignored.
void sync_folder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

Descriptor::~Descriptor() {
  if (fd_ >= 0) ::close(fd_);
}

std::string parent_folder(const std::string& path) {
  const auto cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? std::string("/") : path.substr(0, cut);
}

AsideFile::AsideFile(std::string target) : target_(std::move(target)) {
  const auto cut = target_.rfind('/');
  const std::string folder = cut == std::string::npos ? std::string() : target_.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? target_ : target_.substr(cut + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = folder + "." + name + "." + platform::to_text(::getpid()) + "." +
            platform::to_text(aside_sequence.fetch_add(1)) + ".tmp";
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    if (errno != EEXIST) break;
  }
  error_ = errno;
  path_.clear();
}

AsideFile::~AsideFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
}

bool AsideFile::fail(int error) {
  if (error_ == 0) error_ = error;
  return false;
}

bool AsideFile::write(std::string_view bytes) {
  if (!ok()) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AsideFile::set_permissions(unsigned mode) {
  if (!ok()) return false;
  return ::fchmod(fd_, static_cast<mode_t>(mode & 07777)) == 0 || fail(errno);
}

bool AsideFile::commit(bool replace) {
  if (!ok()) return false;
  if (::fsync(fd_) != 0) return fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(errno);
  kill_point(target_);
  if (replace) {
    if (::rename(path_.c_str(), target_.c_str()) != 0) return fail(errno);
  } else if (::link(path_.c_str(), target_.c_str()) == 0) {
    ::unlink(path_.c_str());  // the target now holds the data under its own name
  } else if (errno == EEXIST) {
    return fail(EEXIST);
  } else {
    // A file system without hard links: check, then rename.
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) return fail(EEXIST);
    if (::rename(path_.c_str(), target_.c_str()) != 0) return fail(errno);
  }
  committed_ = true;
  kill_point(target_);
  sync_folder(parent_folder(target_));
  return true;
}

namespace {

// The process number of an aside name's "<pid>.<n>" part, or 0 when the part
// is not two unsigned whole numbers.
long long writer_of(std::string_view part) {
  const auto dot = part.find('.');
  if (dot == std::string_view::npos) return 0;
  const std::string_view pid = part.substr(0, dot), sequence = part.substr(dot + 1);
  for (std::string_view number : {pid, sequence})
    if (number.empty() || number.front() == '+' || number.front() == '-') return 0;
  if (!parse_integer(sequence)) return 0;
  return parse_integer(pid).value_or(0);
}

}  // namespace

}  // namespace platform::detail

namespace platform {

int remove_stale_aside_files(const std::string& path) {
  const auto cut = path.rfind('/');
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  const std::string prefix = "." + name + ".", suffix = ".tmp";
  std::error_code error;
  std::filesystem::directory_iterator entries(detail::parent_folder(path), error);
  int removed = 0;
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string file = entries->path().filename().string();
    if (file.size() <= prefix.size() + suffix.size() || file.compare(0, prefix.size(), prefix) != 0 ||
        file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const long long pid = detail::writer_of(
        std::string_view(file).substr(prefix.size(), file.size() - prefix.size() - suffix.size()));
    if (pid <= 0) continue;
    // A writer still running may be about to rename its file: it is left alone.
    if (pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
    std::error_code ignored;
    if (std::filesystem::remove(entries->path(), ignored)) ++removed;
  }
  return removed;
}

}  // namespace platform
#endif
