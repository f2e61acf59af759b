#include "test_support/loaded_library.h"

#include "platform/dynlib.h"
#include "test_support/temp_environment.h"

namespace test_support {
namespace {

// Tests name the modules as built on POSIX ("Kvr00102.so"); on Windows the
// same module is a DLL.
std::string module_file(const std::string& file_name) {
#ifdef _WIN32
  const std::string suffix = ".so";
  if (file_name.size() > suffix.size() && file_name.ends_with(suffix))
    return file_name.substr(0, file_name.size() - suffix.size()) + ".dll";
#endif
  return file_name;
}

bool has_folder(const std::string& name) { return name.find_first_of("/\\") != std::string::npos; }

}  // namespace

std::string module_file_name(const std::string& base) {
#ifdef _WIN32
  return base + ".dll";
#else
  return base + ".so";
#endif
}

LoadedLibrary::LoadedLibrary(const std::string& file_name)
    : path_(has_folder(file_name) ? module_file(file_name) : bin_directory() + "/" + module_file(file_name)) {
  std::string error;
  handle_ = platform::load_library(path_, &error);
  if (!handle_) throw std::runtime_error("cannot load " + path_ + ": " + (error.empty() ? "unknown error" : error));
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_) platform::unload_library(handle_);
}

void* LoadedLibrary::find(const char* name) const { return platform::resolve_symbol(handle_, name); }

}  // namespace test_support
