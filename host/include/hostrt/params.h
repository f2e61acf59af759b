#pragma once
// Parameter records: a Variant array of two-element arrays [name, value].
#include <string_view>
#include <utility>
#include <vector>

#include "hostrt/variant.h"

namespace hostrt {

// Builds a record from name/value pairs, in that order.
Variant MakeParams(std::initializer_list<std::pair<std::string_view, Variant>> pairs);
Variant MakeParams(const std::vector<std::pair<std::string, Variant>>& pairs);

// The value stored under name (names compare regardless of letter case). A
// missing name yields an Empty Variant: "" as text, 0 as number, False as
// Boolean. A value that is not a record (not an array of [name, value] pairs)
// raises VariantError with a clear message; it never crashes.
Variant RecebeParams(const Variant& record, std::string_view name);

// Sets (or appends) a pair in a record.
void SetParam(Variant& record, std::string_view name, const Variant& value);

}  // namespace hostrt
