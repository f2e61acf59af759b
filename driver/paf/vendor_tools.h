// The signing and MFD tool libraries: loaded by name when an operation needs
// them, never released, each with its own handle (the fiscal library's handle
// is not touched).
#pragma once
#include <string>

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

// The time stamps of the regulatory files' names, from the host's clock.
std::string FileStamp(const char* pattern);

}  // namespace kvr
