// The return analysis: result codes, status bits, their log lines and dialogs.
#include <gmock/gmock.h>

#include "driver_fixture.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct CodeCase {
  int code;
  const char* text;  // UTF-8
};

const CodeCase kCodeCases[] = {
    {0, "Erro de comunicação."},
    {-1, "Erro de execução na função."},
    {-2, "Parâmetro inválido."},
    {-3, "Alíquota não programada na impressora fiscal."},
    {-4, "O arquivo de inicialização da impressora não foi encontrada no diretório de sistema do Windows."},
    {-5, "Erro ao abrir porta de comunicação."},
    {-6, "Impressora desligada ou desconectada."},
    {-7, "Banco não cadastrado no arquivo de inicializção da impressora."},
    {-8, "ErroGravacao"},  // no text: the lookup's answer for a missing key
    {-18, "Não foi possível abrir arquivo INTPOS.001."},
    {-19, "Número inválido de parâmetros do comando da impressora fiscal."},
    {-20, "Transação cancelada pelo operador."},
    {-21, "A Transação não foi aprovada."},
    {-22, "Não foi possível terminar a impressão."},
    {-23, "Não foi possível terminar a operação."},
    {-24, "Forma de pagamento não programada."},
    {-25, "Totalizador não fiscal não programado."},
    {-26, "Transação já efetuada."},
    {-28, "Não há informações para serem impressas."},
};

struct BitCase {
  int st1, st2;
  const char* text;  // UTF-8
};

// Every status bit that fails the analysis (ST1 bits 6 and 1 are apart).
const BitCase kFailingBits[] = {
    {128, 0, "Impressora fiscal sem papel."},
    {32, 0, "Erro no relógio da impressora fiscal."},
    {16, 0, "Impressora fiscal com erro."},
    {8, 0, "Erro de sintaxe no comando enviado para a impressora fiscal."},
    {4, 0, "Comando para a impressora fiscal inexistente."},
    {1, 0, "Número inválido de parâmetros do comando da impressora fiscal."},
    {0, 128, "Tipo incorreto do parâmetro enviado para a impressora fiscal."},
    {0, 64, "Memória da impressora fiscal lotada."},
    {0, 32, "Erro na memória da impressora fiscal."},
    {0, 16, "Alíquota não programada na impressora fiscal."},
    {0, 8, "Capacidade de alíquotas da impressora fiscal lotada."},
    {0, 4, "Cancelamento não permitido pela impressora fiscal."},
    {0, 2, "CGC/IE do proprietário não programados na impressora fiscal."},
    {0, 1, "Comando não executado pela impressora fiscal."},
};

class ReturnAnalysisTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }
  bool Analyse(int code, bool msg, bool fecha = false, bool abre = false) {
    return KVR(driver, AnalisaRetorno)("007", code, msg, fecha, abre);
  }
  bool StatusOnly(bool msg, bool fecha = false, bool abre = false) {
    return KVR(driver, ImpressoraOK)("007", msg, fecha, abre);
  }
};

TEST_F(ReturnAnalysisTest, SuccessWithCleanStatusWritesNothing) {
  EXPECT_TRUE(Analyse(1, true));
  EXPECT_TRUE(Analyse(-9, true));
  EXPECT_TRUE(Analyse(-27, true));
  EXPECT_TRUE(Analyse(42, true));
  EXPECT_THAT(LogLines(), IsEmpty());
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(ReturnAnalysisTest, EveryRefusalCodeIsLoggedShownAndFails) {
  for (const CodeCase& c : kCodeCases) {
    SCOPED_TRACE(c.code);
    host->dialogs.clear();
    ClearLog();
    EXPECT_FALSE(Analyse(c.code, true));
    EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + L1(c.text)));
    ASSERT_EQ(host->dialogs.size(), 1u);
    EXPECT_EQ(host->dialogs[0].text, L1(c.text));
    EXPECT_EQ(host->dialogs[0].form, "N");
    EXPECT_EQ(host->dialogs[0].kind, hostrt::kPrinterNotice);
    EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
    // Silent: the same line, no dialog.
    host->dialogs.clear();
    EXPECT_FALSE(Analyse(c.code, false));
    EXPECT_THAT(host->dialogs, IsEmpty());
  }
}

TEST_F(ReturnAnalysisTest, EveryFailingStatusBitIsLoggedShownAndFails) {
  for (const BitCase& b : kFailingBits) {
    SCOPED_TRACE(std::to_string(b.st1) + "/" + std::to_string(b.st2));
    host->dialogs.clear();
    ClearLog();
    SetLastStatus(6, b.st1, b.st2);
    EXPECT_FALSE(Analyse(1, true));
    EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + L1(b.text)));
    EXPECT_THAT(DialogTexts(), ElementsAre(L1(b.text)));
    host->dialogs.clear();
    SetLastStatus(6, b.st1, b.st2);
    EXPECT_FALSE(Analyse(1, false));
    EXPECT_THAT(host->dialogs, IsEmpty());
  }
}

TEST_F(ReturnAnalysisTest, PaperNearEndNeverFailsAndIsShownOnlyWhenOpeningACoupon) {
  const std::string text = L1("Impressora fiscal com pouco papel.");
  SetLastStatus(6, 64, 0);
  EXPECT_TRUE(Analyse(1, true));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + text));
  EXPECT_THAT(host->dialogs, IsEmpty());
  SetLastStatus(6, 64, 0);
  EXPECT_TRUE(Analyse(1, false, false, true));
  EXPECT_THAT(host->dialogs, IsEmpty());
  SetLastStatus(6, 64, 0);
  EXPECT_TRUE(Analyse(1, true, false, true));
  EXPECT_THAT(DialogTexts(), ElementsAre(text));
}

TEST_F(ReturnAnalysisTest, SeveralBitsGiveLinesAndDialogsInBitOrder) {
  SetLastStatus(6, 160, 0);  // paper out and clock error
  EXPECT_FALSE(Analyse(1, true));
  const std::string paper = L1("Impressora fiscal sem papel."), clock = L1("Erro no relógio da impressora fiscal.");
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + paper, "ERRO!!! " + clock));
  EXPECT_THAT(DialogTexts(), ElementsAre(paper, clock));

  host->dialogs.clear();
  ClearLog();
  SetLastStatus(6, 1, 129);  // ST1 bit 0, then ST2 bits 7 and 0; the code comes first
  EXPECT_FALSE(Analyse(-2, true));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Parâmetro inválido."),
                                         L1("Número inválido de parâmetros do comando da impressora fiscal."),
                                         L1("Tipo incorreto do parâmetro enviado para a impressora fiscal."),
                                         L1("Comando não executado pela impressora fiscal.")));
  EXPECT_EQ(LogEntries().size(), 4u);
}

TEST_F(ReturnAnalysisTest, CommunicationFailureFailsEvenWithCleanStatus) {
  EXPECT_FALSE(Analyse(0, true));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Erro de comunicação.")));
}

TEST_F(ReturnAnalysisTest, UnreadableStatusAndNakFail) {
  const std::string printer_error = L1("Impressora fiscal com erro.");
  printer.script("Bematech_FI_RetornoImpresora", 0, 0, 0, 0);
  EXPECT_FALSE(Analyse(1, true));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! Ret recebido"));
  EXPECT_THAT(DialogTexts(), ElementsAre(printer_error));

  host->dialogs.clear();
  ClearLog();
  SetLastStatus(21, 0, 0);
  EXPECT_FALSE(Analyse(1, false));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! NAK recebido"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(ReturnAnalysisTest, OpenCouponIsCancelledOnceAndTheVerdictStands) {
  // The status still reports the coupon after the cancellation: no second one.
  SetLastStatus(6, 2, 0);
  printer.script("Bematech_FI_CancelaCupom", 1, 6, 2, 0);
  EXPECT_TRUE(Analyse(1, true, true));
  EXPECT_EQ(printer.calls_of("Bematech_FI_CancelaCupom").size(), 1u);
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_THAT(LogEntries(),
              ElementsAre("ERRO!!! Cupom aberto.", "Bematech_FI_CancelaCupom", "ERRO!!! Cupom aberto."));

  printer.clear_journal();
  SetLastStatus(6, 2, 0);
  EXPECT_TRUE(Analyse(1, true, false));
  EXPECT_THAT(printer.calls_of("Bematech_FI_CancelaCupom"), IsEmpty());
}

TEST_F(ReturnAnalysisTest, StatusOnlyCheckDiffersInItsThreeWays) {
  // It takes the bytes whatever the status read returns.
  printer.script("Bematech_FI_RetornoImpresora", 0, 6, 0, 0);
  EXPECT_TRUE(StatusOnly(true));
  // A failing bit is logged only when its dialog is shown.
  SetLastStatus(6, 128, 0);
  EXPECT_FALSE(StatusOnly(false));
  EXPECT_THAT(LogLines(), IsEmpty());
  SetLastStatus(6, 128, 0);
  EXPECT_FALSE(StatusOnly(true));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + L1("Impressora fiscal sem papel.")));
  // The NAK and open-coupon lines are always written.
  ClearLog();
  SetLastStatus(21, 0, 0);
  EXPECT_FALSE(StatusOnly(false));
  SetLastStatus(6, 2, 0);
  EXPECT_TRUE(StatusOnly(false));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! NAK recebido", "ERRO!!! Cupom aberto."));
  // EstImpressora is the same check.
  SetLastStatus(6, 16, 0);
  EXPECT_FALSE(KVR(driver, EstImpressora)("007", false, false, false));
}

TEST_F(ReturnAnalysisTest, PrinterStateQueryAnalysesWithDialogs) {
  EXPECT_TRUE(KVR(driver, Estado_Imp)("007", false, false));
  printer.script("Bematech_FI_VerificaEstadoImpresora", -6, 0, 0, 0);
  EXPECT_FALSE(KVR(driver, Estado_Imp)("007", false, false));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Impressora desligada ou desconectada.")));
}

TEST_F(ReturnAnalysisTest, EmptySlotsNeverCrashTheAnalysis) {
  KVR(driver, StopImpFiscal)();
  EXPECT_FALSE(Analyse(1, true));
  EXPECT_FALSE(StatusOnly(false));
  EXPECT_FALSE(KVR(driver, Estado_Imp)("007", false, false));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Impressora fiscal com erro.")));
}

TEST_F(ReturnAnalysisTest, VariablesReadGivesTwoCharactersForTheShortCommands) {
  if (!printer.library().find("BemaLe_Variaveis")) GTEST_SKIP() << "the printer has no variables read";
  EXPECT_EQ(KVR(driver, RetornoImpFiscal)("23", false).size(), 2u);
  EXPECT_EQ(KVR(driver, RetornoImpFiscal)("3529", true).size(), 2u);
  EXPECT_EQ(KVR(driver, RetornoImpFiscal)("99", false).size(), 3000u);
  EXPECT_EQ(LogEntries().size(), 3u);
}

}  // namespace
}  // namespace driver_test
