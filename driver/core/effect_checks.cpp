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

}  // namespace

EffectCheck DocumentIssued(const std::string& colour) {
  return FigureGrows([colour] { return ReadCouponCounter(colour); });
}

EffectCheck CouponIsOpen(const std::string& colour) {
  return StateAfter([colour] { return ReadFiscalFlags(colour); },
                    [](int flags) { return (flags & kFlagCouponOpen) != 0; });
}

EffectCheck NonFiscalDocumentIsOpen(const std::string& colour) {
  return StateAfter([colour] { return NonFiscalDocumentOpen(colour); }, [](bool open) { return open; });
}

EffectCheck GrandTotalGrows(const std::string& colour) {
  return FigureGrows([colour] { return ReadGrandTotalCents(colour); });
}

EffectCheck ItemCancelled(const std::string& colour) {
  return FigureGrows([colour] { return ReadCancellationsCents(colour); });
}

EffectCheck CouponCancelled(const std::string& colour) {
  return FigureGrows([colour] { return ReadCancelledCoupons(colour); });
}

EffectCheck ClosingBegun(const std::string& colour) {
  return StateAfter([colour] { return ReadFiscalFlags(colour); },
                    [](int flags) { return (flags & kFlagCouponOpen) && (flags & kFlagClosingBegun); });
}

EffectCheck PaymentTaken(const std::string& colour, const std::string& form) {
  return FigureGrows([colour, form] { return ReadFormDayTotal(colour, form); });
}

EffectCheck CouponEnded(const std::string& colour) {
  return StateAfter([colour] { return ReadFiscalFlags(colour); },
                    [](int flags) { return (flags & kFlagCouponOpen) == 0; });
}

EffectCheck DocumentClosed(const std::string& colour) {
  return StateAfter([colour] { return NonFiscalDocumentOpen(colour); }, [](bool open) { return !open; });
}

}  // namespace kvr
