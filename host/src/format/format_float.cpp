#include <algorithm>
#include <array>
#include <cstdlib>

#include "format/number_text.h"
#include "hostrt/format.h"
#include "platform/numbers.h"

namespace hostrt {

namespace {

using detail::Decimal;

// One section of a FormatFloat pattern, read once into its layout.
struct Layout {
  enum Kind { IntDigit, FracDigit, Point, Literal, Exponent };
  struct Token {
    Kind kind;
    std::string_view text;  // Literal only
    int index = 0;          // IntDigit / FracDigit: position among its kind
  };
  std::vector<Token> tokens;
  int int_count = 0;        // digit placeholders before the point
  int first_zero_int = -1;  // index of the first '0' before the point
  int frac_count = 0;       // digit placeholders after the point
  int frac_min = 0;         // up to the last '0' after the point
  bool thousands = false;
  bool scientific = false;
  bool exp_plus = false;    // "E+": the exponent always carries its sign
  char exp_letter = 'E';    // as written: "E" or "e"
  int exp_digits = 0;

  int MinIntegerDigits() const { return first_zero_int < 0 ? 0 : int_count - first_zero_int; }
};

Layout ParseSection(std::string_view s) {
  Layout l;
  bool point = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = s.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? s.size() : end;
      l.tokens.push_back({Layout::Literal, s.substr(i + 1, stop - i - 1)});
      i = stop;
    } else if (c == '0' || c == '#') {
      if (point) {
        l.tokens.push_back({Layout::FracDigit, {}, l.frac_count++});
        if (c == '0') l.frac_min = l.frac_count;
      } else {
        if (c == '0' && l.first_zero_int < 0) l.first_zero_int = l.int_count;
        l.tokens.push_back({Layout::IntDigit, {}, l.int_count++});
      }
    } else if (c == '.') {
      if (!point) l.tokens.push_back({Layout::Point, {}});
      point = true;
    } else if (c == ',') {
      l.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-') && !l.scientific) {
      l.scientific = true;
      l.exp_plus = s[i + 1] == '+';
      l.exp_letter = c;
      i += 2;
      while (i < s.size() && s[i] == '0') {
        ++l.exp_digits;
        ++i;
      }
      --i;
      l.tokens.push_back({Layout::Exponent, {}});
    } else {
      l.tokens.push_back({Layout::Literal, s.substr(i, 1)});
    }
  }
  return l;
}

// Splits at ';' outside quotes into at most three sections.
std::array<std::string_view, 3> SplitSections(std::string_view pattern, int& count) {
  std::array<std::string_view, 3> out{};
  count = 0;
  std::size_t start = 0;
  char quote = '\0';
  for (std::size_t i = 0; i <= pattern.size() && count < 3; ++i) {
    const char c = i < pattern.size() ? pattern[i] : ';';
    if (quote != '\0') {
      if (c == quote) quote = '\0';
      if (i < pattern.size()) continue;
    } else if (c == '"' || c == '\'') {
      quote = c;
      continue;
    }
    if (c == ';' || i == pattern.size()) {
      out[static_cast<std::size_t>(count++)] = pattern.substr(start, i - start);
      start = i + 1;
    }
  }
  return out;
}

class Renderer {
 public:
  Renderer(const Layout& l, const FormatSettings& fs) : l_(l), fs_(fs) {}

  std::string Render(const Decimal& d) {
    if (l_.scientific) {
      PrepareScientific(d);
    } else {
      PrepareFixed(d);
    }
    std::string out;
    for (const auto& t : l_.tokens) {
      switch (t.kind) {
        case Layout::IntDigit: IntegerPlaceholder(out, t.index); break;
        case Layout::FracDigit:
          if (t.index < static_cast<int>(frac_.size())) out.push_back(frac_[static_cast<std::size_t>(t.index)]);
          break;
        case Layout::Point:
          if (l_.int_count == 0) Digits(out, 0, static_cast<int>(int_.size()));
          if (!frac_.empty()) out.push_back(fs_.DecimalSeparator);
          break;
        case Layout::Literal: out.append(t.text); break;
        case Layout::Exponent: out += exponent_text_; break;
      }
    }
    return out;
  }

 private:
  void PrepareFixed(const Decimal& d) {
    int_ = d.IntegerDigits() > 0 ? detail::IntegerDigits(d, '\0') : "";
    const int min_int = l_.MinIntegerDigits();
    if (static_cast<int>(int_.size()) < min_int) int_.insert(0, static_cast<std::size_t>(min_int) - int_.size(), '0');
    frac_ = detail::FractionDigits(d, l_.frac_count);
    TrimFraction();
  }

  void PrepareScientific(const Decimal& d) {
    const int int_digits = std::max(l_.int_count, 1);
    for (int i = 0; i < int_digits; ++i) int_.push_back(d.DigitAt(i));
    for (int i = 0; i < l_.frac_count; ++i) frac_.push_back(d.DigitAt(int_digits + i));
    TrimFraction();
    const int e = d.IsZero() ? 0 : d.exponent - int_digits;
    std::string digits = platform::to_text(std::abs(e));
    if (static_cast<int>(digits.size()) < l_.exp_digits) {
      digits.insert(0, static_cast<std::size_t>(l_.exp_digits) - digits.size(), '0');
    }
    exponent_text_ = std::string(1, l_.exp_letter) + (e < 0 ? "-" : l_.exp_plus ? "+" : "") + digits;
  }

  void TrimFraction() {
    while (static_cast<int>(frac_.size()) > l_.frac_min && frac_.back() == '0') frac_.pop_back();
  }

  // The digits of int_ from index `from` (inclusive) to `to`, with separators.
  void Digits(std::string& out, int from, int to) {
    const int n = static_cast<int>(int_.size());
    for (int i = from; i < to; ++i) {
      out.push_back(int_[static_cast<std::size_t>(i)]);
      const int left = n - 1 - i;
      if (l_.thousands && !l_.scientific && left > 0 && left % 3 == 0) out.push_back(fs_.ThousandSeparator);
    }
  }

  // The first placeholder also takes every digit that has no placeholder of its own.
  void IntegerPlaceholder(std::string& out, int index) {
    const int n = static_cast<int>(int_.size());
    const int excess = n - l_.int_count;
    if (index == 0 && excess > 0) Digits(out, 0, excess);
    const int digit = index + excess;  // this placeholder's digit in int_
    if (digit >= 0 && digit < n) Digits(out, digit, digit + 1);
  }

  const Layout& l_;
  const FormatSettings& fs_;
  std::string int_, frac_, exponent_text_;
};

Decimal RoundFor(const Layout& l, double value) {
  if (l.scientific) return detail::DecimalOf(value, std::max(l.int_count, 1) + l.frac_count, 9999);
  return detail::DecimalOf(value, detail::kExtendedDigits, l.frac_count);
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
  return FormatFloat(pattern, value, CurrentFormatSettings());
}

std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& fs) {
  if (const char* special = detail::SpecialText(value); *special) return special;
  int count = 0;
  const auto sections = SplitSections(pattern, count);

  // A negative value uses the second section when there is one; its sign is then the section's own.
  const bool own_negative = value < 0 && count >= 2 && !sections[1].empty();
  Layout layout = ParseSection(own_negative ? sections[1] : sections[0]);
  Decimal d = RoundFor(layout, value);
  bool signed_section = own_negative;
  if (d.IsZero()) {  // a value that rounds to zero takes the zero section, or the first, and no sign
    signed_section = false;
    if (count >= 3 && !sections[2].empty()) layout = ParseSection(sections[2]);
    else if (own_negative) layout = ParseSection(sections[0]);
  }
  if (!layout.scientific && d.exponent > detail::kExtendedDigits) {
    return detail::GeneralText(value, detail::kGeneralDigits, 0, fs);  // too large for the pattern
  }
  if (layout.tokens.empty()) return detail::GeneralText(value, detail::kGeneralDigits, 0, fs);  // empty section
  std::string text = Renderer(layout, fs).Render(d);
  if (d.negative && !signed_section) text.insert(0, 1, '-');
  return text;
}

}  // namespace hostrt
