// The signing and MFD tool libraries: loaded by name when an operation needs
// them, never released, each with its own handle (the fiscal library's handle
// is not touched). And what the MFD mirror and the type E file share: the
// printer's MFD download and the work files it lives in.
#pragma once
#include <string>
#include <vector>

#include "core/printer_call.h"
#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"

namespace kvr {

// Binds `slot` to `symbol` of `library`; false (slot empty) when it is missing.
template <typename Signature>
bool BindTool(void* library, Slot<Signature>& slot, const char* symbol) {
  slot.Bind(platform::resolve_symbol(library, symbol));
  return slot.Bound();
}

// The signing library's handle, loaded on first use; null when it cannot be.
void* SigningLibrary();
// The MFD tool library's handle, loaded on first use; null when it cannot be.
void* MfdToolLibrary();

// The MFD tool library's answer for a file written whole.
inline constexpr int kToolWritten = 1;

// The time stamps of the regulatory files' names, from the host's clock.
std::string FileStamp(const char* pattern);

// The work files of one run. Each is removed when it is named, whoever left it
// there (a run that was killed, say: its download must never pass for this
// run's), and again when the run ends, however it ends.
class WorkFiles {
 public:
  WorkFiles() = default;
  WorkFiles(const WorkFiles&) = delete;
  WorkFiles& operator=(const WorkFiles&) = delete;
  ~WorkFiles();
  // The native name of a work file (a Windows path, or a name in the current
  // directory), removed now; throws std::runtime_error when it stays.
  std::string Add(const std::string& windows_name);

 private:
  std::vector<std::string> names_;
};

// Has the printer download its MFD of a range (kind "1" dates, "2" coupon
// numbers) into a file named by its Windows path; logged as
// "Bematech_FI_DownloadMFD  :  - " + file + " - " + kind + " - " + start +
// " - " + end and the result code, and analysed with `flags`.
CallResult DownloadMfd(const std::string& stEsquemaCor, Analysis flags, const std::string& windows_file,
                       const std::string& kind, const std::string& start, const std::string& end);

}  // namespace kvr
