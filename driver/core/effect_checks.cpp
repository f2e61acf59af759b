#include "core/effect_checks.h"

#include "core/printer_figures.h"

namespace kvr {
namespace {

// Judged on a state the command leaves: executed when `done` says so.
template <typename Read, typename Done>
EffectCheck StateAfter(Read read, Done done) {
  return {{}, [read, done] {
            const auto state = read();
            if (!state) return Effect::kUnknown;
            return done(*state) ? Effect::kExecuted : Effect::kNotExecuted;
          }};
}

bool CouponOpen(int flags) { return (flags & kFlagCouponOpen) != 0; }

}  // namespace

EffectCheck DocumentIssued() { return FigureGrows(ReadCouponCounter); }
EffectCheck CouponIsOpen() { return StateAfter(ReadFiscalFlags, CouponOpen); }
EffectCheck NonFiscalDocumentIsOpen() { return StateAfter(NonFiscalDocumentOpen, [](bool open) { return open; }); }
EffectCheck GrandTotalGrows() { return FigureGrows(ReadGrandTotalCents); }
EffectCheck ItemCancelled() { return FigureGrows(ReadCancellationsCents); }
EffectCheck CouponCancelled() { return FigureGrows(ReadCancelledCoupons); }

EffectCheck ClosingBegun() {
  return StateAfter(ReadFiscalFlags, [](int flags) { return CouponOpen(flags) && (flags & kFlagClosingBegun); });
}

EffectCheck CouponEnded() { return StateAfter(ReadFiscalFlags, [](int flags) { return !CouponOpen(flags); }); }
EffectCheck DocumentClosed() { return StateAfter(NonFiscalDocumentOpen, [](bool open) { return !open; }); }

}  // namespace kvr
