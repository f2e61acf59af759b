#pragma once
// File operations that report Windows-style error codes.
#include <string>
#include <string_view>

namespace platform {

enum : unsigned {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorFileExists = 80,
};

// Copies src to dst (native paths). Returns 0 on success or a Windows error
// code: 2 source missing, 3 a folder of either path missing, 5 access denied,
// 80 destination exists and fail_if_exists. The destination is written aside
// and renamed, so a failed copy never leaves half a file.
unsigned copy_file(const std::string& src, const std::string& dst, bool fail_if_exists);

// Writes a whole file atomically (write aside, flush, rename). Throws
// std::runtime_error with the path and the OS message on failure.
void write_file_atomic(const std::string& path, std::string_view contents);

// Reads a whole file; throws std::runtime_error when it cannot.
std::string read_file(const std::string& path);

bool file_exists(const std::string& path);
void make_directories(const std::string& path);

}  // namespace platform
