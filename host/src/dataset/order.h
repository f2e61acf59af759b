#pragma once
// A row order: the natural order (no key) or an index over one or more
// fields, each ascending or descending. Rows that tie on the key keep their
// natural order, so every row has one exact place and can be found by binary
// search.
#include <string>
#include <vector>

#include "cell.h"

namespace hostrt::dataset_detail {

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;
};

struct IndexDef {
  std::string name;
  std::string fields;       // "F1;F2"
  std::string desc_fields;  // those of fields sorted descending
  bool case_insensitive = false;
};

struct KeyPart {
  int field = 0;
  FieldType type = FieldType::String;
  bool descending = false;
  bool case_insensitive = false;
};

// Splits "F1;F2" into field positions; DataSetError names an unknown field.
std::vector<int> ResolveFieldList(const std::vector<FieldDef>& defs, std::string_view list);
// Position of a field by name, any letter case; -1 when absent.
int FindFieldDef(const std::vector<FieldDef>& defs, std::string_view name);

std::vector<KeyPart> CompileIndex(const std::vector<FieldDef>& defs, const IndexDef& def);

class RowOrder {
 public:
  RowOrder() = default;
  explicit RowOrder(std::vector<KeyPart> parts) : parts_(std::move(parts)) {}

  const std::vector<KeyPart>& Parts() const { return parts_; }
  bool Less(const Row* a, const Row* b) const;
  // Key of a row against key cells given in key-part order (first n parts).
  int CompareKey(const Row& row, const std::vector<Cell>& key, bool case_insensitive_text) const;

  // Sorts rows into this order.
  void Sort(std::vector<Row*>& rows) const;
  // Place of a row in a vector kept in this order (for insertion or lookup).
  std::size_t LowerBound(const std::vector<Row*>& rows, const Row* row) const;
  void InsertInto(std::vector<Row*>& rows, Row* row) const;
  // Removes the row, found by its current key; returns its former position.
  std::size_t EraseFrom(std::vector<Row*>& rows, const Row* row) const;

 private:
  std::vector<KeyPart> parts_;
};

}  // namespace hostrt::dataset_detail
