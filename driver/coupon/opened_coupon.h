// The coupon that this driver opened last, known by its COO: the opening
// reads the counter before it, so that a coupon left open by someone else is
// never taken for a new one, and the sale names its coupon without a read
// after it (a read then could meet a lost answer, or the COO of a ticket).
#pragma once
#include <optional>
#include <string>

#include "core/verified_call.h"

namespace kvr {

// An opening took effect when the COO grew and a coupon is open now; it did
// not when the COO stayed. Remembers the new coupon's COO once judged or
// accepted (see RememberOpening).
class CouponOpening {
 public:
  EffectCheck Check();
  // After an accepted opening: the new coupon is the one after the COO read
  // before it (read now when that read failed).
  void RememberOpening();

 private:
  std::optional<long long> before_;
};

// The COO of the coupon this driver opened last, if it is known.
std::optional<long long> OpenedCoupon();
// Counts the openings: tells a new coupon from an earlier one of the same
// COO (a printer that was replaced or reset).
long long OpeningSerial();
void ForgetOpenedCoupon();
// The COO as the printer writes it: 6 digits.
std::string CouponNumberText(long long coo);

}  // namespace kvr
