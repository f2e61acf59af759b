// Binding the vendor library's entry points into their slots.
#pragma once

namespace kvr {

// Binds the required entry points in their order. At the first name the
// library lacks every slot is emptied and false is returned.
bool BindRequiredEntryPoints(void* library);

// Binds the further entry points that the library has; never fails.
void BindOptionalEntryPoints(void* library);

// Empties every slot.
void ClearEntryPoints();

}  // namespace kvr
