// The driver on the emulated printer, with the signing and MFD stand-ins
// beside it, and the checks that every signed file must pass.
#pragma once
#include <string>
#include <vector>

#include "driver_fixture.h"
#include "kvr_public_key.h"
#include "test_support/loaded_library.h"

namespace paf_test {

class PafTest : public driver_test::DriverTest {
 protected:
  PafTest();

  // The folder that stands for "C:\MenuFiscal", made by the test when asked.
  std::string MenuDir() const { return env.drive_c() + "/MenuFiscal"; }
  void MakeMenuDir() const;
  // The names in the fiscal menu folder, sorted.
  std::vector<std::string> MenuFiles() const;

  // The file's EAD by the signing library's validateFile and by the check of
  // ead_check.h, both with the build's public key.
  int ValidateFile(const std::string& path) const;
  // Both checks hold, and both fail once one byte before the record changes.
  void ExpectSignedTwice(const std::string& path) const;

  test_support::LoadedLibrary signer{"sign_bema.so"};
};

// A host's argument array.
using Args = std::vector<hostrt::Variant>;
inline int High(const Args& args) { return static_cast<int>(args.size()) - 1; }

}  // namespace paf_test
