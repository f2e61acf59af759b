// How a non-fiscal document reaches the paper under printer faults: the
// opening, each block and the close, each judged by the printer's own state
// when the printer refuses it or does not answer (see document_builder.h).
#include <optional>
#include <string>

#include "core/debug_log.h"
#include "core/printer_figures.h"
#include "coupon/retry_question.h"
#include "documents/document_builder.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

void LogFailure(const DocumentProgress& progress, const char* what) {
  Log("ERRO!!! " + (progress.operation.empty() ? std::string("Documento") : progress.operation) + ": " +
      platform::L1(what));
}

// "Impressora não responde. Imprimir novamente?", with the line asking to
// look at the paper when the command may have printed.
bool AskToRetry(const std::string& stEsquemaCor, bool check_the_paper) {
  return AskAfterRefusal(stEsquemaCor, {}, check_the_paper);
}

// An opening refused: a printer that answered the opening refused it (one
// whose answer was lost and that opened it is already judged so by the
// opening itself); one that did not answer, or lost the answer, is asked
// about: yes looks again once it is back, a document then open was opened,
// else the opening is sent again.
template <typename Opening>
bool Open(const std::string& stEsquemaCor, DocumentProgress& progress, Opening&& opening) {
  progress.opened = true;
  progress.stopped = false;
  for (;;) {
    const VerifiedResult opened = opening();
    if (opened.ok) return true;
    if (!opened.unclear && NonFiscalDocumentOpen()) break;
    if (!AskToRetry(stEsquemaCor, opened.unknown)) break;
    const std::optional<bool> open = NonFiscalDocumentOpen();
    if (open && *open) return true;
  }
  progress.opened = false;
  LogFailure(progress, "o documento não abriu");
  return false;
}

bool ClosedNow() {
  const std::optional<bool> open = NonFiscalDocumentOpen();
  return open && !*open;
}

// Closes, without messages, a document the printer still holds open (or may:
// it does not answer), so that the printer is left ready.
void CloseLeftOpen(const std::string& stEsquemaCor) {
  if (!ClosedNow()) CloseDocument(stEsquemaCor, false, false);
}

}  // namespace

bool DocumentBuilder::OpenReport(const std::string& stCdFilial, const std::string& stCdCaixa) {
  return Open(stEsquemaCor_, progress_, [&] { return OpenManagementReport(stEsquemaCor_, stCdFilial, stCdCaixa); });
}

bool DocumentBuilder::OpenLinkedReceipt(const std::string& payment, const std::string& amount,
                                        const std::string& coupon) {
  return Open(stEsquemaCor_, progress_,
              [&] { return kvr::OpenLinkedReceipt(stEsquemaCor_, payment, amount, coupon); });
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
    // A printer still silent takes nothing more: the document stops here,
    // without a question for each block that follows.
    if (printed.unclear && NonFiscalDocumentOpen()) return true;
    LogFailure(progress, "bloco não impresso; o restante não foi enviado");
    break;
  }
  progress.stopped = true;
  return false;
}

bool EndDocument(const std::string& stEsquemaCor, DocumentProgress& progress, bool boMsg, bool boFechaCupom) {
  if (!progress.opened || progress.stopped) {
    // Not whole: the operator was told; the printer is left without it.
    CloseLeftOpen(stEsquemaCor);
    return false;
  }
  // A document no longer open after a failed close was closed (its answer was
  // lost): it is never closed twice.
  return CloseDocument(stEsquemaCor, boMsg, boFechaCupom) || ClosedNow() ||
         RecoverClose(stEsquemaCor, progress, boMsg, boFechaCupom);
}

bool RecoverClose(const std::string& stEsquemaCor, DocumentProgress& progress, bool boMsg, bool boFechaCupom) {
  while (progress.ask && AskToRetry(stEsquemaCor, false)) {
    if (ClosedNow() || CloseDocument(stEsquemaCor, boMsg, boFechaCupom) || ClosedNow()) return true;
  }
  // Given up: one silent close leaves the printer ready, and a document it
  // closes is whole all the same.
  if (CloseDocument(stEsquemaCor, false, false) || ClosedNow()) return true;
  LogFailure(progress, "documento não encerrado");
  progress.stopped = true;
  return false;
}

}  // namespace kvr
