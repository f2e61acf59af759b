// Registering one item in the open coupon.
#include <exception>

#include "core/params.h"
#include "core/printer_call.h"
#include "coupon/coupon_figures.h"
#include "coupon/retry_question.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "hostrt/params.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// The nine texts of one item, in the order the printer takes them.
struct ItemTexts {
  std::string code, description, rate, price, quantity, surcharge, discount, department, unit;

  std::string LogLine() const {
    std::string line = "Bematech_FI_VendeArticuloDepartamento : " + code;
    for (const std::string* text : {&description, &rate, &price, &quantity, &surcharge, &discount, &department, &unit})
      line += " - " + *text;
    return line;
  }
};

ItemTexts BuildItemTexts(const hostrt::Variant& Params) {
  ItemTexts item;
  item.code = ParamText(Params, "CDARVPROD");
  item.description = ParamText(Params, "NMPROD").substr(0, 29);
  item.rate = ParamText(Params, "CDALIQ");
  item.price = ItemPriceText(hostrt::RecebeParams(Params, "VALOR").AsFloat());
  item.quantity = ItemQuantityText(hostrt::RecebeParams(Params, "QTDE").AsFloat());
  item.surcharge = kItemSurchargeText;
  item.discount = ItemDiscountText(hostrt::RecebeParams(Params, "DESCONT").AsFloat());
  item.department = kDepartmentText;
  item.unit = ParamText(Params, "UNIDADE").substr(0, 2);
  return item;
}

std::string ItemErrorQuestion(const ItemTexts& item) {
  return Msg("ErroItem") + "\r\n" + item.code + " - " + item.description.substr(0, 20) + "\r\n" + Msg("Deseja");
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool VendaItem(hostrt::Variant& Params) {
  try {
    const std::string stEsquemaCor = kvr::ParamText(Params, "ESQUEMACOR");
    const kvr::ItemTexts item = kvr::BuildItemTexts(Params);
    const bool tef = kvr::IsTefMode(kvr::ParamText(Params, "IDUTILTEF"),
                                    hostrt::RecebeParams(Params, "UTILTEF").AsBoolean());
    kvr::RetryQuestion retry(stEsquemaCor,
                             tef ? kvr::PrinterNotRespondingQuestion() : kvr::ItemErrorQuestion(item));
    kvr::CouponFigures& figures = kvr::CouponFigures::OfOpenedCoupon();
    const kvr::EffectCheck sold =
        figures.Item({item.rate, item.price, item.quantity, item.surcharge, item.discount});
    const bool accepted = retry.Repeat(sold, Bematech_FI_VendeArticuloDepartamento, [&] {
      return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_VendeArticuloDepartamento,
                              item.LogLine(), item.code.c_str(), item.description.c_str(), item.rate.c_str(),
                              item.price.c_str(), item.quantity.c_str(), item.surcharge.c_str(),
                              item.discount.c_str(), item.department.c_str(), item.unit.c_str());
    }) == kvr::RetryOutcome::kAccepted;
    figures.ItemDone(accepted);
    return accepted;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! VendaItem: ") + error.what());
    return false;
  }
}

}  // extern "C"
