// One item sale through the exported entry point of the emulated printer,
// loaded with the real loader in a temp environment. Prints, from one run,
// item sales per second and how they compare with a bare status read (the
// call path alone) and with the wire time of a 9600-baud line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

#include "test_support/emulated_printer.h"
#include "test_support/temp_environment.h"

namespace {

using SellItem = int(const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                     const char*, const char*);

struct Bench {
  test_support::TempEnvironment env;
  std::unique_ptr<test_support::EmulatedPrinter> printer;
  Bench() {
    env.write_ini({{"Relogio", "07122026103000"}});
    printer = std::make_unique<test_support::EmulatedPrinter>();
  }
  void open_coupon() const {
    printer->entry<int()>("Bematech_FI_AnulaCupon")();
    printer->entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta")("", "");
  }
};

Bench& bench() {
  static Bench instance;
  return instance;
}

constexpr int kItemsPerCoupon = 100;

void sell_items(benchmark::State& state, int baud) {
  Bench& b = bench();
  b.printer->set_baud_rate(baud);
  auto sell = b.printer->entry<SellItem>("Bematech_FI_VendeArticuloDepartamento");
  int in_coupon = kItemsPerCoupon;
  for (auto _ : state) {
    if (in_coupon == kItemsPerCoupon) {
      state.PauseTiming();
      b.open_coupon();
      in_coupon = 0;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(sell("7891000100103", "CAFE EXPRESSO", "01", "4,500", "1,000", "00", "0000", "01", "UN"));
    ++in_coupon;
  }
  b.printer->set_baud_rate(0);
  b.printer->clear_journal();
  state.counters["calls_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ItemSale(benchmark::State& state) { sell_items(state, 0); }
void BM_ItemSaleAt9600Baud(benchmark::State& state) { sell_items(state, 9600); }

void BM_StatusRead(benchmark::State& state) {
  auto read = bench().printer->entry<int(int*, int*, int*)>("Bematech_FI_RetornoImpresora");
  int ack = 0, st1 = 0, st2 = 0;
  for (auto _ : state) benchmark::DoNotOptimize(read(&ack, &st1, &st2));
  bench().printer->clear_journal();
  state.counters["calls_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ItemSale)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_StatusRead)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ItemSaleAt9600Baud)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();

// Collects the time per call of each benchmark of this run, in nanoseconds.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const double scale = r.time_unit == benchmark::kMillisecond ? 1e6 : r.time_unit == benchmark::kMicrosecond ? 1e3 : 1;
      ns[r.benchmark_name()] = r.GetAdjustedRealTime() * scale;
    }
  }
  std::map<std::string, double> ns;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double sale = reporter.ns["BM_ItemSale/real_time"], status = reporter.ns["BM_StatusRead/real_time"];
  const double wire = reporter.ns["BM_ItemSaleAt9600Baud/iterations:40/real_time"];
  if (sale > 0) std::printf("Item sale: %.0f calls per second\n", 1e9 / sale);
  if (sale > 0 && status > 0)
    std::printf("Item sale / status read = %.1fx (the state file written after each sale)\n", sale / status);
  if (sale > 0 && wire > 0) std::printf("Item sale at 9600 baud / without wire time = %.1fx\n", wire / sale);
  benchmark::Shutdown();
  return 0;
}
