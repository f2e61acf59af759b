// Opening a coupon: the call, the output record and the TEF retries.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "hostrt/params.h"

namespace coupon_test {
namespace {

using ::testing::ElementsAre;

class CouponOpeningTest : public CouponTest {
 protected:
  static hostrt::Variant Params(const std::string& tef, bool in_use, int tef_error = 0) {
    return hostrt::MakeParams({{"ESQUEMACOR", "005"},
                               {"INCLUICPF", "S"},
                               {"INCLUINOME", "N"},
                               {"INCLUIENDERECO", "N"},
                               {"CUPNR", "000077"},
                               {"CONTCUPOM", "3"},
                               {"IDUTILTEF", tef},
                               {"INTTEFERRO", tef_error},
                               {"UTILTEF", in_use}});
  }
  // The record's names and values as texts, in order.
  static std::vector<std::string> Pairs(const hostrt::Variant& record) {
    std::vector<std::string> pairs;
    for (int i = record.LowBound(); i <= record.HighBound(); ++i)
      pairs.push_back(record[i][0].AsString() + "=" + record[i][1].AsString());
    return pairs;
  }
  std::size_t Questions() const {
    std::size_t count = 0;
    for (const auto& dialog : host->dialogs) count += dialog.form == "S";
    return count;
  }
  void RefuseOpenings(int times) { printer.script("Bematech_FI_AbreComprobanteDeVenta", 0, 6, 0, 0, times); }
};

TEST_F(CouponOpeningTest, OpensWithTwoEmptyTextsAndHandsBackTheSixPairRecord) {
  hostrt::Variant params = Params("N", false, 0);
  EXPECT_TRUE(KVR(driver, AbreCupom)(params));
  EXPECT_THAT(Given("Bematech_FI_AbreComprobanteDeVenta"), ElementsAre("", ""));
  EXPECT_THAT(Pairs(params), ElementsAre("INTTEFERRO=0", "INCLUICPF=S", "INCLUINOME=N", "INCLUIENDERECO=N",
                                         "CUPNR=000077", "CONTCUPOM=3"));
  // The coupon counter is read first, to judge an opening whose answer is lost.
  EXPECT_EQ("Bematech_FI_NumeroCupon", LogEntries().at(0));
  EXPECT_EQ("Bematech_FI_AbreComprobanteDeVenta", LogEntries().at(2));
  EXPECT_EQ("cupom", printer.summary_value("Documento"));
}

TEST_F(CouponOpeningTest, FailureOutsideTefReturnsFalseAtOnceAndStillHandsBackTheRecord) {
  RefuseOpenings(1);
  hostrt::Variant params = Params("N", true, 5);
  EXPECT_FALSE(KVR(driver, AbreCupom)(params));
  EXPECT_EQ(0u, Questions());
  EXPECT_EQ(1u, CallCount("Bematech_FI_AbreComprobanteDeVenta"));
  EXPECT_THAT(Pairs(params), ElementsAre("INTTEFERRO=5", "INCLUICPF=S", "INCLUINOME=N", "INCLUIENDERECO=N",
                                         "CUPNR=000077", "CONTCUPOM=3"));
  // A TEF indicator without TEF in use is no TEF sale either.
  RefuseOpenings(1);
  hostrt::Variant not_in_use = Params("T", false, 0);
  EXPECT_FALSE(KVR(driver, AbreCupom)(not_in_use));
  EXPECT_EQ(0u, Questions());
}

TEST_F(CouponOpeningTest, TwoTefFailuresThenSuccessHandBackTefErrorOne) {
  RefuseOpenings(2);
  host->SetDefaultAnswer(true);
  hostrt::Variant params = Params("T", true, 0);
  EXPECT_TRUE(KVR(driver, AbreCupom)(params));
  EXPECT_EQ(3u, CallCount("Bematech_FI_AbreComprobanteDeVenta"));
  EXPECT_EQ(2u, Questions());
  EXPECT_EQ(1, hostrt::RecebeParams(params, "INTTEFERRO").AsInteger());
  EXPECT_EQ(L1("Impressora não responde. Imprimir novamente?"), host->dialogs.back().text);
  EXPECT_EQ(3, host->dialogs.back().kind);
  EXPECT_EQ("005", host->dialogs.back().colour_scheme);
}

TEST_F(CouponOpeningTest, NoInTefModeReturnsFalseAndLeavesTheRecordAlone) {
  RefuseOpenings(1);
  host->SetDefaultAnswer(false);
  hostrt::Variant params = Params("S", true, 0);
  const std::vector<std::string> before = Pairs(params);
  EXPECT_FALSE(KVR(driver, AbreCupom)(params));
  EXPECT_EQ(before, Pairs(params));
  EXPECT_EQ(1u, Questions());
}

}  // namespace
}  // namespace coupon_test
