#include "coupon/opened_coupon.h"

#include "core/printer_figures.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

std::optional<long long> opened_coupon;
long long opening_serial = 0;

}  // namespace

EffectCheck CouponOpening::Check() {
  return {[this] { before_ = ReadCouponCounter(); },
          [this] {
            const std::optional<long long> now = ReadCouponCounter();
            const std::optional<int> flags = ReadFiscalFlags();
            if (!before_ || !now || !flags) return Effect::kUnknown;
            if (*now == *before_) return Effect::kNotExecuted;
            return *now > *before_ && (*flags & kFlagCouponOpen) ? Effect::kExecuted : Effect::kUnknown;
          }};
}

void CouponOpening::RememberOpening() {
  ++opening_serial;
  if (before_) {
    opened_coupon = *before_ + 1;
  } else {
    opened_coupon = ReadCouponCounter();
  }
}

std::optional<long long> OpenedCoupon() { return opened_coupon; }
void ForgetOpenedCoupon() { opened_coupon.reset(); }
long long OpeningSerial() { return opening_serial; }

std::string CouponNumberText(long long coo) {
  std::string text = platform::to_text(coo);
  if (text.size() < 6) text.insert(0, 6 - text.size(), '0');
  return text;
}

}  // namespace kvr
