// The one printer call: fill the arguments, call the entry point through its
// slot, write the debug-log line, analyse the result code with the caller's
// colour scheme and flags, and return the verdict. Operations state only what
// differs: the entry point, its arguments, the log text and the flags.
#pragma once
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/debug_log.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr {

// The three flags of the return analysis.
struct Analysis {
  bool msg = false;          // show dialogs
  bool fecha_cupom = false;  // cancel a coupon that the status reports open
  bool abre_cupom = false;   // with msg, also show the paper-near-end notice
};
inline constexpr Analysis kShowErrors{true, false, false};    // most operations
inline constexpr Analysis kSilent{false, false, false};       // silent reads
inline constexpr Analysis kCounterRead{false, true, false};   // counter and total reads
inline constexpr Analysis kCouponOpening{true, false, true};  // opening a coupon

struct CallResult {
  int code = 0;          // the entry point's result code
  bool ok = false;       // the verdict of the analysis
  bool unclear = false;  // refused in a way the printer may still have executed it
  explicit operator bool() const { return ok; }
};

// A refusal that does not prove the command was not executed: the answer was
// lost (result 0), the status could not be read, or the paper ran out on it.
bool AnswerUnclear(int code);

// A buffer of `width` blanks that the library overwrites with a value.
class Reply {
 public:
  explicit Reply(std::size_t width) : buffer_(width, ' ') {}
  char* data() { return buffer_.data(); }
  // The value as the library left it (up to a terminator, if it wrote one).
  std::string Text() const { return std::string(buffer_.c_str(), std::strlen(buffer_.c_str())); }

 private:
  std::string buffer_;
};

// Calls the entry point, logs, analyses. log_text is a text, or a callable
// giving the text once the call has returned (to log what it wrote back),
// called with the result code when it takes one.
template <typename Signature, typename LogText, typename... Args>
CallResult CallPrinter(const std::string& stEsquemaCor, Analysis flags, const Slot<Signature>& slot,
                       LogText&& log_text, Args&&... args) {
  CallResult result;
  result.code = slot(std::forward<Args>(args)...);
  if constexpr (std::is_invocable_v<LogText, int>)
    Log(log_text(result.code));
  else if constexpr (std::is_invocable_v<LogText>)
    Log(log_text());
  else
    Log(log_text);
  result.ok = AnalisaRetorno(stEsquemaCor, result.code, flags.msg, flags.fecha_cupom, flags.abre_cupom);
  result.unclear = !result.ok && AnswerUnclear(result.code);
  return result;
}

struct ReplyResult : CallResult {
  std::string value;  // what the library wrote into the buffer
};

// Reads one value into a buffer of `width` blanks and logs it as
// head + line break + "Retorno da Impressora : " + value.
template <typename Signature>
ReplyResult ReadReply(const std::string& stEsquemaCor, Analysis flags, const Slot<Signature>& slot,
                      std::string_view head, std::size_t width) {
  Reply reply(width);
  ReplyResult result;
  static_cast<CallResult&>(result) =
      CallPrinter(stEsquemaCor, flags, slot, [&] { return ReplyLine(head, reply.Text()); }, reply.data());
  result.value = reply.Text();
  return result;
}

// A call logged as head + line break + "Retorno da Impressora : " + the
// result code in decimal.
template <typename Signature, typename... Args>
CallResult CallWithCode(const std::string& stEsquemaCor, Analysis flags, const Slot<Signature>& slot,
                        const std::string& head, Args&&... args) {
  return CallPrinter(
      stEsquemaCor, flags, slot, [&](int code) { return ReplyLine(head, platform::to_text(code)); },
      std::forward<Args>(args)...);
}

}  // namespace kvr
