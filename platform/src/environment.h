#pragma once
// Settings shared by every module of the process. The platform layer is a
// static library linked into several shared libraries, so nothing may be kept
// in a static variable: each value lives in the process environment.
#include <string>

namespace platform::detail {

// The value of an environment variable, or "" when it is unset.
std::string environment_value(const char* name);

// Sets (replaces) an environment variable for the whole process.
void set_environment_value(const char* name, const std::string& value);

// The user's home folder (HOME, else the password database, else /tmp).
std::string home_directory();

// The path without trailing separators ("/" stays "/").
std::string without_trailing_separator(std::string path);

}  // namespace platform::detail
