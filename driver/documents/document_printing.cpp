// How a non-fiscal document reaches the paper under printer faults: the
// opening, each block and the close, each judged by the printer's own state
// when the printer refuses it or does not answer (see document_builder.h).
#include <optional>
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_figures.h"
#include "coupon/retry_question.h"
#include "datamodule/data_module.h"
#include "documents/document_builder.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

void LogFailure(const DocumentProgress& progress, const char* what) {
  Log("ERRO!!! " + (progress.operation.empty() ? std::string("Documento") : progress.operation) + ": " +
      platform::L1(what));
}

// The question after a failed command; with check_the_paper it also asks the
// operator to look at the paper (the command may have printed).
bool AskToRetry(const std::string& stEsquemaCor, bool check_the_paper) {
  const std::string question = PrinterNotRespondingQuestion();
  return Ask(check_the_paper ? question + "\r\n" + Msg("ConferePapel") : question, hostrt::kErrorOrRetry,
             stEsquemaCor);
}

// An opening refused: the printer's state decides. A document now open was
// opened (its answer was lost); a printer that answers refused it for a reason
// of its own and nothing is asked; one that does not answer is asked about.
template <typename Opening>
bool Open(const std::string& stEsquemaCor, DocumentProgress& progress, Opening&& opening) {
  progress.opened = true;
  progress.stopped = progress.closed = false;
  for (;;) {
    if (opening()) return true;
    // A printer that answers has refused it (an opening whose answer was lost
    // is already judged by the opening itself).
    if (NonFiscalDocumentOpen()) break;
    if (!AskToRetry(stEsquemaCor, false)) break;
    // It may have opened before the printer stopped answering.
    const std::optional<bool> open = NonFiscalDocumentOpen();
    if (open && *open) return true;
  }
  progress.opened = false;
  LogFailure(progress, "o documento não abriu");
  return false;
}

// Closes, without messages, a document the printer still holds open (or may:
// it does not answer), so that the printer is left ready.
void CloseLeftOpen(const std::string& stEsquemaCor) {
  const std::optional<bool> open = NonFiscalDocumentOpen();
  if (!open || *open) FechRelatGerenc(stEsquemaCor, false, false);
}

}  // namespace

bool DocumentBuilder::OpenReport(const std::string& stCdFilial, const std::string& stCdCaixa) {
  return Open(stEsquemaCor_, progress_,
              [&] { return Relatorio_Gerencial_Imp(stEsquemaCor_, stCdFilial, stCdCaixa, ""); });
}

bool DocumentBuilder::OpenLinkedReceipt(const std::string& payment, const std::string& amount,
                                        const std::string& coupon) {
  return Open(stEsquemaCor_, progress_, [&] { return Abre_Comp_NFiscalVinc(stEsquemaCor_, payment, amount, coupon); });
}

bool PrintBlock(const std::string& stEsquemaCor, DocumentProgress& progress, const std::string& block) {
  if (!progress.opened || progress.stopped) return false;
  for (;;) {
    const CallResult printed = PrintIntoDocument(stEsquemaCor, block);
    if (printed.ok) return true;
    const std::optional<bool> open = NonFiscalDocumentOpen();
    if (open && !*open) {
      // Nothing is open to print into: the rest would only be refused.
      LogFailure(progress, "nenhum documento aberto; o restante não foi enviado");
      break;
    }
    if (!progress.ask) break;
    // A block that may have printed is the operator's to judge: no says it is
    // on the paper.
    if (AskToRetry(stEsquemaCor, printed.unclear)) continue;
    if (printed.unclear) return true;
    LogFailure(progress, "bloco não impresso; o restante não foi enviado");
    break;
  }
  progress.stopped = true;
  return false;
}

bool EndDocument(const std::string& stEsquemaCor, DocumentProgress& progress, bool boMsg, bool boFechaCupom) {
  progress.closed = false;
  if (!progress.opened || progress.stopped) {
    // Not whole: the operator was told; the printer is left without it.
    CloseLeftOpen(stEsquemaCor);
    return false;
  }
  for (bool sent = false;; sent = true) {
    // A close whose answer was lost is told by the printer's state: a
    // document no longer open was closed, and is never closed twice.
    if (sent) {
      const std::optional<bool> open = NonFiscalDocumentOpen();
      if (open && !*open) break;
    }
    if (FechRelatGerenc(stEsquemaCor, boMsg, boFechaCupom)) break;
    std::optional<bool> open = NonFiscalDocumentOpen();
    if (open && !*open) break;
    if (progress.ask && boMsg && AskToRetry(stEsquemaCor, false)) continue;
    // Given up: one silent close leaves the printer ready, and a document it
    // closes is whole all the same.
    FechRelatGerenc(stEsquemaCor, false, false);
    open = NonFiscalDocumentOpen();
    if (open && !*open) break;
    LogFailure(progress, "documento não encerrado");
    progress.stopped = true;
    return false;
  }
  progress.closed = true;
  return true;
}

}  // namespace kvr
