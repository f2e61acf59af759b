// The printer's daylight-saving time: whether it is on (bit 4 of the fiscal
// flags), and the command that switches it.
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "core/printer_figures.h"
#include "core/verified_call.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

constexpr int kFlagDaylightSaving = 4;

bool DaylightSaving(int flags) { return (flags & kFlagDaylightSaving) != 0; }

// The switch took effect: the flag is no longer what it was before.
EffectCheck DaylightSavingSwitched() {
  auto before = std::make_shared<std::optional<int>>();
  return {[before] { *before = ReadFiscalFlags(); },
          [before] {
            const std::optional<int> after = ReadFiscalFlags();
            if (!*before || !after) return Effect::kUnknown;
            return DaylightSaving(**before) != DaylightSaving(*after) ? Effect::kExecuted : Effect::kNotExecuted;
          }};
}

}  // namespace
}  // namespace kvr

extern "C" {

// The answer comes from the flags whatever the analysis said; flags the
// library did not write stay 0, which reads as no daylight saving. An
// exception (an unbound entry point) gives False and is logged.
KVR_EXPORT bool EstHorVerao(const std::string& stEsquemaCor) {
  try {
    int flags = 0;
    kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_FlagsFiscales,
                     [&] { return kvr::ReplyLine("Bematech_FI_FlagsFiscales", platform::to_text(flags)); }, &flags);
    return kvr::DaylightSaving(flags);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! EstHorVerao: ") + error.what());
    return false;
  }
}

// Silent: the verdict of the analysis, or True when the printer switched
// although its answer was lost.
KVR_EXPORT bool MudaHorario(const std::string& stEsquemaCor) {
  try {
    return kvr::VerifiedCall(kvr::DaylightSavingSwitched(), Bematech_FI_ProgramaHorarioDeVerano, [&] {
             return kvr::CallPrinter(stEsquemaCor, kvr::kSilent, Bematech_FI_ProgramaHorarioDeVerano,
                                     "Bematech_FI_ProgramaHorarioDeVerano");
           })
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! MudaHorario: ") + error.what());
    return false;
  }
}

}  // extern "C"
