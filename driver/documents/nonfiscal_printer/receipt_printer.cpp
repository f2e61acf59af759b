#include "documents/nonfiscal_printer/receipt_printer.h"

#include "core/debug_log.h"
#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/serial.h"

namespace kvr {
namespace {

struct Mp2032Library {
  Slot<int(const char*)> IniciaPorta{nullptr, "IniciaPorta"};
  Slot<int(const char*, int, int, int, int, int)> FormataTX{nullptr, "FormataTX"};
  Slot<int(const char*, int)> ComandoTX{nullptr, "ComandoTX"};
  Slot<int()> FechaPorta{nullptr, "FechaPorta"};
};

// The library with its four entry points bound, or null (logged) when it or
// one of them is missing.
Mp2032Library* LoadedLibrary(std::string_view operation) {
  static Mp2032Library library;
  static void* handle = nullptr;
  if (handle) return &library;
  std::string error;
  void* loaded = platform::load_library("Mp2032.dll", &error);
  if (!loaded) {
    Log("ERRO!!! " + std::string(operation) + platform::L1(": biblioteca Mp2032 não encontrada: ") + error);
    return nullptr;
  }
  library.IniciaPorta.Bind(platform::resolve_symbol(loaded, "IniciaPorta"));
  library.FormataTX.Bind(platform::resolve_symbol(loaded, "FormataTX"));
  library.ComandoTX.Bind(platform::resolve_symbol(loaded, "ComandoTX"));
  library.FechaPorta.Bind(platform::resolve_symbol(loaded, "FechaPorta"));
  if (!library.IniciaPorta.Bound() || !library.FormataTX.Bound() || !library.ComandoTX.Bound() ||
      !library.FechaPorta.Bound()) {
    Log("ERRO!!! " + std::string(operation) +
        platform::L1(": a biblioteca Mp2032 não tem IniciaPorta, FormataTX, ComandoTX e FechaPorta"));
    return nullptr;
  }
  handle = loaded;
  return &library;
}

}  // namespace

bool ReceiptPrinterPort::Open(const std::string& port) {
  Mp2032Library* library = LoadedLibrary(operation_);
  if (!library) return false;
  started_ = true;
  const int result = library->IniciaPorta(port.c_str());
  Log(ReplyLine("IniciaPorta " + port, platform::to_text(result)));
  if (result > 0) return true;
  Log("ERRO!!! " + operation_ + platform::L1(": não foi possível abrir a porta ") + port);
  return false;
}

void ReceiptPrinterPort::Print(const std::string& text, const TextAttributes& a) {
  LoadedLibrary(operation_)->FormataTX(text.c_str(), a.letter_type, a.italic, a.underline, a.expanded, a.bold);
}

void ReceiptPrinterPort::Command(std::string_view bytes) {
  const std::string command(bytes);
  LoadedLibrary(operation_)->ComandoTX(command.c_str(), static_cast<int>(command.size()));
}

void ReceiptPrinterPort::Close() {
  if (!started_) return;
  started_ = false;
  LoadedLibrary(operation_)->FechaPorta();
}

bool WriteToSerialPort(std::string_view operation, const std::string& text, const std::string& port) {
  platform::SerialSettings settings;
  settings.baud = 19200;
  settings.data_bits = 8;
  settings.parity = platform::Parity::None;
  settings.stop_bits = platform::StopBits::One;
  settings.input_queue = 256;
  settings.output_queue = 256;
  settings.read_timeout_ms = 1000;
  settings.write_timeout_ms = 1000;
  // Flow control and the port's other line settings stay as they are set up
  // for the printer.
  settings.keep_other_line_settings = true;
  // The platform layer forms the device's name ("COM2" is opened as
  // "\\.\COM2" on Windows; a device path is taken as it is).
  platform::SerialPort serial;
  const bool written = serial.open(port, settings) && serial.write(text) == text.size();
  if (!written) Log("ERRO!!! " + std::string(operation) + ": " + serial.last_error());
  serial.close();
  return written;
}

bool ProbePort(const std::string& port) {
  // A device (a port name such as COM2, LPT1 or USB, or a device path) is
  // opened and closed at once. A name with a folder that is no device is a
  // file that the library prints into, and must exist.
  if (platform::serial_device_for(port).empty() && port.find_first_of("/\\") != std::string::npos)
    return platform::file_exists(platform::native_path(port));
  return platform::serial_port_available(port);
}

PrinterModel ModelParameters(std::string_view model) {
  if (model == "2") return {42, "\n", "\x1Bw"};
  if (model == "5" || model == "6") return {42, "\n", "\x1Bm"};
  if (model == "7") return {40, "\n", "\x1Bw"};
  return {48, "\r\n", "\x1Bw"};
}

}  // namespace kvr
