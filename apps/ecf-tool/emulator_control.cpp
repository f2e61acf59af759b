#include "emulator_control.h"

#include <stdexcept>

#include "platform/dynlib.h"

namespace ecf_tool {

EmulatorControl::EmulatorControl() {
  std::string error;
  library_ = platform::load_library("BemaFI32.dll", &error);
  if (!library_) throw std::runtime_error("cannot load the emulated printer (BemaFI32): " + error);
}

EmulatorControl::~EmulatorControl() { platform::unload_library(library_); }

void* EmulatorControl::find(const char* name) const {
  void* address = platform::resolve_symbol(library_, name);
  if (!address) throw std::runtime_error(std::string("the printer library lacks ") + name);
  return address;
}

std::string EmulatorControl::text(const char* function_name) const {
  auto copy = function<int(char*, int)>(function_name);
  std::string buffer(4096, '\0');
  int needed = copy(buffer.data(), static_cast<int>(buffer.size()));
  if (needed >= static_cast<int>(buffer.size())) {
    buffer.assign(static_cast<std::size_t>(needed) + 1, '\0');
    needed = copy(buffer.data(), static_cast<int>(buffer.size()));
  }
  buffer.resize(needed > 0 ? static_cast<std::size_t>(needed) : 0);
  return buffer;
}

}  // namespace ecf_tool
