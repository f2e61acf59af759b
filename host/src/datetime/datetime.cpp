#include "hostrt/datetime.h"

#include <cmath>
#include <string>

#include "datetime/day_split.h"
#include "platform/numbers.h"

namespace hostrt {

namespace {

constexpr int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                     {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days from 1970-01-01 of a proleptic Gregorian date (civil calendar arithmetic).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(era * 400 + yoe + (month <= 2 ? 1 : 0));
}

// 1899-12-30, day 0 of the host's date-times, counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;

}  // namespace

namespace detail {

DaySplit SplitDateTime(DateTime dt) {
  // From 0001-01-01 to 9999-12-31, with a day of margin for rounding.
  if (!(dt.value >= -693595.0 && dt.value <= 2958467.0)) {
    throw EConvertError("Invalid date-time value: " + platform::shortest_text(dt.value));
  }
  DaySplit s;
  const double whole = std::trunc(dt.value);
  s.day = static_cast<long long>(whole);
  s.msec = static_cast<long long>(std::llround(std::fabs(dt.value - whole) * kMSecsPerDay));
  if (s.msec >= kMSecsPerDay) {  // a time within half a millisecond of midnight is the next midnight
    s.msec -= kMSecsPerDay;
    s.day += 1;
  }
  return s;
}

}  // namespace detail

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, DateTime& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  if (day > kDaysInMonth[IsLeapYear(year) ? 1 : 0][month - 1]) return false;
  out.value = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                  kEpochOffset);
  return true;
}

DateTime EncodeDate(int year, int month, int day) {
  DateTime dt;
  if (!TryEncodeDate(year, month, day, dt)) {
    throw EConvertError("Invalid argument to date encode: " + platform::to_text(year) + "-" + platform::to_text(month) +
                        "-" + platform::to_text(day));
  }
  return dt;
}

DateTime EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999) {
    throw EConvertError("Invalid argument to time encode: " + platform::to_text(hour) + ":" + platform::to_text(minute) +
                        ":" + platform::to_text(second) + "." + platform::to_text(msec));
  }
  const long long total = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
  return DateTime{static_cast<double>(total) / detail::kMSecsPerDay};
}

void DecodeDate(DateTime dt, int& year, int& month, int& day) {
  CivilFromDays(detail::SplitDateTime(dt).day + kEpochOffset, year, month, day);
}

void DecodeTime(DateTime dt, int& hour, int& minute, int& second, int& msec) {
  long long ms = detail::SplitDateTime(dt).msec;
  msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

DateTime DateOf(DateTime dt) { return DateTime{static_cast<double>(detail::SplitDateTime(dt).day)}; }

DateTime TimeOf(DateTime dt) {
  return DateTime{static_cast<double>(detail::SplitDateTime(dt).msec) / detail::kMSecsPerDay};
}

int DayOfWeek(DateTime dt) {
  const long long r = ((detail::SplitDateTime(dt).day % 7) + 7) % 7;  // day 0 was a Saturday
  return r == 0 ? 7 : static_cast<int>(r);
}

}  // namespace hostrt
