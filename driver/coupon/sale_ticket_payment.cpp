// A printed sale paid with meal tickets: the ticket rows leave the host's
// cdsMovi, a coupon of one item covers what the tickets do not, and the
// ticket document lists the tickets.
#include <string>

#include "core/dataset_filter.h"
#include "core/dialogs.h"
#include "coupon/sale_movements.h"
#include "coupon/sale_sequence.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

bool HasUntaxedItems(hostrt::ClientDataSet& cdsVendas) {
  const FilterScope untaxed(cdsVendas, "IDTPIMPOSFIS <> 'T'");
  return !cdsVendas.IsEmpty();
}

// The coupon of the difference: one item at the rate of the item row that
// was current when the call began. False when the opening, the item or the
// closing failed.
bool DifferenceCoupon(const SaleValues& v, const SaleDatasets& d, double amount) {
  RateCodes codes(d.cdsAliqImpFis);
  const SaleItem item = PricedItem("", "DIF. MEDIO PAGO CIRCULAR 37", 1, amount, v.current_item, codes);
  return OpenSaleCoupon(v) && SellSaleItem(item, "FALSE", v.stEsquemaCor) && CloseSaleCoupon(v, d);
}

}  // namespace

std::string TicketSale(const SaleValues& v, const SaleDatasets& d) {
  if (HasUntaxedItems(d.cdsVendas)) {
    Notice(Msg("OPE_FORMA_N_PERM"), hostrt::kErrorOrRetry, v.stEsquemaCor);
    return kSaleError;
  }
  const MovementTotals totals = TotalMovements(d.cdsMovi);
  const double doTotal = DecimalSum(totals.doTotal, -totals.doTotalTroco);
  TicketRowsRemoval tickets(d.cdsMovi);
  std::string stNrCupom;
  if (doTotal > totals.doMontoTic) {
    if (!DifferenceCoupon(v, d, DecimalSum(doTotal, -totals.doMontoTic))) return kSaleError;
    const std::string number = Nr_Cupom("", v.stEsquemaCor);
    if (hostrt::UpperCase(number) != "ERRO") stNrCupom = number;
  }
  tickets.Keep();
  ImprimeNaoFiscal(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, totals.doMontoTic, v.stSenhaCupom, stNrCupom,
                   v.stNmOperador, v.stDsObsCupFis, tickets.Original());
  return stNrCupom;
}

}  // namespace kvr
