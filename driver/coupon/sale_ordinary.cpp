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
#include "platform/latin1.h"

namespace kvr {
namespace {

bool HasTaxedItems(hostrt::ClientDataSet& cdsVendas) {
  const FilterScope taxed(cdsVendas, "IDTPIMPOSFIS = 'T'");
  return !cdsVendas.IsEmpty();
}

// Every item row in order, taxed or not. Empty, with `why` set, when a row
// cannot be sold: the printer would refuse it after the coupon was opened.
std::vector<SaleItem> SaleItems(const SaleDatasets& d, std::string& why) {
  RateCodes codes(d.cdsAliqImpFis);
  std::vector<SaleItem> items;
  hostrt::ClientDataSet& rows = d.cdsVendas;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const std::string name = rows.FieldByName("NMPRODUTO").AsString();
    const double quantity = rows.FieldByName("QTPRODCOMVEN").AsFloat();
    const double price = rows.FieldByName("VRPRECCOMVEN").AsFloat();
    if (!(quantity > 0)) why = "quantidade " + hostrt::FloatToStr(quantity) + " do item " + name;
    else if (!(price > 0)) why = platform::L1("preço ") + hostrt::FloatToStr(price) + " do item " + name;
    if (!why.empty()) return {};
    items.push_back(PricedItem(rows.FieldByName("CDARVPROD").AsString(), name, quantity, price,
                               TaxOfCurrentItem(rows), codes));
    if (items.back().cdaliq.empty()) {
      why = platform::L1("nenhuma alíquota da impressora para o item ") + name;
      return {};
    }
  }
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
  // A coupon without items could not be closed, and an exempt ticket of
  // nothing would be printed after it.
  if (d.cdsVendas.IsEmpty()) return RefusedSale(v, "venda sem itens");
  std::string why;
  const std::vector<SaleItem> items = SaleItems(d, why);
  if (!why.empty()) return RefusedSale(v, why);
  if (!CouponWithItems(v, items)) return kSaleError;
  const double doTotIsento = UntaxedTotal(d.cdsVendas);
  const std::string stTotIsento = hostrt::FormatFloat("#,##0", doTotIsento);

  // The tickets follow a closed coupon only: a coupon left open makes the
  // printer refuse them. Once it is closed, the result names it whatever
  // happens to the tickets.
  if (!CloseSaleCoupon(v, d, boPossuiProdTrib && doTotIsento == 0)) return kSaleError;
  const std::string stNrCupom = SaleCouponNumber(v);

  if (!boPossuiProdTrib) {
    TicketAfterCoupon("IsentoSimpl", [&] {
      return RepeatWithOperator(v, "IsentoSimpl", [&] {
        return IsentoSimpl(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, stTotIsento, "", v.stNmOperador, v.stCdLoja,
                           v.stSenhaCupom, v.stDsObsCupFis, totals.doTotalTroco);
      });
    });
    return "";
  }

  if (doTotIsento != 0) {
    const double doTotalComt = DecimalSum(totals.doTotal, -totals.doTotalTroco);
    const double doTotal = DecimalSum(doTotalComt, -doTotIsento);
    const std::string stTotal = hostrt::FormatFloat("#,##0", doTotal);
    const std::string stTotalTroco = hostrt::FormatFloat("0000000000", totals.doTotalTroco);
    TicketAfterCoupon("IsentoCompos", [&] {
      return RepeatWithOperator(v, "IsentoCompos", [&] {
        return IsentoCompos(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, stTotal, stTotIsento, stTotalTroco,
                            v.stNmOperador, v.stCdLoja, v.stSenhaCupom, v.stDsObsCupFis, doTotal, doTotalComt,
                            totals.doTotalTroco);
      });
    });
  }
  return stNrCupom;
}

}  // namespace kvr
