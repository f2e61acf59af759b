// Reading the current coupon's number (a buffer of 6 blanks).
#pragma once
#include <string>

#include "core/printer_call.h"

namespace kvr {

// The number as the printer wrote it, or "ERRO" when the read is refused.
// With flags.fecha_cupom the analysis cancels a coupon the printer reports open.
std::string ReadCouponNumber(const std::string& stEsquemaCor, Analysis flags);

}  // namespace kvr
