#include "state_bounds.h"

#include <initializer_list>

namespace emu {
namespace {

constexpr std::int64_t kLatestClock = 253'402'300'799;  // 31/12/9999 23:59:59
// A printer clock reading: a computer clock moved by the offset and the daylight-saving hour.
constexpr std::int64_t kClockReach = kClockOffsetLimit + 3600;
constexpr std::int64_t kLongestRoll = std::int64_t{1} << 50;

bool within(std::int64_t value, std::int64_t low, std::int64_t high) { return value >= low && value <= high; }
bool counter(std::int64_t value, int largest) { return within(value, 0, largest); }
bool day_amount(Cents value) { return within(value, 0, kDayAmountLimit); }
// A payment form's day total goes down with change and withdrawals.
bool signed_day_amount(Cents value) { return within(value, -kDayAmountLimit, kDayAmountLimit); }
bool clock_reading(std::int64_t value) { return within(value, -kClockReach, kLatestClock + kClockReach); }

std::string totals_problem(const DayTotals& d) {
  for (Cents amount : {d.gross, d.cancellations, d.discounts, d.surcharges, d.substitution, d.exempt, d.not_taxed,
                       d.non_fiscal, d.withdrawals, d.supplies})
    if (!day_amount(amount)) return "a day total out of range";
  if (!counter(d.withdrawal_count, kSixDigitCounter) || !counter(d.supply_count, kSixDigitCounter))
    return "a day count out of range";
  return {};
}

std::string coupon_problem(const Coupon& c, std::size_t forms) {
  if (!counter(c.coo, kSixDigitCounter) || !counter(c.ccf, kSixDigitCounter)) return "a coupon counter out of range";
  if (static_cast<int>(c.phase) < 0 || c.phase > CouponPhase::Paid) return "unknown coupon phase";
  if (c.items.size() > static_cast<std::size_t>(kCouponItems)) return "too many items in a coupon";
  // An item's total: its value and surcharge (13 digits each) and a tax below 100 % of them.
  for (const Item& i : c.items) {
    if (!within(i.number, 0, kCouponItems) || !within(i.unit_price, 0, kLargestUnitPrice) ||
        !within(i.quantity, 0, kLargestQuantity) || !within(i.discount, 0, kLargestItem) ||
        !within(i.surcharge, 0, kLargestItem) || !within(i.total, 0, 4 * kLargestItem))
      return "a coupon item out of range";
  }
  if (!day_amount(c.discount) || !day_amount(c.surcharge)) return "a coupon discount or surcharge out of range";
  if (c.payments.size() > static_cast<std::size_t>(kCouponItems)) return "too many payments in a coupon";
  for (const Payment& p : c.payments) {
    if (p.form < 0 || static_cast<std::size_t>(p.form) >= forms) return "a payment names a form that does not exist";
    if (!within(p.amount, 0, kLargestItem)) return "a payment out of range";
  }
  return {};
}

std::string tables_problem(const State& s) {
  if (s.rates.size() != kTaxRatePositions) return "wrong number of tax rate positions";
  for (const TaxRate& r : s.rates)
    if (!counter(r.basis_points, 9999) || !day_amount(r.day_total)) return "a tax rate out of range";
  if (s.forms.empty() || s.forms.size() > kPaymentFormSlots) return "wrong number of payment forms";
  for (const PaymentForm& f : s.forms)
    if (!signed_day_amount(f.day_total) || !signed_day_amount(f.last_document)) return "a payment form total out of range";
  if (s.totalizers.size() > kNonFiscalTotalizerSlots) return "too many non-fiscal totalizers";
  for (const NonFiscalTotalizer& t : s.totalizers)
    if (!counter(t.day_count, kFourDigitCounter) || !day_amount(t.day_total)) return "a non-fiscal totalizer out of range";
  for (const auto& [table, items] : s.tables)
    for (const TableItem& i : items)
      if (!within(i.unit_price, 0, 99'999'999) || !within(i.quantity, 0, 999'999) || !within(i.adjustment, 0, 99'999'999))
        return "a table item out of range";
  return {};
}

std::string faults_problem(const Faults& f) {
  if (!within(f.paper, 0, 2) || !counter(f.paper_items_left, kSettingLimit) || !counter(f.baud, kSettingLimit))
    return "a fault setting out of range";
  if (!within(f.clock_offset, -kClockOffsetLimit, kClockOffsetLimit)) return "clock offset out of range";
  if (!within(f.fixed_clock, 0, kLatestClock)) return "fixed clock out of range";
  if (!counter(f.sticky_st1, 255) || !counter(f.sticky_st2, 255) || !within(f.extended_status, -1, 255) ||
      !within(f.fiscal_flags, -1, 255))
    return "a status setting out of range";
  if (f.movement_date_answer.size() > 6) return "movement date answer too long";
  for (const Script& x : f.scripts)
    if (x.times < 1 || x.skip < 0 || !within(x.mode, 0, 4) || !counter(x.ack, 255) || !counter(x.st1, 255) ||
        !counter(x.st2, 255))
      return "a scripted answer out of range";
  return {};
}

std::string counters_problem(const State& s) {
  for (int six : {s.coo, s.gnf, s.grg, s.ccf, s.cfd, s.bill_checks, s.day_first_coo, s.last_coupon_coo,
                  s.last_receipt_coo})
    if (!counter(six, kSixDigitCounter)) return "a six-digit counter out of range";
  for (int four : {s.cdc, s.crz, s.cro, s.cancelled_coupons, s.substitutions})
    if (!counter(four, kFourDigitCounter)) return "a four-digit counter out of range";
  if (!within(s.grand_total, 0, kGrandTotalLimit)) return "grand total out of range";
  return {};
}

std::string memory_problem(const State& s) {
  if (s.fiscal_memory.size() > static_cast<std::size_t>(kFourDigitCounter)) return "too many reductions";
  for (const Reduction& r : s.fiscal_memory) {
    if (!counter(r.crz, kFourDigitCounter) || !counter(r.cro, kFourDigitCounter) || !counter(r.coo, kSixDigitCounter) ||
        !within(r.grand_total, 0, kGrandTotalLimit) || !clock_reading(r.made_at) || r.movement_date.size() != 6 ||
        r.rate_totals.size() > kTaxRatePositions)
      return "a reduction out of range";
    for (Cents total : r.rate_totals)
      if (!day_amount(total)) return "a reduction out of range";
    if (std::string problem = totals_problem(r.totals); !problem.empty()) return "a reduction: " + problem;
  }
  return {};
}

}  // namespace

std::string out_of_bounds(const State& s) {
  for (std::string problem : {counters_problem(s), tables_problem(s), faults_problem(s.faults), memory_problem(s),
                              totals_problem(s.day), coupon_problem(s.coupon, s.forms.size()),
                              coupon_problem(s.last_coupon, s.forms.size())})
    if (!problem.empty()) return problem;
  if (static_cast<int>(s.document) < 0 || s.document > Document::BillCheck) return "unknown document";
  if (s.movement_date.size() != 6) return "bad movement date";
  if (!clock_reading(s.identity.registered_at)) return "registration time out of range";
  for (std::int64_t at : {s.paper.tape_at, s.paper.mfd_at})
    if (at < 0 || at > kLongestRoll || (s.paper.new_roll && at != 0)) return "the paper journal points outside the roll";
  return {};
}

}  // namespace emu
