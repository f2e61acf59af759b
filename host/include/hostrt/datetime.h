#pragma once
// Date-times as the host's runtime keeps them: days since 1899-12-30, the
// fraction being the time of day.
#include <stdexcept>
#include <string>

namespace hostrt {

struct DateTime {
  double value = 0.0;
  friend bool operator==(DateTime a, DateTime b) { return a.value == b.value; }
  friend auto operator<=>(DateTime a, DateTime b) { return a.value <=> b.value; }
};

// Raised by every conversion that cannot be made (text to number or date,
// impossible dates). Its message says what was given.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

DateTime EncodeDate(int year, int month, int day);                 // throws EConvertError
DateTime EncodeTime(int hour, int minute, int second, int msec = 0);  // throws EConvertError
bool TryEncodeDate(int year, int month, int day, DateTime& out);
void DecodeDate(DateTime dt, int& year, int& month, int& day);
void DecodeTime(DateTime dt, int& hour, int& minute, int& second, int& msec);
DateTime DateOf(DateTime dt);   // the date part only
DateTime TimeOf(DateTime dt);   // the time part only
int DayOfWeek(DateTime dt);     // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(int year);

}  // namespace hostrt
