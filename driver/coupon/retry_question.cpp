#include "coupon/retry_question.h"

#include "core/dialogs.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"

namespace kvr {

std::string PrinterNotRespondingQuestion() { return Msg("Imp_N_Resp"); }

bool RetryQuestion::AskOperator(bool check_the_paper) const {
  const std::string question = question_.empty() ? PrinterNotRespondingQuestion() : question_;
  return Ask(check_the_paper ? question + "\r\n" + Msg("ConferePapel") : question, hostrt::kErrorOrRetry,
             stEsquemaCor_);
}

}  // namespace kvr
