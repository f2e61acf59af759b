#include "serial_common.h"

#include <algorithm>
#include <array>

#include "environment.h"
#include "platform/numbers.h"
#include "platform/ascii.h"

namespace platform {

namespace detail {

bool is_standard_baud(int baud) {
  static constexpr std::array<int, 31> kRates = {
      50,     75,     110,    134,    150,    200,    300,    600,     1200,    1800,    2400,
      4800,   9600,   19200,  38400,  57600,  115200, 230400, 460800,  500000,  576000,  921600,
      1000000, 1152000, 1500000, 2000000, 2500000, 3000000, 3500000, 4000000, 14400};
  return std::find(kRates.begin(), kRates.end(), baud) != kRates.end();
}

std::string unsupported_setting(const SerialSettings& settings) {
  if (!is_standard_baud(settings.baud)) return "unsupported baud rate " + platform::to_text(settings.baud);
  if (settings.data_bits < 5 || settings.data_bits > 8)
    return "unsupported number of data bits " + platform::to_text(settings.data_bits);
  if (settings.stop_bits == StopBits::OnePointFive && settings.data_bits != 5)
    return "1.5 stop bits need 5 data bits";
  return {};
}

PortRequest examine_port_request(std::string_view port_name, const SerialSettings& settings) {
  PortRequest request;
  request.name = std::string(port_name.substr(0, port_name.find('\0')));
  request.device = serial_device_for(request.name);
  if (request.device.empty()) {
    request.refusal = "not a serial port name: \"" + request.name + "\"";
  } else if (std::string problem = unsupported_setting(settings); !problem.empty()) {
    request.refusal = request.name + ": " + problem;
  }
  return request;
}

}  // namespace detail

SerialPort::~SerialPort() { close(); }

bool SerialPort::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

namespace {

// The n of "COMn" (1 to 256), or 0 when the name is not such a port.
int com_number(std::string_view name) {
  if (name.size() < 4 || name.size() > 6) return 0;
  for (std::size_t i = 0; i < 3; ++i)
    if (platform::ascii::to_upper(name[i]) != "COM"[i]) return 0;
  int number = 0;
  for (const char c : name.substr(3)) {
    if (!platform::ascii::is_digit(c)) return 0;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= 256 ? number : 0;
}

// The upper-case form of a device name such as "LPT1" or "usb" (a letter,
// then letters and digits), "COM" and its number for a COM port, or "" when
// the name is not a device name.
std::string device_name(std::string_view name) {
  if (const int number = com_number(name)) return "COM" + platform::to_text(number);
  if (name.empty() || !platform::ascii::is_alpha(name.front())) return {};
  std::string upper;
  for (const char c : name) {
    if (!platform::ascii::is_alnum(c)) return {};
    upper += platform::ascii::to_upper(c);
  }
  return upper;
}

}  // namespace

std::string serial_device_for(std::string_view port_name) {
  port_name = port_name.substr(0, port_name.find('\0'));
#ifdef _WIN32
  if (port_name.rfind("\\\\.\\", 0) == 0) return std::string(port_name);
#else
  if (!port_name.empty() && port_name.front() == '/') return std::string(port_name);
#endif
  if (!port_name.empty() && port_name.back() == ':') port_name.remove_suffix(1);
  const std::string name = device_name(port_name);
  if (name.empty()) return {};
  const std::string variable = "FISCAL_PORT_" + name;
  std::string device = detail::environment_value(variable.c_str());
  if (!device.empty()) return device;
#ifdef _WIN32
  return "\\\\.\\" + name;
#else
  const int number = com_number(port_name);
  return number == 0 ? std::string() : "/dev/ttyS" + platform::to_text(number - 1);
#endif
}

}  // namespace platform
