// An exported operation of the loaded driver, typed by the driver's own
// declaration: OPERATION(driver, Sangria)("", "001", 10.0).
#pragma once
#include <stdexcept>
#include <string>

#include "platform/dynlib.h"

namespace pdv_demo {

template <typename Declared>
Declared* Resolve(void* library, const char* name) {
  void* address = platform::resolve_symbol(library, name);
  if (!address) throw std::runtime_error(std::string("the driver does not export ") + name);
  return reinterpret_cast<Declared*>(address);
}

}  // namespace pdv_demo

#define OPERATION(library, name) pdv_demo::Resolve<decltype(name)>(library, #name)
