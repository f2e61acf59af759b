// A printer command whose answer may be lost. When the return analysis
// refuses a command in a way that does not prove it was not executed (no
// answer, an unreadable status, the paper running out on it), the printer's
// own figures are asked whether it took effect, so that a command is never
// repeated, nor reported as failed, when the printer holds it.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/printer_call.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

enum class Effect { kExecuted, kNotExecuted, kUnknown };

// How to tell whether a command took effect: `before` reads, just before each
// attempt, the figures that `judge` compares with after an unclear answer.
// A check without a judge cannot tell.
struct EffectCheck {
  std::function<void()> before;
  std::function<Effect()> judge;
};

// Executed when the figure grew across the attempt, not executed when it
// stayed; unknown when either read failed.
EffectCheck FigureGrows(std::function<std::optional<long long>()> read);

struct VerifiedResult {
  bool ok = false;       // accepted, or executed although the answer was lost
  bool unknown = false;  // refused unclearly, and the figures could not tell
  bool unclear = false;  // refused in a way the printer may still have executed it
};

// How many refusals so far the printer's figures could not judge: a step made
// of several calls tells by it whether the operator should look at the paper.
int UnknownJudgements();

// Judges one attempt's result under its check; an execution without an answer
// is logged as an error line naming the entry point.
VerifiedResult JudgeAttempt(const CallResult& result, const EffectCheck& check, std::string_view entry_point);

// One attempt of a command under its check. A command whose entry point is
// not bound cannot be sent, so it needs no figures read before it.
template <typename Signature, typename Attempt>
VerifiedResult VerifiedCall(const EffectCheck& check, const Slot<Signature>& slot, Attempt&& attempt) {
  if (check.before && slot.Bound()) check.before();
  return JudgeAttempt(attempt(), check, slot.name);
}

}  // namespace kvr
