// The day totals of the payment forms, read once and then brought up to date
// with every payment the printer takes, so that a payment needs no read of
// its own before it. The figures stay good across coupons for as long as
// every command that reached the printer since the read is one that leaves
// the form totals alone, or a payment counted here; any other command (a
// receipt, a cash movement, a cancellation, a reduction, a port reopened)
// makes the next payment read them again.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "core/verified_call.h"

namespace kvr {

class PaymentTally {
 public:
  // A payment on `form` was taken: the form's day total grew by `growth`
  // cents when that is known (the amount, less the change when it ends the
  // payments), or grew at all when it is not.
  EffectCheck Payment(const std::string& form, std::optional<long long> growth);
  // Records a payment the printer took; an unknown growth makes the next
  // payment read the figures again.
  void Taken(const std::string& form, std::optional<long long> growth);

 private:
  bool Current() const;

  std::optional<std::string> list_;         // the form list as read
  unsigned long commands_at_read_ = 0;      // the count of other commands when it was read
  std::map<std::string, long long> taken_;  // cents taken since, by form
  bool stale_ = false;                      // a payment of unknown growth was taken since
  bool judged_ = false;                     // the last judgement read the form's figure anew
};

// The driver's one tally.
PaymentTally& FormTotals();

}  // namespace kvr
