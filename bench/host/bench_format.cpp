// FormatFloat and FloatToStrF against snprintf, measured in one run; the
// ratios say what the host-compatible rounding costs per call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>

#include "hostrt/format.h"
#include "hostrt/text.h"

namespace {

// Amounts as a sale produces them: cents, thousands, rounding cases.
const double kValues[] = {1234.5, 0.125, 2.345, 1.005, 9.999, 157.3, 0.01, 98765.43, 12.349, 3.0};
constexpr std::size_t kCount = sizeof kValues / sizeof kValues[0];

void BM_FormatFloat(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(hostrt::FormatFloat("#,##0.00", kValues[i++ % kCount]));
  state.SetItemsProcessed(state.iterations());
}

void BM_FloatToStrF(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hostrt::FloatToStrF(kValues[i++ % kCount], hostrt::FloatFormat::Fixed, 15, 2));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Trunc2(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(hostrt::Trunc2(kValues[i++ % kCount]));
  state.SetItemsProcessed(state.iterations());
}

void BM_Snprintf(benchmark::State& state) {
  std::size_t i = 0;
  char buf[64];
  for (auto _ : state) {
    std::snprintf(buf, sizeof buf, "%.2f", kValues[i++ % kCount]);
    benchmark::DoNotOptimize(std::string(buf));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FormatFloat);
BENCHMARK(BM_FloatToStrF);
BENCHMARK(BM_Trunc2);
BENCHMARK(BM_Snprintf);

// Keeps each benchmark's time per call so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (!r.error_occurred && r.run_type == Run::RT_Iteration) nanoseconds_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    const auto base = nanoseconds_.find("BM_Snprintf");
    if (base == nanoseconds_.end() || base->second <= 0) return;
    std::cout << "\nPer call, against snprintf(\"%.2f\") in the same run:\n";
    for (const auto& [name, ns] : nanoseconds_) {
      if (name == base->first) continue;
      std::printf("  %-16s %8.0f calls/s  %5.2fx snprintf\n", name.c_str(), 1e9 / ns, ns / base->second);
    }
  }

 private:
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
