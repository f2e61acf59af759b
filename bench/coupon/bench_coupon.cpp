// A sale of 100 items with its closing, through the driver and straight to
// the emulated printer (at zero wire time), measured side by side in one run.
// The difference is the driver's own time; it is set against the time the
// same calls take on the wire at 115200 baud, computed from their bytes as
// the printer's serial link carries them.
#include <benchmark/benchmark.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dataset_rows.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "test_support/emulated_printer.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kItems = 100;
constexpr double kBaud = 115200;

// Frame marks, command code, checksum and the status reply, then each
// argument with its separator; ten bits a byte on the wire.
double WireSeconds(const std::vector<test_support::JournalEntry>& journal) {
  double bytes = 0;
  for (const auto& call : journal) {
    bytes += 8;
    for (const auto& arg : call.given) bytes += static_cast<double>(arg.size()) + 1;
  }
  return bytes * 10 / kBaud;
}

// The reads made before a command only to tell, should its answer be lost,
// whether the printer executed it.
bool VerificationRead(const std::string& name) {
  return name == "Bematech_FI_GrandeTotal" || name == "Bematech_FI_VerificaFormasPago";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

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
  double total = 0;
  for (int i = 1; i <= kItems; ++i) {
    const double price = 1 + i % 17 * 0.25;
    total += price;
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
    if (i % 10 == 0) total -= 0.5;
  }
  sale.closing = ClosingSlots(total);
  return sale;
}

void BM_HundredItemSale(benchmark::State& state) {
  // The emulated printer makes every command durable on disk; on a memory
  // file system that costs little, so both sides of the comparison are the
  // program's own work.
#if !defined(_WIN32)
  if (!std::getenv("TMPDIR") && ::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
#endif
  test_support::TempEnvironment env;
  auto host = std::make_shared<hostrt::ScriptedHost>();
  hostrt::InstallHostServices(host);
  hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2009, 3, 9).value + hostrt::EncodeTime(14, 5, 0).value});
  test_support::EmulatedPrinter printer;
  printer.reload();
  printer.reset();
  printer.set_clock("09032009140500");
  test_support::LoadedLibrary driver("Kvr00102.so");
  if (!driver.function<decltype(StartImpFiscal)>("StartImpFiscal")(
          hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"PORTAIMPFIS", "COM1"}}))) {
    state.SkipWithError("the driver did not start");
    return;
  }
  printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Cartao Credito", "1");
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
  // One sale through the driver gives the calls to replay and their bytes.
  printer.clear_journal();
  if (!driver_sale()) {
    state.SkipWithError("the sale failed");
    return;
  }
  const auto journal = printer.journal();
  using Text = const char*;
  auto replay = [&] {
    int result_sum = 0;
    for (const auto& call : journal) {
      const auto& a = call.given;
      const char* name = call.name.c_str();
      if (call.name == "Bematech_FI_RetornoImpresora") {
        int ack, st1, st2;
        result_sum += printer.entry<int(int*, int*, int*)>(name)(&ack, &st1, &st2);
      } else if (a.size() == 9) {
        result_sum += printer.entry<int(Text, Text, Text, Text, Text, Text, Text, Text, Text)>(name)(
            a[0].c_str(), a[1].c_str(), a[2].c_str(), a[3].c_str(), a[4].c_str(), a[5].c_str(), a[6].c_str(),
            a[7].c_str(), a[8].c_str());
      } else if (a.size() == 3) {
        result_sum += printer.entry<int(Text, Text, Text)>(name)(a[0].c_str(), a[1].c_str(), a[2].c_str());
      } else if (a.size() == 2) {
        result_sum += printer.entry<int(Text, Text)>(name)(a[0].c_str(), a[1].c_str());
      } else {
        // A buffer the printer may write into, as the driver hands it.
        std::string buffer = a.at(0);
        result_sum += printer.entry<int(char*)>(name)(buffer.data());
      }
    }
    return result_sum;
  };

  // Both sides run in every iteration, in alternating order, and the
  // medians are kept: the machine's noise is of the size of the driver's time.
  std::vector<double> with_driver, printer_alone, own;
  bool driver_first = true;
  for (auto _ : state) {
    auto timed = [](auto&& work) {
      const auto t0 = Clock::now();
      benchmark::DoNotOptimize(work());
      return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    };
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
  std::vector<test_support::JournalEntry> verification;
  std::copy_if(journal.begin(), journal.end(), std::back_inserter(verification),
               [](const auto& call) { return VerificationRead(call.name); });
  const double verification_ms = WireSeconds(verification) * 1000;
  const double own_ms = Median(own);
  state.counters["printer_calls"] = static_cast<double>(journal.size());
  state.counters["with_driver_ms"] = Median(with_driver);
  state.counters["printer_alone_ms"] = Median(printer_alone);
  state.counters["driver_own_ms"] = own_ms;
  state.counters["wire_115200_ms"] = wire_ms;
  state.counters["wire_over_driver"] = own_ms > 0 ? wire_ms / own_ms : 0;
  state.counters["verification_reads"] = static_cast<double>(verification.size());
  state.counters["verification_wire_ms"] = verification_ms;
  state.counters["verification_share"] = wire_ms > 0 ? verification_ms / wire_ms : 0;
  driver.function<decltype(StopImpFiscal)>("StopImpFiscal")();
  hostrt::UseSystemClock();
  hostrt::InstallHostServices(nullptr);
}
BENCHMARK(BM_HundredItemSale)->Unit(benchmark::kMillisecond)->Iterations(41);

}  // namespace

BENCHMARK_MAIN();
