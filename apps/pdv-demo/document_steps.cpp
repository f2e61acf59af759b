#include "document_steps.h"

#include <iostream>

#include "driver_operation.h"
#include "kvr00102/kvr00102.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

void SupplyAndWithdrawal(void* driver) {
  std::cout << "\n== Supply and withdrawal ==\n";
  Report("Suprimento 100,00", OPERATION(driver, Suprimento)("", kColour, 100.0));
  Report("Sangria 35,50", OPERATION(driver, Sangria)("", kColour, 35.5));
}

void ManagementReport(void* driver, const std::string& serial) {
  std::cout << "\n== Management report ==\n";
  const bool opened = OPERATION(driver, Relatorio_Gerencial_Imp)(kColour, "001", "001", "");
  Report("Relatorio_Gerencial_Imp", opened);
  if (!opened) return;
  OPERATION(driver, GravaDocumentosNaoFiscais)(serial, kColour, "RG");
  const std::string rule(48, '-');
  Report("Usa_CompNFis", OPERATION(driver, Usa_CompNFis)(kColour, "CAIXA 001 - TURNO DA MANHA\n" + rule +
                                                                      "\nFUNDO DE TROCO                          100,00\n"
                                                                      "SANGRIA                                  35,50\n" +
                                                                      rule + "\n"));
  Report("FechRelatGerenc", OPERATION(driver, FechRelatGerenc)(kColour, true, false));
}

void RestaurantTable(void* driver, const std::string& serial) {
  std::cout << "\n== Restaurant table 12 ==\n";
  Report("Registra_Item_imp CAFE EXPRESSO x2",
         OPERATION(driver, Registra_Item_imp)(kColour, "12", "D", "7891000100103", "CAFE EXPRESSO", "01", 4.5, 2, 0));
  Report("Registra_Item_imp PRATO EXECUTIVO",
         OPERATION(driver, Registra_Item_imp)(kColour, "12", "D", "7891000300300", "PRATO EXECUTIVO", "01", 29.9, 1,
                                              0));
  const bool checked = OPERATION(driver, Cupom_Conferencia)(kColour, "12", "S", 10, 0);
  Report("Cupom_Conferencia with 10% service", checked);
  if (checked) OPERATION(driver, GravaDocumentosNaoFiscais)(serial, kColour, "CM");
  Report("Fecha_Conferencia_Imp", OPERATION(driver, Fecha_Conferencia_Imp)(kColour, "S", 0));
  Report("Registra_Item_imp with a price of 1.000.000,00 (refused, too large for its field)",
         OPERATION(driver, Registra_Item_imp)(kColour, "12", "D", "1", "ITEM", "01", 1000000, 1, 0));
}

}  // namespace

void RunDocumentSteps(void* driver, const std::string& serial) {
  SupplyAndWithdrawal(driver);
  ManagementReport(driver, serial);
  RestaurantTable(driver, serial);
}

}  // namespace pdv_demo
