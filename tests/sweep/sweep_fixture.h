// The document operations under one printer fault at a time: a started
// driver on a fresh emulated printer for every run, a host that answers by
// the sweep's policy, and the check of a case's whole sweep table (see
// test_support/fault_sweep.h for the rules).
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "driver_fixture.h"
#include "test_support/fault_sweep.h"

namespace sweep_test {

using test_support::Observation;
using test_support::SweepCase;
using test_support::Verdict;

class DocumentSweepTest : public driver_test::DriverTest {
 protected:
  void SetUp() override;

  // The printer's tables the operations need, set after each start
  // (payment forms, non-fiscal totalizers); nothing by default.
  virtual void Tables() {}

  // A case whose run gives the operation's Boolean.
  static SweepCase Case(const std::string& name, std::function<void()> prepare, std::function<bool()> run);
  // A case of an operation that returns nothing: its verdict is the dialogs.
  static SweepCase SilentCase(const std::string& name, std::function<void()> prepare, std::function<void()> run);

  // Sweeps the case; every broken rule is a test failure, with the table.
  void Expect(const SweepCase& c);

  // Programs a payment form / a non-fiscal totalizer on the fresh printer.
  void ProgramPaymentForm(const std::string& name);
  void ProgramTotalizer(int index, const std::string& name);

  std::shared_ptr<test_support::SweepHost> sweep_host = std::make_shared<test_support::SweepHost>(printer);

 private:
  void FreshStart();
};

}  // namespace sweep_test
