#pragma once
// Amounts and quantities as the printer receives and prints them. Money is
// kept in cents, quantities and unit prices in thousandths, always integers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emu {

using Cents = std::int64_t;

// A decimal text such as "12,50", "12.5", "1234.500" or "7": blanks around
// it are ignored, "," or "." is the decimal mark (the last one when there are
// several; the others are taken as thousands marks). Returns the value scaled
// to `decimals` places, cut (not rounded) beyond them; nothing when the text is
// not a number. A leading '-' gives a negative value.
std::optional<std::int64_t> parse_decimal(std::string_view text, int decimals);

// A text of digits whose last `decimals` digits are the fraction ("00000150"
// with 2 decimals is 1.50). Separators are ignored. Nothing when the text
// holds no digit or anything but digits, blanks and separators.
std::optional<std::int64_t> parse_scaled_digits(std::string_view text);

// a * b / divisor, exact and cut toward zero as the printer's arithmetic is,
// however large the product; nothing when the result does not fit 64 bits
// or the divisor is not positive. Portable: no 128-bit integer type needed.
std::optional<std::int64_t> multiply_divide(std::int64_t a, std::int64_t b, std::int64_t divisor);

// An integer text, blanks around it ignored.
std::optional<long long> parse_integer(std::string_view text);

// Zero-padded decimal digits of exactly `width` characters; a value too large
// keeps its last `width` digits, a negative one is written as 0.
std::string digits(std::int64_t value, int width);

// "1.234,56" (thousands '.', decimal ','), with a leading '-' when negative.
std::string money_text(Cents cents);
// "2,500" style quantity with 3 decimals (or an integer when whole).
std::string quantity_text(std::int64_t thousandths);

// Left-aligned / right-aligned in exactly `width` columns (cut or padded).
std::string left(std::string_view text, std::size_t width);
std::string right(std::string_view text, std::size_t width);
// A 48-column line: label on the left, value on the right.
std::string columns(std::string_view label, std::string_view value, std::size_t width = 48);
std::string centred(std::string_view text, std::size_t width = 48);

std::string trim(std::string_view text);
std::string upper(std::string_view text);
bool same_text(std::string_view a, std::string_view b);  // case-insensitive, trimmed

}  // namespace emu
