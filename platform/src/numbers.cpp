// The one place where numbers become text and text becomes numbers. The
// character-conversion functions of the standard library used here never
// consult a locale.
#include "platform/numbers.h"

#include <charconv>
#include <cmath>

namespace platform {
namespace {

template <typename T>
std::string chars_of(T value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string signed_text(long long value) { return chars_of(value); }
std::string unsigned_text(unsigned long long value) { return chars_of(value); }

std::string zero_padded(long long value, int width) {
  const bool negative = value < 0;
  // The magnitude as unsigned, so the most negative value has one too.
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = chars_of(magnitude);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string hex_text(unsigned long long value, int width, bool upper_case) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string digits(buffer, result.ptr);
  if (upper_case)
    for (char& c : digits)
      if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

std::optional<long long> parse_integer(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  long long value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parse_decimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  // Only digits, one sign, the point and the exponent mark: from_chars would
  // also take the words "inf" and "nan".
  for (char c : text)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return std::nullopt;
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string shortest_text(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  return chars_of(value);
}

std::string scientific_text(double value, int fraction_digits) {
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, fraction_digits);
  if (result.ec != std::errc()) return std::isnan(value) ? "nan" : "inf";
  return std::string(buffer, result.ptr);
}

}  // namespace platform
