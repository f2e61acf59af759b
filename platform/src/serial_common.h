#pragma once
// What every serial port implementation checks before it touches a device.
#include <string>
#include <string_view>

#include "platform/serial.h"

namespace platform::detail {

// The rates a port accepts.
bool is_standard_baud(int baud);

// "" for settings a port can take, else why not.
std::string unsupported_setting(const SerialSettings& settings);

// A request to open a port: its name as given (up to a NUL), its device, and
// why it cannot be opened ("" when it can be tried).
struct PortRequest {
  std::string name;
  std::string device;
  std::string refusal;
};
PortRequest examine_port_request(std::string_view port_name, const SerialSettings& settings);

}  // namespace platform::detail
