#include "coupon/closing_datasets.h"

#include <algorithm>

#include "datamodule/data_module.h"

namespace kvr {
namespace {

void Load(hostrt::ClientDataSet& ds, const hostrt::Variant& data) {
  ds.Close();
  if (data.Type() != hostrt::VarType::DataPacket) return;
  ds.SetData(data);
  ds.Open();
}

void AddIndexOnce(hostrt::ClientDataSet& ds, const char* name, const char* fields, const char* descending) {
  const auto names = ds.IndexNames();
  if (std::find(names.begin(), names.end(), name) == names.end()) ds.AddIndex(name, fields, descending);
}

// The payment rows with their two indexes, ordered by the default one.
void LoadPaymentRows(hostrt::ClientDataSet& ds, const hostrt::Variant& data) {
  ds.Close();
  if (data.Type() != hostrt::VarType::DataPacket)
    throw hostrt::DataSetError("FechaCupom: the payment rows (slot 13) are not dataset data");
  ds.SetData(data);
  ds.Open();
  ds.SetFiltered(false);
  AddIndexOnce(ds, kIdxNrOrdTroco, "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  AddIndexOnce(ds, kIdxDtHrIncMov, "DTHRINCMOV", "");
  ds.SetIndexName(kIdxNrOrdTroco);
}

void AppendCopy(hostrt::ClientDataSet& from, hostrt::ClientDataSet& to) {
  to.Append();
  for (int i = 0; i < from.FieldCount(); ++i) to.Fields(i).SetValue(from.Fields(i).Value());
  to.Post();
}

bool IsPaymentMovement(const std::string& kind) { return kind == "E" || kind == "T"; }

}  // namespace

std::string OptionalText(hostrt::ClientDataSet& ds, const char* field) {
  hostrt::Field* f = ds.FindField(field);
  return f ? f->AsString() : std::string();
}

void LoadClosingDatasets(TdtmBematech12& dm, const ClosingArgs& args) {
  LoadPaymentRows(dm.cdsMovCaixa, args.oleMovCaixa01);
  LoadPaymentRows(dm.cdsMovCaixaTef, args.oleMovCaixa01);
  dm.cdsMovCaixaTef.EmptyDataSet();
  Load(dm.cdsRecebAux, args.oleReceb01);
  Load(dm.cdsSaldCred, args.oleSaldCred);
  Load(dm.cdsFamiliaSaldo, args.oleFamiliaSaldo);
  Load(dm.cdsEmprestimo, args.oleEmprestimo);
}

void CollectPaymentRows(TdtmBematech12& dm, bool tef_mode) {
  hostrt::ClientDataSet& rows = dm.cdsMovCaixa;
  hostrt::ClientDataSet& sent = dm.cdsMovCaixaTef;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const std::string kind = rows.FieldByName("IDTIPOMOVIVE").AsString();
    if (tef_mode && IsPaymentMovement(kind)) {
      const std::string type = rows.FieldByName("CDTIPORECE").AsString();
      if (sent.Locate("CDTIPORECE;IDTIPOMOVIVE", hostrt::Variant::ArrayOf({type, "E"}))) {
        hostrt::Field& amount = sent.FieldByName("VRMOVIVEND");
        sent.Edit();
        amount.SetAsFloat(amount.AsFloat() + rows.FieldByName("VRMOVIVEND").AsFloat());
        sent.Post();
        continue;
      }
    }
    AppendCopy(rows, sent);
  }
}

}  // namespace kvr
