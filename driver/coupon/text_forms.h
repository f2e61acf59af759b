// The text forms in which amounts and quantities are handed to the printer:
// every coupon and document operation builds its texts here, so one sale's
// figures read the same at every call. Each form formats with the decimal
// separator of the current number settings; "truncated" means cut to two
// decimals before formatting (12.349 gives 12.34, never 12.35).
#pragma once
#include <string>

namespace kvr {

// Item unit price: "#0.000" of the price truncated to 2 decimals (9.999 gives 9.990).
std::string ItemPriceText(double price);
// Item quantity: "#0.000" (formatting rounds to 3 decimals).
std::string ItemQuantityText(double quantity);
// Item discount: cents as 8 digits (1.5 gives 00000150) of the discount
// truncated to 2 decimals; "0000" when there is no discount (0 or less).
std::string ItemDiscountText(double discount);
// The constant item surcharge and department index texts.
inline constexpr const char* kItemSurchargeText = "00";
inline constexpr const char* kDepartmentText = "01";

// Coupon discount or surcharge at closing: "0.00" of the amount truncated to 2 decimals.
std::string ClosingAdjustmentText(double amount);
// Payment amount: "#0.00" (formatting rounds to 2 decimals).
std::string PaymentAmountText(double amount);
// Non-fiscal receipt after the coupon: "0.00".
std::string ReceiptAmountText(double amount);
// Non-fiscal receipt amount as cents of 14 digits (1234.5 gives 00000000123450).
std::string ReceiptCentsText(double amount);
// Balances printed in coupon footers, amounts and quantities of the day
// reports: fixed notation, 2 decimals.
std::string BalanceText(double amount);

}  // namespace kvr
