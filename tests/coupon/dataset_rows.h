// Host dataset data built from rows of values, as a host hands it over.
#pragma once
#include <vector>

#include "hostrt/dataset.h"

namespace coupon_test {

struct FieldDef {
  const char* name;
  hostrt::FieldType type;
  int size = 0;
};

// A dataset of the given fields and rows (each row its values in field order).
inline hostrt::Variant DatasetData(const std::vector<FieldDef>& fields,
                                   const std::vector<std::vector<hostrt::Variant>>& rows) {
  hostrt::ClientDataSet ds;
  for (const auto& f : fields) ds.AddFieldDef(f.name, f.type, f.size);
  ds.CreateDataSet();
  for (const auto& row : rows) {
    ds.Append();
    for (std::size_t i = 0; i < row.size(); ++i) ds.Fields(static_cast<int>(i)).SetValue(row[i]);
    ds.Post();
  }
  return ds.Data();
}

}  // namespace coupon_test
