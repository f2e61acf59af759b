#include "printer_port.h"

#include <cstdio>

#include <platform/paths.h>
#include <platform/serial.h>
#include "platform/ascii.h"

namespace mp2032 {
namespace {

bool ends_with_ignoring_case(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  text = text.substr(text.size() - end.size());
  for (std::size_t i = 0; i < end.size(); ++i)
    if (platform::ascii::to_lower(text[i]) != end[i]) return false;
  return true;
}

class FilePort : public PrinterPort {
 public:
  explicit FilePort(std::FILE* file) : file_(file) {}
  ~FilePort() override { std::fclose(file_); }
  bool write(std::string_view bytes) override {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0;
  }

 private:
  std::FILE* file_;
};

class SerialPrinterPort : public PrinterPort {
 public:
  bool open(std::string_view name) { return port_.open(name, platform::SerialSettings{}); }
  bool write(std::string_view bytes) override { return port_.write(bytes) == bytes.size(); }

 private:
  platform::SerialPort port_;
};

}  // namespace

bool is_file_port(std::string_view name) {
  if (name.starts_with("/dev/")) return false;
  return name.find_first_of("/\\") != std::string_view::npos || ends_with_ignoring_case(name, ".txt") ||
         ends_with_ignoring_case(name, ".prn");
}

std::unique_ptr<PrinterPort> open_port(std::string_view name) {
  if (name.ends_with(':')) name.remove_suffix(1);
  if (name.empty()) return nullptr;
  if (is_file_port(name)) {
    std::FILE* file = std::fopen(platform::native_path(name).c_str(), "ab");
    return file ? std::make_unique<FilePort>(file) : nullptr;
  }
  auto port = std::make_unique<SerialPrinterPort>();
  if (!port->open(name)) return nullptr;
  return port;
}

}  // namespace mp2032
