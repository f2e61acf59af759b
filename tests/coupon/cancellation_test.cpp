// Cancelling an item, the last item and the coupon, with the grand-total
// record refreshed after a coupon cancellation.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "grand_total_fixture.h"

namespace coupon_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class CancellationTest : public CouponTest {
 protected:
  void SellTwoItems() {
    OpenCoupon();
    hostrt::Variant first = ItemParams("1", "CAFE", 4.5);
    hostrt::Variant second = ItemParams("2", "BOLO", 9.99);
    ASSERT_TRUE(KVR(driver, VendaItem)(first));
    ASSERT_TRUE(KVR(driver, VendaItem)(second));
    printer.clear_journal();
    ClearLog();
  }
  bool CancelItem(const std::string& number) {
    const std::wstring none;
    return KVR(driver, Cancela_ItGenerico)("001", number, none, none, none, none, none, none, none, 1, 4.5);
  }
  bool CancelCoupon(bool msg = true) {
    std::vector<hostrt::Variant> args{"001", msg, false, "", "001", "002", "EMU0001"};
    return KVR(driver, Cancela_Cupom_Imp)(args.data(), static_cast<int>(args.size()) - 1, oleRetorno);
  }
  // A coupon of one item, closed and paid.
  void ClosedCoupon() {
    CouponWithOneItem(10);
    ClosingSlots slots;
    ASSERT_TRUE(Close(slots));
    printer.clear_journal();
  }
  std::string Paliron() const { return env.exe_dir() + "/Paliron.cds"; }
};

TEST_F(CancellationTest, ItemNumberIsCharactersTwoToFive) {
  SellTwoItems();
  EXPECT_TRUE(CancelItem("00002"));
  EXPECT_THAT(Given("Bematech_FI_AnulaArticuloGenerico"), ElementsAre("0002"));
  // The day's cancellations are read first, to tell a lost answer by.
  EXPECT_EQ("Bematech_FI_Cancelamentos", LogEntries().at(0));
  EXPECT_EQ("Bematech_FI_AnulaArticuloGenerico : 0002", LogEntries().at(2));
  EXPECT_FALSE(CancelItem("012345")) << "there is no item 1234";
  EXPECT_THAT(Given("Bematech_FI_AnulaArticuloGenerico", 1), ElementsAre("1234"));
  EXPECT_FALSE(CancelItem("7"));
  EXPECT_THAT(Given("Bematech_FI_AnulaArticuloGenerico", 2), ElementsAre(""));
  EXPECT_TRUE(host->dialogs.empty()) << "item cancellation is silent";
}

TEST_F(CancellationTest, LastItemIsCancelledWithItsOwnLogText) {
  SellTwoItems();
  EXPECT_TRUE(KVR(driver, Cancela_UltimoItem)("001"));
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_Cancelamentos", "Bematech_FI_AnulaArticuloAnterior"));
  EXPECT_EQ("TBematech_FI_AnulaArticuloAnterior", LogEntries().at(2));
  EXPECT_NE(std::string::npos, printer.tape().find("CANCELAMENTO ITEM 002"));
}

TEST_F(CancellationTest, CouponCancellationHandsBackItsNumberAndRefreshesTheGrandTotal) {
  ClosedCoupon();
  const std::string coo = printer.summary_value("COO");
  driver_test::WriteTotalRecord(Paliron(), {{"001", "002", "EMU0001", "S", "10.10"}});
  EXPECT_TRUE(CancelCoupon());
  EXPECT_EQ(coo, oleRetorno[0].AsString());
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_NumeroCupon", "Bematech_FI_AnulaCupon", "Bematech_FI_GranTotal"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_AnulaCupon"));
  EXPECT_EQ("0001", printer.summary_value("CuponsCancelados"));
  EXPECT_NE("10.10", driver_test::ReadTotalRecord(Paliron()).at(0).total) << "stored without validation";
}

TEST_F(CancellationTest, UnreadableNumberCancelsNothingButStillRefreshesTheTotal) {
  ClosedCoupon();
  driver_test::WriteTotalRecord(Paliron(), {{"001", "002", "EMU0001", "S", "10.10"}});
  printer.script("Bematech_FI_NumeroCupon", 0, 6, 0, 0);
  oleRetorno[0] = "host";
  EXPECT_FALSE(CancelCoupon());
  EXPECT_EQ("", oleRetorno[0].AsString());
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_NumeroCupon", "Bematech_FI_GranTotal"));
}

TEST_F(CancellationTest, RefusedCancellationStillRefreshesTheTotal) {
  ClosedCoupon();
  ASSERT_TRUE(CancelCoupon());
  driver_test::WriteTotalRecord(Paliron(), {{"001", "002", "EMU0001", "S", "10.10"}});
  printer.clear_journal();
  host->dialogs.clear();
  EXPECT_FALSE(CancelCoupon()) << "the same coupon cannot be cancelled twice";
  EXPECT_FALSE(host->dialogs.empty()) << "boParam1 shows the refusal";
  EXPECT_EQ("Bematech_FI_GranTotal", Commands().back());
}

TEST_F(CancellationTest, OpenCouponIsCancelledAndReportedAsCancelled) {
  SellTwoItems();
  EXPECT_TRUE(CancelCoupon(true));
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_NumeroCupon", "Bematech_FI_AnulaCupon"));
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ("nenhum", printer.summary_value("Documento"));
  EXPECT_EQ("0001", printer.summary_value("CuponsCancelados"));
  EXPECT_EQ(6u, oleRetorno[0].AsString().size());
}

TEST_F(CancellationTest, UnboundEntryPointsOrBadArgumentsGiveFalse) {
  std::vector<hostrt::Variant> bad{"001", "talvez"};
  EXPECT_FALSE(KVR(driver, Cancela_Cupom_Imp)(bad.data(), 1, oleRetorno));
  EXPECT_FALSE(KVR(driver, Cancela_Cupom_Imp)(nullptr, -1, oleRetorno));
  KVR(driver, StopImpFiscal)();
  EXPECT_FALSE(CancelItem("00001"));
  EXPECT_FALSE(KVR(driver, Cancela_UltimoItem)("001"));
  EXPECT_FALSE(CancelCoupon());
}

}  // namespace
}  // namespace coupon_test
