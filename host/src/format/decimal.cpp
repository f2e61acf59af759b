#include "format/decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "platform/numbers.h"

namespace hostrt::detail {

namespace {

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) {
    d.negative = false;
    d.exponent = 0;
  }
}

// Keeps the first `keep` digits, rounding up when the first dropped digit is 5 or more.
void KeepDigits(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    StripTrailingZeros(d);
    return;
  }
  const bool round_up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (round_up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++d.digits[static_cast<std::size_t>(i)];
    } else {  // all nines (or nothing kept): the carry makes a new leading 1
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripTrailingZeros(d);
}

}  // namespace

void RoundDecimal(Decimal& d, int significant, int decimals) {
  KeepDigits(d, std::min(significant, d.exponent + decimals));
}

void TruncateDecimal(Decimal& d, int decimals) {
  const int keep = d.exponent + decimals;
  if (keep >= static_cast<int>(d.digits.size())) return;
  d.digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
  StripTrailingZeros(d);
}

Decimal DecimalOf(double value, int significant, int decimals) {
  Decimal d;
  if (value == 0.0 || !std::isfinite(value)) return d;
  // "-d.ddddddddddddddddde+XX": the exact binary value rounded to 18 digits.
  const std::string text = platform::scientific_text(value, kExtendedDigits - 1);
  std::size_t p = 0;
  if (text[p] == '-') {
    d.negative = true;
    ++p;
  }
  for (; p < text.size() && text[p] != 'e'; ++p) {
    if (text[p] != '.') d.digits.push_back(text[p]);
  }
  long long exp10 = 0;
  if (p < text.size()) exp10 = platform::parse_integer(std::string_view(text).substr(p + 1)).value_or(0);
  d.exponent = static_cast<int>(exp10) + 1;
  StripTrailingZeros(d);
  RoundDecimal(d, significant, decimals);
  return d;
}

double ToDouble(const Decimal& d) {
  if (d.IsZero()) return 0.0;
  std::string text = d.negative ? "-0." : "0.";
  text += d.digits;
  text += 'e';
  text += platform::to_text(d.exponent);
  return platform::parse_decimal(text).value_or(0.0);
}

const char* SpecialText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  return "";
}

}  // namespace hostrt::detail
