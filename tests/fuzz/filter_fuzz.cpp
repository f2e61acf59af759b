// The dataset filter: the input is a filter text, applied to a table with a
// field of every type and rows with Null and blank values. A refused text
// leaves the filter and the visible rows as they were; an accepted one keeps
// the same rows when parenthesised or joined to itself with AND.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "hostrt/dataset.h"

namespace {

using hostrt::ClientDataSet;
using hostrt::FieldType;

void AddRow(ClientDataSet& ds, const char* code, const char* name, std::int64_t id, double value, bool active,
            int day) {
  ds.Append();
  if (code) ds.FieldByName("CDTIPORECE").SetAsString(code);
  if (name) ds.FieldByName("NMTIPORECE").SetAsString(name);
  if (id >= 0) ds.FieldByName("IDTIPORECE").SetAsInteger(id);
  if (value >= 0) ds.FieldByName("VRMOVIVEND").SetAsFloat(value);
  if (day > 0) {
    ds.FieldByName("IDATIVO").SetAsBoolean(active);
    ds.FieldByName("DTMOVIMENT").SetAsDateTime(hostrt::EncodeDate(2026, 12, day));
  }
  ds.Post();
}

ClientDataSet& Table() {
  static ClientDataSet* ds = [] {
    auto* made = new ClientDataSet("cdsFuzz");
    made->AddFieldDef("CDTIPORECE", FieldType::String, 3);
    made->AddFieldDef("NMTIPORECE", FieldType::String, 40);
    made->AddFieldDef("IDTIPORECE", FieldType::Integer);
    made->AddFieldDef("VRMOVIVEND", FieldType::Float);
    made->AddFieldDef("IDATIVO", FieldType::Boolean);
    made->AddFieldDef("DTMOVIMENT", FieldType::DateTime);
    made->AddFieldDef("Nome Livre", FieldType::String, 0);
    made->CreateDataSet();
    AddRow(*made, "001", "DINHEIRO", 1, 10.5, true, 7);
    AddRow(*made, "5", "Cart\xE3o", 5, 0, false, 8);
    AddRow(*made, " ", "", 12, 1e300, true, 9);
    AddRow(*made, "", "CHEQUE'S", 0, 0.01, false, 0);
    AddRow(*made, nullptr, nullptr, -1, -1, false, 0);
    AddRow(*made, "ABC", "abc  ", 1234567890123, 99.99, true, 31);
    return made;
  }();
  return *ds;
}

// The visible rows, as their natural positions read through a field.
std::vector<std::string> VisibleRows(ClientDataSet& ds) {
  std::vector<std::string> rows;
  for (ds.First(); !ds.Eof(); ds.Next())
    rows.push_back(ds.FieldByName("CDTIPORECE").AsString() + "|" + ds.FieldByName("IDTIPORECE").AsString());
  fuzz::check(static_cast<int>(rows.size()) == ds.RecordCount(), "RecordCount differs from the rows visited");
  return rows;
}

// The rows that a filter keeps; false when the text is refused.
bool Apply(ClientDataSet& ds, const std::string& text, std::vector<std::string>& rows) {
  const std::string before_text = ds.Filter();
  const std::vector<std::string> before_rows = VisibleRows(ds);
  try {
    ds.SetFilter(text);
  } catch (const hostrt::DataSetError&) {
    fuzz::check(ds.Filter() == before_text, "a refused filter replaced the filter text");
    fuzz::check(VisibleRows(ds) == before_rows, "a refused filter changed the visible rows");
    return false;
  }
  rows = VisibleRows(ds);
  fuzz::check(rows.size() <= 6, "a filter shows more rows than the table has");
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ClientDataSet& ds = Table();
  ds.SetFilter("");
  ds.SetFiltered(true);
  // A known filter in force, so that a refusal has something to keep.
  ds.SetFilter("IDTIPORECE > 0");
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> rows;
  if (!Apply(ds, text, rows)) return 0;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return 0;  // no filter at all
  std::vector<std::string> same;
  fuzz::check(Apply(ds, "(" + text + ")", same), "a filter in parentheses was refused");
  fuzz::check(same == rows, "a filter in parentheses keeps other rows");
  fuzz::check(Apply(ds, "(" + text + ") AND (" + text + ")", same), "a filter AND itself was refused");
  fuzz::check(same == rows, "a filter AND itself keeps other rows");
  return 0;
}
