#include "sweep_fixture.h"

#include "hostrt/format.h"
#include "test_support/sweep_expect.h"

namespace sweep_test {

void DocumentSweepTest::SetUp() {
  host = sweep_host;
  hostrt::InstallHostServices(host);
}

void DocumentSweepTest::FreshStart() {
  printer.reset();
  printer.set_standard_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", driver_test::TestNow()));
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
  test_support::ExpectSweep(sweep, c, [this] { return LogEntries(); });
}

void DocumentSweepTest::ProgramPaymentForm(const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(name.c_str(), "1"));
}

void DocumentSweepTest::ProgramTotalizer(int index, const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(index, name.c_str()));
}

}  // namespace sweep_test
