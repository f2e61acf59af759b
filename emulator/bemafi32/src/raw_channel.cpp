// The raw command channel: frames ESC "|" code {"|" parameter} "|" ESC, the
// status read that follows them and the variables the last command left.
#include "printer.h"

namespace emu {
namespace {

constexpr char kEsc = 27;

// The frame's code ("27", "80|48", ...) and parameters; false when malformed.
bool split_frame(const std::string& frame, std::string& code, std::vector<std::string>& params) {
  if (frame.size() < 5 || frame[0] != kEsc || frame[1] != '|' || frame[frame.size() - 2] != '|' ||
      frame.back() != kEsc)
    return false;
  std::string inside = frame.substr(2, frame.size() - 4);
  std::vector<std::string> tokens;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= inside.size(); ++i) {
    if (i == inside.size() || inside[i] == '|') {
      tokens.push_back(inside.substr(start, i - start));
      start = i + 1;
    }
  }
  if (tokens.empty() || tokens[0].empty()) return false;
  std::size_t used = 1;
  code = tokens[0];
  if (code == "80" && tokens.size() > 1) code += "|" + tokens[used++];
  params.assign(tokens.begin() + static_cast<std::ptrdiff_t>(used), tokens.end());
  return true;
}

}  // namespace

int Printer::send_frame(const char* frame) {
  if (!frame) return kInvalidParameter;
  std::string code;
  std::vector<std::string> params;
  if (!split_frame(frame, code, params)) {
    refuse(kSyntaxError, 0);
    return 0;  // the bytes went out; the printer answers with a syntax error
  }
  int result = restaurant_command(code, params);
  // The wire has no result codes: a refusal shows in the status bytes only.
  if (result == kInvalidParameter) refuse(0, kWrongParameterType);
  if (result == kRateNotProgrammed) refuse(0, kRateNotProgrammedBit);
  if (result == kFormNotProgrammed || result == kTotalizerNotProgrammed) refuse(0, kNotExecuted);
  return 0;
}

int Printer::raw_status(int* ret, int* ack, int* st1, int* st2) {
  if (!ret || !ack || !st1 || !st2) return kInvalidParameter;
  *ret = kOk;
  *ack = last_status_.ack;
  *st1 = last_status_.st1;
  *st2 = last_status_.st2;
  return kOk;
}

int Printer::read_variables(char* buffer) { return write_value(buffer, state_.last_reply, 3000); }

}  // namespace emu
