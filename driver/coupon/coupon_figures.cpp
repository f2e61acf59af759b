#include "coupon/coupon_figures.h"

#include <cstdint>

#include "core/debug_log.h"
#include "core/printer_figures.h"
#include "coupon/opened_coupon.h"
#include "hostrt/text.h"
#include "platform/ascii.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

// Items between two reads of the grand total that confirm the computed one.
constexpr int kItemsBetweenReads = 40;

// A decimal text as the printer reads it, scaled to `decimals` places and cut
// beyond them: "," or "." is the decimal mark (the last one when there are
// several, the others being thousands marks); blanks around it are ignored.
std::optional<std::int64_t> ScaledDecimal(const std::string& raw, int decimals) {
  const std::string text = hostrt::Trim(raw);
  const std::size_t mark = text.find_last_of(",.");
  std::int64_t value = 0;
  int fraction = -1;  // digits taken after the mark; -1 before it
  bool digit = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ',' || c == '.') {
      if (i == mark) fraction = 0;
      continue;
    }
    if (!platform::ascii::is_digit(c)) return std::nullopt;
    digit = true;
    if (fraction >= decimals) continue;
    if (fraction >= 0) ++fraction;
    if (__builtin_mul_overflow(value, 10, &value) || __builtin_add_overflow(value, c - '0', &value)) return std::nullopt;
  }
  if (!digit) return std::nullopt;
  for (int i = fraction < 0 ? 0 : fraction; i < decimals; ++i)
    if (__builtin_mul_overflow(value, 10, &value)) return std::nullopt;
  return value;
}

// A text of digits whose last two are cents ("00000150" is 1,50); blank is 0.
std::optional<long long> ScaledDigits(const std::string& raw) {
  return hostrt::Trim(raw).empty() ? 0 : DigitsValue(raw);
}

// The rate's basis points: 0 for the untaxed rates, nothing for a position
// the printer has no rate in.
std::optional<int> RateBasisPoints(const std::string& raw, const std::vector<int>& basis_points) {
  const std::string code = hostrt::UpperCase(hostrt::Trim(raw));
  for (const char* untaxed : {"FF", "F1", "F", "II", "I1", "I", "NN", "N1", "N"})
    if (code == untaxed) return 0;
  const std::optional<long long> position = platform::parse_integer(code);
  if (!position || *position < 1 || *position > static_cast<long long>(basis_points.size())) return std::nullopt;
  const int rate = basis_points[static_cast<std::size_t>(*position - 1)];
  if (rate <= 0) return std::nullopt;
  return rate;
}

}  // namespace

std::optional<ItemAmounts> ComputeItem(const ItemFigureTexts& item, const std::vector<int>& basis_points) {
  const auto price = ScaledDecimal(item.price, 3), quantity = ScaledDecimal(item.quantity, 3);
  const auto discount = ScaledDigits(item.discount), surcharge = ScaledDigits(item.surcharge);
  const std::optional<int> rate = RateBasisPoints(item.rate, basis_points);
  if (!price || !quantity || !discount || !surcharge || !rate || *price <= 0 || *quantity <= 0) return std::nullopt;
  std::int64_t product = 0;
  if (__builtin_mul_overflow(*price, *quantity, &product)) return std::nullopt;
  const std::int64_t value = product / 10000;  // thousandths × thousandths to cents, cut
  if (*discount >= value + *surcharge) return std::nullopt;  // the printer refuses it
  const std::int64_t net = value - *discount + *surcharge;
  std::int64_t taxed = 0;
  if (__builtin_mul_overflow(net, static_cast<std::int64_t>(*rate), &taxed)) return std::nullopt;
  const std::int64_t tax = taxed / 10000;
  return ItemAmounts{value + tax, net + tax};
}

CouponFigures& CouponFigures::OfOpenedCoupon() {
  static CouponFigures figures;
  if (!OpenedCoupon() || figures.opening_ != OpeningSerial()) {
    figures = CouponFigures();
    figures.opening_ = OpeningSerial();
  }
  return figures;
}

void CouponFigures::ReadFiguresIfNeeded() {
  if (!grand_total_ || items_since_read_ >= kItemsBetweenReads) {
    const std::optional<long long> read = ReadGrandTotalCents();
    if (grand_total_ && read && *read != *grand_total_) {
      // The printer computes otherwise (or someone else sold): the figure
      // read is taken from here on, and the rates are read again.
      Log(platform::L1("ERRO!!! total geral calculado ") + platform::to_text(*grand_total_) +
          platform::L1(" difere do lido na impressora ") + platform::to_text(*read));
      rates_.reset();
    }
    grand_total_ = read;
    items_since_read_ = 0;
  }
  if (!rates_) rates_ = ReadRateBasisPoints();
}

EffectCheck CouponFigures::Item(const ItemFigureTexts& item) {
  attempt_ = Attempt{};
  return {[this, item] {
            ReadFiguresIfNeeded();
            attempt_ = Attempt{grand_total_, rates_ ? ComputeItem(item, *rates_) : std::nullopt, false};
          },
          [this] {
            const std::optional<long long> now = ReadGrandTotalCents();
            attempt_.judged = true;
            grand_total_ = now;  // what the printer holds, whatever the verdict
            items_since_read_ = 0;
            if (!now || !attempt_.before || !attempt_.amounts || attempt_.amounts->grand_total_share <= 0) {
              subtotal_.reset();
              return Effect::kUnknown;
            }
            if (*now == *attempt_.before) return Effect::kNotExecuted;
            if (*now == *attempt_.before + attempt_.amounts->grand_total_share) return Effect::kExecuted;
            subtotal_.reset();  // the printer may hold the item or not
            return Effect::kUnknown;
          }};
}

void CouponFigures::ItemDone(bool accepted) {
  if (!accepted) return;
  ++items_since_read_;
  if (!attempt_.judged)
    grand_total_ = attempt_.before && attempt_.amounts
                       ? std::optional<long long>(*attempt_.before + attempt_.amounts->grand_total_share)
                       : std::nullopt;
  if (subtotal_ && attempt_.amounts)
    *subtotal_ += attempt_.amounts->coupon_share;
  else
    subtotal_.reset();
}

void CouponFigures::AdjustmentTaken(const std::string& kind, const std::string& amount) {
  const std::optional<std::int64_t> value = ScaledDecimal(amount, 2);
  if (!subtotal_ || !value) {
    to_pay_.reset();
    return;
  }
  to_pay_ = hostrt::UpperCase(hostrt::Trim(kind)) == "D" ? *subtotal_ - *value : *subtotal_ + *value;
}

std::optional<long long> CouponFigures::PaymentGrowth(const std::string& amount) const {
  const std::optional<std::int64_t> value = ScaledDecimal(amount, 2);
  if (!to_pay_ || !value) return std::nullopt;
  // The payment that covers what is left to pay gives the rest back as change
  // from the same form.
  return paid_ + *value >= *to_pay_ ? *to_pay_ - paid_ : *value;
}

void CouponFigures::PaymentTaken(const std::string& amount) {
  const std::optional<std::int64_t> value = ScaledDecimal(amount, 2);
  if (value)
    paid_ += *value;
  else
    to_pay_.reset();
}

}  // namespace kvr
