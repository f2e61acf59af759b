// What the sale benchmarks share: a temp machine with the driver started on
// the emulated printer, the replay of a sale's printer calls straight to the
// printer, and the measure of the driver's own time against the wire time of
// the same calls at 115200 baud, computed from their bytes as the printer's
// serial link carries them.
#pragma once
#include <benchmark/benchmark.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hostrt/clock.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "hostrt/dataset.h"
#include "kvr00102/kvr00102.h"
#include "sale_datasets.h"
#include "test_support/emulated_printer.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace sale_bench {

constexpr double kBaud = 115200;

// Frame marks, command code, checksum and the status reply, then each
// argument with its separator; ten bits a byte on the wire.
inline double WireSeconds(const std::vector<test_support::JournalEntry>& journal) {
  double bytes = 0;
  for (const auto& call : journal) {
    bytes += 8;
    for (const auto& arg : call.given) bytes += static_cast<double>(arg.size()) + 1;
  }
  return bytes * 10 / kBaud;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The emulated printer makes every command durable on disk; on a memory
// file system that costs little, so both sides of the comparison are the
// program's own work.
inline bool PreferMemoryTemp() {
#if !defined(_WIN32)
  if (!std::getenv("TMPDIR") && ::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
#endif
  return true;
}

// The driver and the emulated printer in a temp machine, with a scripted host
// and the clock fixed at 09/03/2009 14:05.
class Machine {
 public:
  Machine() {
    hostrt::InstallHostServices(host);
    hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2009, 3, 9).value + hostrt::EncodeTime(14, 5, 0).value});
    printer = std::make_unique<test_support::EmulatedPrinter>();
    printer->reload();
    printer->reset();
    printer->set_clock("09032009140500");
    driver = std::make_unique<test_support::LoadedLibrary>("Kvr00102.so");
  }
  ~Machine() {
    driver->function<decltype(StopImpFiscal)>("StopImpFiscal")();
    hostrt::UseSystemClock();
    hostrt::InstallHostServices(nullptr);
  }
  // Starts the driver and programs the card payment form the sales pay with;
  // false, with the benchmark skipped, when the driver does not start.
  bool Start(benchmark::State& state) {
    if (!driver->function<decltype(StartImpFiscal)>("StartImpFiscal")(
            hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"PORTAIMPFIS", "COM1"}}))) {
      state.SkipWithError("the driver did not start");
      return false;
    }
    printer->entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Cartao Credito", "1");
    return true;
  }

 private:
  bool memory_temp_ = PreferMemoryTemp();

 public:
  test_support::TempEnvironment env;
  std::shared_ptr<hostrt::ScriptedHost> host = std::make_shared<hostrt::ScriptedHost>();
  std::unique_ptr<test_support::EmulatedPrinter> printer;
  std::unique_ptr<test_support::LoadedLibrary> driver;
};

// The host's side of a sale printed with ImpressaoVenda: the datasets, with
// the printer's tax rates and the till's receipt types loaded, and the
// sale's parameters. Fill cdsVendas and cdsMovi before each Print().
struct PrintedSale {
  explicit PrintedSale(test_support::LoadedLibrary& driver)
      : print(driver.function<decltype(ImpressaoVenda)>("ImpressaoVenda")) {
    driver.function<decltype(CarregaAliquota)>("CarregaAliquota")("001", cdsAliqImpFis);
    coupon_test::FillSaleReceiptTypes(cdsRecebimento);
  }
  // True when the driver printed the sale.
  bool Print() {
    const std::string result = print(params, cdsVendas, cdsMovi, cdsRecebimento, cdsAliqImpFis, unused, unused, unused);
    return result != "Erro" && !result.empty();
  }
  hostrt::ClientDataSet cdsVendas, cdsMovi, cdsRecebimento, cdsAliqImpFis, unused;
  hostrt::Variant params = hostrt::MakeParams(
      {{"ESQUEMACOR", "001"}, {"CDFILIAL", "001"}, {"CDCAIXA", "001"}, {"SENHACUPOM", "B5"}, {"DSOBSCUPFIS", "OBS"}});
  decltype(ImpressaoVenda)* print;
};

// Sends the journal's calls again, straight to the printer, each argument in
// a buffer of its own (some calls write their answer into it).
inline int Replay(test_support::EmulatedPrinter& printer, const std::vector<test_support::JournalEntry>& journal) {
  using Text = char*;
  int result_sum = 0;
  std::vector<std::string> buffers;
  for (const auto& call : journal) {
    const char* name = call.name.c_str();
    if (call.name == "Bematech_FI_RetornoImpresora" || call.name == "Bematech_FI_VerificaEstadoImpresora") {
      int ack, st1, st2;
      result_sum += printer.entry<int(int*, int*, int*)>(name)(&ack, &st1, &st2);
      continue;
    }
    buffers = call.given;
    std::vector<Text> a;
    for (auto& buffer : buffers) a.push_back(buffer.data());
    switch (a.size()) {
      case 0: result_sum += printer.entry<int()>(name)(); break;
      case 1: result_sum += printer.entry<int(Text)>(name)(a[0]); break;
      case 2: result_sum += printer.entry<int(Text, Text)>(name)(a[0], a[1]); break;
      case 3: result_sum += printer.entry<int(Text, Text, Text)>(name)(a[0], a[1], a[2]); break;
      default:
        result_sum += printer.entry<int(Text, Text, Text, Text, Text, Text, Text, Text, Text)>(name)(
            a.at(0), a.at(1), a.at(2), a.at(3), a.at(4), a.at(5), a.at(6), a.at(7), a.at(8));
    }
  }
  return result_sum;
}

// The reads made before or after a command only to tell, should its answer
// be lost, whether the printer executed it.
inline bool IsVerificationRead(const std::string& name) {
  return name == "Bematech_FI_GrandeTotal" || name == "Bematech_FI_VerificaFormasPago" ||
         name == "Bematech_FI_RetornoAlicuotas";
}

// The verification reads of a journal and their share of its wire time.
struct Verification {
  std::size_t reads = 0;
  double wire_ms = 0, share = 0;
};
inline Verification VerificationOf(const std::vector<test_support::JournalEntry>& journal) {
  std::vector<test_support::JournalEntry> reads;
  for (const auto& call : journal)
    if (IsVerificationRead(call.name)) reads.push_back(call);
  const double all = WireSeconds(journal);
  return {reads.size(), WireSeconds(reads) * 1000, all > 0 ? WireSeconds(reads) / all : 0};
}

// Runs the sale through the driver and the replay of its calls in every
// iteration, in alternating order, and keeps the medians: the machine's noise
// is of the size of the driver's time. prepare() runs untimed before each
// sale. Two untimed sales come first: the first after the start, which reads
// what the driver keeps from sale to sale, and the second, a sale of a till
// at work, whose journal is the one replayed and reported.
template <typename Prepare, typename Sale>
void CompareWithPrinterAlone(benchmark::State& state, Machine& machine, Prepare&& prepare, Sale&& driver_sale) {
  using Clock = std::chrono::steady_clock;
  test_support::EmulatedPrinter& printer = *machine.printer;
  auto untimed_sale = [&] {
    prepare();
    printer.clear_journal();
    return driver_sale();
  };
  if (!untimed_sale()) {
    state.SkipWithError("the first sale failed");
    return;
  }
  const Verification first = VerificationOf(printer.journal());
  if (!untimed_sale()) {
    state.SkipWithError("the sale failed");
    return;
  }
  const auto journal = printer.journal();
  auto replay = [&] { return Replay(printer, journal); };
  auto timed = [](auto&& work) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(work());
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  };
  std::vector<double> with_driver, printer_alone, own;
  bool driver_first = true;
  for (auto _ : state) {
    state.PauseTiming();
    prepare();
    state.ResumeTiming();
    double a = 0, b = 0;
    if (driver_first) {
      a = timed(driver_sale);
      b = timed(replay);
    } else {
      b = timed(replay);
      a = timed(driver_sale);
    }
    driver_first = !driver_first;
    with_driver.push_back(a);
    printer_alone.push_back(b);
    own.push_back(a - b);
  }
  const double wire_ms = WireSeconds(journal) * 1000;
  const double wire_9600_ms = wire_ms * kBaud / 9600;
  const double own_ms = Median(own);
  state.counters["printer_calls"] = static_cast<double>(journal.size());
  state.counters["with_driver_ms"] = Median(with_driver);
  state.counters["printer_alone_ms"] = Median(printer_alone);
  state.counters["driver_own_ms"] = own_ms;
  state.counters["wire_115200_ms"] = wire_ms;
  state.counters["wire_over_driver"] = own_ms > 0 ? wire_ms / own_ms : 0;
  state.counters["wire_9600_ms"] = wire_9600_ms;
  state.counters["wire_9600_over_driver"] = own_ms > 0 ? wire_9600_ms / own_ms : 0;
  // The share is the same at any speed: reads and commands cross one link.
  const Verification reads = VerificationOf(journal);
  state.counters["verification_reads"] = static_cast<double>(reads.reads);
  state.counters["verification_wire_ms"] = reads.wire_ms;
  state.counters["verification_9600_ms"] = reads.wire_ms * kBaud / 9600;
  state.counters["verification_share"] = reads.share;
  state.counters["first_sale_verification_reads"] = static_cast<double>(first.reads);
  state.counters["first_sale_verification_share"] = first.share;
}

}  // namespace sale_bench
