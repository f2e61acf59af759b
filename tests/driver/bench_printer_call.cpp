// What the driver adds to one printer call (the call through its slot, the
// debug-log line, the status read and analysis) against the printer's own
// time, measured side by side in one run. Wire time is simulated at 0 baud
// (none: the emulator alone) and at 9600 baud (a serial printer).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "hostrt/clock.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "test_support/emulated_printer.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_StatusQuery(benchmark::State& state) {
  test_support::TempEnvironment env;
  auto host = std::make_shared<hostrt::ScriptedHost>();
  hostrt::InstallHostServices(host);
  test_support::EmulatedPrinter printer;
  printer.reload();
  printer.reset();
  test_support::LoadedLibrary driver("Kvr00102.so");
  auto start = driver.function<decltype(StartImpFiscal)>("StartImpFiscal");
  auto estado = driver.function<decltype(Estado_Imp)>("Estado_Imp");
  auto verify = printer.entry<int(int*, int*, int*)>("Bematech_FI_VerificaEstadoImpresora");
  auto status = printer.entry<int(int*, int*, int*)>("Bematech_FI_RetornoImpresora");
  if (!start(hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"PORTAIMPFIS", "COM1"}}))) {
    state.SkipWithError("the driver did not start");
    return;
  }
  printer.set_baud_rate(static_cast<int>(state.range(0)));
  const std::string colour = "001";
  Clock::duration direct{}, through_driver{};
  for (auto _ : state) {
    int ack = 0, st1 = 0, st2 = 0;
    const auto t0 = Clock::now();
    // The same two printer calls the driver makes, without the driver.
    benchmark::DoNotOptimize(verify(&ack, &st1, &st2));
    benchmark::DoNotOptimize(status(&ack, &st1, &st2));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(estado(colour, false, false));
    const auto t2 = Clock::now();
    direct += t1 - t0;
    through_driver += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  const double direct_us = std::chrono::duration<double, std::micro>(direct).count() / n;
  const double driver_us = std::chrono::duration<double, std::micro>(through_driver).count() / n;
  state.counters["printer_us"] = direct_us;
  state.counters["driver_us"] = driver_us;
  state.counters["overhead_us"] = driver_us - direct_us;
  state.counters["overhead_ratio"] = (driver_us - direct_us) / direct_us;
  hostrt::InstallHostServices(nullptr);
}
BENCHMARK(BM_StatusQuery)->Arg(0)->Arg(9600)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
