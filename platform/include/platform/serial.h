#pragma once
// Serial ports opened by name.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OnePointFive, Two };

struct SerialSettings {
  int baud = 9600;
  int data_bits = 8;
  Parity parity = Parity::None;
  StopBits stop_bits = StopBits::One;
  std::size_t input_queue = 4096;   // advisory on POSIX
  std::size_t output_queue = 4096;  // advisory on POSIX
  int read_timeout_ms = 1000;
  int write_timeout_ms = 1000;
};

// A port named "COMn" maps to the device in FISCAL_PORT_COMn when set, else
// to /dev/ttyS<n-1>; a name that begins with '/' is taken as a device path.
std::string serial_device_for(std::string_view port_name);

class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens and configures the port; false with last_error() set on failure.
  bool open(std::string_view port_name, const SerialSettings& settings);
  bool is_open() const { return fd_ >= 0; }
  // Writes all bytes within the write timeout; returns the count written.
  std::size_t write(std::string_view bytes);
  // Reads up to max bytes within the read timeout.
  std::string read(std::size_t max);
  void close();
  const std::string& last_error() const { return error_; }

 private:
  int fd_ = -1;
  SerialSettings settings_{};
  std::string error_;
};

}  // namespace platform
