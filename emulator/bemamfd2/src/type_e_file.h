#pragma once
// The type E register file of a download: E01 printer, E02 current user, E12
// reductions, E13 their partial totalizers, E14 fiscal coupons, E15 their
// items, E16 other documents, E21 payments; fixed-width ASCII records ended
// by CR LF, grouped by record type in that order. A coupon that a later
// cancellation document names is cancelled in E14, and each of its items in
// E15, as the reduction's totals count it.
#include <string>

#include "mfd_format/mfd_format.h"

namespace bemamfd2 {

struct TypeERequest {
  mfd::Date start;         // documents issued on these days, inclusive
  mfd::Date end;
  std::string legal_name;  // the user's name and address for E02
  std::string address;
  std::string command;     // E01's generation command field
};

// Throws FieldOverflow when a value does not fit its field.
std::string type_e_file(const mfd::Download& download, const TypeERequest& request);

}  // namespace bemamfd2
