#ifdef _WIN32
#include <windows.h>

#include "platform/serial.h"
#include "serial_common.h"
#include "platform/numbers.h"

namespace platform {

namespace {

HANDLE as_handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string error_text(const std::string& what) { return what + ": error " + platform::to_text(GetLastError()); }

// A total timeout in the form the port takes: negative waits without limit,
// 0 returns what is there.
void set_read_timeout(COMMTIMEOUTS& timeouts, int ms) {
  timeouts.ReadIntervalTimeout = ms == 0 ? MAXDWORD : 0;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = ms > 0 ? static_cast<DWORD>(ms) : 0;
}

BYTE parity_code(Parity parity) {
  switch (parity) {
    case Parity::Odd: return ODDPARITY;
    case Parity::Even: return EVENPARITY;
    case Parity::Mark: return MARKPARITY;
    case Parity::Space: return SPACEPARITY;
    default: return NOPARITY;
  }
}

BYTE stop_bits_code(StopBits bits) {
  switch (bits) {
    case StopBits::OnePointFive: return ONE5STOPBITS;
    case StopBits::Two: return TWOSTOPBITS;
    default: return ONESTOPBIT;
  }
}

HANDLE open_device(const std::string& device) {
  return CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

}  // namespace

bool serial_port_available(std::string_view port_name) {
  const std::string device = serial_device_for(port_name);
  if (device.empty()) return false;
  HANDLE handle = open_device(device);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

bool SerialPort::open(std::string_view port_name, const SerialSettings& settings) {
  close();
  error_.clear();
  const auto [name, device, refusal] = detail::examine_port_request(port_name, settings);
  if (!refusal.empty()) return fail(refusal);

  HANDLE handle = open_device(device);
  if (handle == INVALID_HANDLE_VALUE) return fail(error_text("cannot open " + name));
  DCB line{};
  line.DCBlength = sizeof line;
  bool ok = GetCommState(handle, &line);
  if (ok) {
    // Only what was asked changes; the port keeps its other line settings.
    line.BaudRate = static_cast<DWORD>(settings.baud);
    line.ByteSize = static_cast<BYTE>(settings.data_bits);
    line.Parity = parity_code(settings.parity);
    line.StopBits = stop_bits_code(settings.stop_bits);
    COMMTIMEOUTS timeouts{};
    set_read_timeout(timeouts, settings.read_timeout_ms);
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = settings.write_timeout_ms > 0 ? static_cast<DWORD>(settings.write_timeout_ms) : 0;
    ok = SetupComm(handle, static_cast<DWORD>(settings.input_queue), static_cast<DWORD>(settings.output_queue)) &&
         SetCommState(handle, &line) && SetCommTimeouts(handle, &timeouts);
  }
  if (!ok) {
    fail(error_text(name + ": cannot apply the line settings"));
    CloseHandle(handle);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  settings_ = settings;
  return true;
}

std::size_t SerialPort::write(std::string_view bytes) {
  if (!is_open()) {
    fail("the port is not open");
    return 0;
  }
  DWORD written = 0;
  if (!WriteFile(as_handle(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    fail(error_text("write failed"));
  else if (written < bytes.size())
    fail("write timed out after " + platform::to_text(written) + " of " + platform::to_text(bytes.size()) + " bytes");
  return written;
}

std::string SerialPort::read(std::size_t max) {
  std::string received(max, '\0');
  DWORD n = 0;
  if (!is_open()) {
    fail("the port is not open");
    n = 0;
  } else if (!ReadFile(as_handle(handle_), received.data(), static_cast<DWORD>(max), &n, nullptr)) {
    fail(error_text("read failed"));
  }
  received.resize(n);
  return received;
}

void SerialPort::close() {
  if (!is_open()) return;
  CloseHandle(as_handle(handle_));
  handle_ = kClosed;
}

}  // namespace platform
#endif
