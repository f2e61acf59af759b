// Item sale and the coupon queries: the texts that reach the printer under
// both decimal separators, and the operator's retry questions.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "hostrt/params.h"

namespace coupon_test {
namespace {

using ::testing::ElementsAre;

class ItemTextsTest : public CouponTest, public ::testing::WithParamInterface<char> {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    UseDecimalSeparator(GetParam());
    OpenCoupon();
  }
  // "9,990" or "9.990".
  std::string Dec(std::string text) const {
    for (char& c : text)
      if (c == ',') c = GetParam();
    return text;
  }
};

TEST_P(ItemTextsTest, PriceQuantityDiscountDescriptionAndUnitTakeTheirFixedForms) {
  const std::string forty = "BOLO DE CHOCOLATE COM COBERTURA DE MORAN";  // 40 characters
  ASSERT_EQ(40u, forty.size());
  hostrt::Variant item = ItemParams("7891000100103", forty, 9.999, 2, 1.5, "01", "UNID");
  ASSERT_TRUE(KVR(driver, VendaItem)(item));

  EXPECT_THAT(Given("Bematech_FI_VendeArticuloDepartamento"),
              ElementsAre("7891000100103", "BOLO DE CHOCOLATE COM COBERTU", "01", Dec("9,990"), Dec("2,000"), "00",
                          "00000150", "01", "UN"));
  // The coupon's first item reads the grand total and the tax rates first
  // (each its line and the answer); the return analysis adds its own line
  // after the item.
  EXPECT_EQ("Bematech_FI_GrandeTotal", LogEntries().at(0));
  EXPECT_EQ("Bematech_FI_RetornoAlicuotas", LogEntries().at(2));
  EXPECT_EQ("Bematech_FI_VendeArticuloDepartamento : 7891000100103 - BOLO DE CHOCOLATE COM COBERTU - 01 - " +
                Dec("9,990 - 2,000") + " - 00 - 00000150 - 01 - UN",
            LogEntries().at(4));
}

TEST_P(ItemTextsTest, PriceIsTruncatedQuantityRoundedAndNoDiscountIsFourZeros) {
  hostrt::Variant first = ItemParams("1", "AGUA", 12.349, 1.23456, 0);
  hostrt::Variant second = ItemParams("2", "SUCO", 1234.5, 0.5, -3);
  hostrt::Variant third = ItemParams("3", "PAO", 5, 3, 0.019);
  ASSERT_TRUE(KVR(driver, VendaItem)(first));
  ASSERT_TRUE(KVR(driver, VendaItem)(second));
  ASSERT_TRUE(KVR(driver, VendaItem)(third));
  EXPECT_THAT(Given("Bematech_FI_VendeArticuloDepartamento", 0),
              ElementsAre("1", "AGUA", "01", Dec("12,340"), Dec("1,235"), "00", "0000", "01", "UN"));
  EXPECT_THAT(Given("Bematech_FI_VendeArticuloDepartamento", 1),
              ElementsAre("2", "SUCO", "01", Dec("1234,500"), Dec("0,500"), "00", "0000", "01", "UN"));
  // 0.019 is cut to 0.01 before it becomes cents.
  EXPECT_EQ("00000001", Given("Bematech_FI_VendeArticuloDepartamento", 2).at(6));
  // A discount wider than the pattern keeps all its digits.
  hostrt::Variant wide = ItemParams("4", "LOTE", 2000000, 1, 1234567.5);
  KVR(driver, VendaItem)(wide);
  EXPECT_EQ("123456750", Given("Bematech_FI_VendeArticuloDepartamento", 3).at(6));
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, ItemTextsTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });

class ItemRetryTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    OpenCoupon();
  }
  void RefuseNextItems(int times) {
    printer.script("Bematech_FI_VendeArticuloDepartamento", -1, 6, 2, 0, times);
  }
};

TEST_F(ItemRetryTest, RefusedItemAsksWithCodeAndTwentyCharactersAndSendsTheSameItemAgain) {
  RefuseNextItems(2);
  host->SetDefaultAnswer(true);
  hostrt::Variant item = ItemParams("42", "BOLO DE CHOCOLATE COM COBERTURA DE MORAN", 3.5);
  EXPECT_TRUE(KVR(driver, VendaItem)(item));

  const auto calls = printer.calls_of("Bematech_FI_VendeArticuloDepartamento");
  ASSERT_EQ(3u, calls.size());
  EXPECT_EQ(calls[0].given, calls[2].given);
  const std::string question =
      L1("Erro ao imprimir o item: \r\n42 - BOLO DE CHOCOLATE CO\r\nDeseja imprimir novamente?");
  int questions = 0;
  for (const auto& dialog : host->dialogs) {
    if (dialog.form != "S") continue;
    ++questions;
    EXPECT_EQ(question, dialog.text);
    EXPECT_EQ(3, dialog.kind);
    EXPECT_EQ("001", dialog.colour_scheme);
  }
  EXPECT_EQ(2, questions);
}

TEST_F(ItemRetryTest, NoToTheQuestionReturnsFalseAfterOneCall) {
  RefuseNextItems(1);
  host->SetDefaultAnswer(false);
  hostrt::Variant item = ItemParams("42", "BOLO", 3.5);
  EXPECT_FALSE(KVR(driver, VendaItem)(item));
  EXPECT_EQ(1u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
}

TEST_F(ItemRetryTest, TefSaleAsksWhetherThePrinterShouldPrintAgain) {
  RefuseNextItems(1);
  host->SetDefaultAnswer(true);
  hostrt::Variant item = ItemParams("42", "BOLO", 3.5);
  hostrt::SetParam(item, "IDUTILTEF", "T");
  hostrt::SetParam(item, "UTILTEF", true);
  EXPECT_TRUE(KVR(driver, VendaItem)(item));
  EXPECT_EQ(2u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
  EXPECT_EQ(L1("Impressora não responde. Imprimir novamente?"), host->dialogs.back().text);
}

TEST_F(ItemRetryTest, BadRecordOrUnboundEntryPointGivesFalseNotACrash) {
  hostrt::Variant not_a_record = "CDARVPROD=1";
  EXPECT_FALSE(KVR(driver, VendaItem)(not_a_record));
  hostrt::Variant bad_number = ItemParams("1", "PAO", 1);
  hostrt::SetParam(bad_number, "QTDE", "dois");
  EXPECT_FALSE(KVR(driver, VendaItem)(bad_number));
  EXPECT_EQ(0u, CallCount("Bematech_FI_VendeArticuloDepartamento"));
  KVR(driver, StopImpFiscal)();
  hostrt::Variant item = ItemParams("1", "PAO", 1);
  EXPECT_FALSE(KVR(driver, VendaItem)(item));
}

class CouponQueriesTest : public CouponTest {};

TEST_F(CouponQueriesTest, CouponNumberIsSixCharactersOrErro) {
  const std::string number = KVR(driver, Nr_Cupom)("", "001");
  EXPECT_EQ(printer.summary_value("COO"), number);
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_NumeroCupon", "Retorno da Impressora : " + number));
  printer.script("Bematech_FI_NumeroCupon", 0, 6, 0, 0);
  EXPECT_EQ("ERRO", KVR(driver, Nr_Cupom)("", "001"));
}

TEST_F(CouponQueriesTest, SurchargeIsReadIntoFourteenCharacters) {
  std::string surcharge = "x";
  EXPECT_TRUE(KVR(driver, Acrescimo_Imp)("001", surcharge));
  EXPECT_EQ(14u, surcharge.size());
  EXPECT_EQ(std::string(14, ' '), Given("Bematech_FI_Acrescimos").at(0));
  printer.script("Bematech_FI_Acrescimos", -1, 6, 0, 0);
  EXPECT_FALSE(KVR(driver, Acrescimo_Imp)("001", surcharge));
  EXPECT_EQ(14u, surcharge.size());
}

}  // namespace
}  // namespace coupon_test
