// Several clients of one process: a document belongs to the client that
// opened it, a silent holder loses the printer after the hold limit, the
// bridge's size limits, and the setters called from inside a dialog handler.
#include <gmock/gmock.h>

#include <chrono>
#include <future>
#include <thread>

#include "bridge_fixture.h"
#include "platform/numbers.h"

namespace bridge_test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const Json kOpen = Json::array({Json{{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}}});
const Json kCancel = Json::array({Json::array({"001", true, false, "", "001", "002", "EMU0001"}), Json(10, nullptr)});

Json Item(const std::string& name) {
  return Json::array({Json{{"ESQUEMACOR", "001"}, {"CDARVPROD", "1"}, {"NMPROD", name}, {"CDALIQ", "01"},
                           {"QTDE", 1.0}, {"VALOR", 2.5}, {"DESCONT", 0.0}, {"UNIDADE", "UN"},
                           {"IDUTILTEF", "N"}, {"UTILTEF", false}}});
}

class BridgeClientTest : public BridgeTest {
 protected:
  void TearDown() override { KVR(driver, kvr_set_hold_limit)(120); }

  Json CallAs(const std::string& client, const std::string& operation, const Json& arguments) {
    return CallText(Json{{"client", client}, {"operation", operation}, {"arguments", arguments}}.dump());
  }
  // The reply of a call made on a thread of its own: another client.
  Json OnAnotherThread(const std::string& operation, const Json& arguments) {
    Json reply;
    std::thread([&] { reply = Call(operation, arguments); }).join();
    return reply;
  }
  static bool Done(const Json& reply) { return reply.value("ok", false) && reply["result"] == true; }
};

TEST_F(BridgeClientTest, AnotherThreadCannotSellIntoTheCouponOfTheThreadThatOpenedIt) {
  ASSERT_TRUE(Done(Call("AbreCupom", kOpen)));
  Json busy = OnAnotherThread("VendaItem", Item("SUCO DE OUTRO CAIXA"));
  ASSERT_FALSE(busy.value("ok", true)) << busy.dump();
  EXPECT_EQ("busy", busy["error"]["code"]);
  EXPECT_THAT(busy["error"]["message"].get<std::string>(), HasSubstr("a fiscal coupon is open"));
  EXPECT_TRUE(OnAnotherThread("Data_Imp", {"001", ""})["ok"]) << "a read passes the holder";
  EXPECT_EQ("busy", OnAnotherThread("NumeroReducoes", {"001", ""})["error"]["code"])
      << "a counter read, which cancels an open coupon, does not";
  EXPECT_TRUE(printer.calls_of("Bematech_FI_VendeItem").empty()) << "the refused item reached the printer";
  EXPECT_FALSE(OnAnotherThread("Cancela_Cupom_Imp", kCancel).value("ok", true)) << "nor may it cancel the coupon";

  Json sold = Call("VendaItem", Item("CAFE"));
  ASSERT_TRUE(Done(sold)) << sold.dump();
  Json cancelled = Call("Cancela_Cupom_Imp", kCancel);
  ASSERT_TRUE(Done(cancelled)) << cancelled.dump();
  // The coupon is gone, so the printer is anybody's: another thread opens one
  // and holds the printer until it cancels it.
  std::promise<void> opened, tried;
  std::thread other([&] {
    EXPECT_TRUE(Done(Call("AbreCupom", kOpen)));
    opened.set_value();
    tried.get_future().wait();
    EXPECT_TRUE(Done(Call("Cancela_Cupom_Imp", kCancel)));
  });
  opened.get_future().wait();
  EXPECT_EQ("busy", Call("VendaItem", Item("CAFE"))["error"]["code"]) << "now the other thread holds it";
  tried.set_value();
  other.join();
  EXPECT_THAT(printer.tape(), AllOf(HasSubstr("CAFE"), Not(HasSubstr("SUCO DE OUTRO CAIXA"))));
}

TEST_F(BridgeClientTest, AHolderSilentPastTheHoldLimitLosesThePrinterAndItsCoupon) {
  ASSERT_EQ(0, KVR(driver, kvr_set_hold_limit)(0));
  ASSERT_EQ(1, KVR(driver, kvr_set_hold_limit)(1));
  ASSERT_TRUE(Done(CallAs("till-1", "AbreCupom", kOpen)));
  ASSERT_TRUE(Done(CallAs("till-1", "VendaItem", Item("CAFE"))));
  EXPECT_EQ("busy", CallAs("till-2", "AbreCupom", kOpen)["error"]["code"]);

  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  Json taken = CallAs("till-2", "AbreCupom", kOpen);
  ASSERT_TRUE(Done(taken)) << taken.dump();
  EXPECT_THAT(taken["log"], Contains(AllOf(HasSubstr("till-1"), HasSubstr("till-2")))) << taken.dump();
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_AnulaCupon").size()) << "till-1's coupon is cancelled as at a start";
  EXPECT_EQ("busy", CallAs("till-1", "VendaItem", Item("CAFE"))["error"]["code"]);
  EXPECT_TRUE(Done(CallAs("till-2", "Cancela_Cupom_Imp", kCancel)));
}

TEST_F(BridgeClientTest, RequestsOverTheSizeLimitsAreRefusedAndTheBridgeGoesOn) {
  Json wide{{"fields", Json::array()}, {"rows", Json::array()}};
  for (int f = 0; f < 1000; ++f) wide["fields"].push_back(Json{{"name", "F" + platform::to_text(f)}, {"type", "string"}});
  for (int r = 0; r < 201; ++r) wide["rows"].push_back(Json::array());
  Json cells = Call("ExportRedZ", {"", "001", "EMU0001", 1, wide, nullptr, nullptr, nullptr, nullptr});
  EXPECT_EQ("too_large", cells["error"]["code"]) << cells.dump().substr(0, 300);
  EXPECT_THAT(cells["error"]["message"].get<std::string>(), HasSubstr("cells"));

  const std::string huge = R"({"operation": "GetValue", "arguments": [")" + std::string(17u << 20, '1') + "\"]}";
  EXPECT_EQ("too_large", CallText(huge)["error"]["code"]);
  EXPECT_TRUE(printer.journal().empty()) << "a refused request reached the printer";
  EXPECT_EQ(12.5, Call("GetValue", {"12,50"})["result"]);
}

// The handler of the first question installs another handler, which answers
// the second, and tries to change the services mid-call, which is refused.
TEST_F(BridgeClientTest, SettersCalledFromInsideAHandlerNeitherHangNorChangeTheCall) {
  struct Seen {
    decltype(&kvr_set_services) set_services;
    decltype(&kvr_set_dialog_handler) set_handler;
    decltype(&kvr_set_hold_limit) set_limit;
    int services = -1, limit = -1, second = 0;
  };
  static Seen seen;
  seen = {KVR(driver, kvr_set_services), KVR(driver, kvr_set_dialog_handler), KVR(driver, kvr_set_hold_limit)};
  seen.set_handler(
      [](int, const char*, const char*, const char*, void*) {
        seen.services = seen.set_services("/nowhere", "/nowhere", "/nowhere", "/nowhere/records.db");
        seen.limit = seen.set_limit(30);
        seen.set_handler([](int, const char*, const char*, const char*, void*) { return ++seen.second, 0; },
                         nullptr);
        return 1;
      },
      nullptr);
  printer.set_power(false);
  Json reply = Call("AbreCupom", Json::array({Json{{"ESQUEMACOR", "001"}, {"IDUTILTEF", "S"}, {"UTILTEF", true}}}));
  printer.set_power(true);
  seen.set_handler(nullptr, nullptr);
  ASSERT_TRUE(reply.value("ok", false)) << reply.dump();
  EXPECT_EQ(0, seen.services) << "the services changed under a running call";
  EXPECT_EQ(1, seen.limit);
  EXPECT_EQ(1, seen.second) << "the handler installed from the first question answers the next";
  EXPECT_TRUE(Call("ImpFisDebug", {"depois"})["ok"]) << "the bridge is free after the call";
}

}  // namespace
}  // namespace bridge_test
