#pragma once
// Pieces of number text shared by FloatToStrF, FloatToStr, FormatFloat and Format.
#include <string>

#include "format/decimal.h"
#include "hostrt/format.h"

namespace hostrt::detail {

// The integer digits of d ("0" when there are none), with a separator every
// three digits when thousands is not '\0'.
std::string IntegerDigits(const Decimal& d, char thousands);
// Exactly `count` digits after the point.
std::string FractionDigits(const Decimal& d, int count);

// The general format: `precision` significant digits, no trailing zeros,
// scientific ("1,5E20", at least exp_digits exponent digits) when the
// exponent is above precision or below -3.
std::string GeneralText(double value, int precision, int exp_digits, const FormatSettings& fs);
// Fixed notation with exactly `decimals` decimals, optionally with thousands
// separators, no sign (the caller places it).
std::string FixedDigits(const Decimal& d, int decimals, bool thousands, const FormatSettings& fs);
// Places the currency symbol and the sign of a negative amount.
std::string CurrencyText(const std::string& amount, bool negative, const FormatSettings& fs);

}  // namespace hostrt::detail
