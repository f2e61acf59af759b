#include "bridge/printer_hold.h"

#include <algorithm>
#include <iterator>
#include <exception>

#include "bridge/request_error.h"
#include "core/debug_log.h"
#include "core/left_open.h"
#include "core/printer_figures.h"
#include "platform/numbers.h"

namespace kvr::bridge {
namespace {

// Operations that read the printer or the driver and change neither the
// printer nor its documents. Kept sorted. The counter reads are not among
// them: their return analysis cancels an open coupon.
constexpr std::string_view kReads[]{
    "BuscaTotGer",
    "CarregaAliquota",
    "Carrega_Dados_Impressora",
    "Codigo_Nacional_ECF",
    "DataMoviFiscal",
    "Data_Imp",
    "EstHorVerao",
    "Estado_Gaveta_Imp",
    "Estado_Imp",
    "GetValue",
    "ImpFisDebug",
    "InfImpTerm",
    "Modelo_Impressora",
    "RetornoImpFiscal",
    "Retorno_Aliquotas_Imp",
    "Versao_SoftwareBasico",
    "Versao_Software_Basico",
    "retornaPathBematech",
};

std::string Describe(OpenDocument open) {
  switch (open) {
    case OpenDocument::kCoupon: return "a fiscal coupon is open";
    case OpenDocument::kNonFiscal: return "a non-fiscal document (report or receipt) is open";
    case OpenDocument::kUnknown: return "the printer did not say whether a document is open";
    case OpenDocument::kNone: break;
  }
  return "nothing is open";
}

long long SecondsBetween(PrinterHold::Clock::time_point from, PrinterHold::Clock::time_point to) {
  return std::chrono::duration_cast<std::chrono::seconds>(to - from).count();
}

}  // namespace

bool PrinterHold::OnlyReads(std::string_view operation) {
  return std::binary_search(std::begin(kReads), std::end(kReads), operation);
}

void PrinterHold::Admit(const std::string& client, std::string_view operation, Clock::time_point now) {
  if (OnlyReads(operation)) return;
  std::unique_lock lock(mutex_);
  if (holder_.empty() || holder_ == client) return;
  const long long idle = SecondsBetween(last_call_, now);
  if (idle < limit_.count())
    throw RequestError("busy",
                       "the printer is held by the client \"" + holder_ + "\": " + what_ + " (its last call " +
                           platform::to_text(idle) + " s ago; freed after " + platform::to_text(limit_.count()) +
                           " s without its calls)",
                       "client", "the holder closes or cancels its document, or stays silent for the hold limit");
  const std::string left_by = holder_;
  holder_.clear();
  lock.unlock();
  Log("Cliente \"" + left_by + "\" sem chamadas ha " + platform::to_text(idle) +
      " s com documento aberto; documento fechado para o cliente \"" + client + "\"");
  try {
    CloseLeftOpenDocuments();
  } catch (const std::exception& error) {
    Log(std::string("ERRO!!! Fechando documento deixado aberto: ") + error.what());
  }
}

void PrinterHold::After(const std::string& client, std::string_view operation, Clock::time_point now) {
  if (OnlyReads(operation)) return;
  const OpenDocument open = ReadOpenDocument();
  std::lock_guard lock(mutex_);
  if (open == OpenDocument::kNone) {
    if (holder_ == client) holder_.clear();
    return;
  }
  // Something is (or may be) open after this client's call: it is the
  // client's to finish.
  holder_ = client;
  what_ = Describe(open);
  last_call_ = now;
}

void PrinterHold::SetLimit(std::chrono::seconds limit) {
  std::lock_guard lock(mutex_);
  limit_ = limit;
}

}  // namespace kvr::bridge
