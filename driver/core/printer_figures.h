// The printer's own figures, read to tell whether a command whose answer was
// lost took effect. Each read is logged like any printer call and gives
// nothing when it fails.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvr00102/kvr00102.h"

namespace kvr {

// A figure the printer writes as digits into a buffer of `width` blanks: a
// counter, or an amount in cents.
// The digits of a figure as a number; separators are ignored. Nothing for a
// text with anything else in it.
std::optional<long long> DigitsValue(std::string_view text);

std::optional<long long> ReadFigure(const Slot<int(char*)>& slot, std::size_t width);

std::optional<long long> ReadGrandTotalCents();
std::optional<long long> ReadCouponCounter();       // COO
std::optional<long long> ReadCancellationsCents();  // the day's cancelled amounts
std::optional<long long> ReadCancelledCoupons();

// The fiscal flags: 1 a coupon is open, 2 its closing has begun.
inline constexpr int kFlagCouponOpen = 1;
inline constexpr int kFlagClosingBegun = 2;
std::optional<int> ReadFiscalFlags();

// Whether a non-fiscal document (report, linked receipt) is open.
std::optional<bool> NonFiscalDocumentOpen();

// What the printer has open, from one status read that is not logged:
// nothing when the driver is not started (no printer can have been reached),
// unknown when the read fails.
enum class OpenDocument { kNone, kCoupon, kNonFiscal, kUnknown };
OpenDocument ReadOpenDocument();

// The non-fiscal totalizer list (19 characters of name and a separator per entry).
inline constexpr std::size_t kTotalizerListWidth = 179;
std::optional<std::string> ReadTotalizerList();

// The tax rates in basis points (1800 is 18 %), one entry per position.
std::optional<std::vector<int>> ReadRateBasisPoints();

// The payment-form list, and the day total in cents of one form in it, by the
// form's printer name.
std::optional<std::string> ReadFormList();
std::optional<long long> FormDayTotal(std::string_view list, std::string_view form);

}  // namespace kvr
