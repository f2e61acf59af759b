// A started driver on the emulated printer, with the frames that reached the
// printer's raw channel.
#pragma once
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace restaurant_test {

using driver_test::DriverTest;
using platform::L1;

// ESC "|" part {"|" part} "|" ESC.
inline std::string Frame(std::initializer_list<std::string> parts) {
  std::string text = "\x1b";
  for (const auto& part : parts) text += "|" + part;
  return text + "|\x1b";
}

inline const std::string kStatusRequest = Frame({"19"});

class RawChannelTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }

  // Every frame sent, status requests included.
  std::vector<std::string> AllFrames() const {
    std::vector<std::string> frames;
    for (const auto& call : printer.calls_of("BemaFormataTX")) frames.push_back(call.given.at(0));
    return frames;
  }
  // The command frames sent, without the status requests.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const auto& frame : AllFrames())
      if (frame != kStatusRequest) commands.push_back(frame);
    return commands;
  }
  bool& Busy() { return KVR_GLOBAL(driver, boComando); }
};

}  // namespace restaurant_test
