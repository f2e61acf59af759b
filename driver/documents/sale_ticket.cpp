#include "documents/sale_ticket.h"

#include <optional>
#include <utility>

#include "core/debug_log.h"
#include "core/printer_figures.h"
#include "core/verified_call.h"
#include "coupon/retry_question.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {

namespace {

bool last_ticket_printed = false;

}  // namespace

bool LastSaleTicketPrinted() { return last_ticket_printed; }

SaleTicket::SaleTicket(std::string operation, const std::string& stEsquemaCor, const std::string& stCdFilial,
                       const std::string& stCdCaixa)
    : operation_(operation),
      stEsquemaCor_(stEsquemaCor),
      document_(stEsquemaCor, kSaleAttachedBlockLimit),
      report_(std::move(operation), stEsquemaCor) {
  last_ticket_printed = false;
  opened_ = report_.Opened(Relatorio_Gerencial_Imp(stEsquemaCor, stCdFilial, stCdCaixa, ""));
  if (!opened_) Log("ERRO!!! " + operation_ + platform::L1(": o relatório gerencial não abriu"));
}

SaleTicket& SaleTicket::Line(std::string_view text, std::string_view log) {
  document_.Line(text);
  if (!log.empty()) Log(log);
  return *this;
}

SaleTicket& SaleTicket::Text(std::string_view text, std::string_view log) {
  document_.Text(text);
  Log(log);
  return *this;
}

SaleTicket& SaleTicket::Rule() {
  document_.Rule('-');
  return *this;
}

SaleTicket& SaleTicket::LogBlock(std::string_view prefix) {
  Log(std::string(prefix) + document_.Block());
  return *this;
}

SaleTicket& SaleTicket::Send() {
  const std::string block = document_.TakeBlock();
  if (!opened_ || failed_ || block.empty()) return *this;
  // A refused block is asked about and sent again on yes. A block printed
  // with its answer lost cannot be told: the question asks the operator to
  // look at the paper, and a no says it is there.
  RetryQuestion retry(stEsquemaCor_, PrinterNotRespondingQuestion());
  bool unclear = false;
  const RetryOutcome outcome = retry.Repeat(EffectCheck{}, Bematech_FI_ImprimeComprobanteNoFiscalVinculado, [&] {
    const CallResult printed = PrintIntoDocument(stEsquemaCor_, block);
    unclear = !printed.ok && printed.unclear;
    return printed;
  });
  if (outcome == RetryOutcome::kAccepted || unclear) return *this;
  failed_ = true;
  Log("ERRO!!! " + operation_ + platform::L1(": bloco não impresso; o restante não foi enviado"));
  return *this;
}

bool SaleTicket::Close() {
  report_.Closed();
  if (!opened_) return false;
  Send();
  RetryQuestion retry(stEsquemaCor_, PrinterNotRespondingQuestion());
  bool closed = retry.Repeat([&] { return FechRelatGerenc(stEsquemaCor_, true, false); }) == RetryOutcome::kAccepted;
  if (!closed) {
    // The operator gave up on it, but the printer must be left ready: a report
    // no longer open was closed; one still open gets one more, silent, close.
    const std::optional<bool> open = NonFiscalDocumentOpen();
    if (open) closed = !*open || FechRelatGerenc(stEsquemaCor_, false, false);
  }
  if (!closed) Log("ERRO!!! " + operation_ + platform::L1(": relatório gerencial não encerrado"));
  last_ticket_printed = closed && !failed_;
  return last_ticket_printed;
}

std::string WholeUnits(double amount) { return hostrt::FormatFloat("#,##0", amount); }

std::string DateAndTime(std::string_view date_label, std::string_view time_label) {
  const hostrt::DateTime now = hostrt::Now();
  return std::string(date_label) + hostrt::DateToStr(now) + std::string(time_label) + hostrt::TimeToStr(now);
}

std::string PasswordLine(const std::string& stSenhaCupom) { return platform::L1("seña: ") + stSenhaCupom; }

}  // namespace kvr
