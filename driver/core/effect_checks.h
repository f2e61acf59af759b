// The effect checks of the commands whose answer may be lost, each told by a
// figure that the command changes.
#pragma once
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

}  // namespace kvr
