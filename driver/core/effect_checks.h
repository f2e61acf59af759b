// The effect checks of the commands whose answer may be lost, each told by a
// figure that the command changes.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "core/verified_call.h"

namespace kvr {

// A document was issued (a receipt, a cancellation): the COO grew.
EffectCheck DocumentIssued();
// A coupon was opened: one is open now. (The operations open a coupon only
// when none is open, so no figure from before the call is needed.)
EffectCheck CouponIsOpen();
// A report or linked receipt was opened: one is open now.
EffectCheck NonFiscalDocumentIsOpen();
// An item or a sum was registered in the open coupon: the grand total grew.
EffectCheck GrandTotalGrows();
// An item was cancelled: the day's cancellations grew.
EffectCheck ItemCancelled();
// A coupon was cancelled: the count of cancelled coupons grew.
EffectCheck CouponCancelled();
// The closing of the open coupon has begun (discount or surcharge taken).
EffectCheck ClosingBegun();
// The open coupon was ended: none is open any more.
EffectCheck CouponEnded();
// The open report or linked receipt was closed: none is open any more.
EffectCheck DocumentClosed();

// The day totals of the payment forms, read once before a coupon's first
// payment and brought up to date with every payment the printer takes, so
// that a payment needs no read of its own before it.
class PaymentTally {
 public:
  // A payment on `form` was taken: the form's day total grew.
  EffectCheck Payment(const std::string& form);
  // Records a payment the printer took.
  void Taken(const std::string& form, long long cents);

 private:
  bool read_ = false;
  std::optional<std::string> list_;     // the form list as read before the first payment
  std::map<std::string, long long> taken_;  // cents taken since, by form
};

}  // namespace kvr
