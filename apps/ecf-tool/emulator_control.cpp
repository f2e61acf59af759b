#include "emulator_control.h"

#include <algorithm>
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

namespace {
// Asks once with a buffer that fits most texts, then with the size the
// library says the text needs.
template <class Copy>
std::string copied(Copy copy) {
  std::string buffer(4096, '\0');
  int needed = copy(buffer.data(), static_cast<int>(buffer.size()));
  if (needed >= static_cast<int>(buffer.size())) {
    buffer.assign(static_cast<std::size_t>(needed) + 1, '\0');
    needed = copy(buffer.data(), static_cast<int>(buffer.size()));
  }
  buffer.resize(needed > 0 ? std::min(static_cast<std::size_t>(needed), buffer.size() - 1) : 0);
  return buffer;
}
}  // namespace

std::string EmulatorControl::text(const char* function_name) const {
  return copied(function<int(char*, int)>(function_name));
}

std::string EmulatorControl::journal_export(int from) const {
  const auto copy = function<int(int, char*, int)>("Emu_JournalExport");
  return copied([&](char* buffer, int size) { return copy(from, buffer, size); });
}

}  // namespace ecf_tool
