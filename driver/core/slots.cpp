// The entry-point slots: exported globals named as the vendor's entry points.
#include "kvr00102/kvr00102.h"

extern "C" {
#define KVR_DEFINE_SLOT(name, result, args) KVR_EXPORT kvr::Slot<result args> name{nullptr, #name};
KVR_BOUND_ENTRY_POINTS(KVR_DEFINE_SLOT)
KVR_OPTIONAL_ENTRY_POINTS(KVR_DEFINE_SLOT)
#undef KVR_DEFINE_SLOT
}
