#pragma once
// Numbers to text and back, the same on every machine. A host may set the
// process locale to one with a decimal comma or digit grouping; nothing here
// reads it. Every library of the project converts numbers through these
// functions only (a check in the test run holds the tree to it).
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

std::string signed_text(long long value);
std::string unsigned_text(unsigned long long value);

// An integer as decimal digits, with '-' before a negative one.
template <std::integral T>
std::string to_text(T value) {
  if constexpr (std::is_signed_v<T>)
    return signed_text(value);
  else
    return unsigned_text(value);
}

// An integer as at least `width` digits, zeros in front (the sign before them).
std::string zero_padded(long long value, int width);

// An unsigned integer as hexadecimal digits, at least `width` of them.
std::string hex_text(unsigned long long value, int width = 1, bool upper_case = true);

// A whole text of decimal digits with an optional leading sign; nothing when
// the text is anything else or does not fit.
std::optional<long long> parse_integer(std::string_view text);

// A whole text in the plain notation with '.' as the decimal mark (digits, an
// optional fraction, an optional exponent); nothing when it is anything else.
std::optional<double> parse_decimal(std::string_view text);

// A floating value in the fewest digits that read back as the same value,
// '.' as the decimal mark ("0.1", "1e+300"); for messages and logs.
std::string shortest_text(double value);

// A floating value in scientific notation with `fraction_digits` digits after
// the point ("-1.2345e+03"), the exact binary value correctly rounded.
std::string scientific_text(double value, int fraction_digits);

}  // namespace platform
