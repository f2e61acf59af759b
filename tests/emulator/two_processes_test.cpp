// One emulated printer used by two processes at once, as a host and the
// ecf-tool or a second host use one printer folder: every command is whole,
// no coupon is lost or mixed with another, and no paper is printed twice.
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "printer_fixture.h"
#include "test_support/tool_run.h"

namespace emulator_test {
namespace {

constexpr int kCouponsEach = 15;
constexpr int kItemsEach = 3;

// Sells kCouponsEach coupons of kItemsEach items named after the seller,
// opening each only when the printer took the opening (the other seller's
// coupon may be open) and going on only within its own coupon.
void sell_as(char seller) {
  test_support::EmulatedPrinter printer;
  auto call_ok = [&](auto entry, auto... args) {
    if (entry(args...) != 1) return false;
    int ack = 0, st1 = 0, st2 = 0;
    printer.entry<int(int*, int*, int*)>("Bematech_FI_RetornoImpresora")(&ack, &st1, &st2);
    return (st2 & 1) == 0;  // the not-executed bit
  };
  const auto open = printer.entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta");
  const auto sell = printer.entry<int(const char*, const char*, const char*, const char*, const char*, const char*,
                                      const char*, const char*, const char*)>("Bematech_FI_VendeArticuloDepartamento");
  const auto start = printer.entry<int(const char*, const char*, const char*)>("Bematech_FI_IniciaCierreCupon");
  const auto pay = printer.entry<int(const char*, const char*)>("Bematech_FI_EfectuaFormaPago");
  const auto finish = printer.entry<int(const char*)>("Bematech_FI_FinalizarCierreCupon");
  for (int sold = 0; sold < kCouponsEach;) {
    if (!call_ok(open, "", "")) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
      continue;
    }
    const std::string name = std::string("ITEM DO VENDEDOR ") + seller;
    for (int i = 1; i <= kItemsEach; ++i)
      ASSERT_TRUE(call_ok(sell, "77", name.c_str(), "01", "10,000", "1,000", "00", "0000", "01", "UN"))
          << "item " << i << " of coupon " << sold + 1 << " refused";
    ASSERT_TRUE(call_ok(start, "d", "$", "0") && call_ok(pay, "Dinheiro", "35,40") && call_ok(finish, "Obrigado"))
        << "closing of coupon " << sold + 1 << " refused";
    ++sold;
  }
}

// The sellers, each run in a process of its own by the test below (this
// program started again with only that test), on the folder of the test's
// machine that they find through the environment.
TEST(TwoProcesses, DISABLED_SellerA) { sell_as('A'); }
TEST(TwoProcesses, DISABLED_SellerB) { sell_as('B'); }

TEST_F(PrinterTest, TwoProcessesSellingAtOnceEachPrintWholeCouponsOnce) {
  printer.reset();  // the printer is the two sellers' alone
  // This program again, running only one seller each.
  const std::string seller = "--gtest_also_run_disabled_tests --gtest_filter=TwoProcesses.DISABLED_Seller";
  const test_support::StartedTool first = test_support::start_tool("test_emulator", seller + "A");
  const test_support::StartedTool second = test_support::start_tool("test_emulator", seller + "B");
  const test_support::ToolRun first_run = test_support::finish_tool(first);
  const test_support::ToolRun second_run = test_support::finish_tool(second);
  EXPECT_EQ(0, first_run.status) << first_run.text;
  EXPECT_EQ(0, second_run.status) << second_run.text;
  load();

  // The paper: each coupon once, under its own header, with its seller's
  // items only and its whole closing.
  const std::string tape = printer->tape();
  std::vector<std::string> coupons;
  for (std::size_t at = tape.find("CCF:"); at != std::string::npos;) {
    const std::size_t next = tape.find("CCF:", at + 1);
    coupons.push_back(tape.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next;
  }
  ASSERT_EQ(std::size_t{2 * kCouponsEach}, coupons.size());
  std::set<std::string> headers;
  std::map<char, int> by_seller;
  for (const std::string& coupon : coupons) {
    EXPECT_TRUE(headers.insert(coupon.substr(0, 21)).second) << "printed twice: " << coupon.substr(0, 21);
    const bool a = coupon.find("VENDEDOR A") != std::string::npos, b = coupon.find("VENDEDOR B") != std::string::npos;
    EXPECT_NE(a, b) << coupon;
    std::size_t items = 0;
    for (std::size_t at = coupon.find("ITEM DO VENDEDOR"); at != std::string::npos;
         at = coupon.find("ITEM DO VENDEDOR", at + 1))
      ++items;
    EXPECT_EQ(std::size_t{kItemsEach}, items) << coupon;
    EXPECT_NE(std::string::npos, coupon.find("TOTAL R$")) << coupon;
    EXPECT_NE(std::string::npos, coupon.find("Obrigado")) << coupon;
    ++by_seller[a ? 'A' : 'B'];
  }
  EXPECT_EQ(kCouponsEach, by_seller['A']);
  EXPECT_EQ(kCouponsEach, by_seller['B']);

  // The memory agrees with the paper.
  EXPECT_EQ("nenhum", printer->summary_value("Documento"));
  EXPECT_EQ(std::to_string(2 * kCouponsEach), std::to_string(std::stoi(printer->summary_value("CCF"))));
  EXPECT_EQ("1.062,00", printer->summary_value("VendaBruta"));  // 30 coupons of 3 items at 11,80
}

}  // namespace
}  // namespace emulator_test
