#include "platform/dynlib.h"

#include "native_names.h"
#include "platform/ascii.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#endif

namespace platform {

namespace {

// Code of this module; its address names the module (internal linkage, so
// no other module's copy can stand in for it).
void module_anchor() {}

bool has_folder(const std::string& name) { return name.find_first_of("\\/") != std::string::npos; }

}  // namespace

#ifdef _WIN32

namespace {

std::string last_error_text() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = text ? text : "error " + platform::to_text(code);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace

void* load_library(const std::string& windows_name, std::string* error) {
  HMODULE library = nullptr;
  if (!has_folder(windows_name)) {
    const std::string beside = module_directory() + "\\" + windows_name;
    library = LoadLibraryExA(beside.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  if (!library) {
    // The loader wants backslashes in a path it searches beside itself.
    std::string path = windows_name;
    for (char& c : path)
      if (c == '/') c = '\\';
    library = has_folder(path) ? LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                               : LoadLibraryA(path.c_str());
  }
  if (!library && error) *error = windows_name + ": " + last_error_text();
  if (library && error) error->clear();
  return reinterpret_cast<void*>(library);
}

void* resolve_symbol(void* library, const char* name) {
  if (!library || !name) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void unload_library(void* library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::string module_directory() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&module_anchor), &self);
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  std::string file(path, n);
  const auto cut = file.find_last_of("\\/");
  return cut == std::string::npos ? std::string(".") : file.substr(0, cut);
}

#else

namespace {

bool ends_with_ignoring_case(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (platform::ascii::to_lower(text[text.size() - suffix.size() + i]) != suffix[i]) return false;
  return true;
}

// "BemaFI32.dll" -> "BemaFI32.so"; a name without an extension gets one, as
// the Windows loader gives it ".dll".
std::string posix_library_name(std::string name) {
  if (ends_with_ignoring_case(name, ".dll")) {
    name.resize(name.size() - 4);
    return name + ".so";
  }
  const auto slash = name.find_last_of("\\/");
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + ".so";
  if (dot == name.size() - 1) name.pop_back();  // "name." means: no extension
  return name;
}

void* open_library(const std::string& path, std::string& message) {
  dlerror();
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* text = dlerror();
    message = text ? text : path + ": cannot be loaded";
  }
  return library;
}

}  // namespace

void* load_library(const std::string& windows_name, std::string* error) {
  std::string message;
  void* library = nullptr;
  if (windows_name.empty()) {
    message = "no library name given";
  } else if (has_folder(windows_name)) {
    library = open_library(native_path(posix_library_name(windows_name)), message);
  } else {
    const std::string name = posix_library_name(windows_name);
    const std::string folder = module_directory();
    const std::string beside = detail::find_entry_ignoring_case(folder, name);
    // A library found beside the module but failing to load is reported as
    // such, not hidden behind a same-named one elsewhere.
    library = beside.empty() ? open_library(name, message) : open_library(folder + "/" + beside, message);
  }
  if (error) *error = library ? std::string() : message;
  return library;
}

void* resolve_symbol(void* library, const char* name) {
  if (!library || !name) return nullptr;
  return ::dlsym(library, name);
}

void unload_library(void* library) {
  if (library) ::dlclose(library);
}

std::string module_directory() {
  Dl_info info{};
  std::string file;
  if (::dladdr(reinterpret_cast<void*>(&module_anchor), &info) && info.dli_fname && *info.dli_fname) {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved)) file = resolved;
  }
  if (file.empty()) {  // the main program may be named as it was started
    char resolved[PATH_MAX];
    if (::realpath("/proc/self/exe", resolved)) file = resolved;
  }
  const auto cut = file.rfind('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? std::string("/") : file.substr(0, cut);
}

#endif

}  // namespace platform
