#include "coupon/retry_question.h"

#include "core/dialogs.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"

namespace kvr {

std::string PrinterNotRespondingQuestion() { return Msg("Imp_N_Resp"); }

bool AskAfterRefusal(const std::string& stEsquemaCor, const std::string& question, bool check_the_paper) {
  const std::string text = question.empty() ? PrinterNotRespondingQuestion() : question;
  return Ask(check_the_paper ? text + "\r\n" + Msg("ConferePapel") : text, hostrt::kErrorOrRetry, stEsquemaCor);
}

bool RetryQuestion::AskOperator(bool check_the_paper) const {
  return AskAfterRefusal(stEsquemaCor_, question_, check_the_paper);
}

}  // namespace kvr
