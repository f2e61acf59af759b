// TEF card slips: what reaches the printer piece by piece, the document they
// go in, the register rows, and every failure path, checked on the tape and in
// the record store.
#include <gmock/gmock.h>

#include <algorithm>
#include <random>

#include "documents_fixture.h"

namespace documents_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

constexpr int kRoundsPerSeed = 12;
const std::string kQuestion = L1("Impressora não responde. Imprimir novamente?");

class TefSlipsTest : public DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Credito Visa", "1");
    // A coupon of 25.00 paid by card: the slips belong to that payment. The item
    // is sold under F (no tax added), so the coupon's total is its price.
    CardPaidCoupon("Cartao Credito Visa");
    coo = printer.summary_value("COO");
    printer.clear_journal();
    tape_before = printer.tape().size();
  }

  template <class... Args>
  void Call(const char* name, Args... args) {
    ASSERT_EQ(1, printer.entry<int(Args...)>(name)(args...)) << name;
  }

  bool Print(const Lines& first, const Lines& second, int inErro = 0, const std::string& reduced = "N",
             const std::string& coupon = "") {
    return KVR(driver, ImprimeTef)("EMU0001", "001", "002", "007", &first, &second, nullptr, nullptr, coupon,
                                   "Cartao Credito Visa", "", 25.0, 25.0, inErro, reduced);
  }
  // The n-th call of the entry point (1 for the next) is refused, the ones
  // before it go through.
  void FailCall(const char* entry_point, int nth) { printer.script_after(nth - 1, entry_point, -1, 6, 0, 0); }
  std::string NewTape() const { return printer.tape().substr(tape_before); }
  std::vector<std::string> RegisterTypes() const {
    std::vector<std::string> types;
    for (const auto& row : Rows("SELECT document_type FROM nonfiscal_documents ORDER BY id")) types.push_back(row.at("document_type"));
    return types;
  }

  static std::string NumberedLines(const std::string& prefix, int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += prefix + " LINHA " + std::to_string(i) + "\n";
    return text;
  }

  std::string coo;
  std::size_t tape_before = 0;
};

TEST_F(TefSlipsTest, ASlipOfNineLinesGoesInPiecesOfFourFourAndOneInAReceiptLinkedToTheCardPayment) {
  const std::string slip = NumberedLines("VIA CLIENTE", 9);
  EXPECT_TRUE(Print({slip}, {}));
  EXPECT_THAT(PrintedBlocks(), ElementsAre(NumberedLines("VIA CLIENTE", 4),
                                    slip.substr(NumberedLines("VIA CLIENTE", 4).size(),
                                                NumberedLines("VIA CLIENTE", 8).size() -
                                                    NumberedLines("VIA CLIENTE", 4).size()),
                                    "VIA CLIENTE LINHA 9\n"));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_AbreComprobanteNoFiscalVinculado"),
              ElementsAre(ElementsAre("Cartao Credito V", "00000000002500", coo)));
  const std::string tape = NewTape();
  // The receipt names the coupon and the card payment it belongs to.
  const std::size_t receipt = tape.find(L1("COMPROVANTE CRÉDITO OU DÉBITO"));
  ASSERT_NE(receipt, std::string::npos);
  EXPECT_NE(tape.find("COO do documento vinculado:", receipt), std::string::npos);
  EXPECT_NE(tape.find("Cartao Credito V", receipt), std::string::npos);
  EXPECT_NE(tape.find("25,00", receipt), std::string::npos);
  EXPECT_NE(tape.find("VIA CLIENTE LINHA 9"), std::string::npos);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(RegisterTypes(), ElementsAre("CN"));
}

TEST_F(TefSlipsTest, BothCopiesOfEachSlipAndSecondCopiesOnlyWhereTheListHasThem) {
  EXPECT_TRUE(Print({"CLIENTE 1\n", "CLIENTE 2\n"}, {"LOJA 1\n"}));
  EXPECT_THAT(PrintedBlocks(), ElementsAre("CLIENTE 1\n", "LOJA 1\n", "CLIENTE 2\n"));
}

TEST_F(TefSlipsTest, ReducedTefCouponPrintsOnlySecondCopiesInAManagementReport) {
  EXPECT_TRUE(Print({"CLIENTE 1\n", "CLIENTE 2\n"}, {"LOJA 1\n", "LOJA 2\n"}, 0, "S"));
  EXPECT_THAT(PrintedBlocks(), ElementsAre("LOJA 1\n", "LOJA 2\n"));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_AbreComprobanteNoFiscalVinculado"), IsEmpty());
  EXPECT_EQ(1u, ArgumentsOf("Bematech_FI_InformeGerencial").size());
  EXPECT_THAT(RegisterTypes(), ElementsAre("CN"));
}

TEST_F(TefSlipsTest, ErrorTwoPrintsInAManagementReportAfterClosingAnyLeftOpen) {
  EXPECT_TRUE(Print({"CLIENTE\n"}, {"LOJA\n"}, 2, "N", "000123"));
  const auto journal = printer.journal();
  std::vector<std::string> names;
  for (const auto& call : journal)
    if (call.name != "Bematech_FI_RetornoImpresora" && call.name != "Bematech_FI_VerificaEstadoImpresora")
      names.push_back(call.name);
  // No report is open: none is closed (a close would only be refused).
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "Bematech_FI_StatusEstendidoMFD");
  EXPECT_EQ(names[1], "Bematech_FI_InformeGerencial");
  EXPECT_THAT(DialogTexts(), IsEmpty());
  EXPECT_THAT(PrintedBlocks(), ElementsAre("CLIENTE\n", "LOJA\n"));
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG"));
  // Without a coupon number the slips print, and the answer stays False.
  EXPECT_FALSE(Print({"CLIENTE\n"}, {}, 2, "N", " "));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

// An extended status of 4 after the first close calls for a second one.
TEST_F(TefSlipsTest, AReportModeStartClosesOnceMoreWhenTheStatusSaysFour) {
  ASSERT_EQ(1, printer.configure("StatusEstendido", "4"));
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}, 2, "N", "000123"));
  EXPECT_EQ(3u, printer.calls_of("Bematech_FI_CierraInformeGerencial").size()) << "two before the report, one after";
}

// A status read that the printer refuses does not pass for "no report open":
// the report left open is closed, and the slips go in a report of their own.
TEST_F(TefSlipsTest, AReportLeftOpenIsClosedEvenWhenTheStatusReadIsRefused) {
  Call("Bematech_FI_InformeGerencial", "DEIXADO ABERTO\n");
  const long long reports = std::stoll(printer.summary_value("GRG"));
  FailCall("Bematech_FI_StatusEstendidoMFD", 1);
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}, 2, "N", "000123"));
  const std::string tape = NewTape();
  const std::size_t slip = tape.find("CLIENTE");
  ASSERT_NE(slip, std::string::npos);
  EXPECT_NE(tape.rfind(std::string(48, '~'), slip), std::string::npos) << "the report left open was closed first";
  EXPECT_EQ(std::stoll(printer.summary_value("GRG")), reports + 1);
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

// A slip before the last one is never left half printed without the question.
TEST_F(TefSlipsTest, AFailureInASlipBeforeTheLastIsAskedAboutAndReprinted) {
  FailCall("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 1);
  host->QueueAnswer(true);
  EXPECT_TRUE(Print({"PRIMEIRO\n", "SEGUNDO\n"}, {}));
  EXPECT_THAT(QuestionTexts(), ElementsAre(kQuestion));
  const std::string tape = NewTape();
  const std::size_t report = tape.find(L1("RELATÓRIO GERENCIAL"));
  ASSERT_NE(report, std::string::npos);
  EXPECT_NE(tape.find("SEGUNDO", tape.find("PRIMEIRO", report)), std::string::npos) << "both slips, in order";

  host->QueueAnswer(false);
  FailCall("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 1);
  EXPECT_FALSE(Print({"PRIMEIRO\n", "SEGUNDO\n"}, {})) << "given up: not printed";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(TefSlipsTest, AFailureInTheLastSlipReprintsEverySlipInANewReportOnYes) {
  const Lines first{"CLIENTE A1\nCLIENTE A2\n", "CLIENTE B1\nCLIENTE B2\nCLIENTE B3\nCLIENTE B4\nCLIENTE B5\n"};
  const Lines second{"LOJA A\n", "LOJA B\n"};
  FailCall("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 4);  // the second piece of slip B
  host->QueueAnswer(true);
  EXPECT_TRUE(Print(first, second));
  EXPECT_THAT(QuestionTexts(), ElementsAre(kQuestion));
  // The receipt is closed and a new report reprints all slips, whole.
  const std::string tape = NewTape();
  const std::size_t report = tape.find(L1("RELATÓRIO GERENCIAL"));
  ASSERT_NE(report, std::string::npos);
  std::size_t at = report;
  for (const char* line : {"CLIENTE A1", "CLIENTE A2", "LOJA A", "CLIENTE B1", "CLIENTE B2", "CLIENTE B3",
                                  "CLIENTE B4", "CLIENTE B5", "LOJA B"}) {
    at = tape.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << " after the reprint";
  }
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG")) << "only the document that holds every slip";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(TefSlipsTest, NoToTheQuestionReturnsFalseAndLeavesThePrinterReady) {
  FailCall("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 1);
  host->QueueAnswer(false);
  EXPECT_FALSE(Print({"CLIENTE\n"}, {}));
  EXPECT_THAT(QuestionTexts(), ElementsAre(kQuestion));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

// A close refused once is sent once more: the slips are whole, nothing is reprinted.
TEST_F(TefSlipsTest, AFailedCloseIsSentOnceMoreAndAPersistentOneReprintsInANewReport) {
  FailCall("Bematech_FI_CierraInformeGerencial", 1);
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}));
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_EQ(1u, PrintedBlocks().size());

  printer.clear_journal();
  printer.script("Bematech_FI_CierraInformeGerencial", -1, 6, 0, 0, 2);
  host->QueueAnswer(true);
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}, 2, "N", "000123"));
  EXPECT_THAT(QuestionTexts(), ElementsAre(kQuestion));
  EXPECT_EQ(2u, PrintedBlocks().size()) << "printed, and printed again";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(TefSlipsTest, AFailedOpeningSwitchesToAManagementReport) {
  FailCall("Bematech_FI_AbreComprobanteNoFiscalVinculado", 1);
  host->QueueAnswer(true);
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}));
  EXPECT_EQ(1u, ArgumentsOf("Bematech_FI_InformeGerencial").size());
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG"));
  EXPECT_NE(NewTape().find("CLIENTE"), std::string::npos);
}

TEST_F(TefSlipsTest, AnEmptyFirstCopyListPrintsNothing) {
  EXPECT_FALSE(Print({}, {"LOJA\n"}));
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_VerificaEstadoImpresora").size()) << "after the printer check";
  EXPECT_THAT(PrintedBlocks(), IsEmpty());
  EXPECT_THAT(RegisterTypes(), IsEmpty());
}

TEST_F(TefSlipsTest, APrinterThatAnswersOnlyAfterTheQuestionPrintsButRegistersNothing) {
  printer.script("Bematech_FI_VerificaEstadoImpresora", 0, 0, 0, 0);
  host->QueueAnswer(true);
  EXPECT_TRUE(Print({"CLIENTE\n"}, {}));
  EXPECT_THAT(QuestionTexts(), ElementsAre(kQuestion));
  EXPECT_THAT(RegisterTypes(), IsEmpty()) << "the first check was not positive";
  // Declined, nothing is sent at all.
  printer.clear_journal();
  printer.script("Bematech_FI_VerificaEstadoImpresora", 0, 0, 0, 0);
  host->QueueAnswer(false);
  EXPECT_FALSE(Print({"CLIENTE\n"}, {}));
  EXPECT_THAT(PrintedBlocks(), IsEmpty());
}

TEST_F(TefSlipsTest, TextsWithoutAFinalLineFeedOrWithOnlyLineFeedsEnd) {
  EXPECT_TRUE(Print({"A\nB\nC\nD\nE\nSEM FIM", "\n\n\n\n\n", ""}, {}));
  EXPECT_THAT(PrintedBlocks(), ElementsAre("A\nB\nC\nD\n", "E\nSEM FIM", "\n\n\n\n", "\n"));
  EXPECT_NE(NewTape().find("SEM FIM"), std::string::npos);
}

// Random slips, in a linked receipt or a management report, and a random
// failing piece, close or opening: whenever the answer is True, every slip's
// text is on the tape whole, in order, in the last document, closed. Each seed
// gives other slips and failures; the rule holds under every one.
class TefSlipsUnderSeed : public TefSlipsTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(TefSlipsUnderSeed, TrueAlwaysMeansEverySlipWholeOnTheTape) {
  std::mt19937 random(GetParam());
  int printed_rounds = 0, reprinted_rounds = 0;
  for (int round = 0; round < kRoundsPerSeed; ++round) {
    SCOPED_TRACE(round);
    const std::string tag = "R" + std::to_string(round) + "S";
    Lines first, second;
    const int slips = 1 + static_cast<int>(random() % 3);
    for (int s = 0; s < slips; ++s) {
      std::string text;
      const int lines = static_cast<int>(random() % 7);
      for (int l = 0; l < lines; ++l)
        text += random() % 5 == 0 ? std::string("\n") : tag + std::to_string(s) + "L" + std::to_string(l) + "\n";
      if (random() % 3 == 0) text += tag + std::to_string(s) + "FIM";
      first.push_back(text);
      if (random() % 2 == 0 && second.size() == first.size() - 1) second.push_back(tag + std::to_string(s) + "LOJA\n");
    }
    const bool report_mode = random() % 2 == 0;
    printer.clear_scripts();
    host->dialogs.clear();
    // The first round of every seed has its first piece fail and reprinted.
    const int failure = round == 0 ? 1 : static_cast<int>(random() % 4);
    const int nth = round == 0 ? 1 : 1 + static_cast<int>(random() % 6);
    if (failure == 1) FailCall("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", nth);
    if (failure == 2) FailCall("Bematech_FI_CierraInformeGerencial", 1 + nth % 2);
    if (failure == 3)
      FailCall(report_mode ? "Bematech_FI_InformeGerencial" : "Bematech_FI_AbreComprobanteNoFiscalVinculado", 1);
    host->SetDefaultAnswer(round == 0 || random() % 4 != 0);
    const std::size_t before = printer.tape().size();
    const bool printed = Print(first, second, report_mode ? 2 : 0, "N", "000123");
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum") << "the printer is left ready";
    if (!printed) continue;
    ++printed_rounds;
    if (!QuestionTexts().empty()) ++reprinted_rounds;
    // The last document on the tape holds every line of every slip, in order.
    const std::string tape = printer.tape().substr(before);
    std::size_t at = std::string::npos;  // the title of the last report or linked receipt
    for (const char* title : {"RELATÓRIO GERENCIAL", "COMPROVANTE CRÉDITO OU DÉBITO"})
      if (const std::size_t found = tape.rfind(L1(title)); found != std::string::npos)
        at = at == std::string::npos ? found : std::max(at, found);
    ASSERT_NE(at, std::string::npos);
    Lines copies;  // each slip's first copy, then its second
    for (std::size_t slip = 0; slip < first.size(); ++slip) {
      copies.push_back(first[slip]);
      if (slip < second.size()) copies.push_back(second[slip]);
    }
    for (const std::string& text : copies) {
      std::size_t start = 0;
      while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        at = tape.find(line, at);
        ASSERT_NE(at, std::string::npos) << line;
      }
    }
    EXPECT_NE(tape.find(std::string(48, '~'), at), std::string::npos) << "the document was closed";
  }
  EXPECT_GE(printed_rounds, kRoundsPerSeed / 2);
  EXPECT_GE(reprinted_rounds, 1) << "one of them after a reprint";
}

INSTANTIATE_TEST_SUITE_P(TwentySeeds, TefSlipsUnderSeed, ::testing::Range(20261208u, 20261228u));

}  // namespace
}  // namespace documents_test
