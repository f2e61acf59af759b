// The registration of an unlinked non-fiscal receipt on a totalizer: the one
// call that the account receipts and the table opening make. The vendor
// library takes (totalizer, amount in cents as 14 digits, payment name); the
// return analysis takes the caller's colour scheme.
#pragma once
#include <string>

namespace kvr {

inline constexpr std::size_t kReceiptPaymentNameWidth = 16;

// Registers `amount` (currency units) on the totalizer `totalizer` (its code,
// "01"..., or its name) paid with the form `payment_name` (its first 16
// characters are sent). The verdict of Cupom_NFiscNVinc.
bool RegisterUnlinkedReceipt(const std::string& stEsquemaCor, const std::string& totalizer, double amount,
                             const std::string& payment_name);

}  // namespace kvr
