// A printed sale on a fiscal coupon: every item registered in order, the
// coupon closed with the sale's payments and, when the sale holds exempt
// items, the exempt-sale ticket printed after it.
#include <string>
#include <vector>

#include "core/dataset_filter.h"
#include "core/debug_log.h"
#include "coupon/sale_movements.h"
#include "coupon/sale_repeat.h"
#include "coupon/sale_sequence.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

bool HasTaxedItems(hostrt::ClientDataSet& cdsVendas) {
  const FilterScope taxed(cdsVendas, "IDTPIMPOSFIS = 'T'");
  return !cdsVendas.IsEmpty();
}

// Every item row in order, taxed or not.
std::vector<SaleItem> SaleItems(const SaleDatasets& d) {
  RateCodes codes(d.cdsAliqImpFis);
  std::vector<SaleItem> items;
  hostrt::ClientDataSet& rows = d.cdsVendas;
  for (rows.First(); !rows.Eof(); rows.Next())
    items.push_back(PricedItem(rows.FieldByName("CDARVPROD").AsString(), rows.FieldByName("NMPRODUTO").AsString(),
                               rows.FieldByName("QTPRODCOMVEN").AsFloat(), rows.FieldByName("VRPRECCOMVEN").AsFloat(),
                               TaxOfCurrentItem(rows), codes));
  return items;
}

bool CouponWithItems(const SaleValues& v, const std::vector<SaleItem>& items) {
  if (!OpenSaleCoupon(v)) return false;
  for (const SaleItem& item : items)
    if (!SellSaleItem(item, false, v.stEsquemaCor)) return false;
  return true;
}

// Price times quantity of the items that are not taxed.
double UntaxedTotal(hostrt::ClientDataSet& cdsVendas) {
  const FilterScope untaxed(cdsVendas, "IDTPIMPOSFIS <> 'T'");
  double total = 0;
  for (cdsVendas.First(); !cdsVendas.Eof(); cdsVendas.Next())
    total = DecimalSum(total, cdsVendas.FieldByName("VRPRECCOMVEN").AsFloat() *
                                  cdsVendas.FieldByName("QTPRODCOMVEN").AsFloat());
  return total;
}

}  // namespace

std::string OrdinarySale(const SaleValues& v, const SaleDatasets& d) {
  const MovementTotals totals = TotalMovements(d.cdsMovi);
  const bool boPossuiProdTrib = HasTaxedItems(d.cdsVendas);
  if (d.cdsVendas.IsEmpty()) {
    // A coupon without items could not be closed, and an exempt ticket of
    // nothing would be printed after it.
    Log("ERRO!!! ImpressaoVenda: venda sem itens");
    return kSaleError;
  }
  if (!CouponWithItems(v, SaleItems(d))) return kSaleError;
  const double doTotIsento = UntaxedTotal(d.cdsVendas);
  const std::string stTotIsento = hostrt::FormatFloat("#,##0", doTotIsento);

  if (!boPossuiProdTrib) {
    // The closing's result is not checked: a coupon left open makes the
    // printer refuse the ticket, and the operator is asked about that.
    CloseSaleCoupon(v, d);
    const bool printed = RepeatWithOperator(v, "IsentoSimpl", [&] {
      return IsentoSimpl(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, stTotIsento, "", v.stNmOperador, v.stCdLoja,
                         v.stSenhaCupom, v.stDsObsCupFis, totals.doTotalTroco);
    });
    return printed ? "" : kSaleError;
  }

  const double doTotalComt = DecimalSum(totals.doTotal, -totals.doTotalTroco);
  const double doTotal = DecimalSum(doTotalComt, -doTotIsento);
  const std::string stTotal = hostrt::FormatFloat("#,##0", doTotal);
  const std::string stTotalTroco = hostrt::FormatFloat("0000000000", totals.doTotalTroco);
  bool done = false;
  if (doTotIsento != 0) {
    CloseSaleCoupon(v, d);  // not checked, as above
    done = RepeatWithOperator(v, "IsentoCompos", [&] {
      return IsentoCompos(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, stTotal, stTotIsento, stTotalTroco,
                          v.stNmOperador, v.stCdLoja, v.stSenhaCupom, v.stDsObsCupFis, doTotal, doTotalComt,
                          totals.doTotalTroco);
    });
  } else {
    done = RepeatWithOperator(v, "FechaCupom", [&] {
      const bool closed = CloseSaleCoupon(v, d);
      Log("Total da Compra Total");
      return closed;
    });
  }
  return done ? Nr_Cupom("", v.stEsquemaCor) : kSaleError;
}

}  // namespace kvr
