// Cabecalho: opens a management report and prints the common header of the
// account reports (branch, till, date and time). The report stays open.
#include <string>

#include "core/debug_log.h"
#include "documents/account_reports.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

bool AccountReportHeader(const std::string& stCdFilial, const std::string& stEsquemaCor,
                         const std::string& stNmFilialLogin, const std::string& stCaixaAber) {
  Nr_Cupom("", stEsquemaCor);
  ReportGuard report("Cabecalho", stEsquemaCor);
  DocumentBuilder doc(stEsquemaCor);
  doc.Named("Cabecalho");
  report.Opened(doc.OpenReport(stCdFilial, stCaixaAber));
  doc.Line("")
      .Rule('-')
      .Centred(stNmFilialLogin)
      .Line("")
      .Rule('-')
      .Line("Caixa: " + stCaixaAber + std::string(16, ' ') + hostrt::FormatDateTime("dd/mm/yyyy hh:nn", hostrt::Now()))
      .Rule('-');
  const bool printed = doc.HandOver();
  report.Closed();  // left open for the report that follows
  if (!printed) doc.Close();
  return printed;
}

}  // namespace kvr

extern "C" {

// True when the header is on paper and the report open for the next
// operation; False when a fault stopped it (no report left open) or an
// exception interrupted it (the report is then closed again).
KVR_EXPORT bool Cabecalho(const std::string& stCdFilial, const std::string& stEsquemaCor,
                          const std::string& stNmFilialLogin, const std::string& stCaixaAber,
                          const std::string& /*stCracCons*/, const std::string& /*stNmCons*/) {
  try {
    return kvr::AccountReportHeader(stCdFilial, stEsquemaCor, stNmFilialLogin, stCaixaAber);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Cabecalho: ") + error.what());
    return false;
  }
}

}  // extern "C"
