#include "amounts.h"

#include "platform/numbers.h"
#include "platform/ascii.h"

namespace emu {

std::string trim(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    auto u = static_cast<unsigned char>(c);
    // Latin-1 lower-case letters à..þ (except ÷) map 32 below.
    if (u < 128)
      c = static_cast<char>(platform::ascii::to_upper(u));
    else if (u >= 0xE0 && u != 0xF7 && u != 0xFF)
      c = static_cast<char>(u - 32);
  }
  return result;
}

bool same_text(std::string_view a, std::string_view b) { return upper(trim(a)) == upper(trim(b)); }

std::optional<std::int64_t> parse_decimal(std::string_view raw, int decimals) {
  std::string text = trim(raw);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.erase(0, 1);
  }
  std::size_t mark = text.find_last_of(",.");
  std::string whole = mark == std::string::npos ? text : text.substr(0, mark);
  std::string fraction = mark == std::string::npos ? std::string() : text.substr(mark + 1);
  std::string integer_digits;
  for (char c : whole) {
    if (c == ',' || c == '.') continue;
    if (!platform::ascii::is_digit(c)) return std::nullopt;
    integer_digits += c;
  }
  for (char c : fraction)
    if (!platform::ascii::is_digit(c)) return std::nullopt;
  if (integer_digits.empty() && fraction.empty()) return std::nullopt;
  if (integer_digits.size() > 15) return std::nullopt;
  std::int64_t value = 0;
  for (char c : integer_digits) value = value * 10 + (c - '0');
  for (int i = 0; i < decimals; ++i)
    value = value * 10 + (i < static_cast<int>(fraction.size()) ? fraction[static_cast<std::size_t>(i)] - '0' : 0);
  return negative ? -value : value;
}

std::optional<std::int64_t> parse_scaled_digits(std::string_view raw) {
  std::string text = trim(raw);
  std::int64_t value = 0;
  int count = 0;
  for (char c : text) {
    if (c == ',' || c == '.') continue;
    if (!platform::ascii::is_digit(c)) return std::nullopt;
    if (++count > 18) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (count == 0) return std::nullopt;
  return value;
}

std::optional<long long> parse_integer(std::string_view raw) {
  std::string text = trim(raw);
  if (text.empty() || text.size() > 18) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!platform::ascii::is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string digits(std::int64_t value, int width) {
  if (value < 0) value = 0;
  std::string text = platform::to_text(value);
  auto w = static_cast<std::size_t>(width);
  if (text.size() > w) return text.substr(text.size() - w);
  return std::string(w - text.size(), '0') + text;
}

std::string money_text(Cents cents) {
  bool negative = cents < 0;
  std::uint64_t value = negative ? static_cast<std::uint64_t>(-cents) : static_cast<std::uint64_t>(cents);
  std::string whole = platform::to_text(value / 100);
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += '.';
    grouped += whole[i];
  }
  std::string fraction = platform::to_text(value % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (negative ? "-" : "") + grouped + "," + fraction;
}

std::string quantity_text(std::int64_t thousandths) {
  if (thousandths % 1000 == 0) return platform::to_text(thousandths / 1000);
  std::string fraction = platform::to_text(thousandths % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return platform::to_text(thousandths / 1000) + "," + fraction;
}

std::string left(std::string_view text, std::size_t width) {
  std::string result(text.substr(0, width));
  result.resize(width, ' ');
  return result;
}

std::string right(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(text.size() - width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string columns(std::string_view label, std::string_view value, std::size_t width) {
  if (value.size() >= width) return std::string(value.substr(0, width));
  return left(label, width - value.size()) + std::string(value);
}

std::string centred(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(0, width));
  std::size_t before = (width - text.size()) / 2;
  return std::string(before, ' ') + std::string(text) + std::string(width - text.size() - before, ' ');
}

namespace {

std::uint64_t magnitude(std::int64_t value) {
  return value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

std::optional<std::int64_t> multiply_divide(std::int64_t a, std::int64_t b, std::int64_t divisor) {
  if (divisor <= 0) return std::nullopt;
  const bool negative = (a < 0) != (b < 0);
  const std::uint64_t x = magnitude(a), y = magnitude(b);
  // The 128-bit product as two 64-bit halves, from 32-bit pieces.
  const std::uint64_t x_low = x & 0xFFFFFFFFu, x_high = x >> 32, y_low = y & 0xFFFFFFFFu, y_high = y >> 32;
  const std::uint64_t low_low = x_low * y_low, high_low = x_high * y_low, low_high = x_low * y_high;
  const std::uint64_t middle = (low_low >> 32) + (high_low & 0xFFFFFFFFu) + (low_high & 0xFFFFFFFFu);
  const std::uint64_t high = x_high * y_high + (high_low >> 32) + (low_high >> 32) + (middle >> 32);
  const std::uint64_t low = (middle << 32) | (low_low & 0xFFFFFFFFu);
  const auto d = static_cast<std::uint64_t>(divisor);
  if (high >= d) return std::nullopt;  // the quotient would need more than 64 bits
  // Long division, one bit at a time; the remainder stays below d < 2^63.
  std::uint64_t remainder = high, quotient = 0;
  for (int bit = 63; bit >= 0; --bit) {
    remainder = (remainder << 1) | ((low >> bit) & 1u);
    quotient <<= 1;
    if (remainder >= d) {
      remainder -= d;
      quotient |= 1u;
    }
  }
  constexpr std::uint64_t kLargest = static_cast<std::uint64_t>(INT64_MAX);
  if (quotient > kLargest + (negative ? 1u : 0u)) return std::nullopt;
  if (!negative) return static_cast<std::int64_t>(quotient);
  return quotient == kLargest + 1u ? INT64_MIN : -static_cast<std::int64_t>(quotient);
}

}  // namespace emu
