#pragma once
// A finite double as a string of decimal digits, the form in which the
// host's runtime rounds and prints numbers: value = 0.d1d2...dn x 10^exponent.
#include <string>

namespace hostrt::detail {

// Significant digits of the host's extended floating type; FormatFloat rounds
// from this many digits, so 1.005 (1.00499999999999989...) gives 1.00.
constexpr int kExtendedDigits = 18;
// Significant digits of the general format (FloatToStr): 0.1 + 0.2 gives 0.3.
constexpr int kGeneralDigits = 15;

struct Decimal {
  bool negative = false;
  std::string digits;  // no leading or trailing zeros; empty for zero
  int exponent = 0;    // position of the decimal point relative to digits

  bool IsZero() const { return digits.empty(); }
  int IntegerDigits() const { return exponent > 0 ? exponent : 0; }
  // The digit at position exponent-1-k for k >= 0 (units, tens...) or after
  // the point; '0' outside the stored digits.
  char DigitAt(int index) const {
    return index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(index)] : '0';
  }
};

// Rounds half away from zero so that at most `significant` digits remain and
// none beyond `decimals` places after the point. A result of zero loses its sign.
void RoundDecimal(Decimal& d, int significant, int decimals);
// Drops every digit beyond `decimals` places after the point.
void TruncateDecimal(Decimal& d, int decimals);

// The value to kExtendedDigits digits, then rounded as RoundDecimal does.
// Only for finite values.
Decimal DecimalOf(double value, int significant, int decimals);

double ToDouble(const Decimal& d);

// "NAN", "INF", "-INF" for values that are not finite, else empty.
const char* SpecialText(double value);

}  // namespace hostrt::detail
