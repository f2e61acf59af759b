// Two reads made while a coupon or document is under way: the coupon number
// and the coupon's accumulated surcharge. Both cancel a coupon that the
// printer reports open, as every counter read does.
#include <exception>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "coupon/coupon_number.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

std::string ReadCouponNumber(const std::string& stEsquemaCor, Analysis flags) {
  const ReplyResult number = ReadReply(stEsquemaCor, flags, Bematech_FI_NumeroCupon, "Bematech_FI_NumeroCupon", 6);
  return number.ok ? number.value : "ERRO";
}

}  // namespace kvr

extern "C" {

// Exceptions reach the caller.
KVR_EXPORT std::string Nr_Cupom(const std::string& /*stParam*/, const std::string& stEsquemaCor) {
  return kvr::ReadCouponNumber(stEsquemaCor, kvr::kCounterRead);
}

KVR_EXPORT bool Acrescimo_Imp(const std::string& stEsquemaCor, std::string& stVrAcrescimo) {
  stVrAcrescimo.assign(14, ' ');
  try {
    const kvr::ReplyResult surcharge =
        kvr::ReadReply(stEsquemaCor, kvr::kCounterRead, Bematech_FI_Acrescimos, "Bematech_FI_Acrescimos", 14);
    stVrAcrescimo = surcharge.value;
    return surcharge.ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Acrescimo_Imp: ") + error.what());
    return false;
  }
}

}  // extern "C"
