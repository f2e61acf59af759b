#pragma once
// A whole table as it travels: structure, indexes, current order and rows.
// The byte layout is described in packet.cpp and docs/dataset-format.md.
#include <string>
#include <string_view>
#include <vector>

#include "order.h"

namespace hostrt::dataset_detail {

struct TableContent {
  std::vector<FieldDef> defs;
  std::vector<IndexDef> indexes;
  std::string index_name;    // the current named index, or ""
  std::string index_fields;  // the current ad hoc index ("F1;F2"), or ""
  std::vector<std::vector<Cell>> rows;
};

std::string EncodePacket(const TableContent& content);
// Checks everything before returning; DataSetError says what is wrong.
TableContent DecodePacket(std::string_view bytes);

}  // namespace hostrt::dataset_detail
