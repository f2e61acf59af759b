#include "fixed_record.h"
#include "platform/numbers.h"

namespace bemamfd2 {
namespace {

// ASCII letters for Latin-1 0xC0..0xFF; '\0' where there is none.
constexpr char kFolded[] =
    "AAAAAAACEEEEIIII"   // C0-CF
    "DNOOOOO\0OUUUUYTs"  // D0-DF
    "aaaaaaaceeeeiiii"   // E0-EF
    "dnooooo\0ouuuuyty"; // F0-FF

}  // namespace

std::string to_ascii(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F)
      out += c;
    else if (byte >= 0xC0 && kFolded[byte - 0xC0] != '\0')
      out += kFolded[byte - 0xC0];
    else
      out += ' ';
  }
  return out;
}

FixedRecord::FixedRecord(std::string_view type) : line_(type) {}

FixedRecord& FixedRecord::text(std::string_view value, std::size_t width) {
  std::string ascii = to_ascii(value.substr(0, width));
  ascii.resize(width, ' ');
  line_ += ascii;
  return *this;
}

FixedRecord& FixedRecord::number(std::int64_t value, std::size_t width) {
  std::string digits = platform::to_text(value);
  if (value < 0 || digits.size() > width)
    throw FieldOverflow("value " + digits + " does not fit a " + platform::to_text(width) + "-digit field of record " +
                        line_.substr(0, 3));
  line_.append(width - digits.size(), '0');
  line_ += digits;
  return *this;
}

FixedRecord& FixedRecord::digits(std::string_view value, std::size_t width) {
  std::string only_digits;
  for (char c : value)
    if (c >= '0' && c <= '9') only_digits += c;
  if (only_digits.size() > width)
    throw FieldOverflow("\"" + only_digits + "\" does not fit a " + platform::to_text(width) + "-digit field of record " +
                        line_.substr(0, 3));
  line_.append(width - only_digits.size(), '0');
  line_ += only_digits;
  return *this;
}

FixedRecord& FixedRecord::date(const mfd::Date& value) {
  number(value.year, 4);
  number(value.month, 2);
  return number(value.day, 2);
}

FixedRecord& FixedRecord::time(const mfd::Time& value) {
  number(value.hour, 2);
  number(value.minute, 2);
  return number(value.second, 2);
}

}  // namespace bemamfd2
