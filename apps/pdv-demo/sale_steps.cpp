#include "sale_steps.h"

#include <iostream>
#include <string>
#include <vector>

#include "driver_operation.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/params.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

struct Item {
  const char* code;
  const char* name;
  const char* kind;  // T taxed, N not subject, F tax paid by substitution, I exempt
  double rate;       // percent, for a taxed item
  double quantity, price;
};

struct Movement {
  const char* movement;  // E payment, S change given, T consumer debit
  const char* type;      // the till's payment type code
  const char* kind;      // the payment kind: 5 and 7 are meal tickets
  double amount;
  const char* printed;   // the name printed on the ticket document
};

// The sale's items as the host keeps them, sold by operator 7, MARIA.
void FillItems(hostrt::ClientDataSet& items, const std::vector<Item>& rows) {
  items.Close();
  items.ClearFieldDefs();
  for (const char* name : {"CDOPERADOR", "NMOPERADOR", "NMPRODUTO", "CDARVPROD", "IDTPIMPOSFIS", "CDLOJA"})
    items.AddFieldDef(name, hostrt::FieldType::String, 60);
  for (const char* name : {"VRPRECCOMVEN", "QTPRODCOMVEN", "VRDESCCOMVEN", "VRPEALIMPFIS"})
    items.AddFieldDef(name, hostrt::FieldType::Float);
  items.CreateDataSet();
  for (const Item& row : rows) {
    items.Append();
    items.FieldByName("CDOPERADOR").SetAsString("7");
    items.FieldByName("NMOPERADOR").SetAsString("MARIA");
    items.FieldByName("NMPRODUTO").SetAsString(row.name);
    items.FieldByName("CDARVPROD").SetAsString(row.code);
    items.FieldByName("IDTPIMPOSFIS").SetAsString(row.kind);
    items.FieldByName("CDLOJA").SetAsString("01");
    items.FieldByName("VRPRECCOMVEN").SetAsFloat(row.price);
    items.FieldByName("QTPRODCOMVEN").SetAsFloat(row.quantity);
    items.FieldByName("VRDESCCOMVEN").SetAsFloat(0);
    items.FieldByName("VRPEALIMPFIS").SetAsFloat(row.rate);
    items.Post();
  }
  items.First();
}

// The sale's cash movements, in the order they were taken.
void FillMovements(hostrt::ClientDataSet& movements, const std::vector<Movement>& rows) {
  movements.Close();
  movements.ClearFieldDefs();
  for (const char* name : {"IDTIPOMOVIVE", "CDTIPORECE", "IDTIPORECE", "CDBANCARTCR", "CDTIPORECEORIG", "DSIMPFISCAL"})
    movements.AddFieldDef(name, hostrt::FieldType::String, 50);
  movements.AddFieldDef("DTHRINCMOV", hostrt::FieldType::DateTime);
  movements.AddFieldDef("VRMOVIVEND", hostrt::FieldType::Float);
  movements.AddFieldDef("NRORDTROCO", hostrt::FieldType::Integer);
  movements.CreateDataSet();
  double minute = 0;
  for (const Movement& row : rows) {
    movements.Append();
    movements.FieldByName("IDTIPOMOVIVE").SetAsString(row.movement);
    movements.FieldByName("CDTIPORECE").SetAsString(row.type);
    movements.FieldByName("IDTIPORECE").SetAsString(row.kind);
    movements.FieldByName("DSIMPFISCAL").SetAsString(row.printed);
    movements.FieldByName("DTHRINCMOV").SetAsDateTime(hostrt::DateTime{hostrt::Now().value + ++minute / (24 * 60)});
    movements.FieldByName("VRMOVIVEND").SetAsFloat(row.amount);
    movements.FieldByName("NRORDTROCO").SetAsInteger(0);
    movements.Post();
  }
}

// The till's payment types under the names programmed in the printer.
void FillPaymentTypes(hostrt::ClientDataSet& types) {
  for (const char* name : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE"}) types.AddFieldDef(name, hostrt::FieldType::String, 40);
  types.CreateDataSet();
  struct Row {
    const char *code, *name, *kind;
  };
  for (const Row& row : {Row{"001", "Dinheiro", "1"}, Row{"002", "Cartao Credito", "2"},
                         Row{"005", "Vale Refeicao", "5"}, Row{"009", "Conta Consumidor", "9"}}) {
    types.Append();
    types.FieldByName("CDTIPORECE").SetAsString(row.code);
    types.FieldByName("NMTIPORECE").SetAsString(row.name);
    types.FieldByName("IDTIPORECE").SetAsString(row.kind);
    types.Post();
  }
}

class Till {
 public:
  explicit Till(void* driver) : driver_(driver) {
    OPERATION(driver, CarregaAliquota)(kColour, rates_);
    FillPaymentTypes(types_);
  }

  // Prints one sale and shows what ImpressaoVenda answered.
  std::string Sell(const std::string& title, const std::vector<Item>& items, const std::vector<Movement>& movements) {
    std::cout << "\n== " << title << " ==\n";
    FillItems(items_, items);
    FillMovements(movements_, movements);
    const hostrt::Variant params = hostrt::MakeParams({{"ESQUEMACOR", kColour},
                                                       {"CDFILIAL", "001"},
                                                       {"CDCAIXA", "001"},
                                                       {"SENHACUPOM", "B5"},
                                                       {"NMCONSUMIDOR", "JOAO DA SILVA"},
                                                       {"DSOBSCUPFIS", "VOLTE SEMPRE!"},
                                                       {"SALDODEBITO", 150.0},
                                                       {"PRECOSUBSIDIO", 0.0},
                                                       {"TOTPARCCV", ""},
                                                       {"NRLAUDO", ""}});
    const std::string result =
        OPERATION(driver_, ImpressaoVenda)(params, items_, movements_, types_, rates_, unused_, unused_, unused_);
    std::cout << "ImpressaoVenda: \"" << result << "\"; payments left in cdsMovi: " << movements_.RecordCount()
              << "\n";
    return result;
  }

 private:
  void* driver_;
  hostrt::ClientDataSet items_{"cdsVendas"}, movements_{"cdsMovi"}, types_{"cdsRecebimento"};
  hostrt::ClientDataSet rates_{"cdsAliqImpFis"}, unused_{"unused"};
};

}  // namespace

void RunSaleSteps(void* driver, const std::string& serial) {
  Till till(driver);
  // Prices include their tax; the coupon receives each price less its tax part,
  // and the printer adds the tax back: 2 × 5,90 + 11,20 + 3,00 = 26,00 is paid
  // 10,00 in cash and 18,00 by card, with 2,00 of change.
  till.Sell("A sale", {{"7891000100103", "CAFE EXPRESSO", "T", 18, 2, 5.90},
                       {"7891000400400", "BOLO DE CENOURA", "T", 12, 1, 11.20},
                       {"7891000500500", "AGUA MINERAL", "F", 0, 1, 3.00}},
            {{"E", "001", "1", 10.0, ""}, {"E", "002", "2", 18.0, ""}, {"S", "001", "1", 2.0, ""}});
  till.Sell("A sale paid partly with meal tickets", {{"7891000300300", "PRATO EXECUTIVO", "T", 18, 1, 29.50}},
            {{"E", "005", "5", 20.0, "VALE REFEICAO"}, {"E", "001", "1", 10.0, ""}, {"S", "001", "1", 0.50, ""}});
  till.Sell("A sale of exempt items only", {{"7891000500500", "AGUA MINERAL", "F", 0, 2, 3.00},
                                            {"7891000600600", "LEITE INTEGRAL", "I", 0, 1, 4.50}},
            {{"E", "001", "1", 20.0, ""}, {"S", "001", "1", 9.50, ""}});
  till.Sell("A sale charged to a consumer account", {{"7891000100103", "CAFE EXPRESSO", "T", 18, 1, 5.90}},
            {{"T", "009", "9", 5.90, ""}});
  Report("Abre_Gaveta_Imp", OPERATION(driver, Abre_Gaveta_Imp)(kColour, false));

  const std::string coupon =
      till.Sell("A last sale, cancelled", {{"7891000200200", "PAO DE QUEIJO", "T", 18, 3, 3.25}},
                {{"E", "001", "1", 10.0, ""}});
  if (coupon.empty() || coupon == "Erro") return;
  std::vector<hostrt::Variant> args{kColour, true, false, "", "001", "001", serial};
  hostrt::Variant result = hostrt::Variant::Array(0, 0);
  const bool cancelled = OPERATION(driver, Cancela_Cupom_Imp)(args.data(), static_cast<int>(args.size()) - 1, result);
  Report("Cancela_Cupom_Imp coupon " + result[0].AsString(), cancelled);
}

void RunFirstSaleOfTheDay(void* driver) {
  Till(driver).Sell("The first sale of the day", {{"7891000100103", "CAFE EXPRESSO", "T", 18, 1, 5.90}},
                    {{"E", "001", "1", 10.0, ""}, {"S", "001", "1", 4.10, ""}});
}

}  // namespace pdv_demo
