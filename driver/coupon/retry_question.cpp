#include "coupon/retry_question.h"

#include "core/dialogs.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"

namespace kvr {

std::string PrinterNotRespondingQuestion() { return Msg("Imp_N_Resp"); }

bool RetryQuestion::AskOperator() const { return Ask(question_, hostrt::kErrorOrRetry, stEsquemaCor_); }

}  // namespace kvr
