// An entry-point slot: the bound address of one vendor entry point, or empty.
#pragma once
#include <stdexcept>
#include <string>

#include "vendor_api/vendor_api.h"

namespace kvr {

// Raised when an operation calls an entry point that is not bound.
class EmptySlotError : public std::runtime_error {
 public:
  explicit EmptySlotError(const char* entry_point)
      : std::runtime_error(std::string("Entry point not bound: ") + entry_point) {}
};

// Told the name of every entry point the driver calls through a slot, just
// before the call; the driver installs it to know what reached the printer.
inline void (*slot_call_observer)(const char* entry_point) = nullptr;

template <typename Signature>
struct Slot;

// The address is the first member, so a host that reads the exported global
// as a plain function pointer sees the bound address or null.
template <typename R, typename... Args>
struct Slot<R(Args...)> {
  using Function = vendor_api::pointer<R(Args...)>;

  Function function;
  const char* name;

  // Calls the entry point; an empty slot throws instead of calling null.
  R operator()(Args... args) const {
    if (!function) throw EmptySlotError(name);
    if (slot_call_observer) slot_call_observer(name);
    return function(args...);
  }
  bool Bound() const { return function != nullptr; }
  void Bind(void* address) { function = reinterpret_cast<Function>(address); }
  void Clear() { function = nullptr; }
};

}  // namespace kvr
