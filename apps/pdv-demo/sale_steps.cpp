#include "sale_steps.h"

#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "driver_operation.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/params.h"
#include "kvr00102/kvr00102.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

struct Item {
  const char* code;
  const char* name;
  const char* rate;  // the printer's rate position, or FF for tax already paid
  double quantity, price, discount;
};

struct Payment {
  const char* type;  // the till's payment type code
  double amount;
};

bool Sell(void* driver, const Item& item) {
  hostrt::Variant params = hostrt::MakeParams({{"ESQUEMACOR", kColour},
                                               {"CDARVPROD", item.code},
                                               {"NMPROD", item.name},
                                               {"CDALIQ", item.rate},
                                               {"QTDE", item.quantity},
                                               {"VALOR", item.price},
                                               {"DESCONT", item.discount},
                                               {"UNIDADE", "UN"},
                                               {"IDUTILTEF", "N"},
                                               {"UTILTEF", false}});
  return OPERATION(driver, VendaItem)(params);
}

// The sale's payment rows, as the host's cash movement dataset carries them.
hostrt::Variant PaymentRows(const std::vector<Payment>& payments) {
  hostrt::ClientDataSet rows;
  rows.AddFieldDef("IDTIPOMOVIVE", hostrt::FieldType::String, 1);
  rows.AddFieldDef("DTHRINCMOV", hostrt::FieldType::DateTime);
  rows.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  rows.AddFieldDef("VRMOVIVEND", hostrt::FieldType::Float);
  rows.AddFieldDef("NRORDTROCO", hostrt::FieldType::Integer);
  rows.AddFieldDef("CDBANCARTCR", hostrt::FieldType::String, 5);
  rows.AddFieldDef("CDTIPORECEORIG", hostrt::FieldType::String, 3);
  rows.CreateDataSet();
  double minute = 0;
  for (const Payment& payment : payments) {
    rows.Append();
    rows.FieldByName("IDTIPOMOVIVE").SetAsString("E");
    rows.FieldByName("DTHRINCMOV").SetAsDateTime(hostrt::DateTime{hostrt::Now().value + ++minute / (24 * 60)});
    rows.FieldByName("CDTIPORECE").SetAsString(payment.type);
    rows.FieldByName("VRMOVIVEND").SetAsFloat(payment.amount);
    rows.Post();
  }
  return rows.Data();
}

// The till's payment types under the names programmed in the printer.
hostrt::Variant PaymentTypes() {
  hostrt::ClientDataSet types;
  types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
  types.AddFieldDef("IDTIPORECE", hostrt::FieldType::String, 1);
  types.CreateDataSet();
  for (auto [code, name, kind] : {std::tuple{"001", "Dinheiro", "1"}, std::tuple{"002", "Cartao Credito", "2"}}) {
    types.Append();
    types.FieldByName("CDTIPORECE").SetAsString(code);
    types.FieldByName("NMTIPORECE").SetAsString(name);
    types.FieldByName("IDTIPORECE").SetAsString(kind);
    types.Post();
  }
  return types.Data();
}

// Opens a coupon, sells the items and closes it; true when it was closed.
bool Coupon(void* driver, const std::vector<Item>& items, double discount, const std::vector<Payment>& payments) {
  hostrt::Variant open = hostrt::MakeParams({{"ESQUEMACOR", kColour}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  const bool opened = OPERATION(driver, AbreCupom)(open);
  Report("AbreCupom", opened);
  if (!opened) return false;
  for (const Item& item : items) Report(std::string("VendaItem ") + item.name, Sell(driver, item));

  // The closing's 43 positional slots, as a host fills them.
  std::vector<hostrt::Variant> slots(43, hostrt::Variant(""));
  slots[2] = kColour;
  for (int i : {4, 5, 11}) slots[static_cast<std::size_t>(i)] = false;
  for (int i : {3, 7, 8, 37, 38}) slots[static_cast<std::size_t>(i)] = 0.0;
  slots[6] = discount;
  slots[9] = "N";
  slots[10] = "VOLTE SEMPRE!";
  slots[13] = PaymentRows(payments);
  slots[14] = PaymentTypes();
  slots[21] = "12";  // table
  slots[22] = "7";
  slots[23] = "MARIA";
  slots[31] = "B5";  // order password
  hostrt::Variant result = hostrt::Variant::Array(0, 2);
  const bool closed = OPERATION(driver, FechaCupom)(slots.data(), 42, nullptr, result);
  Report("FechaCupom", closed);
  return closed;
}

}  // namespace

void RunSaleSteps(void* driver, const std::string& serial) {
  std::cout << "\n== A sale ==\n";
  Coupon(driver,
         {{"7891000100103", "CAFE EXPRESSO", "01", 2, 4.5, 0},
          {"7891000400400", "BOLO DE CENOURA", "01", 1, 9.99, 1.5},
          {"7891000500500", "AGUA MINERAL", "FF", 1, 3.0, 0}},
         0.49, {{"001", 10.0}, {"002", 10.0}});
  std::cout << "Nr_Cupom: " << OPERATION(driver, Nr_Cupom)("", kColour) << "\n";
  Report("Abre_Gaveta_Imp", OPERATION(driver, Abre_Gaveta_Imp)(kColour, false));

  std::cout << "\n== A second coupon, cancelled ==\n";
  if (!Coupon(driver, {{"7891000200200", "PAO DE QUEIJO", "01", 3, 3.25, 0}}, 0, {{"001", 10.0}})) return;
  std::vector<hostrt::Variant> args{kColour, true, false, "", "001", "001", serial};
  hostrt::Variant result = hostrt::Variant::Array(0, 0);
  const bool cancelled = OPERATION(driver, Cancela_Cupom_Imp)(args.data(), static_cast<int>(args.size()) - 1, result);
  Report("Cancela_Cupom_Imp coupon " + result[0].AsString(), cancelled);
}

}  // namespace pdv_demo
