// The non-fiscal printer library's entry points. One port at a time.
#include <memory>
#include <mutex>

#include <vendor_api/guarded.h>

#include "mp2032/mp2032.h"
#include "printer_port.h"
#include "text_attributes.h"

namespace {

constexpr int kOk = 1;
constexpr int kPortError = 0;
constexpr int kNotOpen = -1;
constexpr int kBadAttribute = -2;

std::mutex port_mutex;
std::unique_ptr<mp2032::PrinterPort> open_printer_port;

int send(std::string_view bytes) {
  std::lock_guard lock(port_mutex);
  if (!open_printer_port) return kNotOpen;
  return open_printer_port->write(bytes) ? kOk : kPortError;
}

}  // namespace

extern "C" {

VENDOR_EXPORT int VENDOR_CALL IniciaPorta(const char* port) {
  if (!port) return kNotOpen;
  // A port left open is closed by this library's own FechaPorta.
  FechaPorta();
  return vendor_api::guarded(kPortError, [&] {
    auto opened = mp2032::open_port(port);
    if (!opened) return kPortError;
    std::lock_guard lock(port_mutex);
    open_printer_port = std::move(opened);
    return kOk;
  });
}

VENDOR_EXPORT int VENDOR_CALL FormataTX(const char* text, int letter_type, int italic, int underline, int expanded,
                                        int bold) {
  if (!text) return kNotOpen;
  return vendor_api::guarded(kPortError, [&] {
    auto bytes = mp2032::formatted_text(text, {letter_type, italic, underline, expanded, bold});
    if (!bytes) return kBadAttribute;
    return send(*bytes);
  });
}

VENDOR_EXPORT int VENDOR_CALL ComandoTX(const char* command, int count) {
  if (!command || count < 0) return kNotOpen;
  return vendor_api::guarded(kPortError, [&] { return send(std::string_view(command, static_cast<std::size_t>(count))); });
}

VENDOR_EXPORT int VENDOR_CALL FechaPorta(void) {
  return vendor_api::guarded(kPortError, [] {
    std::lock_guard lock(port_mutex);
    if (!open_printer_port) return kPortError;
    open_printer_port.reset();
    return kOk;
  });
}

}  // extern "C"
