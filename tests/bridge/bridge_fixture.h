// The bridge of a started driver on the emulated printer: requests as JSON
// text through the loaded library's kvr_call, replies parsed.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

#include "driver_fixture.h"
#include "kvr00102/kvr_bridge.h"

namespace bridge_test {

using Json = nlohmann::ordered_json;

class BridgeTest : public driver_test::DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }

  // The reply to a request given as raw text.
  Json CallText(const std::string& request) {
    char* reply = KVR(driver, kvr_call)(request.c_str());
    if (!reply) return Json{{"ok", false}, {"error", {{"code", "null reply"}}}};
    Json parsed = Json::parse(reply);
    KVR(driver, kvr_free)(reply);
    return parsed;
  }
  Json Call(const std::string& operation, const Json& arguments, const Json& answers = nullptr) {
    Json request{{"operation", operation}, {"arguments", arguments}};
    if (!answers.is_null()) request["answers"] = answers;
    return CallText(request.dump());
  }
};

}  // namespace bridge_test
