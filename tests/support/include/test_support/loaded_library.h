#pragma once
// A shared library loaded with the real dynamic loader (dlopen, local
// symbols), unloaded when the object goes away.
#include <stdexcept>
#include <string>

namespace test_support {

class LoadedLibrary {
 public:
  // Loads file_name from the build's bin folder (or a full path).
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

 private:
  void* handle_ = nullptr;
  std::string path_;
};

}  // namespace test_support
