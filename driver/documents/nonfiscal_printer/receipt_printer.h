// The non-fiscal receipt printer: its library, loaded by name at run time
// (never linked, so the driver's own exported FechaPorta cannot capture the
// library's), the direct serial path, and the model parameters.
#pragma once
#include <string>
#include <string_view>
#include <utility>

namespace kvr {

// FormataTX's attributes: letter type, italic, underline, expanded, bold.
struct TextAttributes {
  int letter_type, italic, underline, expanded, bold;
};

// One printing through the library: the port opened with IniciaPorta and
// closed with FechaPorta on every way out. The library is loaded on first
// use and kept for the process; a missing library is logged and tried again
// on the next printing.
class ReceiptPrinterPort {
 public:
  explicit ReceiptPrinterPort(std::string operation) : operation_(std::move(operation)) {}
  ~ReceiptPrinterPort() { Close(); }
  ReceiptPrinterPort(const ReceiptPrinterPort&) = delete;
  ReceiptPrinterPort& operator=(const ReceiptPrinterPort&) = delete;

  // False, logged, when the library is missing or IniciaPorta answers 0 or less.
  bool Open(const std::string& port);
  // FormataTX and ComandoTX; their results are not read.
  void Print(const std::string& text, const TextAttributes& attributes);
  void Command(std::string_view bytes);
  // FechaPorta, once, when the port was opened (or its opening attempted).
  void Close();

 private:
  std::string operation_;
  bool started_ = false;
};

// Writes the text straight to the serial port (19200 8N1, queues of 256
// bytes, 1000 ms timeouts; its other line settings, such as flow control,
// as the port has them); false, logged under `operation`, when the port
// cannot be opened or set up or not every byte was written. The port is
// closed in every case.
bool WriteToSerialPort(std::string_view operation, const std::string& text, const std::string& port);

// True when the port's device (COM2, LPT1, USB or any other device name the
// platform maps, or a device path) can be opened (closed at once), or, for
// another name with a folder, when that file exists.
bool ProbePort(const std::string& port);

// The parameters of a printer model.
struct PrinterModel {
  unsigned char width;
  std::string line_end;
  std::string paper_cut;
};
PrinterModel ModelParameters(std::string_view model);

}  // namespace kvr
