#include "clock.h"

#include <ctime>
#include "platform/ascii.h"

namespace emu {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t days_from_civil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = static_cast<unsigned>((153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1);
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::string two(int value) {
  return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

bool all_digits(std::string_view text) {
  for (char c : text)
    if (!platform::ascii::is_digit(c)) return false;
  return !text.empty();
}

int number(std::string_view text, std::size_t pos, std::size_t len) {
  int value = 0;
  for (std::size_t i = pos; i < pos + len; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

std::optional<std::int64_t> checked(const CivilTime& t) {
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  CivilTime back = from_seconds(to_seconds(t));
  if (back.day != t.day || back.month != t.month) return std::nullopt;
  return to_seconds(t);
}

}  // namespace

std::int64_t to_seconds(const CivilTime& t) {
  return days_from_civil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::int64_t day_number(std::int64_t seconds) { return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400; }

CivilTime from_seconds(std::int64_t seconds) {
  std::int64_t z = day_number(seconds);
  std::int64_t rest = seconds - z * 86400;
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  CivilTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

std::optional<std::int64_t> parse_clock_text(std::string_view text) {
  if ((text.size() != 14 && text.size() != 8) || !all_digits(text)) return std::nullopt;
  CivilTime t{number(text, 4, 4), number(text, 2, 2), number(text, 0, 2), 0, 0, 0};
  if (text.size() == 14) {
    t.hour = number(text, 8, 2);
    t.minute = number(text, 10, 2);
    t.second = number(text, 12, 2);
  }
  return checked(t);
}

std::optional<std::int64_t> parse_short_date(std::string_view text) {
  if (text.size() != 6 || !all_digits(text)) return std::nullopt;
  return checked(CivilTime{2000 + number(text, 4, 2), number(text, 2, 2), number(text, 0, 2), 0, 0, 0});
}

std::optional<std::int64_t> range_date(std::string_view text) {
  std::string digits_only;
  for (char c : text)
    if (c != '/' && c != '-' && c != '.' && c != ' ') digits_only += c;
  if (digits_only.size() == 6) return parse_short_date(digits_only);
  return parse_clock_text(digits_only);
}

std::string ddmmyy(std::int64_t seconds) {
  CivilTime t = from_seconds(seconds);
  return two(t.day) + two(t.month) + two(t.year % 100);
}

std::string ddmmyyyy(std::int64_t seconds) {
  CivilTime t = from_seconds(seconds);
  return two(t.day) + two(t.month) + two(t.year / 100) + two(t.year % 100);
}

std::string hhmmss(std::int64_t seconds) {
  CivilTime t = from_seconds(seconds);
  return two(t.hour) + two(t.minute) + two(t.second);
}

std::string printed_date_time(std::int64_t seconds) {
  CivilTime t = from_seconds(seconds);
  return two(t.day) + "/" + two(t.month) + "/" + two(t.year / 100) + two(t.year % 100) + " " + two(t.hour) + ":" +
         two(t.minute) + ":" + two(t.second);
}

namespace {
std::tm local_now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

std::int64_t civil(const std::tm& local) {
  return to_seconds(CivilTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                              local.tm_sec});
}
}  // namespace

bool system_daylight_saving() { return local_now().tm_isdst > 0; }

std::int64_t system_standard_now() {
  const std::tm local = local_now();
  return civil(local) - (local.tm_isdst > 0 ? 3600 : 0);
}

}  // namespace emu
