// The printer's three status bytes of the last command.
#pragma once

namespace kvr {

struct StatusBytes {
  int ack = 0;  // 21 (NAK) when the printer refused the command
  int st1 = 0;
  int st2 = 0;
};

// The bytes as last read by the return analysis or a status query.
StatusBytes& LastStatus();

inline constexpr int kNak = 21;

}  // namespace kvr
