#pragma once
// A new file written beside its target and then renamed onto it, so that a
// reader sees either the old file or the whole new one, never a part.
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

// The folder part of a native path ("." when there is none).
std::string parent_folder(const std::string& path);

}  // namespace platform::detail
