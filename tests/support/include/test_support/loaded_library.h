#pragma once
// A shared library loaded with the real dynamic loader (dlopen, local
// symbols), unloaded when the object goes away.
#include <stdexcept>
#include <string>

#include "vendor_api/vendor_api.h"

namespace test_support {

// A module's file name as this platform builds it: "Kvr00102" is
// "Kvr00102.so" on POSIX and "Kvr00102.dll" on Windows.
std::string module_file_name(const std::string& base);

class LoadedLibrary {
 public:
  // Loads file_name from the build's bin folder (or a full path). Tests name
  // modules as on POSIX ("Kvr00102.so"); on Windows that is the DLL.
  explicit LoadedLibrary(const std::string& file_name);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  void* handle() const { return handle_; }
  const std::string& path() const { return path_; }
  // The address of an exported name or nullptr.
  void* find(const char* name) const;
  // The exported function, or std::runtime_error naming what is missing.
  template <class Fn>
  Fn* function(const char* name) const {
    void* address = find(name);
    if (!address) throw std::runtime_error(path_ + " does not export " + name);
    return reinterpret_cast<Fn*>(address);
  }
  // A vendor entry point of type Fn, in the vendor's calling convention
  // (__stdcall on 32-bit Windows); std::runtime_error when it is missing.
  template <class Fn>
  vendor_api::pointer<Fn> entry(const char* name) const {
    return reinterpret_cast<vendor_api::pointer<Fn>>(function<Fn>(name));
  }

 private:
  void* handle_ = nullptr;
  std::string path_;
};

}  // namespace test_support
