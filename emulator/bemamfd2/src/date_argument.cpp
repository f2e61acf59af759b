#include "date_argument.h"

#include <string>
#include "platform/numbers.h"

namespace bemamfd2 {

std::optional<mfd::Date> parse_date_argument(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::string digits;
  if (text.size() == 10 || text.size() == 8) {
    if (text.size() == 10 || text.find('/') != std::string_view::npos) {
      if (text[2] != '/' || text[5] != '/') return std::nullopt;
      digits = std::string(text.substr(0, 2)) + std::string(text.substr(3, 2)) + std::string(text.substr(6));
    } else {
      digits = std::string(text);
    }
  } else if (text.size() == 6) {
    digits = std::string(text);
  } else {
    return std::nullopt;
  }
  for (char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  // Only digits here, so each part reads as a number.
  auto part = [&](std::size_t at, std::size_t size) { return static_cast<int>(*platform::parse_integer(digits.substr(at, size))); };
  mfd::Date date{part(4, std::string::npos), part(2, 2), part(0, 2)};
  if (digits.size() == 6) date.year += 2000;
  if (!mfd::is_valid(date)) return std::nullopt;
  return date;
}

}  // namespace bemamfd2
