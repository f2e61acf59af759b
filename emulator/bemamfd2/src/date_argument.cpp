#include "date_argument.h"

#include <string>

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
  mfd::Date date{std::stoi(digits.substr(4)), std::stoi(digits.substr(2, 2)), std::stoi(digits.substr(0, 2))};
  if (digits.size() == 6) date.year += 2000;
  if (!mfd::is_valid(date)) return std::nullopt;
  return date;
}

}  // namespace bemamfd2
