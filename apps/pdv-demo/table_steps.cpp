#include "table_steps.h"


#include <exception>
#include <iostream>
#include <vector>

#include "driver_operation.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/datetime.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"
#include "platform/paths.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

// A moment of today as the host writes it ("dd/mm/yyyy hh:nn").
std::string Today(int hour, int minute) {
  return hostrt::FormatDateTime("dd/mm/yyyy", hostrt::Now()) + " " + hostrt::FormatFloat("00", hour) + ":" +
         hostrt::FormatFloat("00", minute);
}

struct Column {
  const char* name;
  hostrt::FieldType type;
  int size;
};

// A dataset of the host with these columns and rows.
void Fill(hostrt::ClientDataSet& table, const std::vector<Column>& columns,
          const std::vector<std::vector<hostrt::Variant>>& rows) {
  for (const Column& column : columns) table.AddFieldDef(column.name, column.type, column.size);
  table.CreateDataSet();
  for (const auto& row : rows) {
    table.Append();
    for (std::size_t i = 0; i < row.size(); ++i) table.Fields(static_cast<int>(i)).SetValue(row[i]);
    table.Post();
  }
}

hostrt::Variant Packet(const std::vector<Column>& columns, const std::vector<std::vector<hostrt::Variant>>& rows) {
  hostrt::ClientDataSet table;
  Fill(table, columns, rows);
  return table.Data();
}

// The printer's setup for table documents, as the restaurant's technician
// programs it: a non-fiscal totalizer for the table receipts, through the
// driver's slot of the vendor entry point (the payment form "Rel Gerencial"
// that they go by came with the receipt types). A printer that keeps its
// memory from an earlier run has it already.
void SetUpPrinter(void* driver) {
  std::cout << "\n== Printer set up for table documents ==\n";
  auto& name_totalizer = *static_cast<decltype(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms)*>(
      platform::resolve_symbol(driver, "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms"));
  Report("non-fiscal totalizer 01 CONFERENCIA", name_totalizer.Bound() && name_totalizer(1, "CONFERENCIA") == 1);
}

void OpenTable(void* driver) {
  std::cout << "\n== Table 12 opened ==\n";
  const auto products = Packet({{"CDARVPROD", hostrt::FieldType::String, 14},
                                {"NMPRODUTO", hostrt::FieldType::String, 40},
                                {"QTPRODCOMVEN", hostrt::FieldType::Float, 0},
                                {"VRPRECCOMVEN", hostrt::FieldType::Float, 0}},
                               {{"7891000100103", "CAFE EXPRESSO", 2.0, 4.5}, {"7891000300300", "PRATO EXECUTIVO", 1.0, 29.9}});
  Report("Abertura_Mesa", OPERATION(driver, Abertura_Mesa)("01", kColour, "", "12", "JOAO", Today(12, 30), products,
                                                           0, 0, 0, 3.89, 2, 42.79, 0));
}

void BillCheck(void* driver, const std::string& serial) {
  std::cout << "\n== Bill check of table 12 ==\n";
  std::string coupon;
  const std::string bill =
      "CONFERENCIA DA MESA 12\n"
      "2 X CAFE EXPRESSO                          9,00\n"
      "1 X PRATO EXECUTIVO                       29,90\n"
      "TAXA DE SERVICO 10%                        3,89\n"
      "TOTAL                                     42,79\n";
  Report("Conferencia_Formatada", OPERATION(driver, Conferencia_Formatada)(kColour, "001", "001", serial, coupon, bill));
  std::cout << "  coupon number " << coupon << "\n";
}

void OpenTablesAndTransfer(void* driver) {
  std::cout << "\n== Open tables and a transfer ==\n";
  hostrt::ClientDataSet params;
  const auto open = Packet({{"DSCOMANDA", hostrt::FieldType::String, 20},
                            {"NRMESA", hostrt::FieldType::String, 4},
                            {"DTHRABERMESA", hostrt::FieldType::String, 20}},
                           {{"RES0012", "0012", Today(12, 30)},
                            {"PKR0014", "0014", Today(12, 50)},
                            {"CMD0101", "", Today(13, 5)},
                            {"DLV0033", "", Today(13, 20)}});
  Report("ImprimeMesasAbertas", OPERATION(driver, ImprimeMesasAbertas)(params, "001", "001", kColour, open));
  const auto moved = Packet({{"NRMESA", hostrt::FieldType::String, 4},
                             {"NRMESADSCOMORIT", hostrt::FieldType::String, 20},
                             {"CDPRODUTO", hostrt::FieldType::String, 14},
                             {"NMPRODUTO", hostrt::FieldType::String, 40},
                             {"QTPRODCOMVEN", hostrt::FieldType::Float, 0},
                             {"VRPRECCOMVEN", hostrt::FieldType::Float, 0}},
                            {{"14", "12", "101", "CAFE EXPRESSO", 1.0, 4.5}, {"14", "12", "205", "PAO DE QUEIJO", 2.0, 3.25}});
  try {
    OPERATION(driver, imprimeProdutosTransf)("001", "001", kColour, moved);
    Report("imprimeProdutosTransf", true);
  } catch (const std::exception& error) {
    std::cout << "imprimeProdutosTransf: " << error.what() << "\n";
  }
}

// The table's sale register, then its local file after a cancellation: only
// the items printed on the fiscal printer stay.
void SaleRegister(void* driver) {
  std::cout << "\n== Sale register of table 12 ==\n";
  hostrt::ClientDataSet items;
  Fill(items,
       {{"CDPROD", hostrt::FieldType::String, 14},
        {"NMPROD", hostrt::FieldType::String, 40},
        {"STQTDE", hostrt::FieldType::String, 12},
        {"STVALOR", hostrt::FieldType::String, 12}},
       {{"7891000100103", "CAFE EXPRESSO", hostrt::FormatFloat("0.00", 2), hostrt::FormatFloat("0.00", 4.5)},
        {"7891000300300", "PRATO EXECUTIVO", hostrt::FormatFloat("0.00", 1), hostrt::FormatFloat("0.00", 29.9)}});
  Report("RegistroVenda", OPERATION(driver, RegistroVenda)("001", "001", kColour, items, "0012"));

  const std::string path = platform::executable_directory() + "/cdsVenda.cds";
  hostrt::ClientDataSet sale;
  Fill(sale,
       {{"IDPRODIMPFIS", hostrt::FieldType::String, 1},
        {"NMPRODUTO", hostrt::FieldType::String, 40},
        {"VRTXSERVICO", hostrt::FieldType::Float, 0},
        {"VRDESCOMANDA", hostrt::FieldType::Float, 0},
        {"VRDESCCOMVEN", hostrt::FieldType::Float, 0}},
       {{"S", "CAFE EXPRESSO", 0.9, 0.5, 0.0}, {"N", "COUVERT", 0.5, 0.0, 0.0}, {"S", "PRATO EXECUTIVO", 2.99, 0.0, 1.0}});
  sale.SaveToFile(path);
  OPERATION(driver, CancRegistroVenda)(kColour);
  sale.LoadFromFile(path);
  std::cout << "CancRegistroVenda: cdsVenda.cds keeps";
  for (sale.First(); !sale.Eof(); sale.Next())
    std::cout << " " << sale.FieldByName("NMPRODUTO").AsString() << " (service "
              << sale.FieldByName("VRTXSERVICO").AsString() << ")";
  std::cout << "\n";
}

void ReceiptTypes(void* driver) {
  std::cout << "\n== Amounts by receipt type ==\n";
  const hostrt::Variant yesterday(hostrt::DateTime{hostrt::Date().value - 1}), today(hostrt::Date());
  const auto movements = Packet({{"DTMOVIMCAIXA", hostrt::FieldType::DateTime, 0},
                                 {"CDTIPORECE", hostrt::FieldType::String, 3},
                                 {"NMTIPORECE", hostrt::FieldType::String, 20},
                                 {"VRMOVIVEND", hostrt::FieldType::Float, 0}},
                                {{yesterday, "1", "Dinheiro", 125.5},
                                 {yesterday, "2", "Cartao Credito", 310.0},
                                 {today, "1", "Dinheiro", 98.25},
                                 {today, "3", "Vale Refeicao", 42.79}});
  OPERATION(driver, imprimeTipoRece)("001", "001", kColour, movements);
  Report("imprimeTipoRece", true);
}

}  // namespace

void RunTableSteps(void* driver, const std::string& serial) {
  SetUpPrinter(driver);
  OpenTable(driver);
  BillCheck(driver, serial);
  OpenTablesAndTransfer(driver);
  SaleRegister(driver);
  ReceiptTypes(driver);
}

}  // namespace pdv_demo
