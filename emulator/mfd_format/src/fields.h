#pragma once
// Record fields of the download file: escaping, splitting and the text forms
// of numbers, dates and flags, shared by the writer and the reader.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mfd_format/mfd_format.h"

namespace mfd::detail {

// Appends one escaped field (with its leading '|' unless it is the first).
void append_field(std::string& line, std::string_view text, bool first = false);

// Splits a line at unescaped bars and undoes the escapes. Throws FormatError
// (with the line number) for a dangling or unknown escape.
std::vector<std::string> split_fields(std::string_view line, std::size_t line_number);

std::string date_text(const Date& date);   // "AAAAMMDD"
std::string time_text(const Time& time);   // "HHMMSS"

// Field conversions for the reader; each throws FormatError naming the line
// and the field when the text is not a valid value.
class FieldReader {
 public:
  FieldReader(std::vector<std::string> fields, std::size_t line_number);
  std::size_t size() const { return fields_.size(); }
  const std::string& text(std::size_t index) const;
  std::int64_t integer(std::size_t index, std::int64_t min, std::int64_t max) const;
  int counter(std::size_t index) const;             // 0 .. 999999999
  std::int64_t amount(std::size_t index) const;     // any sign, bounded
  bool flag(std::size_t index) const;               // "S" or "N"
  char letter(std::size_t index, std::string_view allowed) const;
  Date date(std::size_t index) const;
  Time time(std::size_t index) const;
  [[noreturn]] void fail(const std::string& what) const;

 private:
  std::vector<std::string> fields_;
  std::size_t line_number_;
};

}  // namespace mfd::detail
