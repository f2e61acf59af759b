// Whole tables in and out: data packets, copies between datasets, files.
#include <utility>

#include "dataset_impl.h"
#include "packet.h"
#include "platform/files.h"

namespace hostrt {
namespace {

using dataset_detail::TableContent;

std::string PacketBytesOf(const Variant& v) {
  if (v.Type() == VarType::DataPacket) return v.PacketBytes();
  if (v.Type() == VarType::String) return v.AsString();
  throw DataSetError(std::string("A data packet was expected, not a Variant of type ") + v.TypeName());
}

}  // namespace

TableContent ClientDataSet::Impl::Snapshot(bool visible_only) const {
  const Impl& d = *this;
  TableContent c;
  c.defs = d.defs;
  for (const auto& i : d.indexes) c.indexes.push_back(i.def);
  c.index_name = d.current_name;
  c.index_fields = d.current == -2 ? d.adhoc_fields : std::string();
  const bool inserting = d.state == DataSetState::Insert;
  auto add = [&](const Row* r) { c.rows.push_back(r == d.editing && d.editing ? d.buffer : r->cells); };
  if (visible_only) {
    c.rows.reserve(d.view.size() + 1);
    for (const Row* r : d.view) add(r);
    if (inserting) c.rows.push_back(d.buffer);
  } else {
    c.rows.reserve(d.natural.size() + 1);
    bool placed = !inserting;
    for (const auto& r : d.natural) {
      if (!placed && r->seq >= d.insert_seq) {
        c.rows.push_back(d.buffer);
        placed = true;
      }
      add(r.get());
    }
    if (!placed) c.rows.push_back(d.buffer);
  }
  return c;
}

void ClientDataSet::Impl::Adopt(TableContent c) {
  Impl& d = *this;
  using dataset_detail::CompileIndex;
  std::vector<Index> indexes;
  int current = -1;
  for (auto& def : c.indexes) {
    Index idx;
    idx.order = RowOrder(CompileIndex(c.defs, def));
    idx.def = std::move(def);
    if (!c.index_name.empty() && dataset_detail::SameName(idx.def.name, c.index_name))
      current = static_cast<int>(indexes.size());
    indexes.push_back(std::move(idx));
  }
  if (!c.index_name.empty() && current < 0) throw DataSetError("Index '" + c.index_name + "' not found");
  Index adhoc;
  if (current < 0 && !c.index_fields.empty()) {
    adhoc.def = {"", c.index_fields, "", false};
    adhoc.order = RowOrder(CompileIndex(c.defs, adhoc.def));
    current = -2;
  }
  std::unique_ptr<dataset_detail::FilterNode> filter;
  if (d.filtered && !d.filter_text.empty()) filter = dataset_detail::ParseFilter(d.filter_text, c.defs);

  std::vector<std::unique_ptr<Row>> rows;
  rows.reserve(c.rows.size());
  for (auto& cells : c.rows) {
    auto r = std::make_unique<Row>();
    r->cells = std::move(cells);
    r->seq = rows.size() + 1;
    rows.push_back(std::move(r));
  }

  d.state = DataSetState::Browse;
  d.editing = nullptr;
  d.buffer.clear();
  d.defs = std::move(c.defs);
  d.indexes = std::move(indexes);
  d.adhoc = std::move(adhoc);
  d.adhoc_fields = current == -2 ? c.index_fields : std::string();
  d.current = current;
  d.current_name = current >= 0 ? d.indexes[static_cast<std::size_t>(current)].def.name : std::string();
  d.filter = std::move(filter);
  d.natural = std::move(rows);
  d.next_seq = d.natural.size() + 1;
  d.active = true;
  d.RebuildView();
}

// A closed dataset has no data: Null, which SetData takes as "close".
Variant ClientDataSet::Data() const {
  if (!impl_->active) return Variant::Null();
  return Variant::Packet(dataset_detail::EncodePacket(impl_->Snapshot(false)));
}

void ClientDataSet::SetData(const Variant& packet) {
  if (packet.IsNull() || packet.IsEmpty()) {
    if (impl_->active) {
      Cancel();
      impl_->ClearRows();
      impl_->active = false;
      impl_->state = DataSetState::Inactive;
    }
    return;
  }
  impl_->Adopt(dataset_detail::DecodePacket(PacketBytesOf(packet)));
  BindFields();
}

void ClientDataSet::CopyFrom(const ClientDataSet& other) {
  if (!other.impl_->active) {
    SetData(Variant::Null());
    return;
  }
  impl_->Adopt(other.impl_->Snapshot(true));
  BindFields();
}

void ClientDataSet::SaveToFile(const std::string& path) const {
  impl_->RequireActive();
  const std::string bytes = dataset_detail::EncodePacket(impl_->Snapshot(false));
  try {
    platform::write_file_atomic(path, bytes);
  } catch (const std::exception& e) {
    throw DataSetError("Cannot save dataset to '" + path + "': " + e.what());
  }
}

void ClientDataSet::LoadFromFile(const std::string& path) {
  std::string bytes;
  try {
    if (!platform::file_exists(path)) throw std::runtime_error("file not found");
    bytes = platform::read_file(path);
  } catch (const std::exception& e) {
    throw DataSetError("Cannot read dataset file '" + path + "': " + e.what());
  }
  try {
    impl_->Adopt(dataset_detail::DecodePacket(bytes));
  } catch (const DataSetError& e) {
    throw DataSetError("Dataset file '" + path + "' is not valid: " + e.what());
  }
  BindFields();
}

void ClientDataSet::SetFileName(std::string path) { impl_->file_name = std::move(path); }
const std::string& ClientDataSet::FileName() const { return impl_->file_name; }

}  // namespace hostrt
