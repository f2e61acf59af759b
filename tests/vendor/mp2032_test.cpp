// The non-fiscal printer library, loaded with the real loader, writing to a
// file port and to a pseudo-terminal.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <memory>
#include <string>

#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using test_support::read_file_or_empty;

using OpenFn = int(const char*);
using FormatFn = int(const char*, int, int, int, int, int);
using CommandFn = int(const char*, int);
using CloseFn = int();

class Mp2032Test : public ::testing::Test {
 protected:
  test_support::TempEnvironment env;
  test_support::LoadedLibrary library{"Mp2032.so"};
  OpenFn* open_port = library.function<OpenFn>("IniciaPorta");
  FormatFn* print = library.function<FormatFn>("FormataTX");
  CommandFn* command = library.function<CommandFn>("ComandoTX");
  CloseFn* close_port = library.function<CloseFn>("FechaPorta");
  std::string path = env.root() + "/nf.prn";

  void TearDown() override { close_port(); }
};

TEST_F(Mp2032Test, FilePortGetsTextWithAttributeCodesAndRawCommands) {
  ASSERT_EQ(open_port(path.c_str()), 1);
  EXPECT_EQ(print("CREDITO\r\n", 3, 0, 0, 0, 1), 1);
  EXPECT_EQ(command("\x1Bw", 2), 1);
  EXPECT_EQ(close_port(), 1);
  EXPECT_EQ(read_file_or_empty(path), "\x1BM\x1B" "ECREDITO\r\n\x1B" "F\x1Bw");
}

TEST_F(Mp2032Test, AllAttributesAreSwitchedOnInOrderAndOffInReverse) {
  ASSERT_EQ(open_port(path.c_str()), 1);
  EXPECT_EQ(print("T", 1, 1, 1, 1, 1), 1);
  EXPECT_EQ(print("N", 2, 0, 0, 1, 0), 1);
  close_port();
  const std::string expected = std::string("\x0F\x1B" "4\x1B-\x01\x1BW\x01\x1B" "E", 11) + "T" +
                               std::string("\x1B" "F\x1BW\x00\x1B-\x00\x1B" "5", 10) +
                               std::string("\x12\x1BW\x01", 4) + "N" + std::string("\x1BW\x00", 3);
  EXPECT_EQ(read_file_or_empty(path), expected);
}

TEST_F(Mp2032Test, BadAttributesAndClosedPortsSendNothing) {
  EXPECT_EQ(print("X", 2, 0, 0, 0, 0), -1);
  EXPECT_EQ(command("\x1Bw", 2), -1);
  EXPECT_EQ(close_port(), 0);
  ASSERT_EQ(open_port(path.c_str()), 1);
  EXPECT_EQ(print("X", 4, 0, 0, 0, 0), -2);
  EXPECT_EQ(print("X", 2, 0, 2, 0, 0), -2);
  EXPECT_EQ(print(nullptr, 2, 0, 0, 0, 0), -1);
  EXPECT_EQ(command("\x1Bw", -1), -1);
  EXPECT_EQ(command(std::string("\x1D\x00\x01", 3).c_str(), 3), 1);  // zero bytes go out too
  close_port();
  EXPECT_EQ(read_file_or_empty(path), std::string("\x1D\x00\x01", 3));
  EXPECT_EQ(print("X", 2, 0, 0, 0, 0), -1);
}

TEST_F(Mp2032Test, FilePortsAppendAndFollowTheNamingRule) {
  ASSERT_EQ(open_port(path.c_str()), 1);
  print("1", 2, 0, 0, 0, 0);
  ASSERT_EQ(open_port(path.c_str()), 1);  // reopening closes and appends
  print("2", 2, 0, 0, 0, 0);
  close_port();
  EXPECT_EQ(read_file_or_empty(path), "\x12" "1\x12" "2");

  ASSERT_EQ(open_port("C:\\cupom.txt"), 1);
  print("W", 2, 0, 0, 0, 0);
  close_port();
  EXPECT_EQ(read_file_or_empty(env.drive_c() + "/cupom.txt"), "\x12W");

  EXPECT_EQ(open_port((env.root() + "/no/such/dir/x.prn").c_str()), 0);
  EXPECT_EQ(open_port("LPT9"), 0);
  EXPECT_EQ(open_port(""), 0);
  EXPECT_EQ(print("X", 2, 0, 0, 0, 0), -1);  // a failed open leaves no port open
}

#ifndef _WIN32  // the serial line under Wine: scripts/test-windows maps a COM port to one
// A pseudo-terminal stands in for the printer's serial line.
class PseudoTerminal {
 public:
  // Null when the machine offers no pseudo-terminals.
  static std::unique_ptr<PseudoTerminal> open() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master)) {
      ::close(master);
      return nullptr;
    }
    return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master));
  }
  ~PseudoTerminal() { ::close(master_); }
  const std::string& device() const { return device_; }
  // What arrived, waiting up to a second for the expected count.
  std::string read(std::size_t expected) {
    std::string bytes;
    while (bytes.size() < expected) {
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, 1000) <= 0) break;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }

 private:
  explicit PseudoTerminal(int master) : master_(master), device_(ptsname(master)) {}
  int master_;
  std::string device_;
};

TEST_F(Mp2032Test, SerialPortGetsTheSameBytesUnchanged) {
  auto terminal = PseudoTerminal::open();
  if (!terminal) GTEST_SKIP() << "no pseudo-terminal on this machine";
  ASSERT_EQ(open_port(terminal->device().c_str()), 1);
  ASSERT_EQ(print("Mesa 5\n", 2, 0, 0, 1, 0), 1);
  ASSERT_EQ(command("\x1Bm", 2), 1);
  const std::string expected = std::string("\x12\x1BW\x01", 4) + "Mesa 5\n" + std::string("\x1BW\x00", 3) + "\x1Bm";
  EXPECT_EQ(terminal->read(expected.size()), expected);
  EXPECT_EQ(close_port(), 1);
}

TEST_F(Mp2032Test, ComPortNamesReachTheirMappedDevice) {
  auto terminal = PseudoTerminal::open();
  if (!terminal) GTEST_SKIP() << "no pseudo-terminal on this machine";
  setenv("FISCAL_PORT_COM7", terminal->device().c_str(), 1);
  const int opened = open_port("COM7:");
  unsetenv("FISCAL_PORT_COM7");
  ASSERT_EQ(opened, 1);
  ASSERT_EQ(print("ok", 2, 0, 0, 0, 0), 1);
  EXPECT_EQ(terminal->read(3), "\x12ok");
}
#endif

}  // namespace
