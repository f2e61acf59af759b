// The Z export of the X reading that the emulated printer writes for a day,
// and of the same reading with its payment and totalizer lines repeated until
// the file is 100 times longer. Both run side by side in one run, through the
// real loader; the time must grow no faster than the file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// The reading with the lines of its payment and totalizer sections repeated
// until the text is `factor` times as long.
std::string Longer(const std::string& reading, std::size_t factor) {
  const std::vector<std::string> lines = Lines(reading);
  std::vector<bool> repeated(lines.size(), false);
  std::size_t block = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool payments = lines[i] == "---FORMAS DE PAGO    ---";
    if (!payments && lines[i] != "-----------TOTALIZADORES NO FISCALES------------") continue;
    for (std::size_t j = i + 2; j < lines.size() && !lines[j].empty() && lines[j].compare(0, 5, "Total") != 0; ++j) {
      repeated[j] = true;
      block += lines[j].size() + 2;
    }
  }
  const std::size_t times = block ? (reading.size() * (factor - 1)) / block + 1 : 1;
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t n = repeated[i] ? times : 1; n > 0; --n) text += lines[i] + "\r\n";
  return text;
}

struct Day {
  test_support::TempEnvironment env;
  std::shared_ptr<hostrt::ScriptedHost> host = std::make_shared<hostrt::ScriptedHost>();
  std::unique_ptr<test_support::EmulatedPrinter> printer;
  std::unique_ptr<test_support::LoadedLibrary> driver;
  hostrt::ClientDataSet types, reduction, forms, taxes, totalizers;
  std::string reading;

  bool Open() {
    hostrt::InstallHostServices(host);
    hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2026, 12, 7).value + 0.75});
    printer = std::make_unique<test_support::EmulatedPrinter>();
    printer->reload();
    printer->reset();
    printer->set_clock("07122026180000");
    driver = std::make_unique<test_support::LoadedLibrary>("Kvr00102.so");
    if (!driver->function<decltype(StartImpFiscal)>("StartImpFiscal")(
            hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"PORTAIMPFIS", "COM1"}})))
      return false;
    // Five payment forms and six totalizers in use, as a busy till has them.
    const char* form_names[] = {"Cartao Debito", "Cartao Credito", "Vale Refeicao", "Cheque"};
    for (const char* name : form_names)
      printer->entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(name, "1");
    const char* totalizer_names[] = {"SUPRIMENTO", "CONTRA-VALE", "VENDA CONSUMIDOR", "TAXA ENTREGA", "GORJETA",
                                     "RECARGA"};
    int position = 1;
    for (const char* name : totalizer_names)
      printer->entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(position++, name);
    auto receipt = printer->entry<int(const char*, const char*, const char*)>("Bematech_FI_RecibimientoNoFiscal");
    for (int i = 1; i <= 6; ++i) receipt(("0" + std::to_string(i)).c_str(), "12,50", "Dinheiro");
    types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
    types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
    types.CreateDataSet();
    const char* host_names[] = {"Dinheiro", "Cartao Debito", "Cartao Credito", "Vale Refeicao", "Cheque"};
    int code = 1;
    for (const char* name : host_names) {
      types.Append();
      types.FieldByName("CDTIPORECE").SetAsString("00" + std::to_string(code++));
      types.FieldByName("NMTIPORECE").SetAsString(name);
      types.Post();
    }
    printer->entry<int()>("Bematech_FI_LecturaXSerial")();
    reading = test_support::read_file_or_empty(env.printer_dir() + "/Retorno.txt");
    // From now on the reading to serial leaves the return file as the bench writes it.
    printer->script("Bematech_FI_LecturaXSerial", 1, 6, 0, 0, 1000000);
    return !reading.empty();
  }

  Clock::duration Export(const std::string& file_text) {
    test_support::write_whole_file(env.printer_dir() + "/Retorno.txt", file_text);
    const auto export_z = driver->function<decltype(ExportRedZ)>("ExportRedZ");
    const auto t0 = Clock::now();
    export_z("", "001", "0001", 1, types, reduction, forms, taxes, totalizers);
    return Clock::now() - t0;
  }

  ~Day() {
    printer->clear_journal();
    hostrt::UseSystemClock();
    hostrt::InstallHostServices(nullptr);
  }
};

void BM_ZExportGrowth(benchmark::State& state) {
  Day day;
  if (!day.Open()) {
    state.SkipWithError("the day could not be set up");
    return;
  }
  const std::string longer = Longer(day.reading, 100);
  Clock::duration small{}, large{};
  for (auto _ : state) {
    small += day.Export(day.reading);
    large += day.Export(longer);
    day.printer->clear_journal();
  }
  const double n = static_cast<double>(state.iterations());
  const double small_ms = std::chrono::duration<double, std::milli>(small).count() / n;
  const double large_ms = std::chrono::duration<double, std::milli>(large).count() / n;
  const double size_ratio = static_cast<double>(longer.size()) / static_cast<double>(day.reading.size());
  state.counters["lines"] = static_cast<double>(Lines(day.reading).size());
  state.counters["records_long"] = day.totalizers.RecordCount();
  state.counters["realistic_ms"] = small_ms;
  state.counters["long_ms"] = large_ms;
  state.counters["size_ratio"] = size_ratio;
  state.counters["time_ratio"] = large_ms / small_ms;
  state.counters["time_per_size"] = large_ms / small_ms / size_ratio;
}
BENCHMARK(BM_ZExportGrowth)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
