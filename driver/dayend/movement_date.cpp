// The printer's fiscal movement date: the day the printer has open, which the
// end-of-day export and the document records carry.
#include <string>
#include <string_view>

#include "core/printer_call.h"
#include "core/printer_dates.h"
#include "hostrt/clock.h"
#include "kvr00102/kvr00102.h"

namespace {

// "ddmmyy" with the century of the computer's current year. A text that is no
// date (blanks left by a refused call, letters, 31 February) gives today.
hostrt::DateTime MovementDateFrom(std::string_view ddmmyy) {
  const hostrt::DateTime today = hostrt::Date();
  if (ddmmyy == "000000") return today;
  int year = 0, month = 0, day = 0;
  hostrt::DecodeDate(today, year, month, day);
  hostrt::DateTime date;
  try {
    const int century = year - year % 100;
    if (ddmmyy.size() == 6 &&
        hostrt::TryEncodeDate(century + kvr::TwoDigits(ddmmyy, 4), kvr::TwoDigits(ddmmyy, 2),
                              kvr::TwoDigits(ddmmyy, 0), date))
      return date;
  } catch (const hostrt::EConvertError&) {
  }
  return today;
}

}  // namespace

extern "C" {

// A failure of the call itself (an unbound entry point) reaches the caller;
// a refused call leaves blanks and so gives today.
KVR_EXPORT hostrt::DateTime DataMoviFiscal(const std::string& stEsquemaCor) {
  const kvr::ReplyResult reply = kvr::ReadReply(stEsquemaCor, kvr::kSilent, Bematech_FI_FechaMovimiento,
                                                "Bematech_FI_FechaMovimiento", 6);
  return MovementDateFrom(reply.value);
}

}  // extern "C"
