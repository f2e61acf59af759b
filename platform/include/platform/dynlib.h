#pragma once
// Dynamic libraries by their Windows names.
#include <string>

namespace platform {

// Loads a library by its Windows name ("BemaFI32.dll"). On POSIX ".dll" becomes
// ".so"; the directory of the module that contains this code (the driver's own
// directory) is searched first, then the loader's usual path. Symbols are kept
// local to the library (RTLD_LOCAL). Returns nullptr on failure and, when
// error is given, the loader's message.
void* load_library(const std::string& windows_name, std::string* error = nullptr);

// The address of an exported name, or nullptr.
void* resolve_symbol(void* library, const char* name);

// Unloads (used by tools and tests only; the driver never unloads).
void unload_library(void* library);

// Directory (with no trailing separator) of the module that contains this code.
std::string module_directory();

}  // namespace platform
