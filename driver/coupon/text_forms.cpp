#include "coupon/text_forms.h"

#include "hostrt/format.h"
#include "hostrt/text.h"

namespace kvr {
namespace {

// A cents text: the amount formatted with a fixed number of integer digits
// and two decimals, then its decimal separator removed. Removing the separator
// itself (rather than the character at its usual column) keeps amounts too
// wide for the pattern intact: 1234567.5 gives 123456750, not 123456.50.
std::string CentsText(const char* pattern, double amount) {
  std::string text = hostrt::FormatFloat(pattern, amount);
  const auto separator = text.rfind(hostrt::CurrentFormatSettings().DecimalSeparator);
  if (separator != std::string::npos) text.erase(separator, 1);
  return text;
}

}  // namespace

std::string ItemPriceText(double price) { return hostrt::FormatFloat("#0.000", hostrt::Trunc2(price)); }

std::string ItemQuantityText(double quantity) { return hostrt::FormatFloat("#0.000", quantity); }

std::string ItemDiscountText(double discount) {
  if (!(discount > 0)) return "0000";
  return CentsText("000000.00", hostrt::Trunc2(discount));
}

std::string ClosingAdjustmentText(double amount) { return hostrt::FormatFloat("0.00", hostrt::Trunc2(amount)); }

std::string PaymentAmountText(double amount) { return hostrt::FormatFloat("#0.00", amount); }

std::string ReceiptAmountText(double amount) { return hostrt::FormatFloat("0.00", amount); }

std::string ReceiptCentsText(double amount) { return CentsText("000000000000.00", amount); }

std::string BalanceText(double amount) {
  return hostrt::FloatToStrF(amount, hostrt::FloatFormat::Fixed, 15, 2);
}

}  // namespace kvr
