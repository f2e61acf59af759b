// Port opening and the printer checks that follow it.
#include <exception>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/left_open.h"
#include "core/params.h"
#include "core/printer_call.h"
#include "core/printer_dates.h"
#include "datamodule/data_module.h"
#include "hostrt/clock.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

constexpr int kPrinterOff = -6;
constexpr int kMaxClockDifference = 15;  // hhmm as a number: 15 minutes

bool OpenPort(const hostrt::Variant& params) {
  DataModule();
  const std::string branch = ParamText(params, "CDFILIAL");
  const std::string till = ParamText(params, "CDCAIXA");
  const std::string serial = ParamText(params, "NRSERIE");
  const std::string colour = ParamText(params, "ESQUEMACOR");
  const std::string port = ParamText(params, "PORTAIMPFIS");

  const CallResult opened =
      CallPrinter(colour, kShowErrors, Bematech_FI_AbrePuertaSerial, "Bematech_FI_AbrePuertaSerial");
  if (!opened.ok || opened.code == -5 || opened.code == 0) {
    Log("ERRO!!! Abrindo porta " + port);
    Notice(Msg("ErroPorta"), hostrt::kErrorOrRetry, colour);
    return false;
  }

  hostrt::DateTime today;
  if (!VerificaData(colour, today, "", "", true)) return false;

  if (Bematech_FI_VerificaImpresoraPrendida() == kPrinterOff) {
    Log("ERRO!!! " + Msg("ImpDeslig"));
    Notice(Msg("ImpDeslig"), hostrt::kErrorOrRetry, colour);
    return false;
  }

  // A receipt, report or coupon left open by an interrupted run is closed.
  CloseLeftOpenDocuments(branch, till, serial, colour);
  return true;
}

// The printer's "ddmmyyhhnnss" as a date-time to the minute.
hostrt::DateTime PrinterDateTime(std::string_view text) {
  return hostrt::DateTime{PrinterDate(text).value + hostrt::EncodeTime(TwoDigits(text, 6), TwoDigits(text, 8), 0).value};
}

// Minutes of difference as the number hhnn of SubtDataHoraUlm's "hh:nn".
int ClockDifference(hostrt::DateTime printer) {
  std::string text = hostrt::SubtDataHoraUlm(printer, hostrt::Now());
  if (!text.empty() && text.front() == '-') text.erase(0, 1);
  const std::size_t colon = text.find(':');
  const auto hours = platform::parse_integer(std::string_view(text).substr(0, colon));
  const auto minutes = colon == std::string::npos ? std::nullopt : platform::parse_integer(text.substr(colon + 1));
  if (!hours || !minutes || *hours > 99'999'999) throw hostrt::EConvertError("bad time difference '" + text + "'");
  return static_cast<int>(*hours * 100 + *minutes);
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool AbrePorta(const hostrt::Variant& params) {
  try {
    return kvr::OpenPort(params);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! AbrePorta: ") + error.what());
    return false;
  }
}

KVR_EXPORT bool VerificaData(const std::string& stEsquemaCor, hostrt::DateTime& dtDate, const std::string& stDataAtu,
                             const std::string& stData, bool boSetaData) {
  bool result = true;
  std::string printer_now = stDataAtu;
  if (boSetaData && !Data_Imp(stEsquemaCor, printer_now)) return false;
  if (!printer_now.empty()) {
    bool differs = true;
    try {
      differs = kvr::ClockDifference(kvr::PrinterDateTime(printer_now)) > kvr::kMaxClockDifference;
    } catch (const std::exception&) {
      // A clock that cannot be read cannot be trusted.
      kvr::Log("ERRO!!! Data da impressora " + printer_now);
    }
    if (differs) {
      kvr::Notice(kvr::Msg("Datadif"), hostrt::kErrorOrRetry, stEsquemaCor);
      result = false;
    }
  }
  try {
    dtDate = stData.empty() ? hostrt::Date() : kvr::PrinterDate(stData);
  } catch (const std::exception&) {
    dtDate = hostrt::Date();
  }
  return result;
}

KVR_EXPORT bool Data_Imp(const std::string& stEsquemaCor, std::string& stDataHora) {
  try {
    kvr::Reply date(6), time(6);
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_FechaHoraImpresora,
                            [&] {
                              stDataHora = date.Text() + time.Text();
                              return "Bematech_FI_FechaHoraImpresora" + stDataHora + time.Text();
                            },
                            date.data(), time.data())
        .ok;
  } catch (const std::exception&) {
    return false;
  }
}

}  // extern "C"
