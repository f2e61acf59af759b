// A started driver on the emulated printer whose host keeps its document
// records in a SQLite file, read back with SQL.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace documents_test {

using driver_test::DriverTest;
using platform::L1;

// The driver the current test loaded (for the operations that the builder,
// compiled into the test program, calls).
test_support::LoadedLibrary*& CurrentDriver();

class DocumentsTest : public DriverTest {
 protected:
  DocumentsTest();
  ~DocumentsTest() override;
  void SetUp() override { ASSERT_TRUE(Start()); }

  std::string DatabasePath() const { return env.root() + "/records.db"; }
  // Each row of the query as column name -> text.
  std::vector<std::map<std::string, std::string>> Rows(const std::string& sql) const;
  // Journal arguments of each call of one entry point.
  std::vector<std::vector<std::string>> ArgumentsOf(const std::string& entry_point) const;
  // The texts handed to the open document, one per call.
  std::vector<std::string> PrintedBlocks() const;
  // The same joined, as the document reads.
  std::string PrintedText() const;
};

}  // namespace documents_test
