#include "day_end_steps.h"


#include <iostream>
#include <string>

#include "demo_datasets.h"
#include "driver_operation.h"
#include "bemafi32/emu_control.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"
#include "platform/latin1.h"
#include "sale_steps.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

std::string Ok(bool ok) { return ok ? "ok" : "failed"; }
std::string Money(hostrt::Field& field) { return field.IsNull() ? "-" : hostrt::FormatFloat("#,##0.00", field.AsFloat()); }
std::string Day(hostrt::DateTime date) { return hostrt::FormatDateTime("dd/mm/yyyy", date); }

void MovementDate(void* driver, const char* when) {
  std::cout << "DataMoviFiscal (" << when << "): " << Day(OPERATION(driver, DataMoviFiscal)(kColour)) << "\n";
}

// The payment types as the till names them (the names the printer knows).
void PaymentTypes(hostrt::ClientDataSet& types) {
  types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
  types.CreateDataSet();
  for (const auto& [code, name] : {std::pair{"001", "Dinheiro"}, {"002", "Cartao Credito"}, {"003", "Vale Refeicao"}}) {
    types.Append();
    types.FieldByName("CDTIPORECE").SetAsString(code);
    types.FieldByName("NMTIPORECE").SetAsString(name);
    types.Post();
  }
}

void ShowZExport(hostrt::ClientDataSet& reduction, hostrt::ClientDataSet& forms, hostrt::ClientDataSet& taxes,
                 hostrt::ClientDataSet& totalizers) {
  std::cout << "\n== Z export ==\n";
  if (!reduction.Active() || reduction.IsEmpty()) {
    std::cout << "(no figures: the printer wrote no reading)\n";
    return;
  }
  reduction.First();
  std::cout << "Reduction " << reduction.FieldByName("NRREDREDZ").AsString() << " of "
            << Day(reduction.FieldByName("DTREDUCAOZ").AsDateTime()) << ", last coupon "
            << reduction.FieldByName("NRULTCFREDZ").AsString() << ", non-fiscal operations "
            << reduction.FieldByName("NRGERCNFREDZ").AsString() << "\n"
            << "  gross " << Money(reduction.FieldByName("VRVENBRUREDZ")) << "  discounts "
            << Money(reduction.FieldByName("VRTOTDESREDZ")) << "  surcharges "
            << Money(reduction.FieldByName("VRTOTACRREDZ")) << "  cancellations "
            << Money(reduction.FieldByName("VRTOTCANREDZ")) << "  net " << Money(reduction.FieldByName("VRVENLIQREDZ"))
            << "  grand total " << Money(reduction.FieldByName("VRGTREDZ")) << "\n";
  std::cout << "Payments by type (" << forms.RecordCount() << "):\n";
  for (forms.First(); !forms.Eof(); forms.Next())
    std::cout << "  " << forms.FieldByName("CDTIPORECE").AsString() << "  " << Money(forms.FieldByName("VRFORMPGTORZ"))
              << "\n";
  std::cout << "Tax rates: " << taxes.RecordCount() << " records\n";
  std::cout << "Non-fiscal totalizers (" << totalizers.RecordCount() << "):\n";
  for (totalizers.First(); !totalizers.Eof(); totalizers.Next())
    std::cout << "  " << totalizers.FieldByName("NRTOTNFISCRZ").AsString() << " "
              << platform::latin1_to_utf8(totalizers.FieldByName("DSTOTNFISCRZ").AsString()) << " x"
              << totalizers.FieldByName("NRCONTOTNFIS").AsString() << "  "
              << Money(totalizers.FieldByName("VRACUTOTNFIS")) << "\n";
}

// The night passes: the computer's clock and the emulated printer's own clock
// move on one day.
void NextDay(const std::string& bin_dir) {
  hostrt::SetClockOffset(1.0);
  void* printer = platform::load_library(bin_dir + "/BemaFI32.dll");
  if (!printer) return;
  if (auto offset = reinterpret_cast<vendor_api::pointer<int(long long)>>(platform::resolve_symbol(printer, "Emu_SetClockOffset")))
    offset(86400);
  platform::unload_library(printer);
}


// The till's closing as a host runs it: the amounts counted, the shift's and
// the day's movements and products; the operator keeps the till closed,
// confirms the reduction and the closing reports.
bool CloseTheDay(void* driver, hostrt::ConsoleHost& host) {
  using hostrt::FieldType;
  hostrt::ClientDataSet counted, withdrawals, products, people, day_movements, shift_movements, day_products;
  hostrt::ClientDataSet types, reduction, forms, taxes, totalizers;
  PaymentTypes(types);
  Fill(counted, {{"CDTIPORECE", FieldType::String}, {"NMTIPORECE", FieldType::String}, {"DTABERCAIX", FieldType::DateTime},
                 {"VRFECHAINF", FieldType::Float}, {"VRFECHADIG", FieldType::Float}, {"NRENVELOPE", FieldType::String}},
       {{"001", "Dinheiro", hostrt::Date(), 131.60, 131.60, "000101"},
        {"002", "Cartao Credito", hostrt::Date(), 15.0, 15.0, "000102"}});
  Fill(people, {{"CDSUPERVISOR", FieldType::String}, {"NMSUPERVISOR", FieldType::String},
                {"CDOPERADOR", FieldType::String}, {"NMOPERADOR", FieldType::String}},
       {{"10", "SUELI", "7", "MARIA"}});
  const std::vector<std::pair<const char*, FieldType>> product_fields{
      {"CDPRODUTO", FieldType::String}, {"NMPRODUTO", FieldType::String}, {"QTPRODVEND", FieldType::Float},
      {"VRTOTAL", FieldType::Float},    {"VRACRE", FieldType::Float},    {"VRDESC", FieldType::Float},
      {"VRPEALIMPFIS", FieldType::Float}, {"IDTPIMPOSFIS", FieldType::String}};
  const std::vector<std::vector<hostrt::Variant>> sold{{"7891000100103", "CAFE EXPRESSO", 4.0, 23.60, 0.0, 0.0, 18.0, "T"},
                                                       {"7891000300300", "PRATO EXECUTIVO", 1.0, 29.50, 0.0, 0.0, 18.0, "T"},
                                                       {"7891000500500", "AGUA MINERAL", 3.0, 9.00, 0.0, 0.0, 0.0, "F"}};
  Fill(products, product_fields, sold);
  Fill(day_products, product_fields, sold);
  const std::vector<std::pair<const char*, FieldType>> movement_fields{{"IDTIPOREG", FieldType::String},
                                                                       {"CDTIPORECE", FieldType::String},
                                                                       {"NMTIPORECE", FieldType::String},
                                                                       {"VRSAIDA", FieldType::Float}};
  const std::vector<std::vector<hostrt::Variant>> moved{
      {"1", "001", "Dinheiro", 47.10}, {"1", "002", "Cartao Credito", 15.0}, {"3", "", "", 0.0}};
  Fill(day_movements, movement_fields, moved);
  Fill(shift_movements, movement_fields, moved);
  for (const bool answer : {false, true, true}) host.QueueAnswer(answer);  // keep the till closed; reduce; print
  std::string first_coupon;
  bool reduced = false;
  const bool till_opened = OPERATION(driver, GeraReciboSangria)(
      "COM1", "EMU0000000000000001", "001", "001", "0001", 1, first_coupon, counted, withdrawals, products, people,
      day_movements, shift_movements, day_products, hostrt::Now(), true, true, false, reduction, forms, taxes,
      totalizers, reduced, types, "N", "S", "S", "S", kColour, false, false, true);
  std::cout << "GeraReciboSangria: till " << (till_opened ? "opened" : "kept closed") << ", first coupon "
            << first_coupon << ", Z export " << (reduced ? "taken" : "not taken") << "\n";
  if (reduced) ShowZExport(reduction, forms, taxes, totalizers);
  return reduced;
}

}  // namespace

void RunDayEndSteps(void* driver, const std::string& bin_dir, hostrt::ConsoleHost& host) {
  std::cout << "\n== End of the day ==\n";
  MovementDate(driver, "today");
  if (!CloseTheDay(driver, host)) return;
  std::cout << "\n== Z reduction ==\n";
  std::cout << "Reducao_Z_Imp: " << Ok(OPERATION(driver, Reducao_Z_Imp)("", kColour, "")) << "\n";

  std::cout << "\n== The next day ==\n";
  NextDay(bin_dir);
  std::cout << "Suprimento 100,00 (opening float): " << Ok(OPERATION(driver, Suprimento)("", kColour, 100.0)) << "\n";
  MovementDate(driver, "new day");
  RunFirstSaleOfTheDay(driver);
}

}  // namespace pdv_demo
