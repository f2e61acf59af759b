// Serial ports by name, checked through a pseudo-terminal pair: the port is
// the terminal side, the test reads and writes the other side.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "platform/serial.h"
#include "temp_folder.h"

namespace {

using platform::Parity;
using platform::SerialPort;
using platform::SerialSettings;
using platform::StopBits;

class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_path_ = ::ptsname(master_);
  }
  ~PseudoTerminal() { close_master(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool ok() const { return !slave_path_.empty(); }
  const std::string& slave_path() const { return slave_path_; }
  int master() const { return master_; }
  void close_master() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // What arrives on the master side, until count bytes or a quiet second.
  std::string receive(std::size_t count) {
    std::string out;
    char buffer[4096];
    while (out.size() < count) {
      pollfd entry{master_, POLLIN, 0};
      if (::poll(&entry, 1, 1000) <= 0) break;
      const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - out.size()));
      if (n <= 0) break;
      out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
  }
  void send(const std::string& bytes) { ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }

 private:
  int master_ = -1;
  std::string slave_path_;
};

SerialSettings printer_settings() {
  SerialSettings settings;
  settings.baud = 19200;
  settings.input_queue = 256;
  settings.output_queue = 256;
  settings.read_timeout_ms = 200;
  settings.write_timeout_ms = 200;
  return settings;
}

class SerialTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.ok()) << "no pseudo-terminal available"; }
  PseudoTerminal pty_;
  platform_test::ScopedEnvironment env_;
};

TEST_F(SerialTest, BytesPassUnchangedBothWays) {
  SerialPort port;
  ASSERT_TRUE(port.open(pty_.slave_path(), printer_settings())) << port.last_error();
  ASSERT_TRUE(port.is_open());
  // Line feeds, carriage returns, control and 8-bit bytes as a printer gets them.
  const std::string text("\x1b" "w CONFERENCIA\n\r\x00\x11\x13\x03\xff\xe7\n", 21);
  EXPECT_EQ(port.write(text), text.size()) << port.last_error();
  EXPECT_EQ(pty_.receive(text.size() + 1), text);

  const std::string answer("\x06\x00\x80\r\n", 5);
  pty_.send(answer);
  EXPECT_EQ(port.read(answer.size()), answer);
  // Fewer bytes than asked for: what came, once the read timeout has passed.
  pty_.send("ab");
  EXPECT_EQ(port.read(100), "ab");
  EXPECT_EQ(port.read(100), "");
  EXPECT_EQ(port.read(0), "");
  port.close();
  EXPECT_FALSE(port.is_open());
  port.close();
}

TEST_F(SerialTest, LineSettingsReachTheDevice) {
  SerialPort port;
  SerialSettings settings = printer_settings();
  settings.data_bits = 7;
  settings.parity = Parity::Even;
  settings.stop_bits = StopBits::Two;
  ASSERT_TRUE(port.open(pty_.slave_path(), settings)) << port.last_error();
  termios applied{};
  ASSERT_EQ(::tcgetattr(pty_.master(), &applied), 0);  // the master reports the terminal side's settings
  EXPECT_EQ(::cfgetospeed(&applied), static_cast<speed_t>(B19200));
  // A pseudo-terminal always reports 8 bits without parity, so only the
  // stop bits show here of the character frame.
  EXPECT_TRUE(applied.c_cflag & CSTOPB);
  EXPECT_FALSE(applied.c_oflag & OPOST);
  EXPECT_FALSE(applied.c_lflag & (ICANON | ECHO));
  EXPECT_FALSE(applied.c_iflag & (IXON | ICRNL));
  port.close();

  // Kept: only the rate and the frame change, bytes still pass unchanged.
  applied.c_iflag |= IXON | IXOFF | ICRNL;
  applied.c_oflag |= OPOST | ONLCR;
  applied.c_cflag &= ~static_cast<tcflag_t>(CLOCAL);
  ASSERT_EQ(::tcsetattr(pty_.master(), TCSANOW, &applied), 0);
  settings = printer_settings();
  settings.keep_other_line_settings = true;
  ASSERT_TRUE(port.open(pty_.slave_path(), settings)) << port.last_error();
  ASSERT_EQ(::tcgetattr(pty_.master(), &applied), 0);
  EXPECT_FALSE(applied.c_cflag & (CSTOPB | CLOCAL));
  EXPECT_EQ(applied.c_iflag & (IXON | IXOFF | ICRNL), static_cast<tcflag_t>(IXON | IXOFF));
  EXPECT_FALSE(applied.c_oflag & OPOST);
  EXPECT_EQ(port.write("a\n"), 2u);
  EXPECT_EQ(pty_.receive(3), "a\n");
}

TEST_F(SerialTest, PortNamesMapThroughTheEnvironment) {
  env_.set("FISCAL_PORT_COM7", pty_.slave_path());
  env_.set("FISCAL_PORT_LPT2", pty_.slave_path());
  env_.unset("FISCAL_PORT_COM2");
  EXPECT_EQ(platform::serial_device_for("COM7"), pty_.slave_path());
  EXPECT_EQ(platform::serial_device_for("com7:"), pty_.slave_path());
  EXPECT_EQ(platform::serial_device_for("Lpt2:"), pty_.slave_path());
  EXPECT_EQ(platform::serial_device_for("COM2"), "/dev/ttyS1");
  EXPECT_EQ(platform::serial_device_for("COM256"), "/dev/ttyS255");
  EXPECT_EQ(platform::serial_device_for("/dev/ttyUSB0"), "/dev/ttyUSB0");
  for (const char* bad : {"", "COM", "COM0", "COM257", "COMX", "COM1a", "LPT1", "COM99999999999", "ttyS0"})
    EXPECT_EQ(platform::serial_device_for(bad), "") << bad;

  SerialPort port;
  ASSERT_TRUE(port.open("COM7:", printer_settings())) << port.last_error();
  EXPECT_EQ(port.write("x"), 1u);
  EXPECT_EQ(pty_.receive(1), "x");
  port.close();
  EXPECT_TRUE(platform::serial_port_available("COM7"));
  EXPECT_TRUE(platform::serial_port_available("LPT2"));
  EXPECT_FALSE(platform::serial_port_available("COM0"));
  EXPECT_FALSE(platform::serial_port_available("/dev/no-such-port"));
}

TEST_F(SerialTest, PortIsTakenForExclusiveUse) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may open a port that another holds";
  SerialPort first;
  SerialPort second;
  ASSERT_TRUE(first.open(pty_.slave_path(), printer_settings())) << first.last_error();
  EXPECT_FALSE(second.open(pty_.slave_path(), printer_settings()));
  EXPECT_NE(second.last_error().find(pty_.slave_path()), std::string::npos) << second.last_error();
  EXPECT_FALSE(platform::serial_port_available(pty_.slave_path()));
  first.close();
  EXPECT_TRUE(second.open(pty_.slave_path(), printer_settings())) << second.last_error();
}

TEST_F(SerialTest, BadNamesAndSettingsGiveClearErrors) {
  SerialPort port;
  const auto refused = [&](std::string_view name, const SerialSettings& settings, const std::string& expected) {
    EXPECT_FALSE(port.open(name, settings)) << name;
    EXPECT_FALSE(port.is_open());
    EXPECT_NE(port.last_error().find(expected), std::string::npos) << name << ": " << port.last_error();
  };
  SerialSettings settings = printer_settings();
  refused("LPT1", settings, "not a serial port name");
  refused("", settings, "not a serial port name");
  refused("/dev/no-such-port", settings, "/dev/no-such-port");
  refused("/dev/null", settings, "not a serial device");
  settings.baud = 12345;
  refused(pty_.slave_path(), settings, "unsupported baud rate 12345");
  settings = printer_settings();
  settings.data_bits = 9;
  refused(pty_.slave_path(), settings, "data bits");
  settings = printer_settings();
  settings.stop_bits = StopBits::OnePointFive;
  refused(pty_.slave_path(), settings, "1.5 stop bits");

  EXPECT_EQ(port.write("x"), 0u);
  EXPECT_EQ(port.last_error(), "the port is not open");
  EXPECT_EQ(port.read(4), "");
}

TEST_F(SerialTest, StalledLineEndsTheWriteAtItsTimeout) {
  SerialPort port;
  ASSERT_TRUE(port.open(pty_.slave_path(), printer_settings())) << port.last_error();
  // Nobody reads the other side: the line's buffers fill and the write gives up.
  const std::string big(4 * 1024 * 1024, 'x');
  const std::size_t written = port.write(big);
  EXPECT_LT(written, big.size());
  EXPECT_NE(port.last_error().find("timed out"), std::string::npos) << port.last_error();
}

TEST_F(SerialTest, HungUpLineEndsTheRead) {
  SerialSettings settings = printer_settings();
  settings.read_timeout_ms = -1;  // would wait forever on a live line
  SerialPort port;
  ASSERT_TRUE(port.open(pty_.slave_path(), settings)) << port.last_error();
  pty_.close_master();
  EXPECT_EQ(port.read(10), "");
}

}  // namespace
