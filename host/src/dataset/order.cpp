#include "order.h"

#include <algorithm>

namespace hostrt::dataset_detail {
namespace {

std::vector<std::string_view> SplitNames(std::string_view list) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view name = list.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace

int FindFieldDef(const std::vector<FieldDef>& defs, std::string_view name) {
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (SameName(defs[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int> ResolveFieldList(const std::vector<FieldDef>& defs, std::string_view list) {
  std::vector<int> out;
  for (std::string_view name : SplitNames(list)) {
    const int i = FindFieldDef(defs, name);
    if (i < 0) throw DataSetError("Field '" + std::string(name) + "' not found");
    out.push_back(i);
  }
  return out;
}

std::vector<KeyPart> CompileIndex(const std::vector<FieldDef>& defs, const IndexDef& def) {
  const std::vector<int> fields = ResolveFieldList(defs, def.fields);
  if (fields.empty()) throw DataSetError("Index '" + def.name + "' has no fields");
  const std::vector<int> desc = ResolveFieldList(defs, def.desc_fields);
  std::vector<KeyPart> parts;
  for (int f : fields) {
    KeyPart p;
    p.field = f;
    p.type = defs[static_cast<std::size_t>(f)].type;
    p.descending = std::find(desc.begin(), desc.end(), f) != desc.end();
    p.case_insensitive = def.case_insensitive;
    parts.push_back(p);
  }
  return parts;
}

bool RowOrder::Less(const Row* a, const Row* b) const {
  for (const KeyPart& p : parts_) {
    const auto i = static_cast<std::size_t>(p.field);
    int c = CompareCells(a->cells[i], b->cells[i], p.type, p.case_insensitive);
    if (c != 0) return p.descending ? c > 0 : c < 0;
  }
  return a->seq < b->seq;
}

int RowOrder::CompareKey(const Row& row, const std::vector<Cell>& key, bool case_insensitive_text) const {
  for (std::size_t k = 0; k < key.size() && k < parts_.size(); ++k) {
    const KeyPart& p = parts_[k];
    int c = CompareCells(row.cells[static_cast<std::size_t>(p.field)], key[k], p.type,
                         p.case_insensitive || case_insensitive_text);
    if (c != 0) return p.descending ? -c : c;
  }
  return 0;
}

void RowOrder::Sort(std::vector<Row*>& rows) const {
  std::sort(rows.begin(), rows.end(), [this](const Row* a, const Row* b) { return Less(a, b); });
}

std::size_t RowOrder::LowerBound(const std::vector<Row*>& rows, const Row* row) const {
  auto it = std::lower_bound(rows.begin(), rows.end(), row,
                             [this](const Row* a, const Row* b) { return Less(a, b); });
  return static_cast<std::size_t>(it - rows.begin());
}

void RowOrder::InsertInto(std::vector<Row*>& rows, Row* row) const {
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(LowerBound(rows, row)), row);
}

std::size_t RowOrder::EraseFrom(std::vector<Row*>& rows, const Row* row) const {
  std::size_t i = LowerBound(rows, row);
  if (i >= rows.size() || rows[i] != row) {
    // Not where its key says (should not happen); fall back to a scan.
    i = static_cast<std::size_t>(std::find(rows.begin(), rows.end(), row) - rows.begin());
    if (i >= rows.size()) return rows.size();
  }
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
  return i;
}

}  // namespace hostrt::dataset_detail
