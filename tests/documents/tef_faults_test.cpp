// TEF slips when the printer executes a command and its answer is lost with
// the power: the slips are judged by what the printer holds, the printer is
// left ready, and the document that holds them is recorded once.
#include <gmock/gmock.h>

#include "bemafi32/emu_control.h"
#include "documents_fixture.h"
#include "test_support/fault_sweep.h"

namespace documents_test {
namespace {

using ::testing::SizeIs;
using Lines = std::vector<std::string>;

class TefFaultsTest : public DocumentsTest {
 protected:
  void SetUp() override {
    // The operator switches the printer on at the first dialog and answers
    // every question by the policy.
    host = sweep;
    hostrt::InstallHostServices(host);
    DocumentsTest::SetUp();
    Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Credito Visa", "1");
    CardPaidCoupon("Cartao Credito Visa");
    printer.clear_journal();
    tape_before = printer.tape().size();
  }

  template <class... Args>
  void Call(const char* name, Args... args) {
    ASSERT_EQ(1, printer.entry<int(Args...)>(name)(args...)) << name;
  }

  // The n-th call of the entry point is executed, its answer lost, and the power goes.
  void PowerCutAfter(const char* entry_point, int nth = 1) {
    printer.script_after(nth - 1, entry_point, 0, 0, 0, 0, 1, EMU_SCRIPT_POWER_LOSS);
  }

  bool Print(const Lines& first, const Lines& second, int inErro, test_support::Policy policy) {
    sweep->Begin(policy);
    return KVR(driver, ImprimeTef)("EMU0001", "001", "002", "007", &first, &second, nullptr, nullptr, "000123",
                                   "Cartao Credito Visa", "", 25.0, 25.0, inErro, "N");
  }

  std::size_t Count(const std::string& text) const {
    const std::string tape = printer.tape().substr(tape_before);
    std::size_t n = 0;
    for (std::size_t at = tape.find(text); at != std::string::npos; at = tape.find(text, at + 1)) ++n;
    return n;
  }

  std::shared_ptr<test_support::SweepHost> sweep = std::make_shared<test_support::SweepHost>(printer);
  std::size_t tape_before = 0;
};

// The receipt's close executed with the power going: once the printer is back
// it tells that the receipt is closed; nothing is closed again or reprinted.
TEST_F(TefFaultsTest, ACloseWhoseAnswerWentWithThePowerIsJudgedByThePrinter) {
  for (const auto policy : {test_support::Policy::kYesUntilItWorks, test_support::Policy::kNoToEveryQuestion}) {
    SCOPED_TRACE(test_support::PolicyName(policy));
    const std::size_t closes = printer.calls_of("Bematech_FI_CierraInformeGerencial").size();
    PowerCutAfter("Bematech_FI_CierraInformeGerencial");
    EXPECT_TRUE(Print({"CLIENTE VIA\n"}, {}, 2, policy)) << "the slip is whole in a closed report";
    EXPECT_LE(sweep->questions, 1);
    EXPECT_FALSE(sweep->cut_off);
    EXPECT_EQ(Count("CLIENTE VIA"), 1u) << "not reprinted";
    EXPECT_EQ(printer.calls_of("Bematech_FI_CierraInformeGerencial").size() - closes, 1u) << "never closed twice";
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
    tape_before = printer.tape().size();
  }
}

// The receipt or report opened, its answer lost, and the operator gives up:
// it does not stay open on the printer.
TEST_F(TefFaultsTest, AnOpeningWhoseAnswerWasLostLeavesNothingOpenWhenGivenUp) {
  for (const int mode : {EMU_SCRIPT_EXECUTE, EMU_SCRIPT_POWER_LOSS}) {
    for (const char* opening : {"Bematech_FI_AbreComprobanteNoFiscalVinculado", "Bematech_FI_InformeGerencial"}) {
      SCOPED_TRACE(std::string(opening) + " mode " + std::to_string(mode));
      printer.script(opening, 0, 0, 0, 0, 1, mode);
      if (mode == EMU_SCRIPT_EXECUTE) printer.script("Bematech_FI_StatusEstendidoMFD", -1, 0, 0, 0, 1);
      Print({"CLIENTE VIA\n"}, {}, opening[12] == 'I' ? 2 : 0, test_support::Policy::kNoToEveryQuestion);
      EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
      printer.clear_scripts();
      KVR(driver, FechRelatGerenc)("007", false, false);
    }
  }
}

// The power goes in the second copy; the reprint in a new report is recorded,
// and only it: one record, never the same document twice.
TEST_F(TefFaultsTest, ASlipCutInItsSecondCopyAndReprintedIsRecordedOnce) {
  PowerCutAfter("Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 2);
  EXPECT_TRUE(Print({"CLIENTE VIA\n"}, {"LOJA VIA\n"}, 2, test_support::Policy::kYesUntilItWorks));
  ASSERT_THAT(sweep->documents, SizeIs(1));
  EXPECT_EQ(std::string(sweep->documents[0].document_type.begin(), sweep->documents[0].document_type.end()), "RG");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

}  // namespace
}  // namespace documents_test
