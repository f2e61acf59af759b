#include <cmath>

#include "format/decimal.h"
#include "hostrt/text.h"

namespace hostrt {

// These work on the value's 15-significant-digit decimal text, so a value
// such as 1.15 (1.149999999999999911... in binary) keeps its last cent.

namespace {

// The value's 15-significant-digit text, the one the host prints.
detail::Decimal GeneralDigits(double value) {
  return detail::DecimalOf(value, detail::kGeneralDigits, 9999);
}


double Truncate(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  detail::Decimal d = GeneralDigits(value);
  detail::TruncateDecimal(d, decimals);
  return detail::ToDouble(d);
}

}  // namespace

double RoundDec(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  detail::Decimal d = GeneralDigits(value);
  detail::RoundDecimal(d, detail::kExtendedDigits, decimals);
  return detail::ToDouble(d);
}

double Trunc2(double value) { return Truncate(value, 2); }

double Trunc3(double value) { return Truncate(value, 3); }

}  // namespace hostrt
