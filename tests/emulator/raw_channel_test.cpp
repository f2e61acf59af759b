// The raw channel: frames sent with BemaFormataTX, status read with
// BemaStatus_Mp20FI, variables with BemaLe_Variaveis; restaurant tables.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

std::string frame(std::initializer_list<std::string> parts) {
  std::string text = "\x1b";
  for (const auto& part : parts) text += "|" + part;
  return text + "|\x1b";
}

class RawChannelTest : public PrinterTest {
 protected:
  int send(std::initializer_list<std::string> parts) { return call("BemaFormataTX", frame(parts).c_str()); }
  StatusBytes raw_status() {
    int ret = 0;
    StatusBytes s;
    EXPECT_EQ(1, call("BemaStatus_Mp20FI", &ret, &s.ack, &s.st1, &s.st2));
    EXPECT_EQ(1, ret);
    return s;
  }
  // Registra_Item_imp's frame: table, price 8 digits, flag, adjustment 8, quantity 6, code 14, description, rate.
  int register_item(const std::string& table, const std::string& price, const std::string& quantity,
                    const std::string& code, const std::string& rate = "01") {
    return send({"80", "48", table, price, "D", "00000000", quantity, code, "REFRIGERANTE LATA", rate});
  }
};

TEST_F(RawChannelTest, StatusRequestAndMalformedFrames) {
  EXPECT_EQ(0, send({"19"}));
  EXPECT_EQ(0, raw_status().st1);
  EXPECT_EQ(0, call("BemaFormataTX", "27|garbage"));
  EXPECT_EQ(8, raw_status().st1) << "syntax error";
  EXPECT_EQ(0, send({"99"}));
  EXPECT_EQ(4, raw_status().st1) << "unknown command";
  EXPECT_EQ(0, send({"80", "48", "12"}));
  EXPECT_EQ(1, raw_status().st1) << "wrong parameter count";
  printer->set_power(false);
  EXPECT_NE(0, send({"19"})) << "a printer that is off does not accept";
}

TEST_F(RawChannelTest, TableItemsJoinTransferAndCouponOfTheTable) {
  ASSERT_EQ(0, register_item("0012", "00000450", "002000", "00000000000042"));
  ASSERT_EQ(0, register_item("0012", "00001000", "001000", "00000000000043"));
  ASSERT_EQ(0, register_item("0007", "00000450", "001000", "00000000000042"));
  EXPECT_EQ(0, raw_status().st2);
  EXPECT_EQ("2", printer->summary_value("MesasAbertas"));
  EXPECT_EQ(0, register_item("0012", "00000450", "001000", "1", "09"));
  EXPECT_EQ(16, raw_status().st2) << "unprogrammed rate";

  ASSERT_EQ(0, send({"80", "51", "0007", "0012"}));  // join 7 into 12
  EXPECT_EQ("1", printer->summary_value("MesasAbertas"));
  ASSERT_EQ(0, send({"80", "53", "0012", "0450", "D", "00000000", "001000", "00000000000042", "REFRI", "01", "0020"}));
  EXPECT_EQ(0, raw_status().st2);
  EXPECT_EQ("2", printer->summary_value("MesasAbertas"));
  ASSERT_EQ(0, send({"80", "49", "0012", "00001000", "D", "00000000", "001000", "00000000000043", "X", "01"}));
  EXPECT_EQ(0, raw_status().st2) << "item cancelled on the table";

  // Table 12 now holds 2 x 4.50: its coupon sells them, each with 0.81 of 18 % tax.
  ASSERT_EQ(0, send({"80", "52", "0012", ""}));
  EXPECT_EQ(2, raw_status().st1) << "coupon open";
  EXPECT_EQ("000000000000001062", read_value("Bematech_FI_VendaBruta", 18));
  EXPECT_EQ("1", printer->summary_value("MesasAbertas"));
  EXPECT_EQ(0, send({"80", "52", "0012", ""}));
  EXPECT_EQ(1, raw_status().st2) << "the table is gone";
}

TEST_F(RawChannelTest, BillCheckPrintsTheTableAndIsClosedOnce) {
  ASSERT_EQ(0, register_item("0005", "00002000", "002000", "00000000000001"));
  ASSERT_EQ(0, send({"80", "50", "0005", "0", "1000"}));  // 10 % service
  EXPECT_EQ(0, raw_status().st2);
  ASSERT_EQ(0, send({"80", "58", "0", "00000000000000"}));
  EXPECT_EQ(0, raw_status().st2);
  ASSERT_EQ(0, send({"80", "58", "0", "00000000000000"}));
  EXPECT_EQ(1, raw_status().st2) << "no bill check open";
  const std::string tape = printer->tape();
  EXPECT_NE(std::string::npos, tape.find("MESA:")) << tape;
  EXPECT_NE(std::string::npos, tape.find("44,00")) << "40.00 plus 10 %";
  ASSERT_EQ(0, send({"80", "50", "0005", "0", "0000", "00000000000000"}));
  EXPECT_EQ(0, raw_status().st2) << "with no service: four parameters";
  ASSERT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
}

TEST_F(RawChannelTest, ReportsAndMenu) {
  ASSERT_EQ(0, register_item("0003", "00000450", "001000", "00000000000042"));
  ASSERT_EQ(0, send({"80", "54", "0"}));
  ASSERT_EQ(0, send({"80", "55"}));
  EXPECT_EQ(0, raw_status().st2);
  const std::string tape = printer->tape();
  EXPECT_NE(std::string::npos, tape.find("MESA 0003"));
  EXPECT_NE(std::string::npos, tape.find("00000000000042 REFRIGERANTE LATA"));
  EXPECT_EQ("000002", read_value("Bematech_FI_ContadorRelatoriosGerenciaisMFD", 6));
}

TEST_F(RawChannelTest, VariablesOfTheLastCommand) {
  sell_coupon(1);
  ASSERT_EQ(0, send({"35", "14"}));
  Buffer variables(3000);
  ASSERT_EQ(1, call("BemaLe_Variaveis", variables.data()));
  EXPECT_EQ("000001", variables.value().substr(0, 6));
  EXPECT_TRUE(variables.guard_intact());
  ASSERT_EQ(0, send({"27"}));
  ASSERT_EQ(1, call("BemaLe_Variaveis", variables.data()));
  EXPECT_EQ("00000000001180", variables.value().substr(0, 14)) << "gross sales first";
}

TEST_F(RawChannelTest, PaymentReversalMovesAmountsBetweenFormsOfTheLastCoupon) {
  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao", "1"));
  EXPECT_EQ(0, send({"74", "Dinheiro", "Cartao", "0450"}));
  EXPECT_EQ(1, raw_status().st2) << "no coupon to reverse";
  sell_coupon(1);
  EXPECT_EQ(0, send({"74", "Dinheiro", "Cartao", "12345"}));
  EXPECT_EQ(1, raw_status().st2) << "more than the coupon paid in that form (5 digits are read whole)";
  ASSERT_EQ(0, send({"74", "Dinheiro", "Cartao", "0450"}));
  EXPECT_EQ(0, raw_status().st2);
  const std::string forms = read_value("Bematech_FI_VerificaFormasPago", 3016);
  EXPECT_EQ(730, std::stoll(forms.substr(16, 20))) << "11.80 paid in cash, 4.50 of it moved";
  EXPECT_EQ(450, std::stoll(forms.substr(58 + 16, 20)));
  EXPECT_EQ(0, send({"74", "Dinheiro", "Cartao", "0100"}));
  EXPECT_EQ(1, raw_status().st2) << "the reversal is a document: the coupon is no longer the last one";
}

TEST_F(RawChannelTest, CouponThroughRawOpenAndCancel) {
  ASSERT_EQ(0, send({"00", ""}));
  EXPECT_EQ(2, raw_status().st1);
  ASSERT_EQ(0, send({"14"}));
  EXPECT_EQ(0, raw_status().st1);
  EXPECT_EQ("0001", read_value("Bematech_FI_NumeroCuponsCancelados", 4));
}

}  // namespace
}  // namespace emulator_test
