// The operator's way out of the steps that a printed sale repeats until they
// succeed (the drawer, the closing, the tickets).
#pragma once
#include <string>
#include <string_view>

#include "core/debug_log.h"
#include "coupon/retry_question.h"
#include "coupon/sale_sequence.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace kvr {

// Runs attempt() until it succeeds or, asked the "Imp_N_Resp" question after
// each failure, the operator says no; every attempt is logged under what.
// True when an attempt succeeded.
template <typename Attempt>
bool RepeatWithOperator(const SaleValues& v, std::string_view what, Attempt&& attempt) {
  const std::string step(what);
  int number = 0;
  RetryQuestion retry(v.stEsquemaCor, PrinterNotRespondingQuestion());
  const RetryOutcome outcome = retry.Repeat([&] {
    const bool done = attempt();
    Log("ImpressaoVenda: " + step + " - tentativa " + platform::to_text(++number) + (done ? " aceita" : " recusada"));
    return done;
  });
  if (outcome == RetryOutcome::kAccepted) return true;
  Log(platform::L1("ERRO!!! ImpressaoVenda: ") + step + platform::L1(" abandonado pelo operador"));
  return false;
}

}  // namespace kvr
