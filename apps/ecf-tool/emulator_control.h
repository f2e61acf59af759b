#pragma once
// The emulated printer library, loaded from beside this program, and its
// Emu_ control functions.
#include <string>

#include "vendor_api/vendor_api.h"

namespace ecf_tool {

class EmulatorControl {
 public:
  EmulatorControl();  // throws std::runtime_error when the library cannot be loaded
  ~EmulatorControl();
  EmulatorControl(const EmulatorControl&) = delete;
  EmulatorControl& operator=(const EmulatorControl&) = delete;

  // The exported function by name, typed; throws when it is missing.
  template <class Fn>
  vendor_api::pointer<Fn> function(const char* name) const {
    return reinterpret_cast<vendor_api::pointer<Fn>>(find(name));
  }
  // A text the library copies into a caller's buffer (Emu_TapePath, Emu_StateSummary).
  std::string text(const char* function_name) const;
  // The journal's export from the call `from` on (Emu_JournalExport).
  std::string journal_export(int from) const;

 private:
  void* find(const char* name) const;
  void* library_ = nullptr;
};

}  // namespace ecf_tool
