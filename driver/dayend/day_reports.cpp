// The printer's end-of-day documents on paper: the X reading, the Z reduction
// and the fiscal memory reading.
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"

namespace {

// The computer's date "ddmmyyyy" and time "hhmmss" of one clock reading.
struct ClockTexts {
  std::string date, time;
};

ClockTexts ReadClock() {
  const hostrt::DateTime now = hostrt::Now();
  return {hostrt::FormatDateTime("ddmmyyyy", now), hostrt::FormatDateTime("hhnnss", now)};
}

}  // namespace

extern "C" {

KVR_EXPORT bool Leitura_X_Imp(const std::string& /*stParam1*/, const std::string& stEsquemaCor,
                              const std::string& /*stParam2*/) {
  try {
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_LecturaX, "Bematech_FI_LecturaX").ok;
  } catch (...) {
    return false;
  }
}

// The printer receives the first clock reading; the log line, written after
// the call, carries the clock as it is then.
KVR_EXPORT bool Reducao_Z_Imp(const std::string& /*stParam1*/, const std::string& stEsquemaCor,
                              const std::string& /*stParam2*/) {
  try {
    const ClockTexts sent = ReadClock();
    const auto log_text = [] {
      const ClockTexts now = ReadClock();
      return "Bematech_FI_ReduccionZ : " + now.date + " - " + now.time;
    };
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_ReduccionZ, log_text, sent.date.c_str(),
                            sent.time.c_str())
        .ok;
  } catch (...) {
    return false;
  }
}

// An entry point the library lacks gives False with a log line; other
// exceptions reach the caller.
KVR_EXPORT bool Memoria_Fiscal_Imp(const std::string& stEsquemaCor, const std::string& stTipMemo,
                                   const std::string& stParam1, const std::string& stParam2,
                                   const std::string& /*stParam3*/) {
  const bool by_date = stTipMemo == "D";
  if (!by_date && stTipMemo != "R") return false;
  const auto& slot = by_date ? Bematech_FI_LecturaMemoriaFiscalFecha : Bematech_FI_LecturaMemoriaFiscalReduccion;
  if (!slot.Bound()) {
    kvr::Log(std::string("ERRO!!! Memoria_Fiscal_Imp: ") + kvr::EmptySlotError(slot.name).what());
    return false;
  }
  const std::string log_text = std::string(slot.name) + " : " + stParam1 + " - " + stParam2;
  return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, slot, log_text, stParam1.c_str(), stParam2.c_str()).ok;
}

}  // extern "C"
