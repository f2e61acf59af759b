// Helpers to write a document's expected text in a test, column by column.
#pragma once
#include <string>

namespace documents_test {

inline const std::string kBlankLine(48, ' ');
inline const std::string kRuleLine(48, '-');
// The software maker's line that ends the table and sale register documents.
inline const std::string kSoftwareFooterLine = "Kvr00102 - 0800 000 0000 - www.kvr00102.example";

// Left-aligned in exactly `width` columns (cut or padded).
inline std::string Fix(const std::string& text, std::size_t width) {
  return (text + std::string(width, ' ')).substr(0, width);
}
// Right-aligned in `width` columns (the text must fit).
inline std::string Right(const std::string& text, std::size_t width) {
  return std::string(width - text.size(), ' ') + text;
}
// Centred in 48 columns, the odd blank on the right.
inline std::string Centre(const std::string& text) {
  const std::size_t free = 48 - text.size();
  return std::string(free / 2, ' ') + text + std::string(free - free / 2, ' ');
}

}  // namespace documents_test
