#pragma once
// A date-time split into whole days and milliseconds of the day, the one
// place where the time fraction is rounded.
#include "hostrt/datetime.h"

namespace hostrt::detail {

constexpr long long kMSecsPerDay = 86400000LL;

struct DaySplit {
  long long day = 0;   // days since 1899-12-30 (the date part, truncated toward zero)
  long long msec = 0;  // 0 .. 86399999
};

// Raises EConvertError for a value that is no date (not finite, or outside
// the years 1 to 9999).
DaySplit SplitDateTime(DateTime dt);

}  // namespace hostrt::detail
