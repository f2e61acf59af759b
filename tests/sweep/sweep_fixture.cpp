#include "sweep_fixture.h"

#include <cstdlib>
#include <iostream>

#include "hostrt/format.h"

namespace sweep_test {

void DocumentSweepTest::SetUp() {
  host = sweep_host;
  hostrt::InstallHostServices(host);
}

void DocumentSweepTest::FreshStart() {
  printer.reset();
  printer.set_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", driver_test::TestNow()));
  ASSERT_TRUE(Start());
  Tables();
  printer.clear_journal();
}

SweepCase DocumentSweepTest::Case(const std::string& name, std::function<void()> prepare, std::function<bool()> run) {
  SweepCase c;
  c.name = name;
  c.prepare = prepare ? std::move(prepare) : [] {};
  c.run = [run = std::move(run)] {
    const bool ok = run();
    return Verdict{ok, ok ? "True" : "False"};
  };
  return c;
}

SweepCase DocumentSweepTest::SilentCase(const std::string& name, std::function<void()> prepare,
                                        std::function<void()> run) {
  SweepCase c = Case(name, std::move(prepare), [run = std::move(run)] {
    run();
    return true;
  });
  c.verdict_is_the_dialogs = true;
  return c;
}

void DocumentSweepTest::Expect(const SweepCase& c) {
  test_support::FaultSweep sweep(printer, sweep_host, [this] { FreshStart(); });
  const test_support::SweepReport report = sweep.Sweep(c);
  std::cout << report.table.substr(0, report.table.find('\n') + 1) << "  " << report.runs << " runs, "
            << report.failures.size() << " broken rules\n";
  // The whole table when asked, and whenever a rule broke.
  if (std::getenv("FAULT_SWEEP_TABLE") || !report.failures.empty()) std::cout << report.table;
  for (const auto& failure : report.failures) ADD_FAILURE() << failure;
  // A run selected alone shows its debug log.
  if (const char* only = std::getenv("FAULT_SWEEP_ONLY"); only && *only)
    for (const auto& line : LogEntries()) std::cout << "  | " << line << "\n";
}

void DocumentSweepTest::ProgramPaymentForm(const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(name.c_str(), "1"));
}

void DocumentSweepTest::ProgramTotalizer(int index, const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(index, name.c_str()));
}

}  // namespace sweep_test
