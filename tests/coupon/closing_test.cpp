// Closing the coupon: discount or surcharge, payments oldest first and merged
// in TEF mode, the retry rule, the receipt after the coupon and the result.
#include <gmock/gmock.h>

#include "coupon_fixture.h"

namespace coupon_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class AdjustmentTest : public CouponTest, public ::testing::WithParamInterface<char> {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    UseDecimalSeparator(GetParam());
    CouponWithOneItem(50);
  }
  std::string Dec(std::string text) const {
    for (char& c : text)
      if (c == ',') c = GetParam();
    return text;
  }
};

TEST_P(AdjustmentTest, DiscountIsTruncatedToCents) {
  ClosingSlots slots;
  slots[6] = 5.555;
  slots[8] = 10.0;  // a discount wins over a service charge
  slots[13] = MovementData({{"E", "001", 50.0, 1}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Given("Bematech_FI_IniciaCierreCupon"), ElementsAre("d", "$", Dec("5,55")));
  EXPECT_EQ("Bematech_FI_IniciaCierreCupon : d - $ - " + Dec("5,55"), LogEntries().at(0));
}

TEST_P(AdjustmentTest, ServiceChargeWithoutDiscountIsASurcharge) {
  ClosingSlots slots;
  slots[8] = 10.0;
  slots[13] = MovementData({{"E", "001", 60.0, 1}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Given("Bematech_FI_IniciaCierreCupon"), ElementsAre("a", "$", Dec("10,00")));
  EXPECT_THAT(Given("Bematech_FI_EfectuaFormaPago"), ElementsAre("Dinheiro", Dec("60,00")));
}

TEST_P(AdjustmentTest, NeitherSendsAZeroDiscountAsPlainZero) {
  ClosingSlots slots;
  slots[13] = MovementData({{"E", "001", 50.0, 1}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Given("Bematech_FI_IniciaCierreCupon"), ElementsAre("d", "$", "0"));
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, AdjustmentTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });

class PaymentsTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    CouponWithOneItem(100);
  }
  std::vector<std::vector<std::string>> Payments() const {
    std::vector<std::vector<std::string>> payments;
    for (const auto& call : printer.calls_of("Bematech_FI_EfectuaFormaPago")) payments.push_back(call.given);
    return payments;
  }
  using Row = std::vector<std::string>;
};

TEST_F(PaymentsTest, PaymentsGoOldestFirstAndOnlyEntriesAndTefRows) {
  ClosingSlots slots;
  slots[13] = MovementData({{"E", "001", 30.0, 9, "", "", 1},
                            {"S", "001", 5.0, 1, "", "", 1},   // change given: never paid
                            {"E", "002", 45.0, 3, "", "", 2},
                            {"X", "002", 99.0, 2, "", "", 2},  // other movement: never paid
                            {"T", "004", 30.0, 5, "", "", 0}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Payments(), ElementsAre(Row{"Cartao Credito", "45,00"}, Row{"Conta Consumidor", "30,00"},
                                      Row{"Dinheiro", "30,00"}));
  EXPECT_EQ(1u, CallCount("Bematech_FI_FinalizarCierreCupon"));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
}

TEST_F(PaymentsTest, CardIsNamedAfterItsOriginalTypeAndLongNamesAreCutTo16) {
  ClosingSlots slots;
  slots[13] = MovementData({{"E", "099", 60.0, 1, "REDE", "002"}, {"E", "005", 40.0, 2}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Payments(), ElementsAre(Row{"Cartao Credito", "60,00"}, Row{"Ticket Alimentac", "40,00"}));
}

TEST_F(PaymentsTest, TefModeMergesPaymentsOfOneTypeIntoTheFirstEntry) {
  ClosingSlots slots;
  slots[9] = "S";
  slots[11] = true;
  // Rows are merged walking the default order (newest first within one
  // change order): a "T" row met before any "E" row of its type stays apart;
  // later rows of the type join the first "E" row met.
  slots[13] = MovementData({{"T", "002", 10.0, 9}, {"E", "002", 20.0, 4}, {"T", "002", 25.0, 3},
                            {"E", "002", 5.0, 2}, {"E", "001", 40.0, 5}});
  ASSERT_TRUE(Close(slots));
  // Sent oldest first: the merged row keeps the time of its first "E" row.
  EXPECT_THAT(Payments(), ElementsAre(Row{"Cartao Credito", "50,00"}, Row{"Dinheiro", "40,00"},
                                      Row{"Cartao Credito", "10,00"}));
}

TEST_F(PaymentsTest, OutsideTefModeEveryRowIsAPaymentOfItsOwn) {
  ClosingSlots slots;
  slots[13] = MovementData({{"E", "002", 20.0, 1}, {"T", "002", 25.0, 2}, {"E", "002", 55.0, 3}});
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(3u, Payments().size());
}

// With no payment the printer keeps the coupon open, so the closing is no
// success: False, the result array untouched, the coupon left for the host.
TEST_F(PaymentsTest, NoPaymentRowsMakeNoEndOfCouponAndFalse) {
  ClosingSlots slots;
  slots[13] = MovementData({});
  oleRetorno[1] = "host";
  EXPECT_FALSE(Close(slots));
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_IniciaCierreCupon"));
  EXPECT_EQ("host", oleRetorno[1].AsString());
  EXPECT_EQ("cupom", printer.summary_value("Documento"));
  EXPECT_THAT(LogEntries(), Contains(L1("ERRO!!! FechaCupom: nenhum pagamento aceito; o cupom continua aberto")));
}

// The receipt after the coupon would be refused while the coupon is open, and
// the counter read after it would cancel the coupon: neither is attempted.
TEST_F(PaymentsTest, NoPaymentRowsWithTheReceiptFlagNeitherCancelNorReportSuccess) {
  ProgramTotalizer(1, "CONTRAVALE");
  printer.clear_journal();
  ClosingSlots slots;
  slots[13] = MovementData({});
  slots[0] = "CONTRAVALE";
  slots[4] = true;
  slots[7] = 2.5;
  EXPECT_FALSE(Close(slots));
  EXPECT_EQ("cupom", printer.summary_value("Documento"));
  EXPECT_EQ(0u, CallCount("Bematech_FI_RecibimientoNoFiscal"));
  EXPECT_EQ(0u, CallCount("Bematech_FI_CancelaCupom"));
  EXPECT_EQ("0000", printer.summary_value("CuponsCancelados"));
}

TEST_F(PaymentsTest, TypeMissingFromTheTillIsPaidUnderTheRowsOwnName) {
  ClosingSlots slots;
  slots[14] = ReceiptTypeData({{"002", "Cartao Credito"}});
  slots[13] = MovementData({{"E", "001", 100.0, 1, "", "", 0, "Dinheiro"}});
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Payments(), ElementsAre(Row{"Dinheiro", "100,00"}));
}

class RetryRuleTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    CouponWithOneItem(100);
    slots[9] = "T";
    slots[11] = true;
    slots[13] = MovementData({{"E", "001", 30.0, 1}, {"E", "002", 70.0, 2}});
  }
  void Refuse(const char* entry_point, int times = 1) { printer.script(entry_point, -2, 6, 2, 0, times); }
  ClosingSlots slots;
};

TEST_F(RetryRuleTest, RefusedPaymentIsRepeatedAloneAndElementZeroBecomesOne) {
  Refuse("Bematech_FI_EfectuaFormaPago");
  host->SetDefaultAnswer(true);
  ASSERT_TRUE(Close(slots));
  // The forms' day totals are read once before the first payment, to tell a
  // payment taken without an answer from one refused.
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_VerificaEstadoImpresora", "Bematech_FI_IniciaCierreCupon",
                                      "Bematech_FI_VerificaFormasPago", "Bematech_FI_EfectuaFormaPago",
                                      "Bematech_FI_EfectuaFormaPago", "Bematech_FI_EfectuaFormaPago",
                                      "Bematech_FI_FinalizarCierreCupon"));
  EXPECT_EQ(Given("Bematech_FI_EfectuaFormaPago", 0), Given("Bematech_FI_EfectuaFormaPago", 1));
  EXPECT_EQ("Cartao Credito", Given("Bematech_FI_EfectuaFormaPago", 2).at(0));
  EXPECT_EQ(1, oleRetorno[0].AsInteger());
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
}

TEST_F(RetryRuleTest, RefusedSecondPaymentDoesNotResendTheFirst) {
  printer.script("Bematech_FI_EfectuaFormaPago", 1, 6, 2, 0, 1, EMU_SCRIPT_EXECUTE);  // the first goes through
  Refuse("Bematech_FI_EfectuaFormaPago", 2);
  host->SetDefaultAnswer(true);
  ASSERT_TRUE(Close(slots));
  const auto payments = printer.calls_of("Bematech_FI_EfectuaFormaPago");
  ASSERT_EQ(4u, payments.size());
  EXPECT_EQ("Dinheiro", payments[0].given.at(0));
  for (std::size_t i = 1; i < payments.size(); ++i) EXPECT_EQ("Cartao Credito", payments[i].given.at(0));
  EXPECT_EQ(1u, CallCount("Bematech_FI_IniciaCierreCupon"));
}

TEST_F(RetryRuleTest, RefusedDiscountAndFooterAreRepeatedWithTheSameTexts) {
  Refuse("Bematech_FI_IniciaCierreCupon");
  Refuse("Bematech_FI_FinalizarCierreCupon");
  host->SetDefaultAnswer(true);
  slots[6] = 2.5;
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(2u, CallCount("Bematech_FI_IniciaCierreCupon"));
  EXPECT_EQ(2u, CallCount("Bematech_FI_EfectuaFormaPago"));
  ASSERT_EQ(2u, CallCount("Bematech_FI_FinalizarCierreCupon"));
  EXPECT_EQ(Given("Bematech_FI_FinalizarCierreCupon", 0), Given("Bematech_FI_FinalizarCierreCupon", 1));
  EXPECT_EQ(1, oleRetorno[0].AsInteger());
}

TEST_F(RetryRuleTest, PrinterCheckIsAskedAgainUntilThePrinterAnswers) {
  printer.script("Bematech_FI_VerificaEstadoImpresora", 0, 6, 0, 0, 2);
  host->SetDefaultAnswer(true);
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(3u, CallCount("Bematech_FI_VerificaEstadoImpresora"));
  EXPECT_EQ(1, oleRetorno[0].AsInteger());
}

TEST_F(RetryRuleTest, NoToTheQuestionFailsAndLeavesTheResultAlone) {
  Refuse("Bematech_FI_EfectuaFormaPago");
  host->SetDefaultAnswer(false);
  oleRetorno[0] = "host";
  EXPECT_FALSE(Close(slots));
  EXPECT_EQ(1u, CallCount("Bematech_FI_EfectuaFormaPago"));
  EXPECT_EQ(0u, CallCount("Bematech_FI_FinalizarCierreCupon"));
  EXPECT_EQ("host", oleRetorno[0].AsString());
  EXPECT_EQ("cupom", printer.summary_value("Documento"));
}

TEST_F(RetryRuleTest, OutsideTefModeARefusalFailsWithoutAQuestion) {
  slots[9] = "N";
  Refuse("Bematech_FI_EfectuaFormaPago");
  host->SetDefaultAnswer(true);
  EXPECT_FALSE(Close(slots));
  for (const auto& dialog : host->dialogs) EXPECT_NE("S", dialog.form) << dialog.text;
  EXPECT_EQ(0u, CallCount("Bematech_FI_VerificaEstadoImpresora"));
}

class ClosingResultTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    CouponWithOneItem(10);
  }
};

TEST_F(ClosingResultTest, ReceiptAfterTheCouponHandsBackTheNonFiscalCounter) {
  ProgramTotalizer(1, "CONTRAVALE");
  printer.clear_journal();
  ClosingSlots slots;
  slots[0] = "CONTRAVALE";
  slots[4] = true;
  slots[7] = 2.5;
  ASSERT_TRUE(Close(slots));
  EXPECT_THAT(Given("Bematech_FI_RecibimientoNoFiscal"), ElementsAre("CONTRAVALE", "2,50", "Dinheiro"));
  EXPECT_EQ(printer.summary_value("GNF"), oleRetorno[2].AsString());
  EXPECT_FALSE(oleRetorno[2].AsString().empty());
}

TEST_F(ClosingResultTest, RefusedOrUnavailableReceiptDoesNotChangeTheResult) {
  ClosingSlots slots;
  slots[0] = "NAO PROGRAMADO";
  slots[4] = true;
  slots[7] = 2.5;
  EXPECT_TRUE(Close(slots));
  EXPECT_EQ(1u, CallCount("Bematech_FI_RecibimientoNoFiscal"));

  // A printer library without the receipt entry point.
  CouponWithOneItem(10);
  KVR_GLOBAL(driver, Bematech_FI_RecibimientoNoFiscal).Clear();
  EXPECT_TRUE(Close(slots));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ("", oleRetorno[2].AsString());
}

TEST_F(ClosingResultTest, ArrayEndingAt41TakesTheCouponNumberAsEmpty) {
  ClosingSlots slots;
  slots.values.resize(42);
  slots.high = 41;
  oleRetorno[1] = "host";
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ("", oleRetorno[1].AsString());
  EXPECT_EQ(0, oleRetorno[0].AsInteger());
}

TEST_F(ClosingResultTest, ShortOrBrokenArgumentsFailWithoutACrash) {
  ClosingSlots slots;
  slots.values.resize(13);
  slots.high = 12;  // no payment rows at all
  oleRetorno = hostrt::Variant();  // and no result array
  EXPECT_FALSE(Close(slots));
  ASSERT_TRUE(oleRetorno.IsArray());
  EXPECT_EQ(0, oleRetorno[0].AsInteger());

  ClosingSlots damaged;
  damaged[13] = hostrt::Variant::Packet("not a packet");
  EXPECT_FALSE(Close(damaged));
  ClosingSlots wrong_kind;
  wrong_kind[6] = "cinco";
  EXPECT_FALSE(Close(wrong_kind));
  EXPECT_FALSE(KVR(driver, FechaCupom)(nullptr, -1, nullptr, oleRetorno));
  EXPECT_EQ("cupom", printer.summary_value("Documento"));

  ClosingSlots good;
  EXPECT_TRUE(Close(good)) << "the coupon can still be closed";
}

}  // namespace
}  // namespace coupon_test
