// A module that loads libraries through the platform layer from wherever it
// lives, so the tests can check that its own folder is searched first.
#include <cstring>
#include <string>

#include "platform/dynlib.h"

namespace {
std::string last_error;
std::string folder;
}  // namespace

extern "C" __attribute__((visibility("default"))) void* ProbeLoad(const char* windows_name) {
  return platform::load_library(windows_name, &last_error);
}

extern "C" __attribute__((visibility("default"))) const char* ProbeError() { return last_error.c_str(); }

extern "C" __attribute__((visibility("default"))) const char* ProbeDirectory() {
  folder = platform::module_directory();
  return folder.c_str();
}
