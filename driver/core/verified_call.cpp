#include "core/verified_call.h"

#include <memory>

#include "core/debug_log.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

int unknown_judgements = 0;

}  // namespace

int UnknownJudgements() { return unknown_judgements; }

EffectCheck FigureGrows(std::function<std::optional<long long>()> read) {
  auto before = std::make_shared<std::optional<long long>>();
  return {[before, read] { *before = read(); },
          [before, read] {
            if (!*before) return Effect::kUnknown;
            const std::optional<long long> after = read();
            if (!after) return Effect::kUnknown;
            if (*after > **before) return Effect::kExecuted;
            return *after == **before ? Effect::kNotExecuted : Effect::kUnknown;
          }};
}

VerifiedResult JudgeAttempt(const CallResult& result, const EffectCheck& check, std::string_view entry_point) {
  if (result.ok) return {true, false, false};
  if (!result.unclear) return {false, false, false};
  const Effect effect = check.judge ? check.judge() : Effect::kUnknown;
  if (effect == Effect::kExecuted) {
    Log("ERRO!!! " + std::string(entry_point) + platform::L1(": a impressora executou o comando sem responder"));
    return {true, false, true};
  }
  if (effect == Effect::kUnknown) {
    ++unknown_judgements;
    Log("ERRO!!! " + std::string(entry_point) + platform::L1(": não se sabe se a impressora executou o comando"));
  }
  return {false, effect == Effect::kUnknown, true};
}

}  // namespace kvr
