#include "paf/vendor_tools.h"

#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "platform/dynlib.h"

extern "C" {
KVR_EXPORT void* SignBemaDLLHandle = nullptr;
KVR_EXPORT void* BemaMFD2DLLHandle = nullptr;
}

namespace kvr {

namespace {
void* LoadOnce(void*& handle, const char* name) {
  if (!handle) handle = platform::load_library(name);
  return handle;
}
}  // namespace

void* SigningLibrary() { return LoadOnce(SignBemaDLLHandle, "sign_bema.dll"); }
void* MfdToolLibrary() { return LoadOnce(BemaMFD2DLLHandle, "BemaMFD2.dll"); }

std::string FileStamp(const char* pattern) { return hostrt::FormatDateTime(pattern, hostrt::Now()); }

}  // namespace kvr
