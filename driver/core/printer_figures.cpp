#include "core/printer_figures.h"

#include <exception>

#include "config/printer_lists.h"
#include "core/printer_call.h"
#include "hostrt/text.h"
#include "platform/ascii.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

constexpr std::size_t kFormListWidth = 3016;
constexpr int kExtendedNonFiscalOpen = 4;

// The digits of a figure as a number; separators are ignored.
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

std::optional<int> ReadIntFigure(const std::string& colour, const Slot<int(int*)>& slot) {
  try {
    int value = 0;
    const CallResult read = CallPrinter(
        colour, kSilent, slot, [&] { return ReplyLine(slot.name, platform::to_text(value)); }, &value);
    if (!read.ok) return std::nullopt;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;  // the library lacks the entry point
  }
}

}  // namespace

std::optional<long long> ReadFigure(const std::string& colour, const Slot<int(char*)>& slot, std::size_t width) {
  try {
    const ReplyResult reply = ReadReply(colour, kSilent, slot, slot.name, width);
    if (!reply.ok) return std::nullopt;
    return DigitsValue(reply.value);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<long long> ReadGrandTotalCents(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_GrandeTotal, 18);
}
std::optional<long long> ReadCouponCounter(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_NumeroCupon, 6);
}
std::optional<long long> ReadCancellationsCents(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_Cancelamentos, 14);
}
std::optional<long long> ReadCancelledCoupons(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_NumeroCuponsCancelados, 4);
}
std::optional<long long> ReadReportCounter(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6);
}
std::optional<long long> ReadLinkedReceiptCounter(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_ContadorComprovantesCreditoMFD, 6);
}
std::optional<long long> ReadNonFiscalCounter(const std::string& colour) {
  return ReadFigure(colour, Bematech_FI_NumeroOperacoesNaoFiscais, 6);
}

std::optional<int> ReadFiscalFlags(const std::string& colour) {
  return ReadIntFigure(colour, Bematech_FI_FlagsFiscais);
}

std::optional<bool> NonFiscalDocumentOpen(const std::string& colour) {
  const std::optional<int> status = ReadIntFigure(colour, Bematech_FI_StatusEstendidoMFD);
  if (!status) return std::nullopt;
  return (*status & kExtendedNonFiscalOpen) != 0;
}

std::optional<long long> ReadFormDayTotal(const std::string& colour, std::string_view form) {
  try {
    const ReplyResult list =
        ReadReply(colour, kSilent, Bematech_FI_VerificaFormasPago, "Bematech_FI_VerificaFormasPago", kFormListWidth);
    if (!list.ok) return std::nullopt;
    const std::optional<std::string> total = FormDayTotalText(list.value, form);
    if (!total) return std::nullopt;
    return DigitsValue(*total);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace kvr
