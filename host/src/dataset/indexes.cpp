// Named indexes, ad hoc field orders and filters of the client dataset.
#include <algorithm>

#include "dataset_impl.h"

namespace hostrt {

void ClientDataSet::AddIndex(std::string name, std::string fields, std::string desc_fields, bool case_insensitive) {
  Impl& d = *impl_;
  if (name.empty()) throw DataSetError("An index needs a name");
  for (const auto& i : d.indexes)
    if (dataset_detail::SameName(i.def.name, name))
      throw DataSetError("Duplicate index name '" + name + "'");
  Impl::Index index;
  index.def = {std::move(name), std::move(fields), std::move(desc_fields), case_insensitive};
  // Checked now when the fields are known; otherwise when the dataset opens.
  if (d.active || !d.defs.empty()) index.order = RowOrder(dataset_detail::CompileIndex(d.defs, index.def));
  d.indexes.push_back(std::move(index));
}

void ClientDataSet::SetIndexName(std::string_view name) {
  Impl& d = *impl_;
  if (d.active) d.CheckBrowseMode(*this);
  int found = -1;
  if (!name.empty()) {
    for (std::size_t i = 0; i < d.indexes.size(); ++i)
      if (dataset_detail::SameName(d.indexes[i].def.name, name))
        found = static_cast<int>(i);
    if (found < 0) throw DataSetError("Index '" + std::string(name) + "' not found" + (name_.empty() ? "" : " in " + name_));
  }
  d.current = found;
  d.current_name = found < 0 ? std::string() : d.indexes[static_cast<std::size_t>(found)].def.name;
  d.adhoc_fields.clear();
  d.adhoc.built = false;
  d.adhoc.rows.clear();
  if (d.active) d.ReorderView();
}

const std::string& ClientDataSet::IndexName() const { return impl_->current_name; }

void ClientDataSet::SetIndexFieldNames(std::string_view fields) {
  Impl& d = *impl_;
  if (d.active) d.CheckBrowseMode(*this);
  if (fields.empty()) {
    SetIndexName("");
    return;
  }
  Impl::Index index;
  index.def = {"", std::string(fields), "", false};
  if (d.active || !d.defs.empty()) index.order = RowOrder(dataset_detail::CompileIndex(d.defs, index.def));
  d.adhoc = std::move(index);
  d.adhoc_fields = std::string(fields);
  d.current = -2;
  d.current_name.clear();
  if (d.active) d.ReorderView();
}

std::vector<std::string> ClientDataSet::IndexNames() const {
  std::vector<std::string> names;
  for (const auto& i : impl_->indexes) names.push_back(i.def.name);
  return names;
}

// ---- filters ----

void ClientDataSet::SetFilter(std::string_view text) {
  Impl& d = *impl_;
  if (d.active) d.CheckBrowseMode(*this);
  // Parsed before anything changes: a bad text leaves the old filter working.
  std::unique_ptr<dataset_detail::FilterNode> parsed;
  if (d.filtered && d.active && !text.empty()) parsed = dataset_detail::ParseFilter(text, d.defs);
  d.filter_text = std::string(text);
  d.filter = std::move(parsed);
  if (d.active && d.filtered) d.RebuildView();
}

const std::string& ClientDataSet::Filter() const { return impl_->filter_text; }

void ClientDataSet::SetFiltered(bool filtered) {
  Impl& d = *impl_;
  if (d.active) d.CheckBrowseMode(*this);
  std::unique_ptr<dataset_detail::FilterNode> parsed;
  if (filtered && d.active && !d.filter_text.empty()) parsed = dataset_detail::ParseFilter(d.filter_text, d.defs);
  d.filtered = filtered;
  d.filter = std::move(parsed);
  if (d.active) d.RebuildView();
}

bool ClientDataSet::Filtered() const { return impl_->filtered; }

}  // namespace hostrt
