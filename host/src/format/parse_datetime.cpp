#include <string>

#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "platform/ascii.h"

namespace hostrt {

namespace {

// Years below 100 fall in the 100 years that start 50 years before the
// current one (so in 2026, 76..99 are 1976..1999 and 00..75 are 2000..2075).
constexpr int kTwoDigitYearWindow = 50;

int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  int current = 0, month = 0, day = 0;
  DecodeDate(Date(), current, month, day);
  const int pivot = current - kTwoDigitYearWindow;
  year += pivot / 100 * 100;
  if (year < pivot) year += 100;
  return year;
}

class Scanner {
 public:
  Scanner(std::string_view text, const FormatSettings& fs) : s_(text), fs_(fs) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ == s_.size();
  }

  bool Date(DateTime& out) {
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    if (!Number(n[0], digits[0]) || !Char(fs_.DateSeparator) || !Number(n[1], digits[1])) return false;
    int count = 2;
    if (Char(fs_.DateSeparator)) {
      if (!Number(n[2], digits[2])) return false;
      count = 3;
    }
    int year = 0, month = 0, day = 0, year_digits = 4;
    const char order = DateOrder();
    if (count == 2) {  // day and month only: the current year
      int unused = 0;
      DecodeDate(hostrt::Date(), year, unused, unused);
      if (order == 'D') {
        day = n[0];
        month = n[1];
      } else {
        month = n[0];
        day = n[1];
      }
    } else if (order == 'D') {
      day = n[0], month = n[1], year = n[2], year_digits = digits[2];
    } else if (order == 'M') {
      month = n[0], day = n[1], year = n[2], year_digits = digits[2];
    } else {
      year = n[0], month = n[1], day = n[2], year_digits = digits[0];
    }
    return TryEncodeDate(ExpandYear(year, year_digits), month, day, out);
  }

  // hh:nn[:ss[.zzz]] [AM|PM]
  bool Time(DateTime& out) {
    int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
    if (!Number(hour, digits) || !Char(fs_.TimeSeparator) || !Number(minute, digits)) return false;
    if (Char(fs_.TimeSeparator)) {
      if (!Number(second, digits)) return false;
      if (Char('.') || Char(fs_.DecimalSeparator)) {
        if (!Number(msec, digits)) return false;
      }
    }
    SkipBlanks();
    const int half = HalfOfDay();
    if (half >= 0) {
      if (hour < 1 || hour > 12) return false;
      hour = hour % 12 + (half == 1 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59 || msec > 999) return false;
    out = EncodeTime(hour, minute, second, msec);
    return true;
  }

 private:
  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }

  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < s_.size() && platform::ascii::is_digit(s_[pos_]) && digits < 9) {
      value = value * 10 + (s_[pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }

  bool Char(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  // 0 for AM, 1 for PM, -1 when neither follows.
  int HalfOfDay() {
    const std::string_view rest = s_.substr(pos_);
    const auto match = [&](std::string_view word) {
      if (word.empty() || rest.size() < word.size()) return false;
      for (std::size_t i = 0; i < word.size(); ++i) {
        if (platform::ascii::to_upper(rest[i]) != platform::ascii::to_upper(word[i])) {
          return false;
        }
      }
      pos_ += word.size();
      return true;
    };
    if (match(fs_.TimeAMString.empty() ? "AM" : fs_.TimeAMString)) return 0;
    if (match(fs_.TimePMString.empty() ? "PM" : fs_.TimePMString)) return 1;
    return -1;
  }

  // 'D', 'M' or 'Y': the field that comes first in the short date format.
  char DateOrder() const {
    for (const char c : fs_.ShortDateFormat) {
      const char u = static_cast<char>(platform::ascii::to_upper(c));
      if (u == 'D' || u == 'M' || u == 'Y') return u;
    }
    return 'D';
  }

  std::string_view s_;
  const FormatSettings& fs_;
  std::size_t pos_ = 0;
};

[[noreturn]] void Invalid(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

bool TryStrToDate(std::string_view text, DateTime& out) {
  Scanner s(text, CurrentFormatSettings());
  DateTime dt;
  if (!s.Date(dt) || !s.AtEnd()) return false;
  out = dt;
  return true;
}

bool TryStrToDateTime(std::string_view text, DateTime& out) {
  const FormatSettings& fs = CurrentFormatSettings();
  DateTime date, time;
  Scanner s(text, fs);
  if (s.Date(date)) {
    if (!s.AtEnd() && !(s.Time(time) && s.AtEnd())) return false;
    // Before day 0 the time part counts away from zero, as the host keeps it.
    out = DateTime{date.value < 0 ? date.value - time.value : date.value + time.value};
    return true;
  }
  Scanner t(text, fs);  // a time alone is a time on day 0
  if (!t.Time(time) || !t.AtEnd()) return false;
  out = time;
  return true;
}

DateTime StrToDate(std::string_view text) {
  DateTime out;
  if (!TryStrToDate(text, out)) Invalid(text, "date");
  return out;
}

DateTime StrToTime(std::string_view text) {
  Scanner s(text, CurrentFormatSettings());
  DateTime out;
  if (!s.Time(out) || !s.AtEnd()) Invalid(text, "time");
  return out;
}

DateTime StrToDateTime(std::string_view text) {
  DateTime out;
  if (!TryStrToDateTime(text, out)) Invalid(text, "date and time");
  return out;
}

}  // namespace hostrt
