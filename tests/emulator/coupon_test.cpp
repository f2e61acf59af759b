// A whole coupon through the exported entry points, as the driver sends it.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using CouponTest = PrinterTest;

TEST_F(CouponTest, WholeCouponAdvancesCountersTotalsAndPrintsIt) {
  EXPECT_EQ("000000", read_value("Bematech_FI_FechaMovimiento", 6));
  const std::string coo_before = read_value("Bematech_FI_NumeroCupon", 6);

  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(2, status().st1) << "coupon open";
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "7891000100103", "CAFE EXPRESSO", "01", "4,500", "2,000",
                    "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "42", "BOLO DE CENOURA", "03", "9,990", "1,000", "00",
                    "00000150", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "1,00"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "10,00"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "20,00"));
  ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "Volte sempre!\nMesa 12"));
  auto after = status();
  EXPECT_EQ(6, after.ack);
  EXPECT_EQ(0, after.st1);
  EXPECT_EQ(0, after.st2);

  EXPECT_EQ(std::stoi(coo_before) + 1, std::stoi(read_value("Bematech_FI_NumeroCupon", 6)));
  EXPECT_EQ("000001", read_value("Bematech_FI_ContadorCupomFiscalMFD", 6));
  EXPECT_EQ("071226", read_value("Bematech_FI_FechaMovimiento", 6));
  // 2 x 4.50 = 9.00 and 18 % of it, 1.62; 9.99 less its 1.50 discount is 8.49, and 7 % of
  // that, 0.5943, is 0.59: 21.20 gross; 1.50 item discount + 1.00 coupon discount.
  EXPECT_EQ("000000000000002120", read_value("Bematech_FI_VendaBruta", 18));
  EXPECT_EQ("00000000000250", read_value("Bematech_FI_Descontos", 14));
  EXPECT_EQ("000000000000002120", read_value("Bematech_FI_GranTotal", 18));
  EXPECT_EQ("00000000000000", read_value("Bematech_FI_Cancelamentos", 14));

  const std::string tape = printer->tape();
  for (const char* expected : {"CUPOM FISCAL", "CAFE EXPRESSO", "BOLO DE CENOURA", "DESCONTO R$", "18,70",
                               "Dinheiro", "TROCO R$", "11,30", "Volte sempre!", "Mesa 12", "CCF:000001",
                               "COO:" })
    EXPECT_NE(std::string::npos, tape.find(expected)) << expected << " missing from the tape:\n" << tape;
  EXPECT_LT(tape.find("CAFE EXPRESSO"), tape.find("Volte sempre!"));
}

TEST_F(CouponTest, JournalKeepsEveryArgumentAsGivenAndAsReturned) {
  printer->clear_journal();
  Buffer coo(6);
  ASSERT_EQ(1, call("Bematech_FI_NumeroCupon", coo.data()));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "12345678909", "MARIA"));
  auto journal = printer->journal();
  ASSERT_EQ(2u, journal.size());
  EXPECT_EQ("Bematech_FI_NumeroCupon", journal[0].name);
  EXPECT_EQ("      ", journal[0].given.at(0));
  EXPECT_EQ("000000", journal[0].returned.at(0));
  EXPECT_EQ("Bematech_FI_AbreComprobanteDeVenta", journal[1].name);
  EXPECT_EQ((std::vector<std::string>{"12345678909", "MARIA"}), journal[1].given);
  EXPECT_EQ(1, journal[1].result);
  EXPECT_EQ(2, journal[1].st1);
  EXPECT_NE(std::string::npos, printer->tape().find("12345678909"));

  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "LINHA\tCOM\\TAB\r\nE QUEBRA", "01", "1,000",
                    "1,000", "00", "0000", "01", "UN"));
  auto item = printer->calls_of("Bematech_FI_VendeArticuloDepartamento");
  ASSERT_EQ(1u, item.size());
  EXPECT_EQ("LINHA\tCOM\\TAB\r\nE QUEBRA", item[0].given.at(1)) << "texts come back byte for byte";
  EXPECT_EQ(9u, item[0].returned.size());
}

TEST_F(CouponTest, ValueBuffersAreWrittenAtTheirWidthsOnly) {
  sell_coupon(1);
  const std::pair<const char*, std::size_t> widths[] = {
      {"Bematech_FI_NumeroCupon", 6},       {"Bematech_FI_FechaMovimiento", 6},
      {"Bematech_FI_NumeroCaja", 4},        {"Bematech_FI_NumeroSerieMFD", 20},
      {"Bematech_FI_GranTotal", 18},        {"Bematech_FI_VendaBruta", 18},
      {"Bematech_FI_Descontos", 14},        {"Bematech_FI_Cancelamentos", 14},
      {"Bematech_FI_Acrescimos", 14},       {"Bematech_FI_NumeroReducoes", 4},
      {"Bematech_FI_NumeroIntervencoes", 4}, {"Bematech_FI_NumeroSubstituicoesProprietario", 4},
      {"Bematech_FI_NumeroOperacoesNaoFiscais", 6}, {"Bematech_FI_ContadorRelatoriosGerenciaisMFD", 6},
      {"Bematech_FI_ContadorComprovantesCreditoMFD", 6}, {"Bematech_FI_VersaoFirmwareMFD", 6},
      {"Bematech_FI_RetornoAlicuotas", 79}, {"Bematech_FI_VerificaAlicuotasIss", 79},
      {"Bematech_FI_VerificaFormasPago", 3016}, {"Bematech_FI_VerificaTotalizadoresNoFiscales", 179},
      {"BemaLe_Variaveis", 3000}};
  for (const auto& [name, width] : widths) read_value(name, width);
  Buffer date(6), time(6);
  ASSERT_EQ(1, call("Bematech_FI_FechaHoraImpresora", date.data(), time.data()));
  EXPECT_EQ("071226", date.value());
  EXPECT_EQ("103000", time.value());
  EXPECT_TRUE(date.guard_intact() && time.guard_intact());
}

TEST_F(CouponTest, TablesAnswerInTheLayoutsTheDriverParses) {
  std::string rates = read_value("Bematech_FI_RetornoAlicuotas", 79);
  EXPECT_EQ("1800,1200,0700,2500,0500,0000", rates.substr(0, 29));
  EXPECT_EQ("0500", read_value("Bematech_FI_VerificaAlicuotasIss", 79).substr(0, 4));

  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Credito", "1"));
  std::string forms = read_value("Bematech_FI_VerificaFormasPago", 3016);
  EXPECT_EQ(0u, forms.find("Dinheiro        "));
  EXPECT_EQ(58u, forms.find("Cartao Credito  "));
  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "cartao credito", "1"));
  EXPECT_EQ(1, status().st2) << "a form programmed twice is refused";

  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "CONTRA-VALE EMITIDO"));
  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 2, "Cred Pessoal"));
  Buffer totalizers(179);
  ASSERT_EQ(1, call("Bematech_FI_VerificaTotalizadoresNoFiscales", totalizers.data()));
  EXPECT_EQ(std::string("CONTRA-VALE EMITIDO,Cred Pessoal       ") + '\0', totalizers.text.substr(0, 40));
  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 9, "Fora de ordem"));
  EXPECT_EQ(1, status().st2) << "a position beyond the next free one is refused";
}

TEST_F(CouponTest, ItemAndCouponCancellationMoveTheDayTotals) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "ITEM", "01", "5,000", "1,000", "00", "0000", "01",
                      "UN"));
  ASSERT_EQ(1, call("Bematech_FI_AnulaArticuloGenerico", "0002"));
  ASSERT_EQ(1, call("Bematech_FI_AnulaArticuloGenerico", "0002"));
  EXPECT_EQ(4, status().st2 & 4) << "an item cancelled twice";
  ASSERT_EQ(1, call("Bematech_FI_AnulaArticuloAnterior"));
  EXPECT_EQ("00000000001180", read_value("Bematech_FI_Cancelamentos", 14)) << "two items of 5.00 and 18 % tax";
  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  EXPECT_EQ(0, status().st1 & 2) << "the coupon is no longer open";
  EXPECT_EQ("00000000001770", read_value("Bematech_FI_Cancelamentos", 14));
  EXPECT_EQ("0001", read_value("Bematech_FI_NumeroCuponsCancelados", 4));
  EXPECT_NE(std::string::npos, printer->tape().find("CUPOM FISCAL CANCELADO"));

  sell_coupon(1);
  const int coo = std::stoi(read_value("Bematech_FI_NumeroCupon", 6));
  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  EXPECT_EQ(0, status().st2) << "the last coupon may be cancelled right after it";
  EXPECT_EQ(coo + 1, std::stoi(read_value("Bematech_FI_NumeroCupon", 6)));
  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  EXPECT_EQ(4, status().st2) << "but only once";
}

TEST_F(CouponTest, AmountsAreReadWithEitherDecimalMark) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "A", "01", "2.500", "2.000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "2", "B", "01", "2,500", "2,000", "00", "0000", "01", "UN"));
  EXPECT_EQ("000000000000001180", read_value("Bematech_FI_VendaBruta", 18)) << "5.00 and 0.90 of tax, twice";
  EXPECT_EQ(-2, call("Bematech_FI_VendeArticuloDepartamento", "3", "C", "01", "abc", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(-2, call("Bematech_FI_VendeArticuloDepartamento", "3", "C", "01", "1,00", "0", "00", "0000", "01", "UN"));
  EXPECT_EQ(-2, call("Bematech_FI_VendeArticuloDepartamento", "3", "C", "01", "-1,00", "1", "00", "0000", "01", "UN"));
  const char* null_text = nullptr;
  EXPECT_EQ(-2, call("Bematech_FI_VendeArticuloDepartamento", null_text, "C", "01", "1,00", "1", "00", "0000", "01", "UN"));
  EXPECT_EQ("000000000000001180", read_value("Bematech_FI_VendaBruta", 18)) << "refused items change nothing";
}

TEST_F(CouponTest, TwinsShareOneCommandAndLongDescriptionsApply) {
  ASSERT_EQ(1, call("Bematech_FI_AbreCupom", "12345678909"));
  ASSERT_EQ(1, call("Bematech_FI_AumentaDescricaoItem", "PIZZA GRANDE MEIA CALABRESA MEIA MUSSARELA COM BORDA"));
  ASSERT_EQ(1, call("Bematech_FI_VendeItem", "77", "PIZZA", "02", "1", "45,90", "0"));
  ASSERT_EQ(1, call("Bematech_FI_VendeItemDepartamento", "78", "REFRI", "01", "6,000", "2,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_CancelaItemAnterior"));
  ASSERT_EQ(1, call("Bematech_FI_IniciaFechamentoCupom", "D", "%", "10,00"));
  ASSERT_EQ(1, call("Bematech_FI_EfetuaFormaPagamento", "DINHEIRO", "46,27"));
  ASSERT_EQ(1, call("Bematech_FI_TerminaFechamentoCupom", ""));
  EXPECT_EQ(0, status().st2);
  // The pizza is 45.90 and 12 % of it, 5.508, rounded to 5.51: 51.41.
  EXPECT_EQ("00000000000514", read_value("Bematech_FI_Descontos", 14)) << "10 % of 51.41, cut";
  const std::string tape = printer->tape();
  EXPECT_NE(std::string::npos, tape.find("PIZZA GRANDE MEIA CALABRESA"));
  EXPECT_NE(std::string::npos, tape.find("CANCELAMENTO ITEM 002"));
}

}  // namespace
}  // namespace emulator_test

namespace emulator_test {
namespace {

// Price times quantity is worked out exactly, however large, and cut to cents.
TEST_F(CouponTest, ItemTotalsAreCutToCentsAndAHugeProductIsRefused) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_NE(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "HUGE", "01", "999999999,999", "9999999,999", "00",
                    "0000", "01", "UN"))
      << "the product needs more than 64 bits";
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "2", "THIRD", "01", "0,333", "1,000", "00", "0000", "01",
                    "UN"));
  EXPECT_EQ("000000000000000038", read_value("Bematech_FI_VendaBruta", 18))
      << "0.333 is cut to 0.33, and 18 % of that, 0.0594, is cut to 0.05";
}

}  // namespace
}  // namespace emulator_test
