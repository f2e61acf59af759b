// What the page shows of the emulated printer: its paper, its state, the
// last calls of the journal, and a version that changes whenever any of
// them does, so the page can wait for the next change.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "../ecf-tool/emulator_control.h"
#include "bridge/json_text.h"

namespace ecf_server {

// The state summary's "key=value" lines (Latin-1) as a map of UTF-8 texts.
std::map<std::string, std::string> StateMap(const std::string& summary);

struct PrinterView {
  std::uint64_t version = 0;  // below 2^53, so a page's script holds it exactly
  std::map<std::string, std::string> state;
  std::string tape;            // UTF-8, its last documents whole
  std::uint64_t tape_version = 0;  // changes with the tape alone
  kvr::bridge::Json journal;   // the last calls: name, result, status bytes
};

// Reads the printer now. The tape is cut to its last `max_tape_bytes`,
// starting after a cut so that no document shows half.
PrinterView ReadPrinterView(const ecf_tool::EmulatorControl& printer, std::size_t max_tape_bytes = 256 * 1024,
                            int journal_calls = 40);

}  // namespace ecf_server
