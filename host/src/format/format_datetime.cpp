#include <string>

#include "datetime/day_split.h"
#include "hostrt/format.h"
#include "platform/numbers.h"
#include "platform/ascii.h"

namespace hostrt {

namespace {

struct Parts {
  int year, month, day, hour, minute, second, msec, weekday;
  bool has_time;
};

Parts Decode(DateTime dt) {
  Parts p{};
  DecodeDate(dt, p.year, p.month, p.day);
  DecodeTime(dt, p.hour, p.minute, p.second, p.msec);
  p.weekday = DayOfWeek(dt);
  p.has_time = detail::SplitDateTime(dt).msec != 0;
  return p;
}

void AppendNumber(std::string& out, int value, int width) {
  const std::string digits = platform::to_text(value);
  if (static_cast<int>(digits.size()) < width) out.append(static_cast<std::size_t>(width) - digits.size(), '0');
  out += digits;
}

const std::string& NameOf(const std::vector<std::string>& names, int index) {
  static const std::string kNone;
  return index >= 1 && index <= static_cast<int>(names.size()) ? names[static_cast<std::size_t>(index - 1)] : kNone;
}

bool StartsWithNoCase(std::string_view s, std::size_t pos, std::string_view what) {
  if (s.size() - pos < what.size()) return false;
  for (std::size_t i = 0; i < what.size(); ++i) {
    if (platform::ascii::to_upper(s[pos + i]) != platform::ascii::to_upper(what[i])) {
      return false;
    }
  }
  return true;
}

// Whether the pattern has an am/pm marker outside quotes, which makes "h" count to 12.
bool HasAmPm(std::string_view f) {
  char quote = '\0';
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (quote != '\0') {
      if (f[i] == quote) quote = '\0';
    } else if (f[i] == '"' || f[i] == '\'') {
      quote = f[i];
    } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") || StartsWithNoCase(f, i, "ampm")) {
      return true;
    }
  }
  return false;
}

class DateTimeWriter {
 public:
  DateTimeWriter(const Parts& p, const FormatSettings& fs) : p_(p), fs_(fs) {}

  void Write(std::string& out, std::string_view f, int depth = 0) {
    if (depth > 2) return;  // nested standard forms ("c" in ShortDateFormat) stop here
    const bool twelve = HasAmPm(f);
    char last = '\0';
    std::size_t i = 0;
    while (i < f.size()) {
      const char c = f[i];
      char token = static_cast<char>(platform::ascii::to_upper(c));
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && last == 'H') token = 'N';  // "m" right after an hour means minutes
        last = token;
      }
      const std::size_t count = RunLength(f, i, c);
      switch (token) {
        case 'Y':
          AppendNumber(out, count <= 2 ? p_.year % 100 : p_.year, count <= 2 ? 2 : 4);
          i += count;
          break;
        case 'M':
          if (count <= 2) AppendNumber(out, p_.month, static_cast<int>(count));
          else out += NameOf(count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames, p_.month);
          i += count > 4 ? 4 : count;
          break;
        case 'D':
          if (count <= 2) AppendNumber(out, p_.day, static_cast<int>(count));
          else if (count == 3) out += NameOf(fs_.ShortDayNames, p_.weekday);
          else if (count == 4) out += NameOf(fs_.LongDayNames, p_.weekday);
          else Write(out, count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, depth + 1);
          i += count > 6 ? 6 : count;
          break;
        case 'H': {
          int hour = p_.hour;
          if (twelve) hour = hour % 12 == 0 ? 12 : hour % 12;
          AppendNumber(out, hour, count >= 2 ? 2 : 1);
          i += count > 2 ? 2 : count;
          break;
        }
        case 'N':
        case 'S':
          AppendNumber(out, token == 'N' ? p_.minute : p_.second, count >= 2 ? 2 : 1);
          i += count > 2 ? 2 : count;
          break;
        case 'Z':
          AppendNumber(out, p_.msec, count >= 2 ? 3 : 1);
          i += count > 3 ? 3 : count;
          break;
        case 'T':
          Write(out, count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, depth + 1);
          i += count > 2 ? 2 : count;
          break;
        case 'C':
          Write(out, fs_.ShortDateFormat, depth + 1);
          if (p_.has_time) {
            out.push_back(' ');
            Write(out, fs_.LongTimeFormat, depth + 1);
          }
          i += 1;
          break;
        case 'A': i += AmPm(out, f, i); break;
        case '/':
          out.push_back(fs_.DateSeparator);
          ++i;
          break;
        case ':':
          out.push_back(fs_.TimeSeparator);
          ++i;
          break;
        case '"':
        case '\'': {
          const std::size_t end = f.find(c, i + 1);
          const std::size_t stop = end == std::string_view::npos ? f.size() : end;
          out.append(f.substr(i + 1, stop - i - 1));
          i = stop + 1;
          break;
        }
        default:
          out.push_back(c);
          ++i;
      }
    }
  }

 private:
  static std::size_t RunLength(std::string_view f, std::size_t i, char c) {
    const int upper = platform::ascii::to_upper(c);
    std::size_t n = 0;
    while (i + n < f.size() && platform::ascii::to_upper(f[i + n]) == upper) ++n;
    return n;
  }

  // "am/pm", "a/p", "ampm"; a lone "a" is literal. Returns the characters used.
  std::size_t AmPm(std::string& out, std::string_view f, std::size_t i) {
    const bool pm = p_.hour >= 12;
    if (StartsWithNoCase(f, i, "am/pm")) {
      const std::string_view form = f.substr(pm ? i + 3 : i, 2);
      out.append(form);
      return 5;
    }
    if (StartsWithNoCase(f, i, "a/p")) {
      out.push_back(f[pm ? i + 2 : i]);
      return 3;
    }
    if (StartsWithNoCase(f, i, "ampm")) {
      const std::string& text = pm ? fs_.TimePMString : fs_.TimeAMString;
      out += text.empty() ? (pm ? "PM" : "AM") : text;
      return 4;
    }
    out.push_back(f[i]);
    return 1;
  }

  const Parts& p_;
  const FormatSettings& fs_;
};

}  // namespace

std::string FormatDateTime(std::string_view pattern, DateTime dt) {
  return FormatDateTime(pattern, dt, CurrentFormatSettings());
}

std::string FormatDateTime(std::string_view pattern, DateTime dt, const FormatSettings& fs) {
  const Parts parts = Decode(dt);
  std::string out;
  DateTimeWriter(parts, fs).Write(out, pattern.empty() ? std::string_view("c") : pattern);
  return out;
}

std::string DateToStr(DateTime dt) { return FormatDateTime("ddddd", dt); }

std::string TimeToStr(DateTime dt) { return FormatDateTime("tt", dt); }

std::string DateTimeToStr(DateTime dt) { return FormatDateTime("c", dt); }

}  // namespace hostrt
