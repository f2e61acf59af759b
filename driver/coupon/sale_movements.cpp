#include "coupon/sale_movements.h"

#include "core/debug_log.h"
#include "hostrt/text.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

std::string Text(hostrt::ClientDataSet& ds, const char* field) {
  return hostrt::RTrim(ds.FieldByName(field).AsString());
}

}  // namespace

// The sum's 15 significant digits hold every cent; the digits beyond them are
// the binary error.
double DecimalSum(double a, double b) { return hostrt::RoundDec(a + b, 6); }

bool IsTicketKind(const std::string& idTipoRece) { return idTipoRece == "5" || idTipoRece == "7"; }

MovementTotals TotalMovements(hostrt::ClientDataSet& cdsMovi) {
  MovementTotals totals;
  for (cdsMovi.First(); !cdsMovi.Eof(); cdsMovi.Next()) {
    const std::string movement = Text(cdsMovi, "IDTIPOMOVIVE");
    const double amount = cdsMovi.FieldByName("VRMOVIVEND").AsFloat();
    if (movement == "S") totals.doTotalTroco = DecimalSum(totals.doTotalTroco, amount);
    if (movement != "E") continue;
    totals.doTotal = DecimalSum(totals.doTotal, amount);
    if (IsTicketKind(Text(cdsMovi, "IDTIPORECE"))) totals.doMontoTic = DecimalSum(totals.doMontoTic, amount);
  }
  return totals;
}

bool HasConsumerDebit(hostrt::ClientDataSet& cdsMovi) {
  return cdsMovi.Locate("IDTIPOMOVIVE", "T", hostrt::loCaseInsensitive);
}

bool PaidWithTicket(hostrt::ClientDataSet& cdsMovi, hostrt::ClientDataSet& cdsRecebimento) {
  for (cdsMovi.First(); !cdsMovi.Eof(); cdsMovi.Next()) {
    if (!IsTicketKind(Text(cdsMovi, "IDTIPORECE"))) continue;
    if (cdsRecebimento.Locate("CDTIPORECE", cdsMovi.FieldByName("CDTIPORECE").AsString())) return true;
  }
  return false;
}

TicketRowsRemoval::TicketRowsRemoval(hostrt::ClientDataSet& cdsMovi) : movi_(cdsMovi) {
  original_.SetData(cdsMovi.Data());
  try {
    cdsMovi.First();
    while (!cdsMovi.Eof()) {
      if (IsTicketKind(Text(cdsMovi, "IDTIPORECE")))
        cdsMovi.Delete();
      else
        cdsMovi.Next();
    }
  } catch (...) {
    Restore();
    throw;
  }
}

TicketRowsRemoval::~TicketRowsRemoval() {
  if (!kept_) Restore();
}

void TicketRowsRemoval::Restore() noexcept {
  try {
    movi_.SetData(original_.Data());
    Log(platform::L1("ImpressaoVenda: venda não impressa; os tickets voltam aos movimentos"));
  } catch (...) {
    Log(platform::L1("ERRO!!! ImpressaoVenda: os movimentos não puderam ser restaurados"));
  }
}

}  // namespace kvr
