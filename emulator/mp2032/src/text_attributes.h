#pragma once
// FormataTX's attributes as the printer's control codes (table in mp2032.h).
#include <optional>
#include <string>
#include <string_view>

namespace mp2032 {

struct TextAttributes {
  int letter_type = 2;
  int italic = 0, underline = 0, expanded = 0, bold = 0;
};

// The bytes that print text with the attributes; nullopt when an attribute
// is out of range.
std::optional<std::string> formatted_text(std::string_view text, const TextAttributes& attributes);

}  // namespace mp2032
