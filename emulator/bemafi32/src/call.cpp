#include <cstdio>

#include "exports.h"

namespace emu {

int call(const char* name, std::initializer_list<Arg> args, const Printer::Body& body, CallKind kind) {
  try {
    std::lock_guard<std::mutex> hold(printer_lock());
    Printer& printer = the_printer();
    const FolderHold across_processes(printer);
    return printer.run(name, args, body, kind);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "BemaFI32: %s: %s\n", name, error.what());
  } catch (...) {
  }
  return kExecutionError;
}

int value_query(const char* name, char* buffer, std::size_t width, std::string (*value)(const State&)) {
  return call(name, {out(buffer)}, [&](Printer& p) { return p.write_value(buffer, value(p.state()), width); });
}

}  // namespace emu
