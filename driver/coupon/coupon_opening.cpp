// Opening a fiscal coupon.
#include "core/effect_checks.h"
#include "core/params.h"
#include "core/printer_call.h"
#include "coupon/opened_coupon.h"
#include "coupon/retry_question.h"
#include "hostrt/params.h"
#include "kvr00102/kvr00102.h"

extern "C" {

// Exceptions (an unbound entry point, a record that is not a record) reach
// the caller, as the host expects of this operation.
KVR_EXPORT bool AbreCupom(hostrt::Variant& Params) {
  const std::string stEsquemaCor = kvr::ParamText(Params, "ESQUEMACOR");
  const std::string stIncluiCpf = kvr::ParamText(Params, "INCLUICPF");
  const std::string stIncluiNome = kvr::ParamText(Params, "INCLUINOME");
  const std::string stIncluiEndereco = kvr::ParamText(Params, "INCLUIENDERECO");
  const std::string stCupNr = kvr::ParamText(Params, "CUPNR");
  const std::string stContCupom = kvr::ParamText(Params, "CONTCUPOM");
  const std::string stIdUtilTef = kvr::ParamText(Params, "IDUTILTEF");
  std::int64_t inTefErro = hostrt::RecebeParams(Params, "INTTEFERRO").AsInteger();
  const bool boUtilTef = hostrt::RecebeParams(Params, "UTILTEF").AsBoolean();

  // Only a TEF sale asks the operator to try again; any other refusal ends here.
  kvr::RetryQuestion retry(stEsquemaCor);
  if (kvr::IsTefMode(stIdUtilTef, boUtilTef)) retry.SetQuestion(kvr::PrinterNotRespondingQuestion());
  // Judged by the coupon counter, so that a coupon left open before is never
  // taken for the one this call opens.
  kvr::ForgetOpenedCoupon();
  kvr::CouponOpening opening;
  const kvr::RetryOutcome outcome =
      retry.Repeat(opening.Check(), Bematech_FI_AbreComprobanteDeVenta, [&] {
        return kvr::CallPrinter(stEsquemaCor, kvr::kCouponOpening, Bematech_FI_AbreComprobanteDeVenta,
                                "Bematech_FI_AbreComprobanteDeVenta", "", "");
      });
  if (outcome == kvr::RetryOutcome::kAccepted) opening.RememberOpening();
  if (outcome == kvr::RetryOutcome::kDeclined) return false;
  if (retry.Retried()) inTefErro = 1;

  Params = hostrt::MakeParams({{"INTTEFERRO", inTefErro},
                               {"INCLUICPF", stIncluiCpf},
                               {"INCLUINOME", stIncluiNome},
                               {"INCLUIENDERECO", stIncluiEndereco},
                               {"CUPNR", stCupNr},
                               {"CONTCUPOM", stContCupom}});
  return outcome == kvr::RetryOutcome::kAccepted;
}

}  // extern "C"
