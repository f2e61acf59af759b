// What the open coupon adds up to, computed as the printer computes it, so
// that an item or a payment needs no read of the printer's figures before it.
// The grand total is read at the coupon's first item (and again after every
// few items, to catch a printer that computes otherwise); each accepted item
// adds its value and tax to it. After an unclear answer one read tells: the
// figure before plus the item's share means it went in, the figure before
// means it did not, anything else cannot tell and the operator is asked.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/verified_call.h"

namespace kvr {

// The texts of an item as they are sent to the printer.
struct ItemFigureTexts {
  std::string rate, price, quantity, surcharge, discount;
};

// The two figures an item changes, in cents: the grand total grows by its
// value (price × quantity, cut to the cent) plus its tax; the coupon's
// subtotal by that value less discount, plus surcharge and tax. The tax is the
// rate's percentage of the net value, cut to the cent; the untaxed rates
// (F, I, N) carry none.
struct ItemAmounts {
  long long grand_total_share = 0;
  long long coupon_share = 0;
};
// Nothing when a text is not a number the printer would take, or the rate
// is not among `basis_points` (the rates list, one entry per position).
std::optional<ItemAmounts> ComputeItem(const ItemFigureTexts& item, const std::vector<int>& basis_points);

class CouponFigures {
 public:
  // The figures of the coupon this driver opened last; a new coupon starts
  // them afresh.
  static CouponFigures& OfOpenedCoupon();

  // The check of one item: it reads the grand total (and the rates) before the
  // item only when they are not known.
  EffectCheck Item(const ItemFigureTexts& item);
  // After the item's call: `accepted` when the printer holds it.
  void ItemDone(bool accepted);
  // An item was cancelled: the subtotal is no longer known here.
  void ItemCancelled() { subtotal_.reset(); }
  // The closing's discount (kind "d") or surcharge ("a") of `amount`, in the
  // text sent, was taken.
  void AdjustmentTaken(const std::string& kind, const std::string& amount);

  // What a payment of `amount` (its text) adds to its form's day total: the
  // amount, less the change when it ends the payments. Nothing when the
  // amount to pay is not known.
  std::optional<long long> PaymentGrowth(const std::string& amount) const;
  void PaymentTaken(const std::string& amount);

 private:
  struct Attempt {
    std::optional<long long> before;  // the grand total before the item
    std::optional<ItemAmounts> amounts;
    bool judged = false;              // a read after the answer set the grand total
  };

  void ReadFiguresIfNeeded();

  long long opening_ = 0;
  std::optional<long long> grand_total_;   // the printer's grand total as it stands
  int items_since_read_ = 0;
  std::optional<std::vector<int>> rates_;  // basis points by position
  std::optional<long long> subtotal_ = 0;  // the coupon's items, in cents
  std::optional<long long> to_pay_;        // after the closing's discount or surcharge
  long long paid_ = 0;
  Attempt attempt_;
};

}  // namespace kvr
