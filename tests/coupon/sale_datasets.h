// The host's datasets of a printed sale, filled as a host fills them: the
// items (cdsVendas), the cash movements (cdsMovi) and the till's payment
// types (cdsRecebimento).
#pragma once
#include <string>
#include <vector>

#include "dataset_rows.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"

namespace coupon_test {

struct SaleItemRow {
  std::string name;
  std::string kind;  // IDTPIMPOSFIS
  double rate = 0;   // VRPEALIMPFIS
  double price = 0;  // VRPRECCOMVEN, tax included
  double quantity = 1;
  double discount = 0;  // VRDESCCOMVEN
  std::string code = "";
};

// Sold by operator 7, MARIA, in store 01; the cursor is left on the first row.
inline void FillSaleItems(hostrt::ClientDataSet& cdsVendas, const std::vector<SaleItemRow>& rows) {
  using hostrt::FieldType;
  std::vector<std::vector<hostrt::Variant>> values;
  int n = 0;
  for (const auto& r : rows)
    values.push_back({"7", "MARIA", r.name, r.code.empty() ? "789100000000" + std::to_string(++n) : r.code, r.price,
                      r.quantity, r.discount, r.kind, r.rate, "01"});
  cdsVendas.SetData(DatasetData({{"CDOPERADOR", FieldType::String, 10},
                                 {"NMOPERADOR", FieldType::String, 40},
                                 {"NMPRODUTO", FieldType::String, 60},
                                 {"CDARVPROD", FieldType::String, 20},
                                 {"VRPRECCOMVEN", FieldType::Float},
                                 {"QTPRODCOMVEN", FieldType::Float},
                                 {"VRDESCCOMVEN", FieldType::Float},
                                 {"IDTPIMPOSFIS", FieldType::String, 1},
                                 {"VRPEALIMPFIS", FieldType::Float},
                                 {"CDLOJA", FieldType::String, 4}},
                                values));
  cdsVendas.First();
}

struct MovementRow {
  std::string movement;  // IDTIPOMOVIVE: E, S or T
  std::string type;      // CDTIPORECE
  std::string kind;      // IDTIPORECE: 5 and 7 are tickets
  double amount = 0;
  std::string description = "";  // DSIMPFISCAL
};

inline void FillMovements(hostrt::ClientDataSet& cdsMovi, const std::vector<MovementRow>& rows) {
  using hostrt::FieldType;
  std::vector<std::vector<hostrt::Variant>> values;
  double minute = 0;
  for (const auto& r : rows)
    values.push_back({r.movement, hostrt::DateTime{hostrt::Now().value + ++minute / (24 * 60)}, r.type, r.kind,
                      r.amount, 0, "", "", r.description});
  cdsMovi.SetData(DatasetData({{"IDTIPOMOVIVE", FieldType::String, 1},
                               {"DTHRINCMOV", FieldType::DateTime},
                               {"CDTIPORECE", FieldType::String, 3},
                               {"IDTIPORECE", FieldType::String, 1},
                               {"VRMOVIVEND", FieldType::Float},
                               {"NRORDTROCO", FieldType::Integer},
                               {"CDBANCARTCR", FieldType::String, 5},
                               {"CDTIPORECEORIG", FieldType::String, 3},
                               {"DSIMPFISCAL", FieldType::String, 50}},
                              values));
}

// 001 Dinheiro, 002 Cartao Credito, 005 a meal ticket (kind 5), 007 a food ticket (kind 7).
inline void FillSaleReceiptTypes(hostrt::ClientDataSet& cdsRecebimento) {
  using hostrt::FieldType;
  cdsRecebimento.SetData(DatasetData({{"CDTIPORECE", FieldType::String, 3},
                                      {"NMTIPORECE", FieldType::String, 40},
                                      {"IDTIPORECE", FieldType::String, 1}},
                                     {{"001", "Dinheiro", "1"},
                                      {"002", "Cartao Credito", "2"},
                                      {"005", "Vale Refeicao", "5"},
                                      {"007", "Vale Alimentacao", "7"}}));
}

}  // namespace coupon_test
