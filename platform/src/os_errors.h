#pragma once
// Operating-system error numbers as Windows error codes and as text.
#include <string>

namespace platform::detail {

// The Windows error code that stands for a POSIX errno value.
unsigned windows_error_from_errno(int error);

// "<what> <path>: <OS message>", for exceptions.
std::string os_failure(const char* what, const std::string& path, int error);

}  // namespace platform::detail
