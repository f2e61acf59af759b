// How the day's figures move: change, cancellations, grand total, receipts,
// and the settings that shape a new printer.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using TotalsTest = PrinterTest;

// The amount after a payment form's name in the forms list (20 digits, cents).
long long form_total(const std::string& forms, const std::string& name) {
  auto at = forms.find(name);
  return at == std::string::npos ? -1 : std::stoll(forms.substr(at + 16, 20));
}

TEST_F(TotalsTest, ChangeLeavesTheTillInTheFormThatReceivedIt) {
  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cheque", "0"));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "37,500", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Cheque", "20,00"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "50,00"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "1,00"));
  EXPECT_EQ(1, status().st2) << "no payment once the coupon is paid";
  ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", ""));
  const std::string forms = read_value("Bematech_FI_VerificaFormasPago", 3016);
  EXPECT_EQ(2000, form_total(forms, "Cheque"));
  EXPECT_EQ(2425, form_total(forms, "Dinheiro")) << "37.50 and 6.75 of 18 % tax: 50.00 received, 25.75 given back";

  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  const std::string after = read_value("Bematech_FI_VerificaFormasPago", 3016);
  EXPECT_EQ(0, form_total(after, "Cheque"));
  EXPECT_EQ(0, form_total(after, "Dinheiro")) << "cancelling the coupon gives every form back";
  EXPECT_EQ("000000000000004425", read_value("Bematech_FI_GranTotal", 18)) << "the grand total never goes back";
  EXPECT_EQ("00000000004425", read_value("Bematech_FI_Cancelamentos", 14));
}

// A taxed rate adds its tax, cut to the cent, to the item; F, I and N add none.
// The driver sends a 110.00 item at 10 % as 100.00, so paying the gross totals closes the
// coupon exactly, and every total carries the items with their tax.
TEST_F(TotalsTest, TaxedItemsCarryTheirTaxIntoEveryTotal) {
  ASSERT_EQ(1, call("Bematech_FI_ProgramaAliquota", "1000", 0));  // position 06: 10.00 %
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  auto sell = [&](const char* code, const char* rate, const char* price, const char* quantity) {
    ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", code, "ITEM", rate, price, quantity, "00", "0000", "01",
                      "UN"));
    EXPECT_EQ(0, status().st2) << code;
  };
  sell("1", "06", "100,000", "1,000");  // 100.00 + 10.00 = 110.00
  sell("2", "01", "8,470", "1,000");    // 8.47 + 1.5246 (1.52) = 9.99
  sell("3", "06", "100,000", "3,000");  // 300.00 + 30.00 = 330.00
  sell("4", "FF", "5,000", "1,000");
  sell("5", "II", "2,000", "1,000");
  sell("6", "NN", "1,000", "1,000");
  sell("7", "06", "10,000", "1,000");  // 10.00 + 1.00 = 11.00, cancelled below
  ASSERT_EQ(1, call("Bematech_FI_AnulaArticuloGenerico", "0007"));
  EXPECT_EQ("00000000001100", read_value("Bematech_FI_Cancelamentos", 14)) << "the cancelled item's tax goes with it";

  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "457,99"));
  ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", ""));
  EXPECT_EQ(0, status().st2) << "110.00 + 9.99 + 330.00 + 5.00 + 2.00 + 1.00 paid in full";
  EXPECT_EQ(45799, form_total(read_value("Bematech_FI_VerificaFormasPago", 3016), "Dinheiro")) << "no change";

  EXPECT_EQ("000000000000046899", read_value("Bematech_FI_VendaBruta", 18)) << "the sold items and their tax";
  EXPECT_EQ("000000000000046899", read_value("Bematech_FI_GranTotal", 18));
  const std::string partial = read_value("Bematech_FI_VerificaTotalizadoresParciais", 329);
  auto field = [&](int index) { return partial.substr(static_cast<std::size_t>(index) * 15, 14); };
  EXPECT_EQ("00000000000999", field(0)) << "rate 01";
  EXPECT_EQ("00000000044000", field(5)) << "rate 06, without the cancelled item";
  EXPECT_EQ("00000000000500", field(16)) << "F";
  EXPECT_EQ("00000000000200", field(17)) << "I";
  EXPECT_EQ("00000000000100", field(18)) << "N";

  // Each item prints its value before tax and, under it, the tax of its rate.
  const std::string tape = printer->tape();
  for (const char* line : {"    1UN X 100,00 06T1000                  100,00",
                           "    imposto 10,00%                         10,00",
                           "    1UN X 8,47 01T1800                      8,47",
                           "    imposto 18,00%                          1,52",
                           "    3UN X 100,00 06T1000                  300,00",
                           "    imposto 10,00%                         30,00",
                           "    1UN X 5,00 F1                           5,00",
                           "CANCELAMENTO ITEM 007                     -11,00",
                           "TOTAL R$                                  457,99"})
    EXPECT_NE(std::string::npos, tape.find(std::string(line) + "\r\n")) << line << " missing from the tape:\n" << tape;
  EXPECT_EQ(std::string::npos, tape.find("TROCO"));
  std::size_t tax_lines = 0;
  for (auto at = tape.find("    imposto "); at != std::string::npos; at = tape.find("    imposto ", at + 1)) ++tax_lines;
  EXPECT_EQ(4u, tax_lines) << "one for each of the four taxed items, none for F, I and N";
}

TEST_F(TotalsTest, LastCouponCannotBeCancelledOnceAnotherDocumentFollows) {
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_InformeGerencial", "x"));
  ASSERT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  EXPECT_EQ(4, status().st2);
  int flags = 0;
  ASSERT_EQ(1, call("Bematech_FI_FlagsFiscales", &flags));
  EXPECT_EQ(0, flags & 32);
}

TEST_F(TotalsTest, ReceiptsRefuseBadAmountsAndKeepTheirCounters) {
  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "Relatorios"));
  EXPECT_EQ(-2, call("Bematech_FI_RecibimientoNoFiscal", "01", "0,00", "Dinheiro"));
  EXPECT_EQ(-2, call("Bematech_FI_RecibimientoNoFiscal", "01", "dez", "Dinheiro"));
  EXPECT_EQ(-24, call("Bematech_FI_RecibimientoNoFiscal", "01", "1,00", "Vale"));
  EXPECT_EQ("000000", read_value("Bematech_FI_NumeroOperacoesNaoFiscais", 6));
  ASSERT_EQ(1, call("Bematech_FI_RecibimientoNoFiscal", "relatorios", "1,00", "Dinheiro"));
  Buffer receipts(395);
  ASSERT_EQ(1, call("Bematech_FI_VerificaRecebimentoNaoFiscal", receipts.data()));
  EXPECT_EQ("0001", receipts.value().substr(0, 4));
  EXPECT_EQ(100, std::stoll(receipts.value().substr(4, 20)));
  EXPECT_TRUE(receipts.guard_intact());
}

TEST_F(TotalsTest, ReductionWithAnOpenReportClosesItFirst) {
  ASSERT_EQ(1, call("Bematech_FI_InformeGerencial", "pela metade"));
  ASSERT_EQ(1, call("Bematech_FI_ReduccionZ", "", ""));
  EXPECT_EQ(0, status().st2);
  EXPECT_EQ("nenhum", printer->summary_value("Documento"));
  EXPECT_EQ("0001", read_value("Bematech_FI_NumeroReducoes", 4));
  EXPECT_EQ(-2, call("Bematech_FI_ReduccionZ", "32122026", "")) << "an impossible date";
}

TEST_F(TotalsTest, ProgrammedRatesAndTheClockSettings) {
  printer.reset();
  env->write_ini({{"Relogio", kMorning}, {"Aliquotas", "1700,0300S"}});
  load();
  ASSERT_EQ(1, printer->reset());
  EXPECT_EQ("1700,0300,0000", read_value("Bematech_FI_RetornoAlicuotas", 79).substr(0, 14));
  EXPECT_EQ("0300", read_value("Bematech_FI_VerificaAlicuotasIss", 79).substr(0, 4));
  EXPECT_EQ("07/12/2026 10:30:00", printer->summary_value("Relogio")) << "a reset keeps the computer clock";
  EXPECT_EQ(-2, printer->set_clock("31022026120000"));
  EXPECT_EQ(-2, printer->configure("Aliquotas", "18,00"));
  EXPECT_EQ(-2, printer->configure("Caixa", "12345"));
  ASSERT_EQ(1, call("Bematech_FI_ProgramaAliquota", "1200", 0));
  EXPECT_EQ("1700,0300,1200", read_value("Bematech_FI_RetornoAlicuotas", 79).substr(0, 14));
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_ProgramaAliquota", "0500", 0));
  EXPECT_EQ(1, status().st2) << "rates are programmed between days only";
}

}  // namespace
}  // namespace emulator_test
