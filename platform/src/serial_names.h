#pragma once
// What every serial port implementation checks before it touches a device.
#include <string>

#include "platform/serial.h"

namespace platform::detail {

// The rates a port accepts.
bool is_standard_baud(int baud);

// "" for settings a port can take, else why not.
std::string unsupported_setting(const SerialSettings& settings);

}  // namespace platform::detail
