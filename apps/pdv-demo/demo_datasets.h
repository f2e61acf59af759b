// The host's datasets of the demo, built from rows of values.
#pragma once
#include <utility>
#include <vector>

#include "hostrt/dataset.h"

namespace pdv_demo {

// A dataset of the given text (40 characters) and other fields, each row its
// values in field order; the cursor stays on the last row.
inline void Fill(hostrt::ClientDataSet& ds, const std::vector<std::pair<const char*, hostrt::FieldType>>& fields,
                 const std::vector<std::vector<hostrt::Variant>>& rows) {
  for (const auto& [name, type] : fields) ds.AddFieldDef(name, type, type == hostrt::FieldType::String ? 40 : 0);
  ds.CreateDataSet();
  for (const auto& row : rows) {
    ds.Append();
    for (std::size_t i = 0; i < row.size(); ++i) ds.Fields(static_cast<int>(i)).SetValue(row[i]);
    ds.Post();
  }
}

}  // namespace pdv_demo
