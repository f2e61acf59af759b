#pragma once
// Text inside the driver, in the files it writes and at the vendor boundary is
// single-byte Latin-1. Source files are UTF-8; these are the one place where
// the two meet.
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to Latin-1. A character outside Latin-1 becomes '?'; a malformed
// sequence is taken byte by byte.
std::string utf8_to_latin1(std::string_view utf8);

// Latin-1 to UTF-8 (for terminals and file names on POSIX).
std::string latin1_to_utf8(std::string_view latin1);

// A UTF-8 source literal as Latin-1 text: L1("Erro de comunicação.").
inline std::string L1(std::string_view utf8) { return utf8_to_latin1(utf8); }

}  // namespace platform
