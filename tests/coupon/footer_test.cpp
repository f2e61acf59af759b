// The coupon footer: each of the seven layouts, written out here piece by
// piece, against the text that reached the printer.
#include <gmock/gmock.h>

#include "coupon_fixture.h"

namespace coupon_test {
namespace {

std::string Left(const std::string& text, std::size_t width) {
  std::string result = text.substr(0, width);
  result.resize(width, ' ');
  return result;
}
std::string Right(const std::string& text, std::size_t width) { return std::string(width - text.size(), ' ') + text; }

class FooterTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    CouponWithOneItem(100);
    PayWith("001");
  }
  // Pays the coupon with one payment of the given type.
  void PayWith(const std::string& type) { slots[13] = MovementData({{"E", type, 100.0, 1}}); }
  void Customer() {
    slots[15] = "C01";
    slots[16] = "JOAO DA SILVA";
  }
  void Consumer() {
    slots[17] = "123";
    slots[18] = "ANA";
  }
  // Five families with balances: 100, 50, 20, 10, 5.
  void FiveFamilies() {
    slots[32] = BalanceData({{"F1", "LANCHES", 100}, {"F2", "BEBIDAS", 50}, {"F3", "DOCES", 20},
                             {"F4", "OUTROS", 10}, {"F5", "XX", 5}});
  }
  ClosingSlots slots;
};

TEST_F(FooterTest, PlainLayoutWithNothingButTheOperator) {
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ("MARIA\r\n\n" + kMaker, FooterSent());
}

TEST_F(FooterTest, PlainLayoutWithEveryPiece) {
  Customer();
  Consumer();
  PayWith("004");  // a consumer-account payment of 100
  slots[27] = "0";
  slots[36] = "2";
  slots[37] = 50.0;
  slots[38] = -3.5;  // a negative subsidy is still printed here
  slots[21] = "12";
  slots[31] = "A7";
  slots[10] = "VOLTE SEMPRE";
  slots[39] = "CPF NA NOTA";  // only the buyer layouts print it
  ASSERT_TRUE(Close(slots));
  // Debit balance 50 - 100 paid on account + (-3.50) subsidy.
  EXPECT_EQ(std::string("\nCliente: C01 - JOAO DA SILVA\n") + "Consumidor : 123 - ANA\n" +
                "Saldo Final : -53,50\n" + L1("Preço subsidiado:") + " -3,50\n" + "MARIA\r\n" +
                "Mesa  : 12           - " + "SENHA : A7" + "\n" + "VOLTE SEMPRE\r\n" + kMaker,
            FooterSent());
}

TEST_F(FooterTest, OrderPadNumberOfFiveCharactersAndPointAsSeparator) {
  UseDecimalSeparator('.');
  Consumer();
  FiveFamilies();
  slots[13] = MovementData({{"E", "004", 40.0, 1}, {"E", "001", 60.0, 2}});
  slots[27] = "0";
  slots[36] = "1";
  slots[21] = "12345";
  ASSERT_TRUE(Close(slots));
  // Balances 185 in all, less the 40 paid on account.
  EXPECT_EQ(std::string("Consumidor : 123 - ANA\n") + "Saldo Final : 145.00\n" + "MARIA\r\n" +
                "Comanda : 12345   - " + "\n" + kMaker,
            FooterSent());
}

TEST_F(FooterTest, AgreementLayoutWinsOverTheBuyer) {
  PayWith("003");
  slots[15] = "C01";
  slots[16] = "EMPRESA DE ONIBUS VIACAO BOA VIAGEM LTDA";
  slots[19] = "12345678909";
  slots[20] = "JOSE";
  slots[31] = "9";
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(L1("Convênio ..: ") + "C01 - EMPRESA DE ONIBUS VIACAO BOA VIAGE\n" + "MARIA\r\n" + "SENHA : 9" + "\n" +
                kMaker,
            FooterSent());
}

TEST_F(FooterTest, BuyerWithNameLayout) {
  Customer();
  slots[19] = "12345678909";
  slots[20] = "JOSE";
  slots[39] = "CPF NA NOTA";
  slots[10] = "OBS";
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(std::string("CNPJ/CPF : 12345678909\nNOME : JOSE\n") + "\nCliente: C01 - JOAO DA SILVA\n" +
                "MARIA\r\n" + "\n" + std::string(18, ' ') + "CPF NA NOTA" + std::string(18, ' ') + "\r\n" +
                "OBS\r\n" + kMaker,
            FooterSent());
}

TEST_F(FooterTest, BuyerWithoutNameLayout) {
  slots[19] = "12345678909";
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ("CNPJ/CPF : 12345678909\nMARIA\r\n\n" + kMaker, FooterSent());
}

TEST_F(FooterTest, BadgeLayoutPrintsTwoFamiliesAndTheTotalOfAll) {
  Customer();
  Consumer();
  slots[16] = "JOAO";
  PayWith("004");
  slots[35] = "2";
  slots[36] = "1";
  slots[38] = 2.0;
  FiveFamilies();
  slots[33] = ConsumptionData({{"f1", "", 30}});  // found without regard to case
  slots[34] = LoanData({{"F1", "C", 15}, {"F2", "D", 8}, {"F3", "C", 99}});
  ASSERT_TRUE(Close(slots));
  // LANCHES: 100 - 30 consumed + 15 credit loan; BEBIDAS: 50 - 8 debit loan
  // (a family without consumption takes no credit loan). Total 185 - 100.
  EXPECT_EQ(std::string(19, ' ') + "C01 - JOAO" + std::string(19, ' ') + "\n" + std::string(19, ' ') + "123 - ANA" +
                std::string(20, ' ') + "\n" + L1("Preço subsidiado:") + " 2,00\n" + Left("LANCHES", 25) +
                Right("85,00", 22) + "\n" + Left("BEBIDAS", 25) + Right("42,00", 22) + "\n" +
                Left("Saldo Total", 25) + Right("85,00", 22) + "\n" + std::string(48, ' ') + "\n" + kMaker +
                "\r\n" + "MARIA\r\n",
            FooterSent());
}

TEST_F(FooterTest, BadgeSaleWithoutBalancesPrintsATotalOfZero) {
  Customer();
  Consumer();
  slots[35] = "2";
  slots[36] = "1";
  slots[32] = BalanceData({});
  ASSERT_TRUE(Close(slots));
  EXPECT_NE(std::string::npos, FooterSent().find(Left("Saldo Total", 25) + Right("0,00", 22) + "\n"));
}

TEST_F(FooterTest, AccountLayoutPrintsFamiliesOfRecordOneOrTwoAndNoTotal) {
  Customer();
  Consumer();
  slots[27] = "1";
  slots[36] = "1";
  slots[38] = -1.0;  // not greater than 0: no subsidy line here
  slots[32] = BalanceData({{"F1", "ZERADA", 0}, {"F2", "BEBIDAS", 50}, {"F3", "DOCES", 20}});
  ASSERT_TRUE(Close(slots));
  EXPECT_EQ(std::string(14, ' ') + "C01 - JOAO DA SILVA" + std::string(15, ' ') + "\n" + std::string(19, ' ') +
                "123 - ANA" + std::string(20, ' ') + "\n" + Left("BEBIDAS", 25) + Right("50,00", 22) + "\n" +
                kMaker + "\r\n" + "MARIA\r\n",
            FooterSent());
}

class TefSlipFooterTest : public FooterTest {
 protected:
  void SetUp() override {
    FooterTest::SetUp();
    slots[9] = "T";
    slots[11] = true;
    slots[40] = "S";
    slots[22] = "7";
    slots[21] = "3";
    slots[39] = "CPF NA NOTA";
    slots[10] = "OBS";
  }
  std::string SlipSent() const {
    const auto calls = printer.calls_of("Bematech_FI_TerminaFechamentoCupom");
    return calls.empty() ? "(no slip)" : calls.back().given.at(0);
  }
};

TEST_F(TefSlipFooterTest, FirstThreeSlipLinesThenTableOperatorAndMessages) {
  const std::vector<std::string> slip{"LINHA UM\nLINHA DOIS\n", "LINHA TRES\nLINHA QUATRO\nresto sem fim"};
  ASSERT_TRUE(Close(slots, &slip));
  EXPECT_EQ(Left("LINHA UM", 40) + "\n" + Left("LINHA DOIS", 40) + "\n" + Left("LINHA TRES", 40) + "\n" +
                "Mesa  : 3           - " + "\n" + "Operador: 7 - MARIA\n" + std::string(18, ' ') + "CPF NA NOTA" +
                std::string(18, ' ') + "\n" + "OBS\n" + kMaker,
            SlipSent());
  EXPECT_EQ(0u, CallCount("Bematech_FI_FinalizarCierreCupon"));
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
}

TEST_F(TefSlipFooterTest, ShortSlipPrintsItsLinesAndEndsTheCoupon) {
  const std::vector<std::string> slip{"SO UMA\n"};
  ASSERT_TRUE(Close(slots, &slip));
  EXPECT_EQ(Left("SO UMA", 40) + "\n" + "Mesa  : 3           - " + "\n" + "Operador: 7 - MARIA\n" +
                std::string(18, ' ') + "CPF NA NOTA" + std::string(18, ' ') + "\n" + "OBS\n" + kMaker,
            SlipSent());
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
}

// The slip footer's end is not analysed; when the printer did not end the
// coupon, the printer's own state says so and the closing fails.
TEST_F(TefSlipFooterTest, ASlipEndThePrinterRefusedLeavesTheCouponOpenAndFails) {
  const std::vector<std::string> slip{"SO UMA\n"};
  printer.script("Bematech_FI_TerminaFechamentoCupom", 1, 6, 0, 1);  // not executed
  oleRetorno[1] = "host";
  EXPECT_FALSE(Close(slots, &slip));
  EXPECT_EQ("cupom", printer.summary_value("Documento"));
  EXPECT_EQ("host", oleRetorno[1].AsString());
  EXPECT_THAT(LogEntries(), ::testing::Contains(L1("ERRO!!! FechaCupom: a impressora não encerrou o cupom")));
}

TEST_F(TefSlipFooterTest, WithoutTheSlipListThePlainLayoutEndsTheCoupon) {
  ASSERT_TRUE(Close(slots, nullptr));
  EXPECT_EQ(0u, CallCount("Bematech_FI_TerminaFechamentoCupom"));
  EXPECT_EQ(1u, CallCount("Bematech_FI_FinalizarCierreCupon"));
}

}  // namespace
}  // namespace coupon_test
