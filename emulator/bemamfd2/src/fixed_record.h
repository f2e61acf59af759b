#pragma once
// One fixed-width record of the register file: numeric fields right-aligned
// and zero-filled, text fields left-aligned and blank-filled, dates AAAAMMDD,
// times HHMMSS, ended by CR LF.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "mfd_format/mfd_format.h"

namespace bemamfd2 {

// A value that the register file cannot hold (negative, or wider than its
// field): the file is not written rather than written wrong.
class FieldOverflow : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FixedRecord {
 public:
  explicit FixedRecord(std::string_view type);
  FixedRecord& text(std::string_view value, std::size_t width);     // cut to width
  FixedRecord& number(std::int64_t value, std::size_t width);       // FieldOverflow when it does not fit
  FixedRecord& digits(std::string_view value, std::size_t width);   // the digits of a registration number
  FixedRecord& flag(bool value) { return text(value ? "S" : "N", 1); }
  FixedRecord& date(const mfd::Date& value);
  FixedRecord& time(const mfd::Time& value);
  // The record with its CR LF.
  std::string line() const { return line_ + "\r\n"; }

 private:
  std::string line_;
};

// Latin-1 text as the register file's ASCII: accented letters lose their
// accents, control characters and other non-ASCII bytes become blanks.
std::string to_ascii(std::string_view latin1);

}  // namespace bemamfd2
