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
// characters are sent). True when the printer holds it: a receipt whose
// answer was lost is judged by the printer's counters, and when they cannot
// tell (the printer does not answer) the operator is asked, to look at the
// paper, and the counters are read again after the answer. A receipt refused
// by a printer that is off or does not answer is asked about; yes sends it
// again.
bool RegisterUnlinkedReceipt(const std::string& stEsquemaCor, const std::string& totalizer, double amount,
                             const std::string& payment_name);

}  // namespace kvr
