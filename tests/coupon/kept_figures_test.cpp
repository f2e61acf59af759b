// A sale's figures kept by the driver instead of read before each call: the
// grand total is read once at the coupon's first item and the payment forms'
// totals once for many coupons. A lost answer is still told by one read after
// it; where the kept figure and the printer's disagree, the operator is asked
// and nothing is sold twice.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "test_support/state_file_edit.h"

namespace coupon_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KeptFiguresTest : public CouponTest {
 protected:
  bool Sell(const std::string& code, const std::string& name, double price) {
    hostrt::Variant item = ItemParams(code, name, price);
    return KVR(driver, VendaItem)(item);
  }
  bool PayInCash(double amount) {
    ClosingSlots slots;
    slots[13] = MovementData({{"E", "001", amount, 1}});
    return Close(slots);
  }
  // The printer's grand total moved by a cent behind the driver's back, as a
  // printer that rounds a tax where the driver cuts it would leave it.
  void GrandTotalOffByACent() {
    const std::string state = test_support::read_file_or_empty(printer.state_path());
    const std::size_t at = state.find("\ngrand_total=");
    ASSERT_NE(std::string::npos, at);
    const std::size_t end = state.find('\n', at + 1);
    const std::string line = state.substr(at, end - at);
    const long long cents = std::stoll(line.substr(line.find('=') + 1));
    test_support::write_whole_file(printer.state_path(),
                                   test_support::resealed(state, line, "\ngrand_total=" + std::to_string(cents + 1)));
    ASSERT_EQ(1, printer.reload());
  }
  // A coupon of one espresso (5,31) paid in cash, the payment's answer lost.
  bool SecondCouponWithItsPaymentAnswerLost(double amount) {
    OpenCoupon();
    if (!Sell("7", "CAFE EXPRESSO", 4.5)) return false;
    host->SetDefaultAnswer(true);  // a question would be answered yes: there must be none
    ExecuteWithoutAnswer("Bematech_FI_EfectuaFormaPago");
    return PayInCash(amount);
  }
  // The day total of the cash form, in the printer's list of forms.
  long long CashDayTotal() {
    std::string list(3016, ' ');
    printer.entry<int(char*)>("Bematech_FI_VerificaFormasPago")(list.data());
    const std::size_t at = list.find("Dinheiro");
    return at == std::string::npos ? -1 : std::stoll(list.substr(at + 16, 20));
  }
};

TEST_F(KeptFiguresTest, ACoupon_sItemsReadTheGrandTotalOnceAndALostAnswerIsStillToldByOneRead) {
  OpenCoupon();
  for (int i = 1; i <= 5; ++i) ASSERT_TRUE(Sell(std::to_string(i), "ITEM " + std::to_string(i), 1.25 * i));
  EXPECT_EQ(1u, CallCount("Bematech_FI_GrandeTotal"));
  EXPECT_EQ(1u, CallCount("Bematech_FI_RetornoAlicuotas"));

  // The sixth item goes in with its answer lost: one read tells, no question.
  host->SetDefaultAnswer(true);
  ExecuteWithoutAnswer("Bematech_FI_VendeArticuloDepartamento");
  EXPECT_TRUE(Sell("6", "ITEM SEIS", 2.10));
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_EQ(2u, CallCount("Bematech_FI_GrandeTotal"));
  EXPECT_EQ(1u, TapeCount("ITEM SEIS"));
  EXPECT_EQ("6", printer.summary_value("ItensCupom"));
}

TEST_F(KeptFiguresTest, AGrandTotalThatDisagreesByACentAsksTheOperatorAndSellsNothingTwice) {
  OpenCoupon();
  ASSERT_TRUE(Sell("7", "CAFE EXPRESSO", 4.5));
  GrandTotalOffByACent();

  // The item goes in, its answer lost; the read after it is a cent off what
  // the item would make, so the figures cannot tell. The operator, having
  // looked at the paper, says not to print it again.
  ExecuteWithoutAnswer("Bematech_FI_VendeArticuloDepartamento");
  host->QueueAnswer(false);
  EXPECT_FALSE(Sell("8", "PAO DE QUEIJO", 3));
  EXPECT_THAT(QuestionTexts(), ElementsAre(L1("Erro ao imprimir o item: ") + "\r\n8 - PAO DE QUEIJO\r\n" +
                                           "Deseja imprimir novamente?\r\n" + kCheckPaper));
  EXPECT_EQ(2u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
  EXPECT_EQ(1u, TapeCount("PAO DE QUEIJO"));
  EXPECT_EQ("2", printer.summary_value("ItensCupom"));

  // The read after the answer is the figure from now on: the next lost answer
  // is told again without a question.
  ExecuteWithoutAnswer("Bematech_FI_VendeArticuloDepartamento");
  EXPECT_TRUE(Sell("9", "SUCO DE LARANJA", 6));
  EXPECT_EQ(1u, QuestionTexts().size());
  EXPECT_EQ(1u, TapeCount("SUCO DE LARANJA"));
  EXPECT_EQ("3", printer.summary_value("ItensCupom"));
}

// The cash form's total is read before the first coupon's payment only. The
// change of a coupon paid over its total is computed as the printer gives it,
// so a lost answer of the next coupon's payment is told by one read after it.
TEST_F(KeptFiguresTest, PaymentFormTotalsAreReadOnceForManyCouponsChangeIncluded) {
  OpenCoupon();
  ASSERT_TRUE(Sell("7", "CAFE EXPRESSO", 4.5));  // 4,50 and 0,81 of tax at 18 %: 5,31
  ASSERT_TRUE(PayInCash(10));                     // 4,69 of change
  EXPECT_EQ(1u, CallCount("Bematech_FI_VerificaFormasPago"));

  EXPECT_TRUE(SecondCouponWithItsPaymentAnswerLost(20));
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_EQ(1u, CallCount("Bematech_FI_EfectuaFormaPago"));
  EXPECT_EQ(1u, CallCount("Bematech_FI_VerificaFormasPago")) << "read after the lost answer only";
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ(1062, CashDayTotal());
}

// The payment went in with its answer lost and its form's total could not be
// read after it: the operator, asked, gives up. The closing repeated reads the
// total then, finds the payment in it, and does not pay again.
TEST_F(KeptFiguresTest, APaymentLeftUntoldIsToldWhenTheClosingIsRepeated) {
  OpenCoupon();
  ASSERT_TRUE(Sell("7", "CAFE EXPRESSO", 4.5));
  ExecuteWithoutAnswer("Bematech_FI_EfectuaFormaPago");
  printer.script_after(1, "Bematech_FI_VerificaFormasPago", 0, 0, 0, 0, 2);  // the two reads after it
  host->QueueAnswer(false);
  EXPECT_FALSE(PayInCash(5.31));
  ASSERT_EQ(1u, QuestionTexts().size());
  EXPECT_NE(std::string::npos, QuestionTexts()[0].find(kCheckPaper));

  EXPECT_TRUE(PayInCash(5.31));
  EXPECT_EQ(1u, CallCount("Bematech_FI_EfectuaFormaPago"));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ(531, CashDayTotal());
}

// A command that may change a form's total (here a cash withdrawal) makes the
// next payment read the totals again before it.
TEST_F(KeptFiguresTest, AnotherCommandBetweenCouponsMakesTheNextPaymentReadTheFormsAgain) {
  OpenCoupon();
  ASSERT_TRUE(Sell("7", "CAFE EXPRESSO", 4.5));
  ASSERT_TRUE(PayInCash(10));
  ASSERT_TRUE(KVR(driver, Suprimento)("", "001", 50));
  ASSERT_TRUE(KVR(driver, Sangria)("", "001", 20));

  EXPECT_TRUE(SecondCouponWithItsPaymentAnswerLost(5.31));
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_EQ(2u, CallCount("Bematech_FI_VerificaFormasPago")) << "one before the payment, one after it";
  EXPECT_EQ(1u, CallCount("Bematech_FI_EfectuaFormaPago"));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ(531 + 5000 - 2000 + 531, CashDayTotal());
}

}  // namespace
}  // namespace coupon_test
