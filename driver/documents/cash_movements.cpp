// Withdrawal (Sangria) and supply (Suprimento): one printer call each, which
// prints the document itself. Exceptions reach the host.
#include <string>

#include "core/dialogs.h"
#include "core/effect_checks.h"
#include "core/printer_call.h"
#include "coupon/retry_question.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// The supply is always registered against the cash form by this name.
const std::string kSupplyForm = std::string("Efectivo").substr(0, 16);

// The movement is one document the printer issues: a call whose answer was
// lost is judged by the COO (and, when the printer does not answer, asked
// about, never sent twice unseen). A refusal adds the command error notice to
// the analysis' own message.
template <typename Signature, typename Attempt>
bool IssueMovement(const std::string& stEsquemaCor, const Slot<Signature>& slot, Attempt&& attempt) {
  const bool issued = RetryQuestion(stEsquemaCor).Repeat(DocumentIssued(), slot, attempt) == RetryOutcome::kAccepted;
  if (!issued) Notice(Msg("ErroComando"), hostrt::kPrinterNotice, stEsquemaCor);
  return issued;
}

}  // namespace
}  // namespace kvr

extern "C" {

// A zero amount withdraws 0.01.
KVR_EXPORT bool Sangria(const std::string& /*stParam*/, const std::string& stEsquemaCor, double doValor) {
  kvr::DataModule();
  const std::string amount = kvr::ReceiptAmountText(doValor == 0 ? 0.01 : doValor);
  return kvr::IssueMovement(stEsquemaCor, Bematech_FI_Sangria, [&] {
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_Sangria, "Bematech_FI_Sangria : " + amount,
                            amount.c_str());
  });
}

// Only an amount above zero is sent; otherwise nothing happens and the result is True.
KVR_EXPORT bool Suprimento(const std::string& /*stParam*/, const std::string& stEsquemaCor, double doValor) {
  kvr::DataModule();
  if (!(doValor > 0)) return true;
  const std::string amount = kvr::ReceiptAmountText(doValor);
  return kvr::IssueMovement(stEsquemaCor, Bematech_FI_Provision, [&] {
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_Provision,
                            "Bematech_FI_Provision : " + amount + " - " + kvr::kSupplyForm, amount.c_str(),
                            kvr::kSupplyForm.c_str());
  });
}

}  // extern "C"
