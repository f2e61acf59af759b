// The fiscal coupon.
#include "exports.h"

using namespace emu;

namespace {

int open_coupon(const char* name, const char* id, const char* buyer, const char* address) {
  return call(name, {in(id), in(buyer), in(address)}, [=](Printer& p) { return p.open_coupon(id, buyer, address); });
}
int open_coupon_by_id(const char* name, const char* id) {
  return call(name, {in(id)}, [=](Printer& p) { return p.open_coupon(id, "", ""); });
}
int open_coupon_with_name(const char* name, const char* id, const char* buyer) {
  return call(name, {in(id), in(buyer)}, [=](Printer& p) { return p.open_coupon(id, buyer, ""); });
}

int sell_department_item(const char* name, const char* code, const char* description, const char* rate,
                         const char* price, const char* quantity, const char* surcharge, const char* discount,
                         const char* department, const char* unit) {
  return call(name,
              {in(code), in(description), in(rate), in(price), in(quantity), in(surcharge), in(discount),
               in(department), in(unit)},
              [=](Printer& p) { return p.sell_item(code, description, rate, price, quantity, surcharge, discount, unit); });
}

int sell_item(const char* name, const char* code, const char* description, const char* rate, const char* quantity,
              const char* price, const char* discount) {
  return call(name, {in(code), in(description), in(rate), in(quantity), in(price), in(discount)},
              [=](Printer& p) { return p.sell_item(code, description, rate, price, quantity, "0", discount, ""); });
}

int extend_description(const char* name, const char* text) {
  return call(name, {in(text)}, [=](Printer& p) { return p.extend_description(text); });
}
int cancel_item(const char* name, const char* number) {
  return call(name, {in(number)}, [=](Printer& p) { return p.cancel_item(number); });
}
int cancel_last_item(const char* name) { return call(name, {}, [](Printer& p) { return p.cancel_last_item(); }); }
int cancel_coupon(const char* name) { return call(name, {}, [](Printer& p) { return p.cancel_coupon(); }); }
int start_closing(const char* name, const char* kind, const char* mode, const char* value) {
  return call(name, {in(kind), in(mode), in(value)}, [=](Printer& p) { return p.start_closing(kind, mode, value); });
}
int pay(const char* name, const char* form, const char* value) {
  return call(name, {in(form), in(value)}, [=](Printer& p) { return p.pay(form, value); });
}
int finish_coupon(const char* name, const char* message) {
  return call(name, {in(message)}, [=](Printer& p) { return p.finish_coupon(message); });
}

}  // namespace

ENTRY(Bematech_FI_AbreCupom, open_coupon_by_id, (const char* id), id)
ENTRY(Bematech_FI_AbreCupomMFD, open_coupon, (const char* id, const char* buyer, const char* address), id, buyer, address)
ENTRY(Bematech_FI_AbreComprobanteDeVenta, open_coupon_with_name, (const char* id, const char* buyer), id, buyer)
ENTRY(Bematech_FI_VendeItem, sell_item,
      (const char* code, const char* description, const char* rate, const char* quantity, const char* price,
       const char* discount),
      code, description, rate, quantity, price, discount)
#define DEPARTMENT_ITEM_PARAMS                                                                               \
  (const char* code, const char* description, const char* rate, const char* price, const char* quantity, \
   const char* surcharge, const char* discount, const char* department, const char* unit)
ENTRY(Bematech_FI_VendeItemDepartamento, sell_department_item, DEPARTMENT_ITEM_PARAMS, code, description, rate, price,
      quantity, surcharge, discount, department, unit)
ENTRY(Bematech_FI_VendeArticuloDepartamento, sell_department_item, DEPARTMENT_ITEM_PARAMS, code, description, rate,
      price, quantity, surcharge, discount, department, unit)
ENTRY(Bematech_FI_AumentaDescricaoItem, extend_description, (const char* text), text)
ENTRY(Bematech_FI_CancelaItemGenerico, cancel_item, (const char* number), number)
ENTRY(Bematech_FI_AnulaArticuloGenerico, cancel_item, (const char* number), number)
ENTRY(Bematech_FI_CancelaItemAnterior, cancel_last_item, ())
ENTRY(Bematech_FI_AnulaArticuloAnterior, cancel_last_item, ())
ENTRY(Bematech_FI_CancelaCupom, cancel_coupon, ())
ENTRY(Bematech_FI_AnulaCupon, cancel_coupon, ())
ENTRY(Bematech_FI_IniciaFechamentoCupom, start_closing, (const char* kind, const char* mode, const char* value), kind,
      mode, value)
ENTRY(Bematech_FI_IniciaCierreCupon, start_closing, (const char* kind, const char* mode, const char* value), kind,
      mode, value)
ENTRY(Bematech_FI_EfetuaFormaPagamento, pay, (const char* form, const char* value), form, value)
ENTRY(Bematech_FI_EfectuaFormaPago, pay, (const char* form, const char* value), form, value)
ENTRY(Bematech_FI_TerminaFechamentoCupom, finish_coupon, (const char* message), message)
ENTRY(Bematech_FI_FinalizarCierreCupon, finish_coupon, (const char* message), message)
