// Withdrawal (Sangria) and supply (Suprimento): one printer call each, which
// prints the document itself. Exceptions reach the host.
#include <string>

#include "core/dialogs.h"
#include "core/printer_call.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// The supply is always registered against the cash form by this name.
const std::string kSupplyForm = std::string("Efectivo").substr(0, 16);

// A refused call adds the command error notice to the analysis' own message.
bool ReportRefusal(const CallResult& call, const std::string& stEsquemaCor) {
  if (!call.ok) Notice(Msg("ErroComando"), hostrt::kPrinterNotice, stEsquemaCor);
  return call.ok;
}

}  // namespace
}  // namespace kvr

extern "C" {

// A zero amount withdraws 0.01.
KVR_EXPORT bool Sangria(const std::string& /*stParam*/, const std::string& stEsquemaCor, double doValor) {
  kvr::DataModule();
  const std::string amount = kvr::ReceiptAmountText(doValor == 0 ? 0.01 : doValor);
  return kvr::ReportRefusal(kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_Sangria,
                                             "Bematech_FI_Sangria : " + amount, amount.c_str()),
                            stEsquemaCor);
}

// Only an amount above zero is sent; otherwise nothing happens and the result is True.
KVR_EXPORT bool Suprimento(const std::string& /*stParam*/, const std::string& stEsquemaCor, double doValor) {
  kvr::DataModule();
  if (!(doValor > 0)) return true;
  const std::string amount = kvr::ReceiptAmountText(doValor);
  return kvr::ReportRefusal(
      kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_Provision,
                       "Bematech_FI_Provision : " + amount + " - " + kvr::kSupplyForm, amount.c_str(),
                       kvr::kSupplyForm.c_str()),
      stEsquemaCor);
}

}  // extern "C"
