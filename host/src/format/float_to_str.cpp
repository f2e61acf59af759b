#include <algorithm>
#include <cmath>

#include "format/number_text.h"
#include "hostrt/format.h"
#include "platform/numbers.h"

namespace hostrt {

using detail::Decimal;
using detail::DecimalOf;

std::string FloatToStr(double value) { return FloatToStr(value, CurrentFormatSettings()); }

std::string FloatToStr(double value, const FormatSettings& fs) {
  return detail::GeneralText(value, detail::kGeneralDigits, 0, fs);
}

std::string FloatToStrF(double value, FloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, CurrentFormatSettings());
}

std::string FloatToStrF(double value, FloatFormat format, int precision, int digits, const FormatSettings& fs) {
  precision = std::clamp(precision, 1, detail::kExtendedDigits);
  if (const char* special = detail::SpecialText(value); *special) return special;
  switch (format) {
    case FloatFormat::General: return detail::GeneralText(value, precision, std::clamp(digits, 0, 4), fs);
    case FloatFormat::Exponent: {
      const Decimal d = DecimalOf(value, precision, 9999);
      std::string out = d.negative ? "-" : "";
      out.push_back(d.IsZero() ? '0' : d.digits[0]);
      out.push_back(fs.DecimalSeparator);
      for (int i = 1; i < precision; ++i) out.push_back(d.DigitAt(i));
      const int e = d.IsZero() ? 0 : d.exponent - 1;
      std::string exponent = platform::to_text(std::abs(e));
      const auto min_digits = static_cast<std::size_t>(std::clamp(digits, 0, 4));
      if (exponent.size() < min_digits) exponent.insert(0, min_digits - exponent.size(), '0');
      return out + "E" + (e < 0 ? "-" : "+") + exponent;
    }
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: break;
  }
  digits = std::clamp(digits, 0, 18);
  const Decimal d = DecimalOf(value, precision, digits);
  if (d.exponent > precision) return detail::GeneralText(value, precision, 0, fs);  // too large for fixed notation
  const std::string amount = detail::FixedDigits(d, digits, format != FloatFormat::Fixed, fs);
  if (format == FloatFormat::Currency) return detail::CurrencyText(amount, d.negative, fs);
  return d.negative ? "-" + amount : amount;
}

std::string CurrToStr(double value) {
  // A currency value holds four decimals.
  return FloatToStr(detail::ToDouble(DecimalOf(value, detail::kExtendedDigits, 4)));
}

std::string IntToStr(std::int64_t value) { return platform::to_text(value); }

}  // namespace hostrt
