// A sale of 100 items with its closing, through the driver and straight to
// the emulated printer (at zero wire time), measured side by side in one run.
// The difference is the driver's own time; it is set against the time the
// same calls take on the wire at 115200 baud, computed from their bytes as
// the printer's serial link carries them.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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

hostrt::Variant Packet(const std::vector<std::pair<const char*, hostrt::FieldType>>& fields,
                       const std::vector<std::vector<hostrt::Variant>>& rows) {
  hostrt::ClientDataSet ds;
  for (const auto& [name, type] : fields) ds.AddFieldDef(name, type, type == hostrt::FieldType::String ? 40 : 0);
  ds.CreateDataSet();
  for (const auto& row : rows) {
    ds.Append();
    for (std::size_t i = 0; i < row.size(); ++i) ds.Fields(static_cast<int>(i)).SetValue(row[i]);
    ds.Post();
  }
  return ds.Data();
}

// The closing's slots: no discount, two payments, a plain footer.
std::vector<hostrt::Variant> ClosingSlots(double total) {
  using hostrt::FieldType;
  const hostrt::DateTime now = hostrt::Now();
  std::vector<hostrt::Variant> slots(43, hostrt::Variant(""));
  for (int i : {4, 5, 11}) slots[static_cast<std::size_t>(i)] = false;
  for (int i : {3, 6, 7, 8, 37, 38}) slots[static_cast<std::size_t>(i)] = 0.0;
  slots[2] = "001";
  slots[13] = Packet({{"IDTIPOMOVIVE", FieldType::String}, {"DTHRINCMOV", FieldType::DateTime},
                      {"CDTIPORECE", FieldType::String}, {"VRMOVIVEND", FieldType::Float},
                      {"NRORDTROCO", FieldType::Integer}, {"CDBANCARTCR", FieldType::String},
                      {"CDTIPORECEORIG", FieldType::String}},
                     {{"E", now, "001", 50.0, 0, "", ""}, {"E", now, "002", total - 50.0, 0, "", ""}});
  slots[14] = Packet({{"CDTIPORECE", FieldType::String}, {"NMTIPORECE", FieldType::String},
                      {"IDTIPORECE", FieldType::String}},
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
  if (!std::getenv("TMPDIR") && ::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
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
  Clock::duration through_driver{}, printer_alone{};
  double wire_seconds = 0;
  for (auto _ : state) {
    // The driver's sale.
    printer.clear_journal();
    hostrt::Variant params = hostrt::MakeParams({{"ESQUEMACOR", "001"}});
    const auto t0 = Clock::now();
    bool ok = open(params);
    for (auto& item : sale.items) ok = sell(item) && ok;
    ok = close(sale.closing.data(), 42, nullptr, result) && ok;
    const auto t1 = Clock::now();
    if (!ok) {
      state.SkipWithError("the sale failed");
      break;
    }
    const auto journal = printer.journal();
    wire_seconds = WireSeconds(journal);

    // The same calls, with the same texts, straight to the printer.
    using Text = const char*;
    auto vendor = [&](const test_support::JournalEntry& call) {
      const auto& a = call.given;
      const std::string& name = call.name;
      if (name == "Bematech_FI_RetornoImpresora") {
        int ack, st1, st2;
        return printer.entry<int(int*, int*, int*)>(name.c_str())(&ack, &st1, &st2);
      }
      if (a.size() == 9)
        return printer.entry<int(Text, Text, Text, Text, Text, Text, Text, Text, Text)>(name.c_str())(
            a[0].c_str(), a[1].c_str(), a[2].c_str(), a[3].c_str(), a[4].c_str(), a[5].c_str(), a[6].c_str(),
            a[7].c_str(), a[8].c_str());
      if (a.size() == 3)
        return printer.entry<int(Text, Text, Text)>(name.c_str())(a[0].c_str(), a[1].c_str(), a[2].c_str());
      if (a.size() == 2) return printer.entry<int(Text, Text)>(name.c_str())(a[0].c_str(), a[1].c_str());
      return printer.entry<int(Text)>(name.c_str())(a.at(0).c_str());
    };
    const auto t2 = Clock::now();
    for (const auto& call : journal) benchmark::DoNotOptimize(vendor(call));
    const auto t3 = Clock::now();
    through_driver += t1 - t0;
    printer_alone += t3 - t2;
    state.counters["printer_calls"] = static_cast<double>(journal.size());
  }
  const double n = static_cast<double>(state.iterations());
  const double driver_ms = std::chrono::duration<double, std::milli>(through_driver).count() / n;
  const double printer_ms = std::chrono::duration<double, std::milli>(printer_alone).count() / n;
  const double own_ms = driver_ms - printer_ms;
  state.counters["with_driver_ms"] = driver_ms;
  state.counters["printer_alone_ms"] = printer_ms;
  state.counters["driver_own_ms"] = own_ms;
  state.counters["wire_115200_ms"] = wire_seconds * 1000;
  state.counters["wire_over_driver"] = own_ms > 0 ? wire_seconds * 1000 / own_ms : 0;
  driver.function<decltype(StopImpFiscal)>("StopImpFiscal")();
  hostrt::UseSystemClock();
  hostrt::InstallHostServices(nullptr);
}
BENCHMARK(BM_HundredItemSale)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
