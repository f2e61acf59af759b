// The bridge's own cost per call: the same operation called directly (its C++
// signature) and through kvr_call (JSON text in, JSON text out), alternating
// in one run. The difference is what the bridge adds: parsing, marshalling,
// the dialogs and log of the call, and the reply; the goal is under 50 us.
#include <chrono>
#include <string>
#include <vector>

#include "kvr00102/kvr_bridge.h"
#include "sale_bench.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

template <typename Direct>
void CompareWithDirectCall(benchmark::State& state, sale_bench::Machine& machine, const std::string& request,
                           Direct&& direct) {
  auto call = machine.driver->function<decltype(kvr_call)>("kvr_call");
  auto release = machine.driver->function<decltype(kvr_free)>("kvr_free");
  std::vector<double> direct_us, bridge_us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    direct();
    const auto t1 = Clock::now();
    char* reply = call(request.c_str());
    const auto t2 = Clock::now();
    benchmark::DoNotOptimize(reply);
    release(reply);
    direct_us.push_back(Microseconds(t1 - t0));
    bridge_us.push_back(Microseconds(t2 - t1));
  }
  const double d = sale_bench::Median(direct_us), b = sale_bench::Median(bridge_us);
  state.counters["direct_us"] = d;
  state.counters["bridge_us"] = b;
  state.counters["bridge_cost_us"] = b - d;
  state.counters["ratio"] = d > 0 ? b / d : 0;
  state.counters["under_50us"] = b - d < 50 ? 1 : 0;
}

// No printer call: the bridge's cost against the smallest operation.
void BM_BridgeGetValue(benchmark::State& state) {
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  auto get_value = machine.driver->function<decltype(GetValue)>("GetValue");
  CompareWithDirectCall(state, machine, R"({"operation":"GetValue","arguments":["1.234,56"]})",
                        [&] { benchmark::DoNotOptimize(get_value("1.234,56")); });
}

// One printer call with an in/out text and its log line.
void BM_BridgeCounterRead(benchmark::State& state) {
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  auto reductions = machine.driver->function<decltype(NumeroReducoes)>("NumeroReducoes");
  CompareWithDirectCall(state, machine, R"({"operation":"NumeroReducoes","arguments":["001",""]})", [&] {
    std::string text;
    benchmark::DoNotOptimize(reductions("001", text));
  });
}

// A dataset handed back: the printer's tax rates.
void BM_BridgeRatesWithDataset(benchmark::State& state) {
  sale_bench::Machine machine;
  if (!machine.Start(state)) return;
  auto load = machine.driver->function<decltype(CarregaAliquota)>("CarregaAliquota");
  CompareWithDirectCall(state, machine, R"({"operation":"CarregaAliquota","arguments":["001",null]})", [&] {
    hostrt::ClientDataSet rates;
    load("001", rates);
  });
}

}  // namespace

BENCHMARK(BM_BridgeGetValue)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BridgeCounterRead)->Iterations(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BridgeRatesWithDataset)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
