// Dates as the printer writes them: two-digit fields, two-digit years.
#pragma once
#include <string_view>

#include "hostrt/datetime.h"

namespace kvr {

// The two digits at `pos` of text as a number; EConvertError when they are not digits.
int TwoDigits(std::string_view text, std::size_t pos);

// A two-digit year in the century of the current year: "99" read in 2026 is 2099.
int FullYear(int two_digit_year);

// "ddmmyy" as a date; EConvertError when it is not one.
hostrt::DateTime PrinterDate(std::string_view ddmmyy);

}  // namespace kvr
