#pragma once
// Inside of ClientDataSet: rows owned in natural order, one sorted
// permutation per index in use, and the visible view (current order, filter
// applied) that the cursor walks.
#include <memory>
#include <string>
#include <vector>

#include "cell.h"
#include "filter.h"
#include "hostrt/dataset.h"
#include "order.h"
#include "packet.h"

namespace hostrt {

using dataset_detail::Cell;
using dataset_detail::FieldDef;
using dataset_detail::IndexDef;
using dataset_detail::Row;
using dataset_detail::RowOrder;

struct ClientDataSet::Impl {
  // An index and, once asked for, its rows in its order (kept up to date).
  struct Index {
    IndexDef def;
    RowOrder order;
    std::vector<Row*> rows;
    bool built = false;
  };

  std::vector<FieldDef> defs;
  std::vector<std::unique_ptr<Field>> fields;
  std::vector<Index> indexes;        // named
  Index adhoc;                       // from SetIndexFieldNames
  int current = -1;                  // -1 natural, -2 adhoc, else a named index
  std::string current_name;          // "" unless a named index is current
  std::string adhoc_fields;

  bool active = false;
  DataSetState state = DataSetState::Inactive;
  std::vector<std::unique_ptr<Row>> natural;  // owner, ascending seq
  std::uint64_t next_seq = 1;

  std::vector<Row*> view;            // visible rows in current order
  std::size_t pos = 0;
  bool bof = true, eof = true;

  std::vector<Cell> buffer;          // the record being edited or inserted
  Row* editing = nullptr;            // Edit: the row; Insert: nullptr
  std::uint64_t insert_seq = 0;      // Insert: natural place of the new row

  std::string filter_text;
  bool filtered = false;
  std::unique_ptr<dataset_detail::FilterNode> filter;  // parsed filter_text

  std::string file_name;

  // ---- helpers shared by the .cpp files of the dataset ----
  const RowOrder& CurrentOrder() const;
  bool Visible(const Row& row) const { return !filtered || !filter || filter->Eval(row); }
  void RebuildView();                 // after index or filter change; cursor to first
  void ReorderView();                 // after an index change; cursor stays on its row
  void BuildIndex(Index& index);
  void ClearRows();
  const Cell& CurrentCell(int field) const;
  Cell& WritableCell(int field);
  void RequireActive() const;
  void CheckBrowseMode(ClientDataSet& self);  // posts a pending edit
  void SetCursor(std::size_t p);
  void InsertRow(std::unique_ptr<Row> row);  // into natural, built indexes and view
  void Detach(Row* row);                     // from built indexes and view
  void Attach(Row* row);
  // The table as it stands (a pending edit included): every row in natural
  // order, or the visible rows in view order.
  dataset_detail::TableContent Snapshot(bool visible_only) const;
  // Replaces structure and rows; all checks come first, so a failure leaves
  // the dataset as it was.
  void Adopt(dataset_detail::TableContent content);
};

}  // namespace hostrt
