// A whole sale through the coupon operations, compared on the paper.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "hostrt/params.h"

namespace coupon_test {
namespace {

class WholeSaleTest : public CouponTest {
 protected:
  // The tape from the first line of the last coupon printed.
  std::string LastCouponOnTape() const {
    const std::string tape = printer.tape();
    const std::size_t owner = tape.rfind('\n', tape.rfind("CUPOM FISCAL"));
    std::size_t start = owner;
    for (int lines = 0; lines < 6 && start != std::string::npos && start > 0; ++lines)
      start = tape.rfind('\n', start - 1);
    return tape.substr(start == std::string::npos ? 0 : start + 1);
  }
};

TEST_F(WholeSaleTest, PrintedCouponMatchesTheSale) {
  hostrt::Variant open = hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  ASSERT_TRUE(KVR(driver, AbreCupom)(open));
  hostrt::Variant coffee = ItemParams("7891000100103", "CAFE EXPRESSO", 4.5, 2);
  hostrt::Variant cake = ItemParams("42", "BOLO DE CENOURA COM COBERTURA DE CHOCOLATE", 9.99, 1, 1.5);
  hostrt::Variant water = ItemParams("7", "AGUA MINERAL", 3, 1, 0, "FF", "GARRAFA");
  ASSERT_TRUE(KVR(driver, VendaItem)(coffee));
  ASSERT_TRUE(KVR(driver, VendaItem)(cake));
  ASSERT_TRUE(KVR(driver, VendaItem)(water));
  ClosingSlots slots;
  slots[6] = 2.0;
  slots[13] = MovementData({{"E", "001", 10.0, 1}, {"E", "002", 11.63, 2}});
  slots[21] = "12";
  slots[31] = "B5";
  slots[10] = "VOLTE SEMPRE";
  ASSERT_TRUE(Close(slots));

  // Two coffees at 4.50 (9.00, and 1.62 of tax at 18 %), a cake of 9.99 less
  // 1.50 (8.49, and 1.5282 of tax, cut to 1.52) and an untaxed water of 3.00:
  // 23.63, less 2.00 at the closing, paid 10.00 in cash and 11.63 by card; the
  // footer names the operator, the table, the password and the observation,
  // and ends with the maker line.
  const std::vector<std::string> expected{
      "            RESTAURANTE EXEMPLO LTDA            ",
      "          RUA DAS FLORES, 100 - CENTRO          ",
      "CNPJ:00.000.000/0001-91 IE:000.000.000.000      ",
      "------------------------------------------------",
      "09/03/2009 14:05:00        CCF:000001 COO:000001",
      "                  CUPOM FISCAL                  ",
      L1("ITEM CÓDIGO DESCRIÇÃO                           "),
      "QTD.UN.VL UNIT(R$) ST VL ITEM(R$)               ",
      "------------------------------------------------",
      "001 7891000100103 CAFE EXPRESSO                 ",
      "    2UN X 4,50 01T1800                      9,00",
      "    imposto 18,00%                          1,62",
      "002 42 BOLO DE CENOURA COM COBERTURA            ",
      "    1UN X 9,99 01T1800                      9,99",
      "    desconto sobre item                    -1,50",
      "    imposto 18,00%                          1,52",
      "003 7 AGUA MINERAL                              ",
      "    1GA X 3,00 F1                           3,00",
      "SUBTOTAL R$                                23,63",
      "DESCONTO R$                                -2,00",
      "TOTAL R$                                   21,63",
      "Dinheiro                                   10,00",
      "Cartao Credito                             11,63",
      "------------------------------------------------",
      "MARIA",
      "Mesa  : 12           - SENHA : B5",
      "VOLTE SEMPRE",
      kMaker,
      "------------------------------------------------",
  };
  std::string text;
  for (const auto& line : expected) text += line + "\r\n";
  const std::string printed = LastCouponOnTape();
  EXPECT_EQ(text, printed.substr(0, text.size()));
}

}  // namespace
}  // namespace coupon_test
