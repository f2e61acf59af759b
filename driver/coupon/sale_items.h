// The items of a printed sale as the coupon receives them: the price less its
// tax part, and the printer's tax-rate code of the item's kind and rate.
#pragma once
#include <string>

#include "hostrt/dataset.h"
#include "hostrt/variant.h"

namespace kvr {

// p less its tax part at r percent, the tax part being p × r / (100 + r) cut
// to 2 decimals. Worked in decimal, so 2.20 at 10 % leaves 2.00, not 2.01.
// A price beyond the printer's range or a rate outside 0 to 100 raises
// std::invalid_argument.
double PriceWithoutTax(double price, double rate);

// An item's tax kind (IDTPIMPOSFIS) and rate: "N", "F", "I" and an empty kind
// take rate 0, every other kind its VRPEALIMPFIS. Only "T" counts as taxed.
struct ItemTax {
  std::string kind;
  double rate = 0;
};
ItemTax TaxOfCurrentItem(hostrt::ClientDataSet& cdsVendas);

// The printer's rate codes (CDALIQIMPFIS of cdsAliqImpFis) by kind and rate.
// When no rate matches, the code of the previous item is kept (empty for the
// first) and the miss is logged.
class RateCodes {
 public:
  explicit RateCodes(hostrt::ClientDataSet& cdsAliqImpFis) : rates_(cdsAliqImpFis) {}
  const std::string& CodeFor(const ItemTax& tax);

 private:
  hostrt::ClientDataSet& rates_;
  std::string previous_;
};

// One item as the coupon receives it, priced and coded before the coupon is
// opened, so that a bad row stops the sale before anything is printed.
struct SaleItem {
  std::string code, name;
  double quantity = 1;
  double valor = 0;    // the price without its tax part
  std::string cdaliq;  // the printer's rate code
};
SaleItem PricedItem(std::string code, std::string name, double quantity, double price, const ItemTax& tax,
                    RateCodes& codes);

// Registers the item with VendaItem: "CDARVPROD", "QTDE", "VALOR", "NMPROD",
// "DESCONT" 0, "CDALIQ", "UTILTEF" as given, "ESQUEMACOR" and "INTEFERRO" 0.
// The verdict of VendaItem.
bool SellSaleItem(const SaleItem& item, const hostrt::Variant& utilTef, const std::string& stEsquemaCor);

}  // namespace kvr
