#include "core/effect_checks.h"

#include "core/printer_figures.h"
#include "hostrt/text.h"

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

// Forms are told apart as the printer tells them: trimmed, whatever the case.
std::string FormKey(const std::string& form) { return hostrt::UpperCase(hostrt::Trim(form)); }

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

EffectCheck PaymentTally::Payment(const std::string& form) {
  return {[this] {
            if (read_) return;
            list_ = ReadFormList();
            read_ = true;
          },
          [this, form] {
            if (!list_) return Effect::kUnknown;
            const std::optional<long long> first = FormDayTotal(*list_, form);
            const std::optional<std::string> now = ReadFormList();
            const std::optional<long long> after = now ? FormDayTotal(*now, form) : std::nullopt;
            if (!first || !after) return Effect::kUnknown;
            const long long before = *first + taken_[FormKey(form)];
            if (*after > before) return Effect::kExecuted;
            return *after == before ? Effect::kNotExecuted : Effect::kUnknown;
          }};
}

void PaymentTally::Taken(const std::string& form, long long cents) { taken_[FormKey(form)] += cents; }

}  // namespace kvr
