#include "test_support/loaded_library.h"

#include <dlfcn.h>

#include "test_support/temp_environment.h"

namespace test_support {

LoadedLibrary::LoadedLibrary(const std::string& file_name)
    : path_(file_name.find('/') == std::string::npos ? bin_directory() + "/" + file_name : file_name) {
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* error = dlerror();
    throw std::runtime_error("cannot load " + path_ + ": " + (error ? error : "unknown error"));
  }
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_) dlclose(handle_);
}

void* LoadedLibrary::find(const char* name) const { return dlsym(handle_, name); }

}  // namespace test_support
