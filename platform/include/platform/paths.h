#pragma once
// The machine's directories and Windows path mapping.
//
// On POSIX every setting lives in the process environment, so that each
// module that links this static library sees the same value:
//   FISCAL_SYSTEM_DIR   the "Windows system directory" (where BemaFI32.ini is)
//   FISCAL_EXE_DIR      the host executable's directory
//   FISCAL_DRIVE_<X>    the folder that stands for drive X: (FISCAL_DRIVE_C)
// Each has a sensible default (see paths.cpp). The setters write the environment.
#include <string>
#include <string_view>

namespace platform {

std::string system_directory();          // no trailing separator
void set_system_directory(const std::string& dir);

std::string executable_directory();      // no trailing separator
void set_executable_directory(const std::string& dir);

std::string drive_root(char drive);      // folder for "X:\", no trailing separator
void set_drive_root(char drive, const std::string& dir);

// Maps a Windows path to a native one: "C:\MenuFiscal\x.txt" -> <drive C>/MenuFiscal/x.txt,
// backslashes become slashes, a relative name stays relative. The name is
// Latin-1 text; the result is in the platform's file-name encoding (UTF-8 on
// POSIX, so "Reduções" reads right). On Windows the path is returned as is.
std::string native_path(std::string_view windows_path);

// The platform's short (8.3) form of a path; the path itself on POSIX.
std::string short_path(const std::string& path);

// Directory separator of the Windows-style paths the driver builds.
constexpr char kWindowsSeparator = '\\';

}  // namespace platform
