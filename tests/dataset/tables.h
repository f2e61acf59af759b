#pragma once
// Small tables shaped like the ones the driver receives from its host.
#include <string>
#include <vector>

#include "hostrt/dataset.h"
#include "hostrt/format.h"

namespace dataset_tests {

using hostrt::ClientDataSet;
using hostrt::FieldType;

// Restores the process format settings when a test changed them.
struct FormatSettingsGuard {
  hostrt::FormatSettings saved = hostrt::CurrentFormatSettings();
  ~FormatSettingsGuard() { hostrt::SetFormatSettings(saved); }
};

// Payment rows: IDTIPORECE is text here, as the host keeps it.
inline void MakePayments(ClientDataSet& ds) {
  ds.AddFieldDef("CDTIPORECE", FieldType::String, 3);
  ds.AddFieldDef("IDTIPOMOVIVE", FieldType::String, 1);
  ds.AddFieldDef("IDTIPORECE", FieldType::String, 1);
  ds.AddFieldDef("VRMOVIVEND", FieldType::Float);
  ds.AddFieldDef("NRORDTROCO", FieldType::Integer);
  ds.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
  ds.AddFieldDef("CDFPIMPFIS", FieldType::String, 10);
  ds.CreateDataSet();
}

struct Payment {
  std::string code, kind, receipt_kind;
  double amount;
  int order;
  double when;  // days
  const char* fp = nullptr;  // CDFPIMPFIS, nullptr = Null
};

inline void AddPayment(ClientDataSet& ds, const Payment& p) {
  ds.Append();
  ds.FieldByName("CDTIPORECE").SetAsString(p.code);
  ds.FieldByName("IDTIPOMOVIVE").SetAsString(p.kind);
  ds.FieldByName("IDTIPORECE").SetAsString(p.receipt_kind);
  ds.FieldByName("VRMOVIVEND").SetAsFloat(p.amount);
  ds.FieldByName("NRORDTROCO").SetAsInteger(p.order);
  ds.FieldByName("DTHRINCMOV").SetAsDateTime(hostrt::DateTime{p.when});
  if (p.fp) ds.FieldByName("CDFPIMPFIS").SetAsString(p.fp);
  ds.Post();
}

// A table of text fields (size 20) with the given rows; "\x01" stands for Null.
inline void MakeTextTable(ClientDataSet& ds, const std::vector<std::string>& fields,
                          const std::vector<std::vector<std::string>>& rows) {
  for (const auto& f : fields) ds.AddFieldDef(f, FieldType::String, 20);
  ds.CreateDataSet();
  for (const auto& row : rows) {
    ds.Append();
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (row[i] != "\x01") ds.Fields(static_cast<int>(i)).SetAsString(row[i]);
    ds.Post();
  }
}

// The values of one field over the visible rows, in cursor order.
inline std::vector<std::string> Column(ClientDataSet& ds, const char* field) {
  std::vector<std::string> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName(field).AsString());
  return out;
}

}  // namespace dataset_tests
