// Reading the host's parameter records.
#pragma once
#include <string>
#include <string_view>

#include "hostrt/params.h"

namespace kvr {

// The value stored under name, as text ("" when absent).
inline std::string ParamText(const hostrt::Variant& record, std::string_view name) {
  return hostrt::RecebeParams(record, name).AsString();
}

}  // namespace kvr
