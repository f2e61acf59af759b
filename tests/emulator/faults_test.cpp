// Sequence rules and the faults users meet in the field, with the status
// bytes and result codes the driver's return analysis reads.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using SequenceTest = PrinterTest;
using FaultTest = PrinterTest;

constexpr int kNotExecuted = 1;      // ST2 bit 0
constexpr int kRateMissing = 16;     // ST2 bit 4
constexpr int kCouponOpen = 2;       // ST1 bit 1
constexpr int kPaperNearEnd = 64;    // ST1 bit 6
constexpr int kPaperOut = 128;       // ST1 bit 7

TEST_F(SequenceTest, CommandsOutOfSequenceAreRefusedAndChangeNothing) {
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(kNotExecuted, status().st2) << "item without a coupon";
  EXPECT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "1,00"));
  EXPECT_EQ(kNotExecuted, status().st2) << "payment without a coupon";
  EXPECT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
  EXPECT_EQ(kNotExecuted, status().st2) << "closing a report that is not open";

  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  auto twice = status();
  EXPECT_EQ(kCouponOpen, twice.st1);
  EXPECT_EQ(kNotExecuted, twice.st2) << "a second coupon while one is open";
  EXPECT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  EXPECT_EQ(kNotExecuted, status().st2) << "totalizing a coupon without items";
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "3,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "fim"));
  EXPECT_EQ(kNotExecuted, status().st2) << "ending a coupon that is not paid";
  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(kNotExecuted, status().st2) << "an item after totalization";
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "1,00"));
  EXPECT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "fim"));
  EXPECT_EQ(kNotExecuted, status().st2) << "ending with 1.00 paid of 3.54 (3.00 and 18 % tax)";
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "2,54"));
  ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "fim"));
  EXPECT_EQ(0, status().st2);
  EXPECT_EQ("000000000000000354", read_value("Bematech_FI_VendaBruta", 18));
}

TEST_F(SequenceTest, UnprogrammedRateAndPaymentFormHaveTheirCodes) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(-3, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "09", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(kRateMissing, status().st2 & kRateMissing);
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "FF", "1,000", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "a", "%", "10,00"));
  EXPECT_EQ(-24, call("Bematech_FI_EfectuaFormaPago", "Vale Refeicao", "1,10"));
  EXPECT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "01", "1,10")) << "a form by its position";
  EXPECT_EQ("00000000000010", read_value("Bematech_FI_Acrescimos", 14));
}

TEST_F(SequenceTest, NonFiscalDocumentsFollowTheirOwnOrder) {
  EXPECT_EQ(1, call("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", "texto"));
  EXPECT_EQ(kNotExecuted, status().st2) << "text with no document open";
  EXPECT_EQ(-25, call("Bematech_FI_RecibimientoNoFiscal", "01", "5,00", "Dinheiro"));
  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "CONTRA-VALE EMITIDO"));
  ASSERT_EQ(1, call("Bematech_FI_RecibimientoNoFiscal", "01", "5,00", "Dinheiro"));
  ASSERT_EQ(1, call("Bematech_FI_RecibimientoNoFiscal", "CONTRA-VALE EMITIDO", "00000000000250", "Dinheiro"));
  EXPECT_EQ(0, status().st2);
  EXPECT_EQ("000002", read_value("Bematech_FI_NumeroOperacoesNaoFiscais", 6));

  sell_coupon(1);
  Buffer coo(6);
  ASSERT_EQ(1, call("Bematech_FI_NumeroCupon", coo.data()));
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteNoFiscalVinculado", "Dinheiro", "00000000001000", "000001"));
  EXPECT_EQ(kNotExecuted, status().st2) << "a slip must name the last coupon";
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteNoFiscalVinculado", "Dinheiro", "00000000001000", coo.value().c_str()));
  int extended = 0;
  ASSERT_EQ(1, call("Bematech_FI_StatusEstendidoMFD", &extended));
  EXPECT_EQ(4, extended) << "a non-fiscal document is open";
  ASSERT_EQ(1, call("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", "VIA DO CLIENTE\n"));
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(kNotExecuted, status().st2) << "no coupon while a slip is open";
  ASSERT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
  EXPECT_EQ(0, status().st2) << "the report close also ends a slip";
  EXPECT_EQ("000001", read_value("Bematech_FI_ContadorComprovantesCreditoMFD", 6));
  EXPECT_NE(std::string::npos, printer->tape().find("VIA DO CLIENTE"));

  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao", "1"));
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteNoFiscalVinculado", "Cartao", "00000000001000", ""));
  EXPECT_EQ(kNotExecuted, status().st2) << "a slip for a form the coupon was not paid with";
}

TEST_F(SequenceTest, ReturnFileIsCopiedIntoThePrefilledBufferOnly) {
  ASSERT_EQ(1, call("Bematech_FI_LecturaXSerial"));
  Buffer small(40);
  ASSERT_EQ(1, call("Bematech_FI_LeArquivoRetorno", small.data()));
  EXPECT_TRUE(small.guard_intact());
  EXPECT_NE(std::string::npos, small.value().find("LECTURA X"));
}

TEST_F(FaultTest, PaperSensorSetsItsBits) {
  ASSERT_EQ(1, printer->set_paper(EMU_PAPER_NEAR_END));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(kPaperNearEnd | kCouponOpen, status().st1) << "printing goes on with little paper";
  ASSERT_EQ(1, printer->set_paper(EMU_PAPER_OUT));
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
  auto out = status();
  EXPECT_EQ(kPaperOut | kCouponOpen, out.st1);
  EXPECT_EQ(kNotExecuted, out.st2);
  EXPECT_EQ("000000000000000000", read_value("Bematech_FI_VendaBruta", 18)) << "nothing printed, nothing sold";
}

TEST_F(FaultTest, PaperEndsAfterTheNthItem) {
  ASSERT_EQ(1, printer->set_paper_ends_after_items(2));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
    EXPECT_EQ(i == 0 ? 0 : kPaperOut, status().st1 & kPaperOut) << "after item " << i + 1;
  }
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(kNotExecuted, status().st2);
  EXPECT_EQ("000000000000000236", read_value("Bematech_FI_VendaBruta", 18)) << "two items of 1.00 and 18 % tax";
  ASSERT_EQ(1, printer->set_paper(EMU_PAPER_OK));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(0, status().st2) << "a new roll: the coupon goes on";
}

TEST_F(FaultTest, PowerOffAndPortRefusedGiveTheirCodes) {
  ASSERT_EQ(1, printer->set_power(false));
  EXPECT_EQ(-6, call("Bematech_FI_VerificaImpresoraPrendida"));
  EXPECT_EQ(-6, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  int ack = 0, st1 = 0, st2 = 0;
  EXPECT_EQ(-6, call("Bematech_FI_RetornoImpresora", &ack, &st1, &st2)) << "no status from a printer that is off";
  ASSERT_EQ(1, printer->set_power(true));
  EXPECT_EQ(1, call("Bematech_FI_VerificaImpresoraPrendida"));
  EXPECT_EQ("000000", read_value("Bematech_FI_NumeroCupon", 6)) << "nothing was done while off";

  ASSERT_EQ(1, printer->set_port_refused(true));
  EXPECT_EQ(-5, call("Bematech_FI_AbrePuertaSerial"));
  EXPECT_EQ(-5, call("Bematech_FI_LecturaX"));
  ASSERT_EQ(1, printer->set_port_refused(false));
  EXPECT_EQ(1, call("Bematech_FI_AbrePuertaSerial"));
}

TEST_F(FaultTest, ScriptedAnswersComeBackExactlyOnceOrNTimes) {
  ASSERT_EQ(1, printer->script("Bematech_FI_NumeroCupon", 0, 6, 0, 0));
  ASSERT_EQ(1, printer->script("Bematech_FI_AbreComprobanteDeVenta", 1, 21, 0, 0, 2));
  Buffer coo(6);
  EXPECT_EQ(0, call("Bematech_FI_NumeroCupon", coo.data()));
  EXPECT_EQ("      ", coo.value()) << "a refused call writes nothing";
  EXPECT_EQ(1, call("Bematech_FI_NumeroCupon", coo.data()));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    EXPECT_EQ(21, status().ack) << "NAK " << i + 1;
    EXPECT_EQ(0, status().st1 & kCouponOpen) << "the coupon was not opened";
  }
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(6, status().ack);
  EXPECT_EQ(kCouponOpen, status().st1);
}

TEST_F(FaultTest, PrintedButNoReplyChangesTheStateAndAnswersZero) {
  ASSERT_EQ(1, printer->script("Bematech_FI_AbreComprobanteDeVenta", 0, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE));
  EXPECT_EQ(0, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ("cupom", printer->summary_value("Documento")) << "the coupon is open though the reply was lost";
  int ack = 0, st1 = 0, st2 = 0;
  ASSERT_EQ(1, call("Bematech_FI_VerificaEstadoImpresora", &ack, &st1, &st2));
  EXPECT_EQ(kCouponOpen, st1 & kCouponOpen) << "asking the printer shows it";
  auto journal = printer->calls_of("Bematech_FI_AbreComprobanteDeVenta");
  ASSERT_EQ(1u, journal.size());
  EXPECT_EQ(0, journal[0].result);
}

// The paper runs out on a command it still prints; the power goes as a
// command arrives and it never runs. Both stay until the operator mends them.
TEST_F(FaultTest, PaperRunningOutOnACommandAndPowerGoingBeforeOne) {
  ASSERT_EQ(1, printer->script("Bematech_FI_AbreComprobanteDeVenta", 1, 6, kPaperOut, 0, 1, EMU_SCRIPT_PAPER_OUT));
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(kPaperOut, status().st1 & kPaperOut);
  EXPECT_EQ("cupom", printer->summary_value("Documento")) << "executed before the paper ran out";
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "FF", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(kPaperOut, status().st1 & kPaperOut) << "nothing prints without paper";
  EXPECT_EQ("sem", printer->summary_value("Papel"));
  ASSERT_EQ(1, printer->set_paper(EMU_PAPER_OK));

  ASSERT_EQ(1, printer->script("Bematech_FI_VendeArticuloDepartamento", 0, 0, 0, 0, 1, EMU_SCRIPT_POWER_CUT_BEFORE));
  EXPECT_EQ(-6, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "FF", "1,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(-6, call("Bematech_FI_VerificaImpresoraPrendida")) << "off until switched on";
  ASSERT_EQ(1, printer->set_power(true));
  EXPECT_EQ("0", printer->summary_value("ItensCupom")) << "the item never ran";
}

TEST_F(FaultTest, StickyStatusBitsAndAnyEntryPointScripts) {
  ASSERT_EQ(1, printer->set_status_bits(32, 0));
  read_value("Bematech_FI_NumeroCupon", 6);
  EXPECT_EQ(32, status().st1) << "clock error on every answer";
  ASSERT_EQ(1, printer->set_status_bits(0, 0));
  ASSERT_EQ(1, printer->script("*", -1, 6, 0, 0, 1));
  EXPECT_EQ(-1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(-2, printer->script("Bematech_FI_LecturaX", 1, 6, 0, 0, 0)) << "zero times is refused";
}

// The third call from now fails; the two before it, and the one after, are the
// printer's own. The waiting script survives a reload, as all faults do.
TEST_F(FaultTest, AScriptCanWaitForTheNthCall) {
  ASSERT_EQ(1, printer->script_after(2, "Bematech_FI_LecturaX", -1, 6, 0, 0));
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
  reload_library();
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(-1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(-2, printer->script_after(-1, "Bematech_FI_LecturaX", -1, 6, 0, 0)) << "a negative count is refused";
}

TEST_F(FaultTest, TheExtendedStatusAnswersAsConfigured) {
  ASSERT_EQ(1, printer->configure("StatusEstendido", "4"));
  int value = -1;
  ASSERT_EQ(1, call("Bematech_FI_StatusEstendidoMFD", &value));
  EXPECT_EQ(4, value);
  ASSERT_EQ(1, printer->configure("StatusEstendido", ""));
  ASSERT_EQ(1, call("Bematech_FI_StatusEstendidoMFD", &value));
  EXPECT_EQ(0, value) << "the printer's own: nothing open";
}

}  // namespace
}  // namespace emulator_test
