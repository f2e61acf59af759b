#pragma once
// Names on a case-sensitive file system found the way Windows finds them:
// "Bemafi32.ini" finds "BemaFI32.ini".
#include <string>
#include <string_view>

namespace platform::detail {

// True when something (file, folder, device) exists at the native path.
bool path_exists(const std::string& path);

// The entry of folder dir whose name equals name without regard to letter
// case (ASCII and Latin-1 letters of UTF-8 names). The exact name wins; ""
// when there is no such entry or the folder cannot be read.
std::string find_entry_ignoring_case(const std::string& dir, const std::string& name);

// True for a well-formed UTF-8 text that holds at least one non-ASCII character.
bool is_non_ascii_utf8(std::string_view text);

}  // namespace platform::detail
