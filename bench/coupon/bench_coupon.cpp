// A sale of 100 items with its closing, through the driver and straight to
// the emulated printer (at zero wire time), measured side by side in one run.
// The difference is the driver's own time; it is set against the time the
// same calls take on the wire at 115200 baud, computed from their bytes as
// the printer's serial link carries them.
#include <string>
#include <vector>

#include "dataset_rows.h"
#include "hostrt/dataset.h"
#include "sale_bench.h"

namespace {

constexpr int kItems = 100;

// The closing's slots: no discount, two payments, a plain footer.
std::vector<hostrt::Variant> ClosingSlots(double total) {
  using hostrt::FieldType;
  const hostrt::DateTime now = hostrt::Now();
  std::vector<hostrt::Variant> slots(43, hostrt::Variant(""));
  for (int i : {4, 5, 11}) slots[static_cast<std::size_t>(i)] = false;
  for (int i : {3, 6, 7, 8, 37, 38}) slots[static_cast<std::size_t>(i)] = 0.0;
  slots[2] = "001";
  slots[13] = coupon_test::DatasetData(
      {{"IDTIPOMOVIVE", FieldType::String, 1}, {"DTHRINCMOV", FieldType::DateTime}, {"CDTIPORECE", FieldType::String, 3},
       {"VRMOVIVEND", FieldType::Float}, {"NRORDTROCO", FieldType::Integer}, {"CDBANCARTCR", FieldType::String, 5},
       {"CDTIPORECEORIG", FieldType::String, 3}},
      {{"E", now, "001", 50.0, 0, "", ""}, {"E", now, "002", total - 50.0, 0, "", ""}});
  slots[14] = coupon_test::DatasetData(
      {{"CDTIPORECE", FieldType::String, 3}, {"NMTIPORECE", FieldType::String, 40}, {"IDTIPORECE", FieldType::String, 1}},
      {{"001", "Dinheiro", "1"}, {"002", "Cartao Credito", "2"}});
  slots[23] = "OPERADOR";
  return slots;
}

struct Sale {
  std::vector<hostrt::Variant> items;
  std::vector<hostrt::Variant> closing;
};

Sale HundredItems() {
  Sale sale;
  long long total_cents = 0;
  for (int i = 1; i <= kItems; ++i) {
    const long long price_cents = 100 + i % 17 * 25;
    const double price = static_cast<double>(price_cents) / 100;
    // At rate 01 the printer adds 18 % of the item's value less its discount,
    // cut to the cent: 1,25 + 0,225 (so 0,22) = 1,47; 3,50 - 0,50 = 3,00 + 0,54 = 3,54.
    const long long value_cents = price_cents - (i % 10 == 0 ? 50 : 0);
    total_cents += value_cents + value_cents * 18 / 100;
    sale.items.push_back(hostrt::MakeParams({{"ESQUEMACOR", "001"},
                                             {"CDARVPROD", std::to_string(7891000000000LL + i)},
                                             {"NMPROD", "PRODUTO DE TESTE NUMERO " + std::to_string(i)},
                                             {"CDALIQ", "01"},
                                             {"QTDE", 1.0},
                                             {"VALOR", price},
                                             {"DESCONT", i % 10 == 0 ? 0.5 : 0.0},
                                             {"UNIDADE", "UN"},
                                             {"IDUTILTEF", "N"},
                                             {"UTILTEF", false}}));
  }
  sale.closing = ClosingSlots(static_cast<double>(total_cents) / 100);
  return sale;
}

void BM_HundredItemSale(benchmark::State& state) {
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  test_support::LoadedLibrary& driver = *machine.driver;
  auto open = driver.function<decltype(AbreCupom)>("AbreCupom");
  auto sell = driver.function<decltype(VendaItem)>("VendaItem");
  auto close = driver.function<decltype(FechaCupom)>("FechaCupom");

  Sale sale = HundredItems();
  hostrt::Variant result = hostrt::Variant::Array(0, 2);
  auto driver_sale = [&] {
    hostrt::Variant params = hostrt::MakeParams({{"ESQUEMACOR", "001"}});
    bool ok = open(params);
    for (auto& item : sale.items) ok = sell(item) && ok;
    return close(sale.closing.data(), 42, nullptr, result) && ok;
  };
  sale_bench::CompareWithPrinterAlone(state, machine, [] {}, driver_sale);
}
BENCHMARK(BM_HundredItemSale)->Unit(benchmark::kMillisecond)->Iterations(41);

}  // namespace

BENCHMARK_MAIN();
