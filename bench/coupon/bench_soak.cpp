// A long day's work without a restart: 10,000 sales printed with
// ImpressaoVenda and a Z reduction after every 2,000, on the emulated printer
// at its default settings and no wire time. Prints the time per sale of the
// first and the last thousand and the resident memory at each thousand, and
// the two ratios the driver must keep: time per sale last/first at most 1.1,
// memory growth after the first thousand at most 1 MiB.
#include <cmath>
#include <cstdio>
#include <string>

#include "hostrt/format.h"
#include "platform/numbers.h"
#include "sale_bench.h"
#include "test_support/resident_memory.h"

namespace {

constexpr int kSales = 10000;
constexpr int kSalesPerDay = 2000;
constexpr int kBlock = 1000;

// "1.234": three decimals, '.' as the mark, whatever the process locale.
std::string Thousandths(double value) {
  const long long scaled = std::llround(value * 1000);
  const long long magnitude = scaled < 0 ? -scaled : scaled;
  std::string fraction = platform::to_text(magnitude % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return (scaled < 0 ? "-" : "") + platform::to_text(magnitude / 1000) + "." + fraction;
}

void Print(const std::string& line) { std::fputs((line + "\n").c_str(), stdout); }

void BM_SoakOfTenThousandSales(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  sale_bench::PrintedSale sale(*machine.driver);
  const std::vector<coupon_test::SaleItemRow> items{
      {"AGUA MINERAL 500ML", "T", 18.0, 2.50}, {"PAO DE QUEIJO", "T", 18.0, 4.75}, {"CAFE EXPRESSO", "F", 0.0, 3.00}};
  auto reduce = machine.driver->function<decltype(Reducao_Z_Imp)>("Reducao_Z_Imp");

  std::vector<double> block_ms;
  std::vector<std::int64_t> block_kib;
  int failures = 0, reductions = 0;
  std::size_t records_seen = 0;
  hostrt::DateTime day = hostrt::Now();
  for (auto _ : state) {
    double block_time = 0;
    for (int n = 1; n <= kSales; ++n) {
      coupon_test::FillSaleItems(sale.cdsVendas, items);
      coupon_test::FillMovements(sale.cdsMovi, {{"E", "001", "1", 20}});
      const auto t0 = Clock::now();
      const bool printed = sale.Print();
      block_time += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
      if (!printed) ++failures;
      // The scripted host keeps what the driver records in memory, where a
      // real host writes it to its store; only the driver and printer count.
      const std::size_t records = machine.host->documents.size() + machine.host->cer_records.size();
      records_seen += records;
      machine.host->documents.clear();
      machine.host->cer_records.clear();
      machine.host->dialogs.clear();
      if (n % kSalesPerDay == 0) {
        if (reduce("", "001", "")) ++reductions;
        // The next day, for the printer and for the host.
        day = hostrt::DateTime{day.value + 1};
        hostrt::SetFixedNow(day);
        machine.printer->set_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", day));
      }
      if (n % kBlock == 0) {
        block_ms.push_back(block_time / kBlock);
        block_kib.push_back(test_support::resident_kib());
        block_time = 0;
      }
    }
  }
  if (failures > 0 || reductions != kSales / kSalesPerDay || block_ms.size() != kSales / kBlock) {
    state.SkipWithError(("sales failed: " + platform::to_text(failures) + ", reductions made: " +
                         platform::to_text(reductions))
                            .c_str());
    return;
  }
  Print("soak: " + platform::to_text(kSales) + " sales with ImpressaoVenda, " + platform::to_text(reductions) +
        " Z reductions, " +
        platform::to_text(records_seen) + " host records");
  for (std::size_t i = 0; i < block_ms.size(); ++i)
    Print("  sales " + platform::to_text(static_cast<int>(i) * kBlock + 1) + "-" +
          platform::to_text(static_cast<int>(i + 1) * kBlock) + ": " + Thousandths(block_ms[i]) +
          " ms/sale, resident " + platform::to_text(block_kib[i]) + " KiB");
  const double time_ratio = block_ms.back() / block_ms.front();
  const double growth_mib = static_cast<double>(block_kib.back() - block_kib.front()) / 1024;
  Print("time per sale last/first thousand: " + Thousandths(time_ratio) + " (goal <= 1.1)" +
        (time_ratio <= 1.1 ? "" : "  MISSED"));
  Print("memory growth after the first thousand: " + Thousandths(growth_mib) + " MiB (goal <= 1)" +
        (growth_mib <= 1 ? "" : "  MISSED"));
  state.counters["first_ms_per_sale"] = block_ms.front();
  state.counters["last_ms_per_sale"] = block_ms.back();
  state.counters["time_last_over_first"] = time_ratio;
  state.counters["memory_growth_mib"] = growth_mib;
}
BENCHMARK(BM_SoakOfTenThousandSales)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
