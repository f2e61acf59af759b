#include "grand_total_fixture.h"

#include "hostrt/cipher.h"
#include "kvr00102/kvr00102.h"

namespace driver_test {

void WriteTotalRecord(const std::string& path, const std::vector<TotalRow>& rows) {
  hostrt::ClientDataSet cds;
  for (const char* name : {"CDFILIAL", "CDCAIXA", "NRSERIEECF", "CAMPO01", "CAMPO02", "IDSITECFIMPF"})
    cds.AddFieldDef(name, hostrt::FieldType::String, 60);
  cds.CreateDataSet();
  for (const TotalRow& row : rows) {
    cds.Append();
    cds.FieldByName("CDFILIAL").SetAsString(row.branch);
    cds.FieldByName("CDCAIXA").SetAsString(row.till);
    cds.FieldByName("NRSERIEECF").SetAsString(row.serial);
    cds.FieldByName("CAMPO01").SetAsString(row.carries);
    cds.FieldByName("CAMPO02").SetAsString(hostrt::Cripto(row.total, kvr::kCipherSelector));
    cds.FieldByName("IDSITECFIMPF").SetAsString(row.situation);
    cds.Post();
  }
  cds.SaveToFile(path);
}

std::vector<TotalRow> ReadTotalRecord(const std::string& path) {
  hostrt::ClientDataSet cds;
  cds.LoadFromFile(path);
  std::vector<TotalRow> rows;
  for (cds.First(); !cds.Eof(); cds.Next())
    rows.push_back({cds.FieldByName("CDFILIAL").AsString(), cds.FieldByName("CDCAIXA").AsString(),
                    cds.FieldByName("NRSERIEECF").AsString(), cds.FieldByName("CAMPO01").AsString(),
                    hostrt::Uncripto(cds.FieldByName("CAMPO02").AsString(), kvr::kCipherSelector),
                    cds.FieldByName("IDSITECFIMPF").AsString()});
  return rows;
}

}  // namespace driver_test
