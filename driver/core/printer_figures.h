// The printer's own figures, read to tell whether a command whose answer was
// lost took effect. Every read goes through the one printer call, silently
// (no dialog, no coupon cancelled) and logged like any other; a read that
// fails gives nothing.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "kvr00102/kvr00102.h"

namespace kvr {

// A figure the printer writes as digits into a buffer of `width` blanks: a
// counter, or an amount in cents.
std::optional<long long> ReadFigure(const std::string& colour, const Slot<int(char*)>& slot, std::size_t width);

std::optional<long long> ReadGrandTotalCents(const std::string& colour);
std::optional<long long> ReadCouponCounter(const std::string& colour);      // COO
std::optional<long long> ReadCancellationsCents(const std::string& colour);  // the day's cancelled amounts
std::optional<long long> ReadCancelledCoupons(const std::string& colour);
std::optional<long long> ReadReportCounter(const std::string& colour);       // GRG
std::optional<long long> ReadLinkedReceiptCounter(const std::string& colour);  // CDC
std::optional<long long> ReadNonFiscalCounter(const std::string& colour);    // GNF

// The fiscal flags: 1 a coupon is open, 2 its closing has begun.
inline constexpr int kFlagCouponOpen = 1;
inline constexpr int kFlagClosingBegun = 2;
std::optional<int> ReadFiscalFlags(const std::string& colour);

// Whether a non-fiscal document (report, linked receipt) is open.
std::optional<bool> NonFiscalDocumentOpen(const std::string& colour);

// The day total of one payment form, in cents, by its printer name.
std::optional<long long> ReadFormDayTotal(const std::string& colour, std::string_view form);

}  // namespace kvr
