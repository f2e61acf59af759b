#pragma once
// Character classes and letter case of plain ASCII, the same on every machine.
// The <cctype> functions follow the process locale, where a Latin-1 byte may
// be a letter in one host and not in another; these never do.

namespace platform::ascii {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool is_alpha(char c) { return is_upper(c) || is_lower(c); }
constexpr bool is_alnum(char c) { return is_alpha(c) || is_digit(c); }
constexpr bool is_xdigit(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr char to_upper(char c) { return is_lower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char to_lower(char c) { return is_upper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace platform::ascii
