#pragma once
// File operations that report Windows-style error codes.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum : unsigned {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorWriteFault = 29,
  kErrorGenFailure = 31,
  kErrorSharingViolation = 32,
  kErrorFileExists = 80,
  kErrorInvalidParameter = 87,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorFilenameTooLong = 206,
  kErrorFileTooLarge = 223,
};

// Copies src to dst (native paths). Returns 0 on success or a Windows error
// code: 2 source missing, 3 a folder of either path missing, 5 access denied
// (also: source or destination is a folder, destination file is read-only),
// 80 destination exists and fail_if_exists, 112 disk full. The destination is
// written aside in its folder, flushed and renamed, so a failed copy never
// leaves half a file; the copy keeps the source's permission bits.
unsigned copy_file(const std::string& src, const std::string& dst, bool fail_if_exists);

// Writes a whole file atomically (write aside in the same folder, flush,
// rename). An existing file keeps its permission bits; a new one gets the
// usual ones (umask). Throws std::runtime_error with the path and the OS
// message on failure, and then the old file is untouched.
void write_file_atomic(const std::string& path, std::string_view contents);

// Removes the aside files that interrupted write_file_atomic calls on path
// left in its folder, and only those: files of the name this layer gives them
// (see aside_file.h; on Windows the system's "wrXXXX.tmp" temp names) whose
// writer is no longer running or no longer has them open. Returns how many.
int remove_stale_aside_files(const std::string& path);

// Appends bytes to a file, creating it when missing. They may still sit in the
// system's cache when this returns; flush_file puts them on the disk. Throws
// std::runtime_error with the path and the OS message.
void append_file(const std::string& path, std::string_view bytes);
// Puts what was written to a file, and its name in its folder, on the disk.
// Throws std::runtime_error with the path and the OS message.
void flush_file(const std::string& path);

// Reads a whole file; throws std::runtime_error when it cannot.
std::string read_file(const std::string& path);
// Reads the last max_bytes of a file (all of a shorter one), so that a
// growing file can be looked at often; throws std::runtime_error when it
// cannot.
std::string read_file_tail(const std::string& path, std::size_t max_bytes);

// True for an existing file that is not a folder.
bool file_exists(const std::string& path);
// True for an existing folder.
bool directory_exists(const std::string& path);
// Removes a file; a missing one is fine. Throws std::runtime_error with the
// path and the OS message when a file of that name is still there.
void remove_file(const std::string& path);
// Creates a folder and any missing parents; throws std::runtime_error with
// the path and the OS message when it cannot (an existing folder is fine).
void make_directories(const std::string& path);

}  // namespace platform
