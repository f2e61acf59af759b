#pragma once
// The largest values the printer's memory holds: the digit widths of its
// counters and amounts, the range of its clock. A state file beyond them is
// damaged, and a command that would carry the memory beyond them is refused,
// so every total the printer adds stays far inside a 64-bit integer.
#include <cstdint>
#include <string>

#include "state.h"

namespace emu {

inline constexpr int kSixDigitCounter = 999'999;  // COO, CCF, GNF, GRG, CFD, bill checks
inline constexpr int kFourDigitCounter = 9'999;   // CRZ, CRO, CDC, cancelled coupons, substitutions
inline constexpr int kCouponItems = 999;          // items of one coupon (three-digit item numbers)
inline constexpr Cents kGrandTotalLimit = 999'999'999'999'999'999;  // 18 digits of cents
inline constexpr Cents kDayAmountLimit = 99'999'999'999'999;        // 14 digits of cents
inline constexpr Cents kLargestItem = 9'999'999'999'99;             // 13 digits of cents
inline constexpr std::int64_t kLargestUnitPrice = 99'999'999'999;   // thousandths
inline constexpr std::int64_t kLargestQuantity = 99'999'999;        // thousandths
inline constexpr std::int64_t kClockOffsetLimit = 100LL * 366 * 86400;  // a century either way
inline constexpr int kSettingLimit = 1'000'000;  // baud rate, items until the paper ends

// What breaks a bound in the state ("grand total out of range"), or empty
// when everything is within them.
std::string out_of_bounds(const State& state);

}  // namespace emu
