#include "coupon/positional_args.h"

namespace kvr {

const hostrt::Variant& PositionalArgs::At(int index) const {
  static const hostrt::Variant empty;
  if (index < 0 || index > high_) return empty;
  return items_[index];
}

void SetResultElement(hostrt::Variant& result, int index, const hostrt::Variant& value) {
  if (!result.IsArray()) result = hostrt::Variant::Array(0, index);
  if (index < result.LowBound()) return;  // a host array that starts later has no such element
  if (index > result.HighBound()) result.Redim(index);
  result[index] = value;
}

}  // namespace kvr
