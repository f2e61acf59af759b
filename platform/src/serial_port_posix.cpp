#ifndef _WIN32
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/serial.h"
#include "serial_common.h"
#include "platform/numbers.h"

namespace platform {

namespace {

speed_t speed_for(int baud) {
  switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
#endif
    default: return B0;  // not a rate this system can set
  }
}

tcflag_t character_size(int data_bits) {
  switch (data_bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

std::string os_text(int error) { return std::strerror(error); }

// Time left of a total timeout, for poll(): -1 waits without limit.
class Deadline {
 public:
  explicit Deadline(int timeout_ms)
      : unlimited_(timeout_ms < 0), end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms)) {}
  int remaining_ms() const {
    if (unlimited_) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
  }

 private:
  bool unlimited_;
  std::chrono::steady_clock::time_point end_;
};

// Waits until fd is ready for events; false on timeout or error.
bool wait_for(int fd, short events, const Deadline& deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, deadline.remaining_ms());
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return false;
  }
}

}  // namespace

bool serial_port_available(std::string_view port_name) {
  const std::string device = serial_device_for(port_name);
  if (device.empty()) return false;
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool SerialPort::open(std::string_view port_name, const SerialSettings& settings) {
  close();
  error_.clear();
  const auto [name, device, refusal] = detail::examine_port_request(port_name, settings);
  if (!refusal.empty()) return fail(refusal);
  const speed_t speed = speed_for(settings.baud);
  if (speed == B0) return fail(name + ": unsupported baud rate " + platform::to_text(settings.baud));
#ifndef CMSPAR
  if (settings.parity == Parity::Mark || settings.parity == Parity::Space)
    return fail(name + ": mark and space parity are not supported here");
#endif

  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail("cannot open " + name + " (" + device + "): " + os_text(errno));
  // Named once outside the lambda: structured bindings cannot be captured by
  // every compiler in use.
  const std::string where = name + " (" + device + "): ";
  const auto give_up = [&](const std::string& what) {
    const std::string message = where + what + ": " + os_text(errno);
    ::close(fd);
    return fail(message);
  };
  termios options{};
  if (!::isatty(fd) || ::tcgetattr(fd, &options) != 0) return give_up("not a serial device");
  if (::ioctl(fd, TIOCEXCL) != 0) return give_up("cannot take the port for exclusive use");

  // Bytes pass unchanged: no translation, echo or line editing.
  options.c_iflag &= ~static_cast<tcflag_t>(ISTRIP | INLCR | IGNCR | ICRNL);
  options.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  options.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  if (!settings.keep_other_line_settings) {
    options.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | IXON | IXOFF | IXANY | INPCK);
    options.c_cflag |= CREAD | CLOCAL;
  }
  tcflag_t cleared = CSIZE | PARENB | PARODD | CSTOPB;
#ifdef CMSPAR
  cleared |= CMSPAR;
#endif
  options.c_cflag &= ~cleared;
  options.c_cflag |= character_size(settings.data_bits);
  switch (settings.parity) {
    case Parity::None: break;
    case Parity::Odd: options.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: options.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case Parity::Mark: options.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case Parity::Space: options.c_cflag |= PARENB | CMSPAR; break;
#else
    default: break;
#endif
  }
  // With 5 data bits the line's second stop bit is half a bit long.
  if (settings.stop_bits != StopBits::One) options.c_cflag |= CSTOPB;
  options.c_cc[VMIN] = 0;
  options.c_cc[VTIME] = 0;
  if (::cfsetispeed(&options, speed) != 0 || ::cfsetospeed(&options, speed) != 0)
    return give_up("cannot set the baud rate");
  if (::tcsetattr(fd, TCSANOW, &options) != 0) return give_up("cannot apply the line settings");
  termios applied{};
  if (::tcgetattr(fd, &applied) != 0 || ::cfgetospeed(&applied) != speed) {
    errno = EINVAL;
    return give_up("the device refused " + platform::to_text(settings.baud) + " baud");
  }
  ::tcflush(fd, TCIOFLUSH);

  handle_ = fd;
  settings_ = settings;
  return true;
}

std::size_t SerialPort::write(std::string_view bytes) {
  if (!is_open()) {
    fail("the port is not open");
    return 0;
  }
  const int fd = static_cast<int>(handle_);
  const Deadline deadline(settings_.write_timeout_ms);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      fail("write failed: " + os_text(errno));
      break;
    }
    if (!wait_for(fd, POLLOUT, deadline)) {
      fail("write timed out after " + platform::to_text(written) + " of " + platform::to_text(bytes.size()) + " bytes");
      break;
    }
  }
  return written;
}

std::string SerialPort::read(std::size_t max) {
  std::string received;
  if (!is_open()) {
    fail("the port is not open");
    return received;
  }
  const int fd = static_cast<int>(handle_);
  const Deadline deadline(settings_.read_timeout_ms);
  char buffer[4096];
  while (received.size() < max) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, max - received.size()));
    if (n > 0) {
      received.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
      if (n < 0) fail("read failed: " + os_text(errno));
      break;  // the line was hung up or failed
    }
    if (!wait_for(fd, POLLIN, deadline)) break;
  }
  return received;
}

void SerialPort::close() {
  if (!is_open()) return;
  // The claim would outlive this descriptor while another holds the line open.
  ::ioctl(static_cast<int>(handle_), TIOCNXCL);
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace platform
#endif
