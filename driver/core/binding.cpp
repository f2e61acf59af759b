#include "core/binding.h"

#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"

namespace kvr {
namespace {

template <typename Signature>
bool BindSlot(void* library, Slot<Signature>& slot) {
  slot.Bind(platform::resolve_symbol(library, slot.name));
  return slot.Bound();
}

}  // namespace

bool BindRequiredEntryPoints(void* library) {
  // Each name in turn; the first one missing stops the binding.
#define KVR_BIND_REQUIRED(name, result, args) \
  if (!BindSlot(library, name)) {             \
    ClearEntryPoints();                       \
    return false;                             \
  }
  KVR_BOUND_ENTRY_POINTS(KVR_BIND_REQUIRED)
#undef KVR_BIND_REQUIRED
  return true;
}

void BindOptionalEntryPoints(void* library) {
#define KVR_BIND_OPTIONAL(name, result, args) BindSlot(library, name);
  KVR_OPTIONAL_ENTRY_POINTS(KVR_BIND_OPTIONAL)
#undef KVR_BIND_OPTIONAL
}

void ClearEntryPoints() {
#define KVR_CLEAR_SLOT(name, result, args) name.Clear();
  KVR_BOUND_ENTRY_POINTS(KVR_CLEAR_SLOT)
  KVR_OPTIONAL_ENTRY_POINTS(KVR_CLEAR_SLOT)
#undef KVR_CLEAR_SLOT
}

}  // namespace kvr
