#pragma once
// What every exported entry point uses: the C signature marks and the one
// call path into the printer. A command is written once as a function that
// takes the entry point's name; each of its exported names (Portuguese and
// Spanish twins) is a one-line ENTRY.
#include <initializer_list>

#include "printer.h"
#include "vendor_api/vendor_api.h"

#define BEMA_API extern "C" VENDOR_EXPORT int VENDOR_CALL

// ENTRY(exported name, command function, (C parameters), arguments...)
#define ENTRY(name, command, params, ...) \
  BEMA_API name params { return command(#name __VA_OPT__(, ) __VA_ARGS__); }

namespace emu {

// Locks the printer, runs the call through Printer::run; never throws.
int call(const char* name, std::initializer_list<Arg> args, const Printer::Body& body,
         CallKind kind = CallKind::Command);

// A value the printer writes into the caller's buffer of exactly `width` characters.
int value_query(const char* name, char* buffer, std::size_t width, std::string (*value)(const State&));

}  // namespace emu
