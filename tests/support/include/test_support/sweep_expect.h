#pragma once
// Runs a case's whole sweep inside a test: its first table line and count of
// runs are printed, the whole table when a rule broke (or FAULT_SWEEP_TABLE
// is set), each broken rule is a test failure, and a run selected alone with
// FAULT_SWEEP_ONLY shows its debug log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "test_support/fault_sweep.h"

namespace test_support {

inline void ExpectSweep(FaultSweep& sweep, const SweepCase& c,
                        const std::function<std::vector<std::string>()>& log_entries) {
  const SweepReport report = sweep.Sweep(c);
  std::cout << report.table.substr(0, report.table.find('\n') + 1) << "  " << report.runs << " runs, "
            << report.failures.size() << " broken rules\n";
  if (std::getenv("FAULT_SWEEP_TABLE") || !report.failures.empty()) std::cout << report.table;
  for (const auto& failure : report.failures) ADD_FAILURE() << failure;
  if (const char* only = std::getenv("FAULT_SWEEP_ONLY"); only && *only)
    for (const auto& line : log_entries()) std::cout << "  | " << line << "\n";
}

}  // namespace test_support
