// Commands the printer executed but whose answer was lost, or that used the
// last of the paper: never sent twice, and never reported as failed when the
// printer holds them. Commands refused without an answer are asked about and
// sent again, once.
#include <gmock/gmock.h>

#include <algorithm>

#include "coupon_fixture.h"
#include "bemafi32/emu_control.h"
#include "hostrt/params.h"

namespace coupon_test {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kExecuted = L1(": a impressora executou o comando sem responder");

class LostAnswerTest : public CouponTest {
 protected:
  // The next call of the entry point is lost on its way: not executed, no answer.
  void LoseWithoutExecuting(const char* entry_point) { printer.script(entry_point, 0, 0, 0, 0, 1, EMU_SCRIPT_REFUSE); }

  hostrt::Variant Espresso() { return ItemParams("7", "CAFE EXPRESSO", 4.5); }
  std::string ItemQuestion() const {
    return L1("Erro ao imprimir o item: ") + "\r\n" + "7 - CAFE EXPRESSO" + "\r\n" + "Deseja imprimir novamente?";
  }
  // Pays the open coupon with one cash payment of the amount.
  bool PayInCash(double amount, bool tef = false) {
    ClosingSlots slots;
    slots[13] = MovementData({{"E", "001", amount, 1}});
    if (tef) {
      slots[9] = "T";
      slots[11] = true;
    }
    return Close(slots);
  }
};

TEST_F(LostAnswerTest, AnItemExecutedWithoutAnAnswerIsSoldOnceAndTheSaleClosesWithItsTotal) {
  OpenCoupon();
  ExecuteWithoutAnswer("Bematech_FI_VendeArticuloDepartamento");
  host->SetDefaultAnswer(true);  // a question would be answered yes: there must be none
  hostrt::Variant item = Espresso();
  EXPECT_TRUE(KVR(driver, VendaItem)(item));
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_EQ(1u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
  EXPECT_EQ(1u, TapeCount("CAFE EXPRESSO"));
  EXPECT_EQ("1", printer.summary_value("ItensCupom"));
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Bematech_FI_VendeArticuloDepartamento" + kExecuted));

  // 4,50 at 18 % (rate 01) carries 0,81 of tax: 5,31.
  ASSERT_TRUE(PayInCash(5.31));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ("5,31", printer.summary_value("VendaBruta"));
}

TEST_F(LostAnswerTest, AnItemLostOnItsWayIsAskedAboutAndSentOnceMore) {
  OpenCoupon();
  LoseWithoutExecuting("Bematech_FI_VendeArticuloDepartamento");
  host->QueueAnswer(true);
  hostrt::Variant item = Espresso();
  EXPECT_TRUE(KVR(driver, VendaItem)(item));
  EXPECT_THAT(QuestionTexts(), ::testing::ElementsAre(ItemQuestion()));
  EXPECT_EQ(2u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
  EXPECT_EQ(1u, TapeCount("CAFE EXPRESSO"));
  EXPECT_EQ("1", printer.summary_value("ItensCupom"));
}

// The item that takes the last of the paper is registered: the host is told
// so, and the next item, refused for want of paper, is sold once the paper is in.
TEST_F(LostAnswerTest, PaperRunningOutOnAnItemNeverSellsItTwice) {
  OpenCoupon();
  ASSERT_EQ(1, printer.set_paper_ends_after_items(1));
  hostrt::Variant first = Espresso();
  EXPECT_TRUE(KVR(driver, VendaItem)(first)) << "the printer holds the item";
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_THAT(DialogTexts(), Contains(L1("Impressora fiscal sem papel.")));

  host->QueueAnswer(false);  // the paper is not in yet
  hostrt::Variant second = ItemParams("8", "PAO DE QUEIJO", 3);
  EXPECT_FALSE(KVR(driver, VendaItem)(second));
  EXPECT_EQ("1", printer.summary_value("ItensCupom"));

  ASSERT_EQ(1, printer.set_paper(0));
  EXPECT_TRUE(KVR(driver, VendaItem)(second));
  EXPECT_EQ("2", printer.summary_value("ItensCupom"));
  EXPECT_EQ(1u, TapeCount("CAFE EXPRESSO"));
  EXPECT_EQ(1u, TapeCount("PAO DE QUEIJO"));
}

// An item of no value leaves the grand total as it was: nothing tells it, so
// the question asks the operator to look at the paper.
TEST_F(LostAnswerTest, WhenTheFiguresCannotTellTheQuestionAsksToCheckThePaper) {
  OpenCoupon();
  ExecuteWithoutAnswer("Bematech_FI_VendeArticuloDepartamento");
  host->QueueAnswer(false);
  hostrt::Variant free_item = ItemParams("7", "CAFE EXPRESSO", 0);
  EXPECT_FALSE(KVR(driver, VendaItem)(free_item));
  EXPECT_THAT(QuestionTexts(), ::testing::ElementsAre(ItemQuestion() + "\r\n" + kCheckPaper));
  EXPECT_EQ(1u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
}

TEST_F(LostAnswerTest, ACouponOpeningExecutedWithoutAnAnswerIsNotRepeated) {
  for (const bool tef : {false, true}) {
    SCOPED_TRACE(tef ? "TEF" : "no TEF");
    printer.clear_journal();
    ExecuteWithoutAnswer("Bematech_FI_AbreComprobanteDeVenta");
    host->SetDefaultAnswer(true);
    hostrt::Variant params =
        hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", tef ? "T" : "N"}, {"UTILTEF", tef}});
    EXPECT_TRUE(KVR(driver, AbreCupom)(params));
    EXPECT_EQ(1u, CallCount("Bematech_FI_AbreComprobanteDeVenta"));
    EXPECT_EQ("cupom", printer.summary_value("Documento"));
    EXPECT_THAT(QuestionTexts(), IsEmpty());
    hostrt::Variant item = Espresso();
    ASSERT_TRUE(KVR(driver, VendaItem)(item));
    ASSERT_TRUE(PayInCash(5.31, tef));  // 4,50 and 18 % of tax
  }
  EXPECT_EQ(2u, TapeCount("CAFE EXPRESSO"));
}

TEST_F(LostAnswerTest, APaymentAndAFooterExecutedWithoutAnAnswerAreNotRepeated) {
  for (const bool tef : {false, true}) {
    for (const char* step : {"Bematech_FI_EfectuaFormaPago", "Bematech_FI_FinalizarCierreCupon",
                             "Bematech_FI_IniciaCierreCupon"}) {
      SCOPED_TRACE(std::string(step) + (tef ? " in TEF mode" : ""));
      CouponWithOneItem(10);
      ExecuteWithoutAnswer(step);
      host->SetDefaultAnswer(true);
      EXPECT_TRUE(PayInCash(10, tef));
      EXPECT_EQ(1u, CallCount(step));
      EXPECT_EQ("nenhum", printer.summary_value("Documento")) << "the coupon is closed";
      EXPECT_THAT(QuestionTexts(), IsEmpty());
      EXPECT_EQ(0, oleRetorno[0].AsInteger()) << "no retry was accepted";
      EXPECT_THAT(LogEntries(), Contains("ERRO!!! " + std::string(step) + kExecuted));
    }
  }
  EXPECT_EQ("60,00", printer.summary_value("VendaBruta"));
}

TEST_F(LostAnswerTest, APaymentLostOnItsWayIsAskedAboutInTefModeAndSentOnce) {
  CouponWithOneItem(10);
  LoseWithoutExecuting("Bematech_FI_EfectuaFormaPago");
  host->QueueAnswer(true);
  EXPECT_TRUE(PayInCash(10, true));
  EXPECT_EQ(2u, CallCount("Bematech_FI_EfectuaFormaPago"));
  EXPECT_THAT(QuestionTexts(), ::testing::ElementsAre(L1("Impressora não responde. Imprimir novamente?")));
  EXPECT_EQ(1, oleRetorno[0].AsInteger());
  EXPECT_EQ(0u, TapeCount("TROCO")) << "paid once: no change";
}

TEST_F(LostAnswerTest, CancellationsExecutedWithoutAnAnswerReportSuccess) {
  OpenCoupon();
  hostrt::Variant first = Espresso(), second = ItemParams("8", "PAO DE QUEIJO", 3);
  ASSERT_TRUE(KVR(driver, VendaItem)(first));
  ASSERT_TRUE(KVR(driver, VendaItem)(second));
  ExecuteWithoutAnswer("Bematech_FI_AnulaArticuloAnterior");
  EXPECT_TRUE(KVR(driver, Cancela_UltimoItem)("001"));
  EXPECT_EQ("3,54", printer.summary_value("Cancelamentos")) << "3,00 and its 18 % of tax";

  ExecuteWithoutAnswer("Bematech_FI_AnulaCupon");
  std::vector<hostrt::Variant> args{hostrt::Variant("001"), hostrt::Variant(false), hostrt::Variant(false),
                                    hostrt::Variant(""),    hostrt::Variant("001"), hostrt::Variant("002"),
                                    hostrt::Variant("EMU0001")};
  hostrt::Variant result = hostrt::Variant::Array(0, 2);
  EXPECT_TRUE(KVR(driver, Cancela_Cupom_Imp)(args.data(), static_cast<int>(args.size()) - 1, result));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ(1u, CallCount("Bematech_FI_AnulaCupon"));
}

TEST_F(LostAnswerTest, AReportOpenedWithoutAnAnswerCountsAsOpened) {
  ExecuteWithoutAnswer("Bematech_FI_InformeGerencial");
  EXPECT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("001", "001", "002", ""));
  EXPECT_EQ(1u, CallCount("Bematech_FI_InformeGerencial"));
  ExecuteWithoutAnswer("Bematech_FI_CierraInformeGerencial");
  EXPECT_TRUE(KVR(driver, FechRelatGerenc)("001", true, false));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
}

}  // namespace
}  // namespace coupon_test
