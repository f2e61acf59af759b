#include "dayend/z_export_layouts.h"

#include <initializer_list>

namespace kvr {
namespace {

using hostrt::FieldType;

struct FieldLayout {
  const char* name;
  FieldType type;
  int size;
};

void Create(hostrt::ClientDataSet& ds, std::initializer_list<FieldLayout> fields) {
  ds.Close();
  ds.SetFiltered(false);
  ds.ClearFieldDefs();
  for (const FieldLayout& field : fields) ds.AddFieldDef(field.name, field.type, field.size);
  ds.CreateDataSet();
}

// Every record names the till and the fiscal day first.
constexpr FieldLayout kTill{"NRECFREDZ", FieldType::String, 4};
constexpr FieldLayout kDay{"DTREDUCAOZ", FieldType::DateTime, 0};

}  // namespace

void CreateReducaoZ(hostrt::ClientDataSet& ds) {
  Create(ds, {kTill,
              kDay,
              {"NRREINIREDZ", FieldType::String, 10},
              {"NRREDREDZ", FieldType::String, 10},
              {"NRLEITREDZ", FieldType::String, 10},
              {"NRGERCNFREDZ", FieldType::String, 10},
              {"NRCANCFREDZ", FieldType::String, 10},
              {"NRPRIMCFREDZ", FieldType::String, 10},
              {"NRULTCFREDZ", FieldType::String, 10},
              {"VRGTREDZ", FieldType::Float, 0},
              {"VRVENBRUREDZ", FieldType::Float, 0},
              {"VRISSREDZ", FieldType::Float, 0},
              {"VRTOTCANREDZ", FieldType::Float, 0},
              {"VRTOTDESREDZ", FieldType::Float, 0},
              {"VRVENLIQREDZ", FieldType::Float, 0},
              {"VRTOTACRREDZ", FieldType::Float, 0},
              {"VRSTRIBREDZ", FieldType::Float, 0},
              {"VRISENCREDZ", FieldType::Float, 0},
              {"VRNINCIDREDZ", FieldType::Float, 0},
              {"QTTEMLIGREDZ", FieldType::String, 6},
              {"QTTEMPCFREDZ", FieldType::String, 6},
              {"QTMEMRESREDZ", FieldType::Float, 0},
              {"IDORIGEMREDZ", FieldType::String, 3},
              {"DSMODMARCAECF", FieldType::String, 30},
              {"NRUSUARIOMFD", FieldType::String, 10},
              {"CDMFADICIONAL", FieldType::String, 5},
              {"DTGRAVSBECF", FieldType::DateTime, 0}});
}

void CreateFormPgtoRedZ(hostrt::ClientDataSet& ds) {
  Create(ds, {kTill,
              kDay,
              {"CDTIPORECE", FieldType::String, 3},
              {"VRFORMPGTORZ", FieldType::Float, 0},
              {"CDTPRECEORIG", FieldType::String, 3}});
}

void CreateImpostoRedZ(hostrt::ClientDataSet& ds) {
  Create(ds, {kTill,
              kDay,
              {"CDALIQIMPRZ", FieldType::String, 10},
              {"VRALIQIMPRZ", FieldType::Float, 0},
              {"VRBCALCIMPRZ", FieldType::Float, 0},
              {"VRIMPOSTORZ", FieldType::Float, 0},
              {"IDTPIMPREDZ", FieldType::String, 1}});
}

void CreateTotNFiscRedZ(hostrt::ClientDataSet& ds) {
  Create(ds, {kTill,
              kDay,
              {"NRTOTNFISCRZ", FieldType::String, 10},
              {"DSTOTNFISCRZ", FieldType::String, 50},
              {"NRCONTOTNFIS", FieldType::String, 10},
              {"VRACUTOTNFIS", FieldType::Float, 0}});
}

}  // namespace kvr
