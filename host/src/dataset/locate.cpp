// Locate: finds the first visible row, in the current order, whose key fields
// hold the given values. With an index whose leading fields are the key
// fields it binary-searches that index instead of scanning the rows.
#include <algorithm>

#include "dataset_impl.h"
#include "platform/numbers.h"

namespace hostrt {
namespace {

using dataset_detail::CompareCells;
using dataset_detail::KeyPart;

// The key value as the field would store it; false when no stored value can
// equal it (text that is no number for a number field, 5.5 for an integer).
bool ToKeyCell(const Variant& v, FieldType type, Cell& out) {
  if (v.IsNull() || v.IsEmpty()) {
    out = Cell{};
    return true;
  }
  try {
    switch (type) {
      case FieldType::String: out = v.AsString(); return true;
      case FieldType::Integer: {
        const double x = v.AsFloat();
        if (x != static_cast<double>(static_cast<std::int64_t>(x))) return false;
        out = static_cast<std::int64_t>(x);
        return true;
      }
      case FieldType::Float: out = v.AsFloat(); return true;
      case FieldType::Boolean: out = v.AsBoolean(); return true;
      case FieldType::DateTime: out = v.AsDateTime().value; return true;
    }
  } catch (const std::exception&) {
    return false;
  }
  return false;
}

struct Key {
  std::vector<int> fields;
  std::vector<Cell> cells;
  bool case_insensitive = false;
  bool partial = false;
};

bool Matches(const Row& row, const Key& key, const std::vector<FieldDef>& defs) {
  for (std::size_t i = 0; i < key.fields.size(); ++i) {
    const auto f = static_cast<std::size_t>(key.fields[i]);
    const Cell& cell = row.cells[f];
    if (key.partial && defs[f].type == FieldType::String && !dataset_detail::IsNullCell(key.cells[i])) {
      const std::string_view text = dataset_detail::IsNullCell(cell) ? std::string_view() : std::get<std::string>(cell);
      if (!dataset_detail::TextStartsWith(text, std::get<std::string>(key.cells[i]), key.case_insensitive)) return false;
    } else if (CompareCells(cell, key.cells[i], defs[f].type, key.case_insensitive) != 0) {
      return false;
    }
  }
  return true;
}

// The key cells in the order of the index's leading parts, when the index can
// serve this key; empty otherwise.
std::vector<Cell> KeyInIndexOrder(const RowOrder& order, const Key& key) {
  const std::vector<KeyPart>& parts = order.Parts();
  if (key.partial || parts.size() < key.fields.size()) return {};
  std::vector<Cell> cells;
  for (std::size_t k = 0; k < key.fields.size(); ++k) {
    const auto at = std::find(key.fields.begin(), key.fields.end(), parts[k].field);
    if (at == key.fields.end()) return {};
    if (parts[k].type == FieldType::String && key.case_insensitive && !parts[k].case_insensitive) return {};
    cells.push_back(key.cells[static_cast<std::size_t>(at - key.fields.begin())]);
  }
  return cells;
}

// First position of rows whose leading key equals key.
std::size_t KeyLowerBound(const std::vector<Row*>& rows, const RowOrder& order, const std::vector<Cell>& key,
                          bool case_insensitive) {
  auto it = std::lower_bound(rows.begin(), rows.end(), key, [&](const Row* r, const std::vector<Cell>& k) {
    return order.CompareKey(*r, k, case_insensitive) < 0;
  });
  return static_cast<std::size_t>(it - rows.begin());
}

}  // namespace

bool ClientDataSet::Locate(std::string_view key_fields, const Variant& key_values, int options) {
  Impl& d = *impl_;
  d.CheckBrowseMode(*this);
  Key key;
  key.fields = dataset_detail::ResolveFieldList(d.defs, key_fields);
  if (key.fields.empty()) throw DataSetError("Locate needs at least one key field");
  key.case_insensitive = (options & loCaseInsensitive) != 0;
  key.partial = (options & loPartialKey) != 0;

  std::vector<Variant> values;
  if (key_values.IsArray()) {
    for (int i = key_values.LowBound(); i <= key_values.HighBound(); ++i) values.push_back(key_values[i]);
  } else {
    values.push_back(key_values);
  }
  if (values.size() != key.fields.size())
    throw DataSetError("Locate on '" + std::string(key_fields) + "' needs " + platform::to_text(key.fields.size()) +
                       " values, got " + platform::to_text(values.size()));
  key.cells.resize(values.size());
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!ToKeyCell(values[i], d.defs[static_cast<std::size_t>(key.fields[i])].type, key.cells[i])) return false;

  auto found_at = [&](std::size_t p) {
    d.SetCursor(p);
    d.bof = d.eof = false;
    return true;
  };

  // The current order serves the key: search the visible rows directly.
  const RowOrder& current = d.CurrentOrder();
  if (std::vector<Cell> k = KeyInIndexOrder(current, key); !k.empty()) {
    for (std::size_t p = KeyLowerBound(d.view, current, k, key.case_insensitive);
         p < d.view.size() && current.CompareKey(*d.view[p], k, key.case_insensitive) == 0; ++p)
      if (Matches(*d.view[p], key, d.defs)) return found_at(p);
    return false;
  }

  // Another index serves it: take its candidates, then the first in view order.
  for (Impl::Index& index : d.indexes) {
    std::vector<Cell> k = KeyInIndexOrder(index.order, key);
    if (k.empty()) continue;
    if (!index.built) d.BuildIndex(index);
    std::size_t best = d.view.size();
    for (std::size_t p = KeyLowerBound(index.rows, index.order, k, key.case_insensitive);
         p < index.rows.size() && index.order.CompareKey(*index.rows[p], k, key.case_insensitive) == 0; ++p) {
      const Row* row = index.rows[p];
      if (!Matches(*row, key, d.defs) || !d.Visible(*row)) continue;
      const std::size_t at = current.LowerBound(d.view, row);
      if (at < d.view.size() && d.view[at] == row) best = std::min(best, at);
    }
    return best < d.view.size() ? found_at(best) : false;
  }

  for (std::size_t p = 0; p < d.view.size(); ++p)
    if (Matches(*d.view[p], key, d.defs)) return found_at(p);
  return false;
}

}  // namespace hostrt
