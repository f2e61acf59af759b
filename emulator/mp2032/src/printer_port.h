#pragma once
// Where the non-fiscal printer's bytes go: a serial port or a file.
#include <memory>
#include <string>
#include <string_view>

namespace mp2032 {

class PrinterPort {
 public:
  virtual ~PrinterPort() = default;
  // Sends every byte; false when they could not all be sent.
  virtual bool write(std::string_view bytes) = 0;
};

// True when the port name stands for a file (see mp2032.h).
bool is_file_port(std::string_view name);

// Opens the port by its name; nullptr when it cannot be opened.
std::unique_ptr<PrinterPort> open_port(std::string_view name);

}  // namespace mp2032
