// Document kind codes and date/time validity.
#include <array>
#include <utility>

#include "mfd_format/mfd_format.h"

namespace mfd {
namespace {

constexpr std::array<std::pair<DocumentKind, std::string_view>, 7> kKindCodes{{
    {DocumentKind::FiscalCoupon, "CF"},
    {DocumentKind::NonFiscalReceipt, "CN"},
    {DocumentKind::ManagementReport, "RG"},
    {DocumentKind::ZReduction, "RZ"},
    {DocumentKind::XReading, "LX"},
    {DocumentKind::Cancellation, "NC"},
    {DocumentKind::CreditDebitSlip, "CC"},
}};

}  // namespace

std::string_view kind_code(DocumentKind kind) {
  for (const auto& [k, code] : kKindCodes)
    if (k == kind) return code;
  return "??";
}

std::optional<DocumentKind> kind_from_code(std::string_view code) {
  for (const auto& [kind, c] : kKindCodes)
    if (c == code) return kind;
  return std::nullopt;
}

bool is_valid(const Date& date) {
  if (date.year < 1900 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  int days = kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
  return date.day <= days;
}

std::int64_t in_decimals(std::int64_t thousandths, int decimals) {
  std::int64_t divisor = 1;
  for (int i = decimals; i < 3; ++i) divisor *= 10;
  const std::int64_t half = thousandths < 0 ? -divisor / 2 : divisor / 2;
  return (thousandths + half) / divisor;
}

bool is_valid(const Time& time) {
  return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60 && time.second >= 0 &&
         time.second < 60;
}

}  // namespace mfd
