// A host finds every operation and global of the driver by its plain name.
#include <gmock/gmock.h>

#include "driver_fixture.h"

namespace driver_test {
namespace {

TEST(ExportsTest, EveryOperationGlobalAndSlotResolvesByItsPlainName) {
  const test_support::LoadedLibrary driver("Kvr00102.so");
  for (const char* name :
       {"StartImpFiscal", "FechaPorta", "StopImpFiscal", "ImpressoraOK", "RetornoImpFiscal", "Estado_Imp",
        "EstImpressora", "AnalisaRetorno", "AbrePorta", "Data_Imp", "BuscaTotGer", "GetValue", "Atu_TotGeral",
        "VerificaData", "Carrega_Dados_Impressora", "InfImpTerm", "Modelo_Impressora", "Versao_SoftwareBasico",
        "ImpFisDebug", "ImpFisDLLHandle", "boImpFiscalOK", "boComando", "dtmBematech12", "stAliquotaIss",
        "stDataCat", "cdsAuxExtSimp"})
    EXPECT_NE(driver.find(name), nullptr) << name;
  int slots = 0;
#define CHECK_SLOT(name, result, args)                        \
  EXPECT_NE(driver.find(#name), nullptr) << #name;            \
  ++slots;
  KVR_BOUND_ENTRY_POINTS(CHECK_SLOT)
  KVR_OPTIONAL_ENTRY_POINTS(CHECK_SLOT)
#undef CHECK_SLOT
  EXPECT_EQ(slots, 120 + 18);
  // The driver's own helpers stay inside it.
  EXPECT_EQ(driver.find("_ZN3kvr3LogESt17basic_string_viewIcSt11char_traitsIcEE"), nullptr);
}

using DataModuleTest = DriverTest;

TEST_F(DataModuleTest, TheDataModuleIsCreatedOnFirstUseAndAgainAfterItIsGone) {
  auto& module = KVR_GLOBAL(driver, dtmBematech12);
  module = nullptr;  // as after an operation that destroys it
  EXPECT_FALSE(KVR(driver, AnalisaRetorno)("001", -1, true, false, false));
  EXPECT_NE(module, nullptr);
  // Before a start no status can be read either.
  EXPECT_THAT(DialogTexts(),
              ::testing::ElementsAre(L1("Erro de execução na função."), L1("Impressora fiscal com erro.")));
}

TEST_F(DataModuleTest, FixedIdentityAnswersTouchNothing) {
  std::string a = "a", b = "b", c = "c";
  EXPECT_FALSE(KVR(driver, InfImpTerm)(1, a, b, c));
  EXPECT_TRUE(KVR(driver, Modelo_Impressora)(a, b, c));
  EXPECT_TRUE(KVR(driver, Versao_SoftwareBasico)(a));
  EXPECT_EQ(a + b + c, "abc");
  EXPECT_TRUE(printer.journal().empty());
}

}  // namespace
}  // namespace driver_test
