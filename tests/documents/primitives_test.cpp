// The document primitives: what each hands the printer, logs and records, and
// how each fails.
#include <gmock/gmock.h>

#include "bemafi32/emu_control.h"
#include "documents_fixture.h"

namespace documents_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

using PrimitivesTest = DocumentsTest;

TEST_F(PrimitivesTest, ManagementReportOpensWithOneBlankAndIsRecorded) {
  EXPECT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", "ignored text"));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_InformeGerencial"), ElementsAre(ElementsAre(" ")));
  EXPECT_EQ(printer.summary_value("Documento"), "relatorio gerencial");
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_InformeGerencial"));
  const auto rows = Rows("SELECT branch, till, date_text FROM cer_documents");
  ASSERT_THAT(rows, SizeIs(1));
  EXPECT_EQ(rows[0].at("branch"), "001");
  EXPECT_EQ(rows[0].at("till"), "002");
  EXPECT_EQ(rows[0].at("date_text"), "2009-03-09") << "the printer's movement date";

  EXPECT_TRUE(KVR(driver, Usa_CompNFis)("007", "LINHA DO RELATORIO"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_ImprimeComprobanteNoFiscalVinculado: LINHA DO RELATORIO"));
  EXPECT_TRUE(KVR(driver, FechRelatGerenc)("007", true, false));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_CierraInformeGerencial"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find("LINHA DO RELATORIO"), std::string::npos);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(PrimitivesTest, RefusedOpeningRecordsNothing) {
  printer.script("Bematech_FI_InformeGerencial", -1, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
  EXPECT_THAT(Rows("SELECT id FROM cer_documents"), IsEmpty());
  EXPECT_THAT(host->dialogs, SizeIs(1)) << "the return analysis explains the refusal";
}

// A text whose answer was lost may stand on paper: the operator, asked to
// look, says whether to print it again; a refused one is printed again on yes.
TEST_F(PrimitivesTest, ATextTheOperatorJudgesIsOnPaperOrPrintedAgain) {
  ASSERT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
  printer.script("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 0, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  host->QueueAnswer(false);
  EXPECT_TRUE(KVR(driver, Usa_CompNFis)("007", "SEM RESPOSTA\n"));
  ASSERT_THAT(QuestionTexts(), SizeIs(1));
  EXPECT_THAT(QuestionTexts()[0], HasSubstr("Confira o papel"));

  printer.script("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", -1, 6, 0, 0);
  host->QueueAnswer(true);
  EXPECT_TRUE(KVR(driver, Usa_CompNFis)("007", "RECUSADA\n"));
  EXPECT_THAT(QuestionTexts(), SizeIs(2));
  ASSERT_TRUE(KVR(driver, FechRelatGerenc)("007", true, false));
  const std::string tape = printer.tape();
  for (const char* line : {"SEM RESPOSTA", "RECUSADA"}) {
    const auto at = tape.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_EQ(tape.find(line, at + 1), std::string::npos) << line << " once";
  }
}

TEST_F(PrimitivesTest, CloseWithoutMessagesShowsNoDialogOnRefusal) {
  // Nothing is open: the printer refuses the close.
  EXPECT_FALSE(KVR(driver, FechRelatGerenc)("007", false, false));
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_FALSE(KVR(driver, FechRelatGerenc)("007", true, false));
  EXPECT_THAT(host->dialogs, Not(IsEmpty()));
}

TEST_F(PrimitivesTest, LinkedReceiptLogsOnlyThePaymentName) {
  KVR(driver, Abre_Comp_NFiscalVinc)("007", "Dinheiro", "00000000001000", "000123");
  EXPECT_THAT(ArgumentsOf("Bematech_FI_AbreComprobanteNoFiscalVinculado"),
              ElementsAre(ElementsAre("Dinheiro", "00000000001000", "000123")));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_AbreComprobanteNoFiscalVinculado : Dinheiro -  - "));
}

TEST_F(PrimitivesTest, UnlinkedReceiptPassesAndLogsItsThreeTexts) {
  KVR(driver, Cupom_NFiscNVinc)("007", "01", "10,00", "Dinheiro");
  EXPECT_THAT(ArgumentsOf("Bematech_FI_RecibimientoNoFiscal"), ElementsAre(ElementsAre("01", "10,00", "Dinheiro")));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_RecibimientoNoFiscal : 01 - 10,00 - Dinheiro"));
}

TEST_F(PrimitivesTest, CutAndBarCodeTouchNoPrinter) {
  EXPECT_FALSE(KVR(driver, Guilhotina)("007", 1));
  EXPECT_TRUE(KVR(driver, CodigoBarra)("a", "b", "c", 1, "1", "7891000100103"));
  EXPECT_THAT(printer.journal(), IsEmpty());
  EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(PrimitivesTest, AnExceptionGivesFalseWithoutMessageOrLogLine) {
  KVR_GLOBAL(driver, Bematech_FI_InformeGerencial).Clear();
  KVR_GLOBAL(driver, Bematech_FI_CierraInformeGerencial).Clear();
  KVR_GLOBAL(driver, Bematech_FI_ImprimeComprobanteNoFiscalVinculado).Clear();
  KVR_GLOBAL(driver, Bematech_FI_AbreComprobanteNoFiscalVinculado).Clear();
  KVR_GLOBAL(driver, Bematech_FI_RecibimientoNoFiscal).Clear();
  EXPECT_FALSE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
  EXPECT_FALSE(KVR(driver, FechRelatGerenc)("007", true, false));
  EXPECT_FALSE(KVR(driver, Usa_CompNFis)("007", "TEXTO"));
  EXPECT_FALSE(KVR(driver, Abre_Comp_NFiscalVinc)("007", "Dinheiro", "00000000001000", "000123"));
  EXPECT_FALSE(KVR(driver, Cupom_NFiscNVinc)("007", "01", "10,00", "Dinheiro"));
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_THAT(LogLines(), IsEmpty());
  EXPECT_THAT(Rows("SELECT id FROM cer_documents"), IsEmpty());
}

}  // namespace
}  // namespace documents_test
