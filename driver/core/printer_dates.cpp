#include "core/printer_dates.h"

#include <string>

#include "hostrt/clock.h"

namespace kvr {

int TwoDigits(std::string_view text, std::size_t pos) {
  if (text.size() < pos + 2 || text[pos] < '0' || text[pos] > '9' || text[pos + 1] < '0' || text[pos + 1] > '9')
    throw hostrt::EConvertError("'" + std::string(text) + "' is not a valid printer date");
  return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

int FullYear(int two_digit_year) {
  int year = 0, month = 0, day = 0;
  hostrt::DecodeDate(hostrt::Now(), year, month, day);
  return year - year % 100 + two_digit_year;
}

hostrt::DateTime PrinterDate(std::string_view ddmmyy) {
  return hostrt::EncodeDate(FullYear(TwoDigits(ddmmyy, 4)), TwoDigits(ddmmyy, 2), TwoDigits(ddmmyy, 0));
}

}  // namespace kvr
