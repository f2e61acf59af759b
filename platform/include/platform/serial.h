#pragma once
// Serial ports opened by name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OnePointFive, Two };

// Timeouts are totals for one read or write call, in milliseconds: a negative
// value waits without limit, 0 takes only what is ready at once.
struct SerialSettings {
  int baud = 9600;                  // a standard rate (50 .. 4000000)
  int data_bits = 8;                // 5 .. 8
  Parity parity = Parity::None;
  StopBits stop_bits = StopBits::One;  // OnePointFive only with 5 data bits
  std::size_t input_queue = 4096;   // advisory on POSIX
  std::size_t output_queue = 4096;  // advisory on POSIX
  int read_timeout_ms = 1000;
  int write_timeout_ms = 1000;
  // By default the line is raw (see SerialPort). When set, only the rate, the
  // character frame, the queues and the timeouts change: software and
  // hardware flow control, modem control, parity checking and break handling
  // stay as the port has them. Bytes pass unchanged either way.
  bool keep_other_line_settings = false;
};

// A device name (a letter, then letters and digits, in any letter case, with
// or without a trailing ":": "COM2", "LPT1", "usb:") maps to the device in
// FISCAL_PORT_<NAME> (the name in upper case) when set; else "COMn" (n from
// 1 to 256) maps to /dev/ttyS<n-1> and other names give "" (not a port). A
// name that begins with '/' is taken as a device path. On Windows a device
// name with no variable set maps to "\\.\<NAME>" ("\\.\COM2", "\\.\LPT1"),
// and a name that begins with "\\.\" is taken as it is.
std::string serial_device_for(std::string_view port_name);

// True when the port's device can be opened (and is closed again at once),
// without changing any of its settings.
bool serial_port_available(std::string_view port_name);

// Bytes pass unchanged both ways (no line-end translation, no echo, no line
// editing). Unless SerialSettings::keep_other_line_settings is set, the line
// is also raw: no software flow control, no parity checking or break
// handling, modem control lines ignored; hardware flow control stays as the
// port has it. On Windows, where a port is always binary, only the rate and
// the character frame of its line settings change in either case. The port
// is opened for exclusive use.
class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens and configures the port; false with last_error() set on failure
  // (bad name, missing device, not a serial device, unsupported setting).
  bool open(std::string_view port_name, const SerialSettings& settings);
  bool is_open() const { return handle_ != kClosed; }
  // Writes all bytes within the write timeout; returns the count written
  // (fewer on timeout or error, with last_error() set).
  std::size_t write(std::string_view bytes);
  // Reads until max bytes have come or the read timeout has passed.
  std::string read(std::size_t max);
  void close();
  const std::string& last_error() const { return error_; }

 private:
  static constexpr std::intptr_t kClosed = -1;  // also INVALID_HANDLE_VALUE
  bool fail(std::string message);

  std::intptr_t handle_ = kClosed;  // file descriptor, or HANDLE on Windows
  SerialSettings settings_{};
  std::string error_;
};

}  // namespace platform
