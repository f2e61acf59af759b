#include "documents/unlinked_receipt.h"

#include "core/effect_checks.h"
#include "coupon/retry_question.h"
#include "coupon/text_forms.h"
#include "documents/document_builder.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

bool RegisterUnlinkedReceipt(const std::string& stEsquemaCor, const std::string& totalizer, double amount,
                             const std::string& payment_name) {
  const std::string cents = ReceiptCentsText(amount);
  const std::string payment = payment_name.substr(0, kReceiptPaymentNameWidth);
  RetryQuestion retry(stEsquemaCor);
  return retry.Repeat(DocumentIssued(), Bematech_FI_RecibimientoNoFiscal, [&] {
    return RegisterReceipt(stEsquemaCor, totalizer, cents, payment);
  }) == RetryOutcome::kAccepted;
}

}  // namespace kvr
