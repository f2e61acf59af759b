#include <cmath>
#include <string>

#include "hostrt/format.h"
#include "platform/ascii.h"
#include "platform/numbers.h"

namespace hostrt {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] digits [sep digits] [(E|e) [sign] digits], with at least one mantissa digit.
bool ParseFloat(std::string_view text, char separator, double& out) {
  const std::string_view s = TrimBlanks(text);
  std::string plain;
  plain.reserve(s.size());
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') plain.push_back('-');
    ++i;
  }
  int mantissa_digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) plain.push_back(s[i]);
  if (i < s.size() && s[i] == separator) {
    plain.push_back('.');
    for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) plain.push_back(s[i]);
  }
  if (mantissa_digits == 0) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    plain.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain.push_back(s[i++]);
    int exponent_digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++exponent_digits) plain.push_back(s[i]);
    if (exponent_digits == 0) return false;
  }
  if (i != s.size()) return false;
  const auto value = platform::parse_decimal(plain);
  if (!value || !std::isfinite(*value)) return false;
  out = *value;
  return true;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  const char lower = platform::ascii::to_lower(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

bool TryStrToFloat(std::string_view text, double& out) {
  return ParseFloat(text, CurrentFormatSettings().DecimalSeparator, out);
}

double StrToFloat(std::string_view text) { return StrToFloat(text, CurrentFormatSettings()); }

double StrToFloat(std::string_view text, const FormatSettings& fs) {
  double out = 0.0;
  if (!ParseFloat(text, fs.DecimalSeparator, out)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return out;
}

// Leading blanks, a sign, decimal digits or hexadecimal after "$" or "0x".
bool TryStrToInt(std::string_view text, std::int64_t& out) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  // Accumulated as a negative number so that the most negative value fits.
  constexpr std::int64_t kMin = INT64_MIN;
  std::int64_t value = 0;
  for (const char c : s) {
    const int digit = base == 10 ? (IsDigit(c) ? c - '0' : -1) : HexValue(c);
    if (digit < 0) return false;
    if (value < (kMin + digit) / base) return false;
    value = value * base - digit;
  }
  if (!negative) {
    if (value == kMin) return false;
    value = -value;
  }
  out = value;
  return true;
}

std::int64_t StrToInt(std::string_view text) {
  std::int64_t out = 0;
  if (!TryStrToInt(text, out)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return out;
}

std::int64_t StrToIntDef(std::string_view text, std::int64_t def) {
  std::int64_t out = 0;
  return TryStrToInt(text, out) ? out : def;
}

}  // namespace hostrt
