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
  EXPECT_EQ(1750, form_total(forms, "Dinheiro")) << "50.00 received, 32.50 given back";

  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  const std::string after = read_value("Bematech_FI_VerificaFormasPago", 3016);
  EXPECT_EQ(0, form_total(after, "Cheque"));
  EXPECT_EQ(0, form_total(after, "Dinheiro")) << "cancelling the coupon gives every form back";
  EXPECT_EQ("000000000000003750", read_value("Bematech_FI_GranTotal", 18)) << "the grand total never goes back";
  EXPECT_EQ("00000000003750", read_value("Bematech_FI_Cancelamentos", 14));
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
