// The effect checks of the commands whose answer may be lost, each told by a
// figure that the command changes.
#pragma once
#include <string>

#include "core/verified_call.h"

namespace kvr {

// A document was issued (a receipt, a cancellation): the COO grew.
EffectCheck DocumentIssued(const std::string& colour);
// A coupon was opened: one is open now. (The operations open a coupon only
// when none is open, so no figure from before the call is needed.)
EffectCheck CouponIsOpen(const std::string& colour);
// A report or linked receipt was opened: one is open now.
EffectCheck NonFiscalDocumentIsOpen(const std::string& colour);
// An item or a sum was registered in the open coupon: the grand total grew.
EffectCheck GrandTotalGrows(const std::string& colour);
// An item was cancelled: the day's cancellations grew.
EffectCheck ItemCancelled(const std::string& colour);
// A coupon was cancelled: the count of cancelled coupons grew.
EffectCheck CouponCancelled(const std::string& colour);
// The closing of the open coupon has begun (discount or surcharge taken).
EffectCheck ClosingBegun(const std::string& colour);
// A payment was taken: the day total of its form grew.
EffectCheck PaymentTaken(const std::string& colour, const std::string& form);
// The open coupon was ended: none is open any more.
EffectCheck CouponEnded(const std::string& colour);
// The open report or linked receipt was closed: none is open any more.
EffectCheck DocumentClosed(const std::string& colour);

}  // namespace kvr
