#include "coupon/sale_items.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "core/debug_log.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

// Values kept as ten-thousandths in integers: the largest price the printer
// takes times a rate of 100 % stays within 64 bits.
constexpr std::int64_t kScale = 10000;
constexpr double kLargestPrice = 99999999.99;

std::int64_t Scaled(double value) { return std::llround(hostrt::RoundDec(value, 4) * kScale); }

bool IsUntaxedKind(const std::string& kind) { return kind.empty() || kind == "N" || kind == "F" || kind == "I"; }

}  // namespace

double PriceWithoutTax(double price, double rate) {
  if (!std::isfinite(price) || std::fabs(price) > kLargestPrice)
    throw std::invalid_argument("item price out of range: " + hostrt::FloatToStr(price));
  if (!std::isfinite(rate) || rate < 0 || rate > 100)
    throw std::invalid_argument("tax rate out of range: " + hostrt::FloatToStr(rate));
  const std::int64_t p = Scaled(price), r = Scaled(rate);
  // p × r / (100 + r) in cents, cut toward zero.
  const std::int64_t tax_cents = p * r / (100 * (100 * kScale + r));
  return static_cast<double>(p - tax_cents * (kScale / 100)) / kScale;
}

ItemTax TaxOfCurrentItem(hostrt::ClientDataSet& cdsVendas) {
  ItemTax tax;
  tax.kind = hostrt::RTrim(cdsVendas.FieldByName("IDTPIMPOSFIS").AsString());
  if (!IsUntaxedKind(tax.kind)) tax.rate = cdsVendas.FieldByName("VRPEALIMPFIS").AsFloat();
  return tax;
}

const std::string& RateCodes::CodeFor(const ItemTax& tax) {
  if (rates_.Active() && rates_.Locate("IDALIQIMPFIS;VRALIQIMPFIS", hostrt::Variant::ArrayOf({tax.kind, tax.rate}))) {
    previous_ = rates_.FieldByName("CDALIQIMPFIS").AsString();
  } else {
    Log(platform::L1("ERRO!!! ImpressaoVenda: nenhuma alíquota ") + tax.kind + " " + hostrt::FloatToStr(tax.rate) +
        platform::L1(" na impressora; mantido o código anterior '") + previous_ + "'");
  }
  return previous_;
}

SaleItem PricedItem(std::string code, std::string name, double quantity, double price, const ItemTax& tax,
                    RateCodes& codes) {
  SaleItem item;
  item.code = std::move(code);
  item.name = std::move(name);
  item.quantity = quantity;
  item.valor = PriceWithoutTax(price, tax.rate);
  item.cdaliq = codes.CodeFor(tax);
  return item;
}

bool SellSaleItem(const SaleItem& item, const hostrt::Variant& utilTef, const std::string& stEsquemaCor) {
  hostrt::Variant record = hostrt::MakeParams({{"CDARVPROD", item.code},
                                               {"QTDE", item.quantity},
                                               {"VALOR", item.valor},
                                               {"NMPROD", item.name},
                                               {"DESCONT", 0},
                                               {"CDALIQ", item.cdaliq},
                                               {"UTILTEF", utilTef},
                                               {"ESQUEMACOR", stEsquemaCor},
                                               {"INTEFERRO", 0}});
  return VendaItem(record);
}

}  // namespace kvr
