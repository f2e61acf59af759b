#include "day_end_steps.h"

#include <dlfcn.h>

#include <iostream>
#include <string>

#include "driver_operation.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

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

void ZExport(void* driver) {
  std::cout << "\n== Z export ==\n";
  hostrt::ClientDataSet types, reduction, forms, taxes, totalizers;
  PaymentTypes(types);
  OPERATION(driver, ExportRedZ)("", kColour, "0001", 1, types, reduction, forms, taxes, totalizers);
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
  void* printer = dlopen((bin_dir + "/BemaFI32.so").c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_LOCAL);
  if (!printer) return;
  if (auto offset = reinterpret_cast<int (*)(long long)>(dlsym(printer, "Emu_SetClockOffset"))) offset(86400);
  dlclose(printer);
}

}  // namespace

void RunDayEndSteps(void* driver, const std::string& bin_dir) {
  std::cout << "\n== End of the day ==\n";
  MovementDate(driver, "today");
  std::cout << "Leitura_X_Imp: " << Ok(OPERATION(driver, Leitura_X_Imp)("", kColour, "")) << "\n";
  ZExport(driver);
  std::cout << "\n== Z reduction ==\n";
  std::cout << "Reducao_Z_Imp: " << Ok(OPERATION(driver, Reducao_Z_Imp)("", kColour, "")) << "\n";

  std::cout << "\n== The next day ==\n";
  NextDay(bin_dir);
  std::cout << "Suprimento 100,00 (opening float): " << Ok(OPERATION(driver, Suprimento)("", kColour, 100.0)) << "\n";
  MovementDate(driver, "new day");
}

}  // namespace pdv_demo
