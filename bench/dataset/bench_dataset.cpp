// Locate and filtering on 100,000 rows. Prints, from one run, how much faster
// an indexed Locate is than one that has to scan, and the filter throughput.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "hostrt/dataset.h"

namespace {

using hostrt::ClientDataSet;
using hostrt::FieldType;
using hostrt::Variant;

constexpr int kRows = 100000;

std::string Code(int i) { return "C" + std::to_string(i); }

// Rows with a unique code, a kind and an amount; with_index adds idxCODE,
// ordered by code.
void Fill(ClientDataSet& ds, bool with_index) {
  ds.AddFieldDef("CDTIPORECE", FieldType::String, 10);
  ds.AddFieldDef("IDTIPORECE", FieldType::String, 1);
  ds.AddFieldDef("IDTIPOMOVIVE", FieldType::String, 1);
  ds.AddFieldDef("VRMOVIVEND", FieldType::Float);
  if (with_index) ds.AddIndex("idxCODE", "CDTIPORECE;IDTIPOMOVIVE");
  ds.CreateDataSet();
  for (int i = 0; i < kRows; ++i) {
    ds.Append();
    ds.FieldByName("CDTIPORECE").SetAsString(Code(i));
    ds.FieldByName("IDTIPORECE").SetAsString(std::to_string(i % 10));
    ds.FieldByName("IDTIPOMOVIVE").SetAsString(i % 3 ? "E" : "T");
    ds.FieldByName("VRMOVIVEND").SetAsFloat(i * 0.5);
    ds.Post();
  }
}

ClientDataSet& Table(bool with_index) {
  static ClientDataSet* tables[2] = {};
  ClientDataSet*& ds = tables[with_index ? 1 : 0];
  if (!ds) {
    ds = new ClientDataSet("bench");
    Fill(*ds, with_index);
  }
  return *ds;
}

// Indexed: the index is current. Scanning: the table has no index at all.
void LocateWith(benchmark::State& state, bool indexed) {
  ClientDataSet& ds = Table(indexed);
  ds.SetIndexName(indexed ? "idxCODE" : "");
  int i = 0;
  for (auto _ : state) {
    // Keys spread over the whole table, so a scan walks half of it on average.
    const int k = (i++ * 7919) % kRows;
    benchmark::DoNotOptimize(ds.Locate("CDTIPORECE;IDTIPOMOVIVE", Variant::ArrayOf({Code(k), k % 3 ? "E" : "T"})));
  }
}

void BM_LocateIndexed(benchmark::State& state) { LocateWith(state, true); }
void BM_LocateScanning(benchmark::State& state) { LocateWith(state, false); }

void BM_Filter(benchmark::State& state) {
  ClientDataSet& ds = Table(false);
  ds.SetFiltered(true);
  for (auto _ : state) {
    ds.SetFilter("IDTIPORECE = 5 OR IDTIPORECE = 7");  // parsed once, applied to every row
    benchmark::DoNotOptimize(ds.RecordCount());
  }
  ds.SetFiltered(false);
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_LocateIndexed);
BENCHMARK(BM_LocateScanning)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Filter)->Unit(benchmark::kMillisecond);

// Collects the mean time of each benchmark of this run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const double ns = r.GetAdjustedRealTime() *
                        (r.time_unit == benchmark::kMillisecond ? 1e6 : r.time_unit == benchmark::kMicrosecond ? 1e3 : 1);
      const std::string name = r.benchmark_name();
      if (name == "BM_LocateIndexed") indexed = ns;
      if (name == "BM_LocateScanning") scanning = ns;
      if (name == "BM_Filter") filter = ns;
    }
  }
  double indexed = 0, scanning = 0, filter = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.indexed > 0 && reporter.scanning > 0)
    std::printf("Locate on %d rows: scanning / indexed = %.0fx\n", kRows, reporter.scanning / reporter.indexed);
  if (reporter.filter > 0)
    std::printf("Filter on %d rows: %.1f ns per row, %.0f filter passes per second\n", kRows,
                reporter.filter / kRows, 1e9 / reporter.filter);
  benchmark::Shutdown();
  return 0;
}
