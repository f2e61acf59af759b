#pragma once
// The state file: the printer's memory as "name=value" lines, closed by a
// checksum line so that a damaged or truncated file is recognised.
#include <stdexcept>
#include <string>
#include <string_view>

#include "state.h"

namespace emu {

class DamagedStateFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string serialize_state(const State& state);
// Throws DamagedStateFile naming what is wrong.
State parse_state(std::string_view text);

}  // namespace emu
