#include "core/printer_figures.h"

#include <exception>

#include "config/printer_lists.h"
#include "core/debug_log.h"
#include "core/printer_call.h"
#include "hostrt/text.h"
#include "platform/ascii.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

constexpr std::size_t kFormListWidth = 3016;
constexpr std::size_t kRateListWidth = 79;
constexpr int kExtendedCouponOpen = 2;
constexpr int kExtendedNonFiscalOpen = 4;
constexpr int kAnswered = 1;
constexpr int kUnwritten = -1;


// A read of which only the answer is needed: called through its slot and
// logged like any printer call, but not handed to the return analysis, whose
// status read would double the read's cost and whose verdict (paper out, a
// coupon open) says nothing of the figure. Nothing when the library lacks the
// entry point or the printer does not answer.
std::optional<std::string> ReadText(const Slot<int(char*)>& slot, std::size_t width) {
  try {
    Reply reply(width);
    const int code = slot(reply.data());
    Log(ReplyLine(slot.name, reply.Text()));
    if (code != kAnswered) return std::nullopt;
    return reply.Text();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// A read the printer refused leaves its value unwritten: a status is never
// negative, so the value it starts with tells.
std::optional<int> ReadInt(const Slot<int(int*)>& slot) {
  try {
    int value = kUnwritten;
    const int code = slot(&value);
    Log(ReplyLine(slot.name, platform::to_text(value)));
    if (code != kAnswered || value == kUnwritten) return std::nullopt;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<long long> DigitsValue(std::string_view text) {
  std::string digits;
  for (char c : hostrt::Trim(text)) {
    if (platform::ascii::is_digit(c))
      digits += c;
    else if (c != ',' && c != '.')
      return std::nullopt;
  }
  return platform::parse_integer(digits);
}

std::optional<long long> ReadFigure(const Slot<int(char*)>& slot, std::size_t width) {
  const std::optional<std::string> text = ReadText(slot, width);
  if (!text) return std::nullopt;
  return DigitsValue(*text);
}

std::optional<long long> ReadGrandTotalCents() { return ReadFigure(Bematech_FI_GrandeTotal, 18); }
std::optional<long long> ReadCouponCounter() { return ReadFigure(Bematech_FI_NumeroCupon, 6); }
std::optional<long long> ReadCancellationsCents() { return ReadFigure(Bematech_FI_Cancelamentos, 14); }
std::optional<long long> ReadCancelledCoupons() { return ReadFigure(Bematech_FI_NumeroCuponsCancelados, 4); }

std::optional<int> ReadFiscalFlags() { return ReadInt(Bematech_FI_FlagsFiscais); }

std::optional<bool> NonFiscalDocumentOpen() {
  const std::optional<int> status = ReadInt(Bematech_FI_StatusEstendidoMFD);
  if (!status) return std::nullopt;
  return (*status & kExtendedNonFiscalOpen) != 0;
}

OpenDocument ReadOpenDocument() {
  // The extended status is bound at every start and emptied at the stop.
  if (!Bematech_FI_StatusEstendidoMFD.Bound()) return OpenDocument::kNone;
  // Not logged: the read is the bridge's bookkeeping between operations, and
  // each operation's log stays the lines of its own printer calls.
  int status = kUnwritten;
  try {
    if (Bematech_FI_StatusEstendidoMFD(&status) != kAnswered || status == kUnwritten) return OpenDocument::kUnknown;
  } catch (const std::exception&) {
    return OpenDocument::kUnknown;
  }
  if (status & kExtendedCouponOpen) return OpenDocument::kCoupon;
  return (status & kExtendedNonFiscalOpen) ? OpenDocument::kNonFiscal : OpenDocument::kNone;
}

std::optional<std::string> ReadTotalizerList() {
  return ReadText(Bematech_FI_VerificaTotalizadoresNoFiscales, kTotalizerListWidth);
}

std::optional<std::vector<int>> ReadRateBasisPoints() {
  const std::optional<std::string> list = ReadText(Bematech_FI_RetornoAlicuotas, kRateListWidth);
  if (!list) return std::nullopt;
  std::vector<int> rates;
  const std::string text = hostrt::Trim(*list);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find(',', at);
    if (end == std::string::npos) end = text.size();
    const std::optional<long long> rate = DigitsValue(text.substr(at, end - at));
    if (!rate || *rate > 9999) return std::nullopt;
    rates.push_back(static_cast<int>(*rate));
    at = end + 1;
  }
  return rates;
}

std::optional<std::string> ReadFormList() { return ReadText(Bematech_FI_VerificaFormasPago, kFormListWidth); }

std::optional<long long> FormDayTotal(std::string_view list, std::string_view form) {
  const std::optional<std::string> total = FormDayTotalText(list, form);
  if (!total) return std::nullopt;
  return DigitsValue(*total);
}

}  // namespace kvr
