// The cash drawer on the fiscal printer: open it, read its state.
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

extern "C" {

KVR_EXPORT bool Abre_Gaveta_Imp(const std::string& stEsquemaCor, bool /*boParam*/) {
  try {
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_AccionaGaveta, "Bematech_FI_AccionaGaveta")
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Abre_Gaveta_Imp: ") + error.what());
    return false;
  }
}

// A library that leaves the state alone reads as open (1). A printer that
// reports a coupon open has it cancelled by the analysis. Exceptions reach the
// caller.
KVR_EXPORT std::string Estado_Gaveta_Imp(const std::string& stEsquemaCor) {
  int state = 1;
  const bool accepted =
      kvr::CallPrinter(
          stEsquemaCor, kvr::Analysis{true, true, false}, Bematech_FI_VerificaEstadoGaveta,
          [&] { return "Bematech_FI_VerificaEstadoGaveta: " + platform::to_text(state); }, &state)
          .ok;
  if (!accepted) return "";
  return state == 1 ? "01" : "00";
}

}  // extern "C"
