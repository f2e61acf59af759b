#include "paf/vendor_tools.h"

#include <cstdio>

#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/paths.h"

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

WorkFiles::~WorkFiles() {
  for (const std::string& name : names_) std::remove(name.c_str());
}

std::string WorkFiles::Add(const std::string& windows_name) {
  names_.push_back(platform::native_path(windows_name));
  platform::remove_file(names_.back());
  return names_.back();
}

CallResult DownloadMfd(const std::string& stEsquemaCor, Analysis flags, const std::string& windows_file,
                       const std::string& kind, const std::string& start, const std::string& end) {
  const std::string native = platform::native_path(windows_file);
  return CallWithCode(stEsquemaCor, flags, Bematech_FI_DownloadMFD,
                      "Bematech_FI_DownloadMFD  :  - " + windows_file + " - " + kind + " - " + start + " - " + end,
                      native.c_str(), kind.c_str(), start.c_str(), end.c_str(), "1");
}

}  // namespace kvr
