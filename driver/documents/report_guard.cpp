#include "documents/report_guard.h"

#include "core/debug_log.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {

ReportGuard::~ReportGuard() {
  if (!opened_) return;
  Log("ERRO!!! " + operation_ + platform::L1(": interrompido; relatório gerencial encerrado"));
  FechRelatGerenc(stEsquemaCor_, true, false);
}

}  // namespace kvr
