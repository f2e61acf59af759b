// The raw command channel: the frame, the status request before it, the
// paper-out loop with its dialogs, a refused send, and boComando.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "raw_channel_fixture.h"

namespace restaurant_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using SendCommand = bool(const std::string&, const std::string&, const std::vector<std::string>&, bool, bool);

// A scripted host that runs an action after each dialog (an operator loading
// paper), or throws from the dialog (a host failing while it is shown).
class OperatorHost : public hostrt::ScriptedHost {
 public:
  std::function<void(int count)> after_dialog;
  bool throw_from_dialog = false;

  bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
                int kind, const std::string& text6, const std::string& colour, int number,
                hostrt::ClientDataSet* dataset) override {
    if (throw_from_dialog) throw std::runtime_error("the host's dialog failed");
    const bool answer = ScriptedHost::Mensagem(text, text2, text3, form, kind, text6, colour, number, dataset);
    if (after_dialog) after_dialog(static_cast<int>(dialogs.size()));
    return answer;
  }
};

class CommandChannelTest : public RawChannelTest {
 protected:
  std::shared_ptr<OperatorHost> UseOperatorHost() {
    auto operator_host = std::make_shared<OperatorHost>();
    host = operator_host;
    hostrt::InstallHostServices(host);
    return operator_host;
  }
  bool Send(const std::string& code, const std::vector<std::string>& params, bool boMsg = true) {
    return KVR(driver, EnviaComando)("007", code, params, boMsg, false);
  }
};

TEST_F(CommandChannelTest, MenuFrameFollowsAStatusRequestAndIsLogged) {
  EXPECT_TRUE(KVR(driver, ImprimeCardapio)("007"));
  EXPECT_THAT(AllFrames(), ElementsAre(kStatusRequest, std::string("\x1b|80|55|\x1b")));
  EXPECT_THAT(LogEntries(), Contains(std::string("Comando : \x1b|80|55|\x1b")));
  EXPECT_NE(printer.tape().find(L1("CARDÁPIO")), std::string::npos);
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, CommandRefusedWhileAnotherIsInProgress) {
  Busy() = true;
  EXPECT_FALSE(KVR(driver, ImprimeCardapio)("007"));
  EXPECT_FALSE(Send("27", {}, false));
  EXPECT_THAT(AllFrames(), IsEmpty());
  EXPECT_THAT(LogLines(), IsEmpty());
  EXPECT_TRUE(Busy()) << "the command in progress keeps its flag";
  Busy() = false;
  EXPECT_TRUE(Send("27", {}));
}

TEST_F(CommandChannelTest, PaperOutWaitsForTheOperatorToLoadPaper) {
  auto operator_host = UseOperatorHost();
  printer.set_paper(2);
  operator_host->after_dialog = [&](int count) {
    if (count == 2) printer.set_paper(0);  // loaded after the second notice
  };
  EXPECT_TRUE(Send("80|55", {}));
  const std::string paper_out = L1("Impressora fiscal sem papel.");
  EXPECT_THAT(DialogTexts(), ElementsAre(paper_out, paper_out));
  EXPECT_EQ(host->dialogs.at(0).kind, hostrt::kPrinterNotice);
  EXPECT_EQ(host->dialogs.at(0).colour_scheme, "007");
  EXPECT_THAT(AllFrames(), ElementsAre(kStatusRequest, kStatusRequest, kStatusRequest, Frame({"80", "55"})));
  const auto entries = LogEntries();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "ERRO!!! " + paper_out), 2);
}

TEST_F(CommandChannelTest, WithoutDialogsPaperOutIsNotAwaited) {
  printer.set_paper(2);
  EXPECT_FALSE(Send("80|55", {}, false)) << "the printer cannot print the menu";
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_THAT(Commands(), ElementsAre(Frame({"80", "55"})));
}

TEST_F(CommandChannelTest, FlagClearedWhenTheHostThrowsDuringTheCommand) {
  auto operator_host = UseOperatorHost();
  operator_host->throw_from_dialog = true;
  printer.set_paper(2);
  EXPECT_THROW(Send("80|55", {}), std::runtime_error);
  EXPECT_FALSE(Busy());
  EXPECT_THAT(Commands(), IsEmpty()) << "the command was never sent";
  operator_host->throw_from_dialog = false;
  printer.set_paper(0);
  EXPECT_TRUE(Send("80|55", {})) << "the channel is usable again";
}

TEST_F(CommandChannelTest, BusyPrinterIsPolledUntilItHasFinished) {
  // The status request and the command itself leave the printer reporting
  // "busy"; the next status request finds it finished.
  ASSERT_EQ(1, printer.script("BemaFormataTX", 0, 6, 0, 64, 2, EMU_SCRIPT_EXECUTE));
  const bool sent = Send("80|55", {});
  EXPECT_TRUE(sent);
  const auto frames = AllFrames();
  ASSERT_GE(frames.size(), 3u) << "a status request before the command and at least one poll after it";
  EXPECT_EQ(frames[1], Frame({"80", "55"}));
  EXPECT_EQ(frames.back(), kStatusRequest);
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, RefusedSendIsLoggedAndExplained) {
  // The first status request goes out; the command itself does not.
  printer.script("BemaFormataTX", 0, 6, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  printer.script("BemaFormataTX", -5, 6, 0, 0, 1);
  EXPECT_FALSE(Send("27", {}));
  EXPECT_THAT(LogEntries(), Contains(std::string("ERRO!!! Comando : \x1b|27|\x1b")));
  EXPECT_THAT(DialogTexts(), Contains(L1("Erro ao enviar comando para a impressora.")));
  EXPECT_FALSE(Busy());
}

// The status request goes out as usual; the command is executed and its send
// answers as if it had been lost.
void LoseTheAnswerOfTheCommand(test_support::EmulatedPrinter& printer) {
  printer.script("BemaFormataTX", 0, 6, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  printer.script("BemaFormataTX", 1, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE);
}

// A table item leaves no figure to tell it by: it is not sent again, and the
// operator is told to check before sending it again.
TEST_F(CommandChannelTest, ATableItemWhoseAnswerWasLostIsNotSentTwice) {
  LoseTheAnswerOfTheCommand(printer);
  EXPECT_FALSE(KVR(driver, Registra_Item_imp)("007", "12", "D", "101", "REFRIGERANTE", "01", 5.5, 1, 0));
  const std::string frame = Frame({"80", "48", "12", "00000550", "D", "00000000", "001000", "00000000000101",
                                   "REFRIGERANTE", "01"});
  const auto commands = Commands();
  EXPECT_EQ(1, std::count(commands.begin(), commands.end(), frame));
  EXPECT_EQ(printer.summary_value("MesasAbertas"), "1") << "the printer holds the item once";
  EXPECT_THAT(DialogTexts(), Contains(L1("Erro ao enviar comando para a impressora.\r\nNão foi possível saber se a "
                                         "impressora executou o comando. Confira o papel antes de responder.")));
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, ATableCouponOpenedWithoutAnAnswerCountsAsOpened) {
  ASSERT_TRUE(KVR(driver, Registra_Item_imp)("007", "12", "D", "101", "REFRIGERANTE", "01", 5.5, 1, 0));
  LoseTheAnswerOfTheCommand(printer);
  printer.clear_journal();
  EXPECT_TRUE(KVR(driver, AbreCupomRes)("007", "12", ""));
  EXPECT_EQ(printer.summary_value("Documento"), "cupom");
  EXPECT_EQ(printer.summary_value("ItensCupom"), "1");
  const auto commands = Commands();
  EXPECT_EQ(1, std::count(commands.begin(), commands.end(), Frame({"80", "52", "12", ""})));
  EXPECT_THAT(LogEntries(), Contains(L1("ERRO!!! Comando : ") + Frame({"80", "52", "12", ""}) +
                                     L1(": a impressora executou o comando sem responder")));
}

TEST_F(CommandChannelTest, PrinterRefusalInTheStatusFailsTheCommand) {
  // A rate that is not programmed: the frame goes out, the status says no.
  EXPECT_FALSE(KVR(driver, Registra_Item_imp)("007", "12", "D", "101", "REFRIGERANTE", "09", 5.0, 1.0, 0.0));
  EXPECT_THAT(Commands(), ::testing::SizeIs(1));
  EXPECT_THAT(host->dialogs, Not(IsEmpty()));
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, LibraryWithoutTheRawChannelFailsCleanly) {
  KVR_GLOBAL(driver, BemaFormataTX).Clear();
  EXPECT_FALSE(KVR(driver, ImprimeCardapio)("007"));
  EXPECT_FALSE(Busy());
  EXPECT_THAT(DialogTexts(), ElementsAre(L1("Erro ao enviar comando para a impressora.")));
  ASSERT_FALSE(LogEntries().empty());
  EXPECT_EQ(LogEntries().back().rfind("ERRO!!! Comando : \x1b|80|55|\x1b", 0), 0u);
  EXPECT_FALSE(KVR(driver, Totaliza_NFiscal_Imp)("007", "01", "00000000001000"));
}

}  // namespace
}  // namespace restaurant_test
