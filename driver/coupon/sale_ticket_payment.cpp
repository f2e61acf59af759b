// A printed sale paid with meal tickets: the ticket rows leave the host's
// cdsMovi, a coupon of one item covers what the tickets do not, and the
// ticket document lists the tickets.
#include <optional>
#include <string>

#include "core/dataset_filter.h"
#include "core/dialogs.h"
#include "core/printer_status.h"
#include "coupon/sale_movements.h"
#include "coupon/sale_repeat.h"
#include "coupon/sale_sequence.h"
#include "datamodule/data_module.h"
#include "documents/sale_ticket.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

bool HasUntaxedItems(hostrt::ClientDataSet& cdsVendas) {
  const FilterScope untaxed(cdsVendas, "IDTPIMPOSFIS <> 'T'");
  return !cdsVendas.IsEmpty();
}

// The coupon of the difference: one item at the rate of the item row that
// was current when the call began. False when the opening, the item or the
// closing failed.
bool DifferenceCoupon(const SaleValues& v, const SaleDatasets& d, const SaleItem& item) {
  return OpenSaleCoupon(v) && SellSaleItem(item, "FALSE", v.stEsquemaCor) && CloseSaleCoupon(v, d);
}

}  // namespace

std::string TicketSale(const SaleValues& v, const SaleDatasets& d) {
  if (HasUntaxedItems(d.cdsVendas)) {
    Notice(Msg("OPE_FORMA_N_PERM"), hostrt::kErrorOrRetry, v.stEsquemaCor);
    return kSaleError;
  }
  if (d.cdsVendas.IsEmpty()) return RefusedSale(v, "venda sem itens");
  // The ticket document lists each ticket under its description: a movement
  // dataset without it would fail only after the coupon was printed.
  if (!d.cdsMovi.FindField("DSIMPFISCAL")) return RefusedSale(v, platform::L1("movimento sem o campo DSIMPFISCAL"));
  const MovementTotals totals = TotalMovements(d.cdsMovi);
  const double doTotal = DecimalSum(totals.doTotal, -totals.doTotalTroco);
  const bool needs_coupon = doTotal > totals.doMontoTic;
  std::optional<SaleItem> difference;
  if (needs_coupon) {
    // Priced and coded before anything is printed: a bad item stops the sale here.
    RateCodes codes(d.cdsAliqImpFis);
    difference = PricedItem("", "DIF. MEDIO PAGO CIRCULAR 37", 1, DecimalSum(doTotal, -totals.doMontoTic),
                            v.current_item, codes);
    if (difference->cdaliq.empty())
      return RefusedSale(v, platform::L1("nenhuma alíquota da impressora para a diferença"));
  }
  TicketRowsRemoval tickets(d.cdsMovi);
  std::string stNrCupom;
  if (needs_coupon) {
    if (!DifferenceCoupon(v, d, *difference)) return kSaleError;
    stNrCupom = SaleCouponNumber(v);
    if (hostrt::UpperCase(stNrCupom) == "ERRO") stNrCupom.clear();
  }
  tickets.Keep();
  // The ticket document is printed whole or the operator gives it up; a
  // coupon printed before it stays the result either way.
  const int cancelled_before = CouponsCancelledByAnalysis();
  const bool printed = TicketAfterCoupon("ImprimeNaoFiscal", [&] {
    return RepeatWithOperator(v, "ImprimeNaoFiscal", [&] {
      ImprimeNaoFiscal(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, totals.doMontoTic, v.stSenhaCupom, stNrCupom,
                       v.stNmOperador, v.stDsObsCupFis, tickets.Original());
      return LastSaleTicketPrinted();
    });
  });
  if (CouponsCancelledByAnalysis() != cancelled_before) {
    // The ticket's counter read found a coupon of an earlier sale open and
    // cancelled it: the operator is told.
    Log(platform::L1("ERRO!!! ImpressaoVenda: um cupom deixado aberto foi cancelado"));
    Notice(platform::L1("Um cupom fiscal deixado aberto por uma venda anterior foi cancelado."), hostrt::kErrorOrRetry,
           v.stEsquemaCor);
  }
  if (!needs_coupon && !printed) return kSaleError;
  return stNrCupom;
}

}  // namespace kvr
