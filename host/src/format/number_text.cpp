#include "format/number_text.h"

#include <cmath>
#include <cstdlib>
#include "platform/numbers.h"

namespace hostrt::detail {

std::string IntegerDigits(const Decimal& d, char thousands) {
  const int count = d.IntegerDigits();
  if (count == 0) return "0";
  std::string out;
  out.reserve(static_cast<std::size_t>(count + count / 3));
  for (int i = 0; i < count; ++i) {
    out.push_back(d.DigitAt(i));
    const int left = count - 1 - i;
    if (thousands != '\0' && left > 0 && left % 3 == 0) out.push_back(thousands);
  }
  return out;
}

std::string FractionDigits(const Decimal& d, int count) {
  std::string out;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out.push_back(d.DigitAt(d.exponent + i));
  return out;
}

std::string GeneralText(double value, int precision, int exp_digits, const FormatSettings& fs) {
  if (const char* special = SpecialText(value); *special) return special;
  const Decimal d = DecimalOf(value, precision, 9999);
  if (d.IsZero()) return "0";
  std::string out = d.negative ? "-" : "";
  if (d.exponent > precision || d.exponent < -3) {
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      out.push_back(fs.DecimalSeparator);
      out.append(d.digits, 1);
    }
    const int e = d.exponent - 1;
    std::string exponent = platform::to_text(std::abs(e));
    if (static_cast<int>(exponent.size()) < exp_digits) exponent.insert(0, static_cast<std::size_t>(exp_digits) - exponent.size(), '0');
    out += 'E';
    if (e < 0) out += '-';
    return out + exponent;
  }
  out += IntegerDigits(d, '\0');
  const int decimals = static_cast<int>(d.digits.size()) - d.exponent;
  if (decimals > 0) {
    out.push_back(fs.DecimalSeparator);
    out += FractionDigits(d, decimals);
  }
  return out;
}

std::string FixedDigits(const Decimal& d, int decimals, bool thousands, const FormatSettings& fs) {
  std::string out = IntegerDigits(d, thousands ? fs.ThousandSeparator : '\0');
  if (decimals > 0) {
    out.push_back(fs.DecimalSeparator);
    out += FractionDigits(d, decimals);
  }
  return out;
}

std::string CurrencyText(const std::string& amount, bool negative, const FormatSettings& fs) {
  const std::string& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 0: return c + amount;
      case 1: return amount + c;
      case 3: return amount + " " + c;
      default: return c + " " + amount;
    }
  }
  switch (fs.NegCurrFormat) {
    case 0: return "(" + c + amount + ")";
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "-" + c + " " + amount;  // 9
  }
}

}  // namespace hostrt::detail
