// A sale of 50 items printed with ImpressaoVenda (45 taxed items, 5 untaxed,
// so the exempt ticket follows the coupon), through the driver and straight
// to the emulated printer (at zero wire time), measured side by side in one
// run. The difference is the driver's own time, set against the wire time of
// the same calls at 115200 baud.
#include <string>

#include "hostrt/dataset.h"
#include "sale_bench.h"
#include "sale_datasets.h"

namespace {

constexpr int kItems = 50;

std::vector<coupon_test::SaleItemRow> FiftyItems(double& total) {
  std::vector<coupon_test::SaleItemRow> rows;
  total = 0;
  for (int i = 1; i <= kItems; ++i) {
    const double price = 1 + i % 17 * 0.25;
    total += price;
    const bool taxed = i % 10 != 0;
    rows.push_back({"PRODUTO DE TESTE NUMERO " + std::to_string(i), taxed ? "T" : "F", taxed ? 18.0 : 0.0, price});
  }
  return rows;
}

void BM_FiftyItemImpressaoVenda(benchmark::State& state) {
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  sale_bench::PrintedSale sale(*machine.driver);
  double total = 0;
  const auto items = FiftyItems(total);

  // The host's datasets as they are before each sale; the payments cover
  // the prices with their tax and a real more, so the printer gives change
  // (the tax it adds back, cut to the cent, may come to a cent above a price).
  auto prepare = [&] {
    coupon_test::FillSaleItems(sale.cdsVendas, items);
    coupon_test::FillMovements(sale.cdsMovi, {{"E", "001", "1", 51}, {"E", "002", "2", total - 50}});
  };
  auto driver_sale = [&] { return sale.Print(); };
  sale_bench::CompareWithPrinterAlone(state, machine, prepare, driver_sale);
}
BENCHMARK(BM_FiftyItemImpressaoVenda)->Unit(benchmark::kMillisecond)->Iterations(41);

}  // namespace

BENCHMARK_MAIN();
