#include "documents/unlinked_receipt.h"

#include "coupon/text_forms.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

bool RegisterUnlinkedReceipt(const std::string& stEsquemaCor, const std::string& totalizer, double amount,
                             const std::string& payment_name) {
  return Cupom_NFiscNVinc(stEsquemaCor, totalizer, ReceiptCentsText(amount),
                          payment_name.substr(0, kReceiptPaymentNameWidth));
}

}  // namespace kvr
