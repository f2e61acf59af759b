#pragma once
// Dynamic libraries by their Windows names.
#include <string>

namespace platform {

// Loads a library by its Windows name ("BemaFI32.dll"). On POSIX ".dll" (any
// letter case) becomes ".so", and a name without an extension gets ".so" as
// Windows gives it ".dll". A bare name is looked for first in the directory of
// the module that contains the calling code (the driver's own directory; the
// name's letter case does not matter there), then along the loader's usual
// path; a name with a folder (Windows or native) is loaded from there. Loaded
// with RTLD_NOW | RTLD_LOCAL: the library's symbols stay its own. Returns
// nullptr on failure and, when error is given, the loader's message (cleared
// on success).
void* load_library(const std::string& windows_name, std::string* error = nullptr);

// The address of an exported name, or nullptr (also for a null library or name).
void* resolve_symbol(void* library, const char* name);

// Unloads (used by tools and tests only; the driver never unloads).
void unload_library(void* library);

// Directory (with no trailing separator) of the module that contains this
// code: each module that links the platform layer gets its own.
std::string module_directory();

}  // namespace platform
