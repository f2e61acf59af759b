// Structure, cursor and editing of the client dataset.
#include <algorithm>

#include "dataset_impl.h"
#include "platform/files.h"
#include "packet.h"
#include "platform/numbers.h"

namespace hostrt {

// ---- Impl helpers ---------------------------------------------------------

const RowOrder& ClientDataSet::Impl::CurrentOrder() const {
  static const RowOrder natural_order;
  if (current == -2) return adhoc.order;
  if (current >= 0) return indexes[static_cast<std::size_t>(current)].order;
  return natural_order;
}

void ClientDataSet::Impl::BuildIndex(Index& index) {
  index.rows.clear();
  index.rows.reserve(natural.size());
  for (auto& r : natural) index.rows.push_back(r.get());
  index.order.Sort(index.rows);
  index.built = true;
}

void ClientDataSet::Impl::RebuildView() {
  view.clear();
  const std::vector<Row*>* source = nullptr;
  if (current != -1) {
    Index& idx = current == -2 ? adhoc : indexes[static_cast<std::size_t>(current)];
    if (!idx.built) BuildIndex(idx);
    source = &idx.rows;
  }
  if (source) {
    for (Row* r : *source)
      if (Visible(*r)) view.push_back(r);
  } else {
    for (auto& r : natural)
      if (Visible(*r)) view.push_back(r.get());
  }
  SetCursor(0);
}

void ClientDataSet::Impl::ReorderView() {
  const Row* current_row = view.empty() ? nullptr : view[pos];
  const bool was_eof = eof, was_bof = bof;
  RebuildView();
  if (!current_row) return;
  SetCursor(CurrentOrder().LowerBound(view, current_row));
  bof = was_bof && pos == 0;
  eof = was_eof && pos + 1 == view.size();
}

void ClientDataSet::Impl::SetCursor(std::size_t p) {
  pos = view.empty() ? 0 : std::min(p, view.size() - 1);
  bof = view.empty() || pos == 0;
  eof = view.empty();
}

void ClientDataSet::Impl::ClearRows() {
  view.clear();
  for (Index& i : indexes) i.rows.clear();
  adhoc.rows.clear();
  natural.clear();
  next_seq = 1;
  SetCursor(0);
}

void ClientDataSet::Impl::RequireActive() const {
  if (!active) throw DataSetError("Cannot perform this operation on a closed dataset");
}

const Cell& ClientDataSet::Impl::CurrentCell(int field) const {
  static const Cell null_cell;
  RequireActive();
  if (state == DataSetState::Edit || state == DataSetState::Insert) return buffer[static_cast<std::size_t>(field)];
  if (view.empty()) return null_cell;
  return view[pos]->cells[static_cast<std::size_t>(field)];
}

Cell& ClientDataSet::Impl::WritableCell(int field) {
  RequireActive();
  if (state != DataSetState::Edit && state != DataSetState::Insert)
    throw DataSetError("Dataset not in edit or insert mode");
  return buffer[static_cast<std::size_t>(field)];
}

void ClientDataSet::Impl::Attach(Row* row) {
  for (Index& i : indexes)
    if (i.built) i.order.InsertInto(i.rows, row);
  if (adhoc.built) adhoc.order.InsertInto(adhoc.rows, row);
  if (Visible(*row)) CurrentOrder().InsertInto(view, row);
}

void ClientDataSet::Impl::Detach(Row* row) {
  for (Index& i : indexes)
    if (i.built) i.order.EraseFrom(i.rows, row);
  if (adhoc.built) adhoc.order.EraseFrom(adhoc.rows, row);
  CurrentOrder().EraseFrom(view, row);
}

void ClientDataSet::Impl::InsertRow(std::unique_ptr<Row> row) {
  Row* raw = row.get();
  auto it = std::lower_bound(natural.begin(), natural.end(), raw->seq,
                             [](const std::unique_ptr<Row>& r, std::uint64_t s) { return r->seq < s; });
  natural.insert(it, std::move(row));
  next_seq = std::max(next_seq, raw->seq + 1);
  Attach(raw);
}

void ClientDataSet::Impl::CheckBrowseMode(ClientDataSet& self) {
  RequireActive();
  if (state == DataSetState::Edit || state == DataSetState::Insert) self.Post();
}

// ---- ClientDataSet ---------------------------------------------------------

ClientDataSet::ClientDataSet(std::string name) : name_(std::move(name)), impl_(std::make_unique<Impl>()) {}
ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::BindFields() {
  // Field objects of an unchanged structure are kept, so references that
  // callers hold stay valid across SetData, CopyFrom and reopening.
  const auto& defs = impl_->defs;
  const auto& fields = impl_->fields;
  bool same = fields.size() == defs.size();
  for (std::size_t i = 0; same && i < defs.size(); ++i)
    same = fields[i]->FieldName() == defs[i].name && fields[i]->DataType() == defs[i].type &&
           fields[i]->Size() == defs[i].size;
  if (same) return;
  impl_->fields.clear();
  for (std::size_t i = 0; i < impl_->defs.size(); ++i) {
    const FieldDef& d = impl_->defs[i];
    impl_->fields.emplace_back(new Field(this, static_cast<int>(i), d.name, d.type, d.size));
  }
}

void ClientDataSet::AddFieldDef(std::string name, FieldType type, int size) {
  if (impl_->active) throw DataSetError("Cannot change field definitions of an open dataset");
  if (name.empty()) throw DataSetError("A field needs a name");
  if (dataset_detail::FindFieldDef(impl_->defs, name) >= 0)
    throw DataSetError("Duplicate field name '" + name + "'");
  if (size < 0) throw DataSetError("Field '" + name + "' has a negative size");
  impl_->defs.push_back({std::move(name), type, size});
}

void ClientDataSet::ClearFieldDefs() {
  if (impl_->active) throw DataSetError("Cannot change field definitions of an open dataset");
  impl_->defs.clear();
  impl_->indexes.clear();
  impl_->current = -1;
  impl_->current_name.clear();
  impl_->adhoc_fields.clear();
}

void ClientDataSet::CreateDataSet() {
  if (impl_->defs.empty()) throw DataSetError("Missing field definitions");
  if (impl_->active) Close();
  // Indexes and the current order may have been declared before opening.
  for (auto& i : impl_->indexes) {
    i.order = RowOrder(dataset_detail::CompileIndex(impl_->defs, i.def));
    i.built = false;
  }
  if (impl_->current == -2) {
    impl_->adhoc.order = RowOrder(dataset_detail::CompileIndex(impl_->defs, impl_->adhoc.def));
    impl_->adhoc.built = false;
  }
  if (impl_->filtered && !impl_->filter_text.empty())
    impl_->filter = dataset_detail::ParseFilter(impl_->filter_text, impl_->defs);
  BindFields();
  impl_->ClearRows();
  impl_->active = true;
  impl_->state = DataSetState::Browse;
  impl_->RebuildView();
}

void ClientDataSet::Open() {
  if (impl_->active) return;
  if (!impl_->file_name.empty() && platform::file_exists(impl_->file_name)) {
    LoadFromFile(impl_->file_name);
    return;
  }
  CreateDataSet();
}

void ClientDataSet::Close() {
  if (!impl_->active) return;
  if (impl_->state == DataSetState::Edit || impl_->state == DataSetState::Insert) Post();
  if (!impl_->file_name.empty()) SaveToFile(impl_->file_name);
  impl_->ClearRows();
  impl_->active = false;
  impl_->state = DataSetState::Inactive;
}

bool ClientDataSet::Active() const { return impl_->active; }

int ClientDataSet::FieldCount() const { return static_cast<int>(impl_->active ? impl_->fields.size() : impl_->defs.size()); }

Field& ClientDataSet::Fields(int index) {
  impl_->RequireActive();
  if (index < 0 || index >= static_cast<int>(impl_->fields.size()))
    throw DataSetError("Field index " + platform::to_text(index) + " out of range");
  return *impl_->fields[static_cast<std::size_t>(index)];
}

Field* ClientDataSet::FindField(std::string_view name) {
  if (!impl_->active) return nullptr;
  const int i = dataset_detail::FindFieldDef(impl_->defs, name);
  return i < 0 ? nullptr : impl_->fields[static_cast<std::size_t>(i)].get();
}

Field& ClientDataSet::FieldByName(std::string_view name) {
  impl_->RequireActive();
  Field* f = FindField(name);
  if (!f) throw DataSetError("Field '" + std::string(name) + "' not found" + (name_.empty() ? "" : " in " + name_));
  return *f;
}

// ---- cursor ----

void ClientDataSet::First() {
  impl_->CheckBrowseMode(*this);
  impl_->SetCursor(0);
}

void ClientDataSet::Last() {
  impl_->CheckBrowseMode(*this);
  impl_->SetCursor(impl_->view.empty() ? 0 : impl_->view.size() - 1);
  impl_->eof = true;
  impl_->bof = impl_->view.empty();
}

void ClientDataSet::Next() {
  impl_->CheckBrowseMode(*this);
  Impl& d = *impl_;
  if (d.pos + 1 < d.view.size()) {
    ++d.pos;
    d.bof = false;
  } else {
    d.eof = true;
  }
}

void ClientDataSet::Prior() {
  impl_->CheckBrowseMode(*this);
  Impl& d = *impl_;
  if (d.pos > 0 && !d.view.empty()) {
    --d.pos;
    d.eof = false;
  } else {
    d.bof = true;
  }
}

bool ClientDataSet::Eof() const { return !impl_->active || impl_->eof; }
bool ClientDataSet::Bof() const { return !impl_->active || impl_->bof; }
bool ClientDataSet::IsEmpty() const { return !impl_->active || impl_->view.empty(); }
int ClientDataSet::RecordCount() const { return impl_->active ? static_cast<int>(impl_->view.size()) : 0; }

int ClientDataSet::RecNo() const {
  if (!impl_->active || impl_->view.empty() || impl_->state == DataSetState::Insert) return impl_->view.empty() ? 0 : -1;
  return static_cast<int>(impl_->pos) + 1;
}

void ClientDataSet::SetRecNo(int recno) {
  impl_->CheckBrowseMode(*this);
  if (recno < 1 || recno > static_cast<int>(impl_->view.size()))
    throw DataSetError("Record number " + platform::to_text(recno) + " out of range");
  impl_->SetCursor(static_cast<std::size_t>(recno - 1));
  impl_->bof = impl_->eof = false;
}

// ---- editing ----

void ClientDataSet::Append() {
  impl_->CheckBrowseMode(*this);
  Impl& d = *impl_;
  d.buffer.assign(d.defs.size(), Cell{});
  d.editing = nullptr;
  d.insert_seq = d.next_seq;
  d.state = DataSetState::Insert;
}

void ClientDataSet::Insert() {
  impl_->CheckBrowseMode(*this);
  Impl& d = *impl_;
  d.buffer.assign(d.defs.size(), Cell{});
  d.editing = nullptr;
  if (d.view.empty()) {
    d.insert_seq = d.next_seq;
  } else {
    // Make room in natural order just before the current row.
    const std::uint64_t at = d.view[d.pos]->seq;
    for (auto& r : d.natural)
      if (r->seq >= at) ++r->seq;
    ++d.next_seq;
    d.insert_seq = at;
  }
  d.state = DataSetState::Insert;
}

void ClientDataSet::Edit() {
  Impl& d = *impl_;
  d.RequireActive();
  if (d.state == DataSetState::Edit || d.state == DataSetState::Insert) return;
  if (d.view.empty()) {
    Append();  // editing an empty dataset starts a new record, as the host's runtime does
    return;
  }
  d.editing = d.view[d.pos];
  d.buffer = d.editing->cells;
  d.state = DataSetState::Edit;
}

void ClientDataSet::Post() {
  Impl& d = *impl_;
  d.RequireActive();
  Row* row = nullptr;
  if (d.state == DataSetState::Insert) {
    auto fresh = std::make_unique<Row>();
    fresh->cells = std::move(d.buffer);
    fresh->seq = d.insert_seq;
    row = fresh.get();
    d.InsertRow(std::move(fresh));
  } else if (d.state == DataSetState::Edit) {
    row = d.editing;
    d.Detach(row);
    row->cells = std::move(d.buffer);
    d.Attach(row);
  } else {
    return;
  }
  d.state = DataSetState::Browse;
  d.editing = nullptr;
  d.buffer.clear();
  // The cursor follows the posted row; one that the filter hides leaves the
  // cursor where it would have been.
  const RowOrder& order = d.CurrentOrder();
  d.SetCursor(order.LowerBound(d.view, row));
  d.bof = d.eof = false;
  if (d.view.empty()) d.bof = d.eof = true;
}

void ClientDataSet::Cancel() {
  Impl& d = *impl_;
  if (d.state != DataSetState::Edit && d.state != DataSetState::Insert) return;
  d.state = DataSetState::Browse;
  d.editing = nullptr;
  d.buffer.clear();
}

void ClientDataSet::Delete() {
  Impl& d = *impl_;
  d.RequireActive();
  if (d.state == DataSetState::Insert) {
    Cancel();
    return;
  }
  if (d.state == DataSetState::Edit) Cancel();
  if (d.view.empty()) throw DataSetError("Cannot perform this operation on an empty dataset");
  Row* row = d.view[d.pos];
  const std::size_t at = d.pos;
  d.Detach(row);
  auto it = std::lower_bound(d.natural.begin(), d.natural.end(), row->seq,
                             [](const std::unique_ptr<Row>& r, std::uint64_t s) { return r->seq < s; });
  if (it != d.natural.end() && it->get() == row) d.natural.erase(it);
  // The cursor stays on the row that followed; past the end it stops on the
  // last row with Eof set, so a walk that deletes as it goes ends.
  const bool was_last = at >= d.view.size();
  d.SetCursor(at);
  d.bof = d.view.empty() || at == 0;
  d.eof = d.view.empty() || was_last;
}

void ClientDataSet::EmptyDataSet() {
  impl_->RequireActive();
  Cancel();
  impl_->ClearRows();
}

DataSetState ClientDataSet::State() const { return impl_->state; }

}  // namespace hostrt
