#pragma once
// A new file written beside its target and then renamed onto it, so that a
// reader sees either the old file or the whole new one, never a part. The
// aside file of "<folder>/<name>" is "<folder>/.<name>.<pid>.<n>.tmp" (the
// writer's process number and a sequence number); a writer killed before its
// rename leaves it behind, and remove_stale_aside_files finds it by that name.
#include <string>
#include <string_view>

namespace platform::detail {

// POSIX errno values throughout; error() is 0 while all went well.
class AsideFile {
 public:
  // Creates an empty, unique hidden file in the target's folder.
  explicit AsideFile(std::string target);
  ~AsideFile();  // removes the aside file unless it was committed
  AsideFile(const AsideFile&) = delete;
  AsideFile& operator=(const AsideFile&) = delete;

  bool ok() const { return error_ == 0; }
  int error() const { return error_; }
  int descriptor() const { return fd_; }

  bool write(std::string_view bytes);
  bool set_permissions(unsigned mode);
  // Flushes and closes the file, then moves it onto the target. With
  // replace false an existing target is kept and the error is EEXIST.
  bool commit(bool replace);

 private:
  bool fail(int error);

  std::string target_;
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
};

// An open file descriptor (or -1), closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor();
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The folder part of a native path ("." when there is none).
std::string parent_folder(const std::string& path);

// Makes the names in a folder durable (after a rename or a new file).
void sync_folder(const std::string& folder);

}  // namespace platform::detail
