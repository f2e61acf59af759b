// The restaurant commands: each one's code, parameters and number forms, the
// refusal of values that do not fit their digit fields, and a table served
// through the emulated printer's memory.
#include <gmock/gmock.h>

#include <functional>

#include "hostrt/format.h"
#include "raw_channel_fixture.h"

namespace restaurant_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

struct Expected {
  const char* what;
  std::function<bool(test_support::LoadedLibrary&)> call;
  std::string frame;
};

const std::string kFourteenZeros(14, '0');

std::vector<Expected> CommandsAndFrames() {
  using L = test_support::LoadedLibrary;
  return {
      {"item on a table",
       [](L& d) { return KVR(d, Registra_Item_imp)("007", "12", "D", "101", "REFRIGERANTE LATA 350ML", "01", 5.5, 2, 0.5); },
       Frame({"80", "48", "12", "00000550", "D", "00000050", "002000", "00000000000101", "REFRIGERANTE LATA", "01"})},
      {"item on no table",
       [](L& d) { return KVR(d, Registra_Item_imp)("007", "", "A", "7", "AGUA", "FF", 2.0, 1, 0); },
       Frame({"80", "48", "9999", "00000200", "A", "00000000", "001000", "00000000000007", "AGUA", "FF"})},
      {"item cancelled: table and code fitted",
       [](L& d) { return KVR(d, Cancela_Item_Imp)("007", "7", "D", "12345678901234567", "X", "01", 5.5, 1, 0); },
       Frame({"80", "49", "0007", "00000550", "D", "00000000", "001000", "45678901234567", "X", "01"})},
      {"bill check with a percentage",
       [](L& d) { return KVR(d, Cupom_Conferencia)("007", "12", "S", 10, 25.5); },
       Frame({"80", "50", "12", "S", "1000"})},
      {"bill check with a value",
       [](L& d) { return KVR(d, Cupom_Conferencia)("007", "12", "S", 0, 25.5); },
       Frame({"80", "50", "12", "S", "00000000002550"})},
      {"bill check with both amounts 0",
       [](L& d) { return KVR(d, Cupom_Conferencia)("007", "12", "S", 0, 0); },
       Frame({"80", "50", "12", "0", "0000", kFourteenZeros})},
      {"end of bill check with 0", [](L& d) { return KVR(d, Fecha_Conferencia_Imp)("007", "S", 0); },
       Frame({"80", "58", "0", kFourteenZeros})},
      {"end of bill check with a value", [](L& d) { return KVR(d, Fecha_Conferencia_Imp)("007", "S", 30); },
       Frame({"80", "58", "S", "00000000003000"})},
      {"join", [](L& d) { return KVR(d, Juncao_Mesa)("007", "12", "14"); }, Frame({"80", "51", "12", "14"})},
      {"coupon of a table", [](L& d) { return KVR(d, AbreCupomRes)("007", "12", "12345678909"); },
       Frame({"80", "52", "12", "12345678909"})},
      {"transfer",
       [](L& d) {
         return KVR(d, Transfere_Item_imp)("007", "12", "D", "101", "REFRIGERANTE LATA 350ML", "01", "14", 5.5, 0, 1);
       },
       Frame({"80", "53", "12", "0550", "D", "00000000", "001000", "00000000000101", "REFRIGERANTE LATA", "01", "14"})},
      {"payment reversal", [](L& d) { return KVR(d, Estorno)("007", "Dinheiro", "Cartao", 12.34); },
       Frame({"74", "Dinheiro", "Cartao", "1234"})},
      {"open tables report", [](L& d) { return KVR(d, Rel_MesaAber)("007", "1"); }, Frame({"80", "54", "1"})},
      {"menu", [](L& d) { return KVR(d, ImprimeCardapio)("007"); }, "\x1b|80|55|\x1b"},
      {"totals", [](L& d) { return KVR(d, Leitura_Totais_Imp)("007", true, false); }, Frame({"27"})},
      {"non-fiscal receipt", [](L& d) { return KVR(d, Totaliza_NFiscal_Imp)("007", "01", "00000000001000"); },
       Frame({"10", "01", "00000000001000"})},
      {"linked receipt", [](L& d) { return KVR(d, Abre_Comp_NFiscalVinc_Bematech1)("007", "Cartao"); },
       Frame({"66", "Cartao"})},
  };
}

void UseDecimalSeparator(char separator) {
  hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
  settings.DecimalSeparator = separator;
  settings.ThousandSeparator = separator == ',' ? '.' : ',';
  hostrt::SetFormatSettings(settings);
}

class EachSeparator : public RawChannelTest, public ::testing::WithParamInterface<char> {
 protected:
  void SetUp() override {
    RawChannelTest::SetUp();
    UseDecimalSeparator(GetParam());
  }
};

TEST_P(EachSeparator, EachCommandSendsItsCodeAndParametersInTheirForms) {
  for (const Expected& expected : CommandsAndFrames()) {
    printer.clear_journal();
    expected.call(driver);
    EXPECT_THAT(Commands(), ElementsAre(expected.frame)) << expected.what;
  }
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, EachSeparator, ::testing::Values(',', '.'));

struct Oversized {
  const char* what;
  std::function<bool(test_support::LoadedLibrary&)> call;
  std::string log;
};

std::vector<Oversized> OversizedValues() {
  using L = test_support::LoadedLibrary;
  const std::string tail = L1(" dígitos; comando não enviado");
  return {
      {"price of 1,000,000.00",
       [](L& d) { return KVR(d, Registra_Item_imp)("007", "12", "D", "1", "A", "01", 1000000, 1, 0); },
       L1("ERRO!!! Registra_Item_imp : o valor 1000000 não cabe no campo de 8") + tail},
      {"quantity of 1000",
       [](L& d) { return KVR(d, Cancela_Item_Imp)("007", "12", "D", "1", "A", "01", 5, 1000, 0); },
       L1("ERRO!!! Cancela_Item_Imp : o valor 1000 não cabe no campo de 6") + tail},
      {"negative adjustment",
       [](L& d) { return KVR(d, Registra_Item_imp)("007", "12", "D", "1", "A", "01", 5, 1, -1.5); },
       L1("ERRO!!! Registra_Item_imp : o valor -1,5 não cabe no campo de 8") + tail},
      {"percentage of 100", [](L& d) { return KVR(d, Cupom_Conferencia)("007", "12", "S", 100, 0); },
       L1("ERRO!!! Cupom_Conferencia : o valor 100 não cabe no campo de 4") + tail},
      {"unit value of 100 in a transfer",
       [](L& d) { return KVR(d, Transfere_Item_imp)("007", "12", "D", "1", "A", "01", "14", 100, 0, 1); },
       L1("ERRO!!! Transfere_Item_imp : o valor 100 não cabe no campo de 4") + tail},
      {"reversal of 100", [](L& d) { return KVR(d, Estorno)("007", "Dinheiro", "Cartao", 100); },
       L1("ERRO!!! Estorno : o valor 100 não cabe no campo de 4") + tail},
      {"amount of 10^12", [](L& d) { return KVR(d, Fecha_Conferencia_Imp)("007", "S", 1e12); },
       L1("ERRO!!! Fecha_Conferencia_Imp : o valor 1000000000000 não cabe no campo de 14") + tail},
      {"item code of 15 characters",
       [](L& d) { return KVR(d, Registra_Item_imp)("007", "12", "D", "123456789012345", "A", "01", 5, 1, 0); },
       L1("ERRO!!! Registra_Item_imp : o código 123456789012345 excede 14 caracteres; comando não enviado")},
  };
}

// Refused before anything is sent, and told to the operator as a refused
// command is.
TEST_F(RawChannelTest, ValuesTooLargeForTheirFieldsAreRefusedWithALogLineAndTheMessage) {
  for (const Oversized& value : OversizedValues()) {
    ClearLog();
    printer.clear_journal();
    host->dialogs.clear();
    EXPECT_FALSE(value.call(driver)) << value.what;
    EXPECT_THAT(AllFrames(), IsEmpty()) << value.what;
    EXPECT_THAT(LogEntries(), ElementsAre(value.log)) << value.what;
    ASSERT_EQ(host->dialogs.size(), 1u) << value.what;
    EXPECT_EQ(host->dialogs[0].text, "Erro ao enviar comando para a impressora.") << value.what;
    EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
    EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
    EXPECT_FALSE(Busy());
  }
}

TEST_F(RawChannelTest, LargestValuesThatFitAreSent) {
  KVR(driver, Registra_Item_imp)("007", "12", "D", "12345678901234", "A", "01", 999999.99, 999.999, 0);
  EXPECT_THAT(Commands(), ElementsAre(Frame({"80", "48", "12", "99999999", "D", "00000000", "999999",
                                             "12345678901234", "A", "01"})));
}

// Items kept in the printer's memory for a table, its bill check, and the
// coupon of a table, which stays open for the sale to be paid.
TEST_F(RawChannelTest, TableServedThroughThePrintersMemory) {
  EXPECT_TRUE(KVR(driver, Registra_Item_imp)("007", "12", "D", "101", "REFRIGERANTE", "01", 5.5, 2, 0));
  EXPECT_TRUE(KVR(driver, Registra_Item_imp)("007", "12", "D", "202", "PRATO DO DIA", "01", 32.9, 1, 0));
  EXPECT_TRUE(KVR(driver, Registra_Item_imp)("007", "14", "D", "303", "CAFE", "01", 4, 1, 0));
  EXPECT_EQ(printer.summary_value("MesasAbertas"), "2");

  EXPECT_TRUE(KVR(driver, Cupom_Conferencia)("007", "12", "S", 10, 0));
  EXPECT_TRUE(KVR(driver, Fecha_Conferencia_Imp)("007", "S", 0));
  const std::string tape = printer.tape();
  EXPECT_NE(tape.find(L1("CONFERÊNCIA DE MESA")), std::string::npos);
  EXPECT_NE(tape.find("PRATO DO DIA"), std::string::npos);
  EXPECT_NE(tape.find("43,90"), std::string::npos) << "subtotal of table 12";
  EXPECT_NE(tape.find("48,29"), std::string::npos) << "total with 10% service";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");

  EXPECT_TRUE(KVR(driver, Juncao_Mesa)("007", "14", "12"));
  EXPECT_EQ(printer.summary_value("MesasAbertas"), "1");

  EXPECT_TRUE(KVR(driver, AbreCupomRes)("007", "12", ""));
  EXPECT_EQ(printer.summary_value("Documento"), "cupom") << "the coupon of the table is left open to be paid";
  EXPECT_EQ(printer.summary_value("ItensCupom"), "3");
  EXPECT_THAT(printer.calls_of("Bematech_FI_CancelaCupom"), IsEmpty());
  EXPECT_EQ(printer.summary_value("MesasAbertas"), "0");
}

// The raw coupon opening's own status check must not cancel what it opened.
TEST_F(RawChannelTest, RawCouponOpeningLeavesTheCouponOpen) {
  EXPECT_TRUE(KVR(driver, EnviaComando)("007", "00", {""}, true, false));
  EXPECT_EQ(printer.summary_value("Documento"), "cupom");
  EXPECT_THAT(printer.calls_of("Bematech_FI_CancelaCupom"), IsEmpty());
  EXPECT_EQ(printer.summary_value("CuponsCancelados"), "0000");
}

TEST_F(RawChannelTest, CancelledItemLeavesTheTable) {
  EXPECT_TRUE(KVR(driver, Registra_Item_imp)("007", "", "D", "101", "REFRIGERANTE", "01", 5.5, 2, 0));
  EXPECT_TRUE(KVR(driver, Cancela_Item_Imp)("007", "", "D", "101", "REFRIGERANTE", "01", 5.5, 2, 0));
  EXPECT_EQ(printer.summary_value("MesasAbertas"), "0");
  EXPECT_FALSE(KVR(driver, Cancela_Item_Imp)("007", "", "D", "101", "REFRIGERANTE", "01", 5.5, 2, 0))
      << "nothing left to cancel";
}

}  // namespace
}  // namespace restaurant_test
