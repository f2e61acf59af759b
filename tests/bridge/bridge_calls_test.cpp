// Calls through the bridge: results and in/out arguments come back as the
// operation left them, with the call's dialogs and debug-log lines.
#include <gmock/gmock.h>

#include "bridge_fixture.h"

namespace bridge_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class BridgeCallTest : public BridgeTest {};

TEST_F(BridgeCallTest, TextsNumbersAndDatesTravelBothWays) {
  Json date = Call("DataMoviFiscal", {"001"});
  ASSERT_TRUE(date.value("ok", false)) << date.dump();
  EXPECT_EQ("2009-03-09T00:00:00", date["result"]);
  Json value = Call("GetValue", {"1.234,56"});
  EXPECT_DOUBLE_EQ(1234.56, value["result"].get<double>());
  Json counter = Call("NumeroReducoes", {"001", ""});
  EXPECT_TRUE(counter["result"].get<bool>());
  EXPECT_EQ("0001", counter["arguments"]["stReducoes"]) << "the next reduction's number";
  Json line = Call("DefineParametrosImpressora", {0, "", "", "5"});
  EXPECT_TRUE(line["result"].is_null());
  EXPECT_TRUE(line["arguments"]["tamLinha"].is_number_integer());
}

TEST_F(BridgeCallTest, LatinOneTextReachesTheDriverAndComesBackAsUtf8) {
  Json logged = Call("ImpFisDebug", {"Promoção de verão"});
  ASSERT_TRUE(logged.value("ok", false)) << logged.dump();
  EXPECT_THAT(LogLines(), Contains(HasSubstr(platform::L1("Promoção de verão"))));
  ASSERT_EQ(1u, logged["log"].size());
  EXPECT_THAT(logged["log"][0].get<std::string>(), HasSubstr("Promoção de verão"));
}

TEST_F(BridgeCallTest, DatasetsComeBackWithTheirFieldsAndRows) {
  Json rates = Call("CarregaAliquota", {"001", nullptr});
  ASSERT_TRUE(rates.value("ok", false)) << rates.dump();
  const Json& dataset = rates["arguments"]["cdsAliqImpFis_Ret"];
  ASSERT_TRUE(dataset.is_object()) << rates.dump();
  EXPECT_EQ("CDALIQIMPFIS", dataset["fields"][0]["name"]);
  EXPECT_FALSE(dataset["rows"].empty());
  // The same dataset given back loads again unchanged.
  Json again = Call("CarregaAliquota", {"001", dataset});
  EXPECT_EQ(dataset, again["arguments"]["cdsAliqImpFis_Ret"]);
}

TEST_F(BridgeCallTest, EveryPrinterCallOfTheOperationIsInItsLog) {
  Json reading = Call("Leitura_X_Imp", {"", "001", ""});
  ASSERT_TRUE(reading["result"].get<bool>()) << reading.dump();
  ASSERT_FALSE(reading["log"].empty());
  for (const auto& line : reading["log"]) EXPECT_THAT(line.get<std::string>(), StartsWith("09/03/2009 14:05:00 - "));
  EXPECT_EQ(LogLines().size(), reading["log"].size());
  Json next = Call("Leitura_X_Imp", {"", "001", ""});
  EXPECT_EQ(reading["log"].size(), next["log"].size()) << "only the lines of this call";
}

TEST_F(BridgeCallTest, QuestionsAreAnsweredByTheRequestThenTheHandlerThenNo) {
  // A sale in TEF mode on a printer that is off: each failure asks whether to retry.
  const Json open = Json::array({Json{{"ESQUEMACOR", "001"}, {"IDUTILTEF", "S"}, {"UTILTEF", true}}});
  auto questions = [](const Json& reply) {
    std::vector<std::string> by;
    for (const auto& d : reply["dialogs"])
      if (d["form"] == "S") by.push_back(d["answered_by"].get<std::string>() + (d["answer"] == true ? " yes" : " no"));
    return by;
  };
  printer.set_power(false);
  Json unanswered = Call("AbreCupom", open);
  EXPECT_FALSE(unanswered["result"].get<bool>()) << unanswered.dump();
  EXPECT_THAT(questions(unanswered), ElementsAre("none no"));
  EXPECT_EQ("001", unanswered["dialogs"].back()["colour_scheme"]);

  Json retried = Call("AbreCupom", open, {true, false});
  EXPECT_THAT(questions(retried), ElementsAre("request yes", "request no"));

  static int asked = 0;
  KVR(driver, kvr_set_dialog_handler)(
      [](int, const char*, const char*, const char*, void*) { return ++asked > 1 ? 0 : 1; }, nullptr);
  Json handled = Call("AbreCupom", open, {true});
  KVR(driver, kvr_set_dialog_handler)(nullptr, nullptr);
  EXPECT_THAT(questions(handled), ElementsAre("request yes", "handler yes", "handler no"));
  EXPECT_EQ(2, asked);
}

}  // namespace
}  // namespace bridge_test
