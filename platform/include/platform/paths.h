#pragma once
// The machine's directories and Windows path mapping.
//
// On POSIX every setting lives in the process environment, so that each
// module that links this static library sees the same value:
//   FISCAL_SYSTEM_DIR   the "Windows system directory" (where BemaFI32.ini is);
//                       default $HOME/.local/share/fiscal/system
//   FISCAL_EXE_DIR      the host executable's directory;
//                       default the directory of /proc/self/exe
//   FISCAL_DRIVE_<X>    the folder that stands for drive X: (FISCAL_DRIVE_C);
//                       default $HOME/.local/share/fiscal/drive_<x> (drive_c)
// The directories are not created here: whoever writes into one creates it
// first (make_directories). The setters write the environment.
// On Windows the system and executable directories come from the system
// unless the variable is set, and drive paths are what they say.
#include <string>
#include <string_view>

namespace platform {

std::string system_directory();          // no trailing separator
void set_system_directory(const std::string& dir);

std::string executable_directory();      // no trailing separator
void set_executable_directory(const std::string& dir);

// Folder for "X:\", no trailing separator; the letter's case does not matter.
// Throws std::invalid_argument for a character that is not a letter.
std::string drive_root(char drive);
void set_drive_root(char drive, const std::string& dir);

// Maps a Windows path to a native one: "C:\MenuFiscal\x.txt" -> <drive C>/MenuFiscal/x.txt.
//  - backslashes and slashes are both separators; "." and empty parts go away;
//  - ".." removes the part before it but never climbs above a drive root
//    (or "/"); a relative name stays relative (leading ".." kept);
//  - a path that starts with a separator is a native absolute path;
//  - a trailing separator is kept; the text stops at an embedded NUL;
//  - each part is taken as Latin-1 and converted to UTF-8, so "Reduções"
//    reads right in a terminal; a part that is already well-formed non-ASCII
//    UTF-8 (a native folder such as the executable's) is kept as it is;
//  - as on Windows, letter case does not matter for what already exists:
//    "Bemafi32.ini" finds "BemaFI32.ini". Missing parts keep the case given.
// On Windows the path is returned as is, but for a drive that FISCAL_DRIVE_<letter>
// maps to a folder (a test machine): "C:\\MenuFiscal" is then in that folder.
std::string native_path(std::string_view windows_path);

// The platform's short (8.3) form of a path; the path itself on POSIX or when
// the system has no short form for it.
std::string short_path(const std::string& path);

// Directory separator of the Windows-style paths the driver builds.
constexpr char kWindowsSeparator = '\\';

}  // namespace platform
