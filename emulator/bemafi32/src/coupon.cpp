// The fiscal coupon: opening, items, item and coupon cancellation,
// totalization with discount or surcharge, payments and closing.
#include "clock.h"
#include "platform/latin1.h"
#include "printer.h"
#include "platform/numbers.h"
#include "state_bounds.h"

namespace emu {
namespace {

// The day totalizer an item is sold under: a position "01".."16" or F/I/N.
struct RateChoice {
  int position = -1;  // 0-based position, or -1 for F/I/N
  char kind = 0;      // 'T', 'S', 'F', 'I', 'N'
};

std::optional<RateChoice> parse_rate(const std::string& text) {
  std::string code = upper(trim(text));
  if (code.empty()) return std::nullopt;
  if (code == "FF" || code == "F1" || code == "F" || code == "I1" || code == "II" || code == "I" || code == "NN" ||
      code == "N1" || code == "N")
    return RateChoice{-1, code[0]};
  auto position = parse_integer(code);
  if (!position || *position < 1 || *position > kTaxRatePositions) return std::nullopt;
  return RateChoice{static_cast<int>(*position - 1), 'T'};
}

Cents& rate_total(State& state, const Item& item) {
  auto choice = parse_rate(item.rate_code);
  if (choice && choice->position >= 0) return state.rates[static_cast<std::size_t>(choice->position)].day_total;
  char kind = choice ? choice->kind : 'N';
  return kind == 'F' ? state.day.substitution : kind == 'I' ? state.day.exempt : state.day.not_taxed;
}

std::string rate_label(const State& state, const Item& item) {
  auto choice = parse_rate(item.rate_code);
  if (!choice || choice->position < 0) return std::string(1, choice ? choice->kind : 'N') + "1";
  const auto& rate = state.rates[static_cast<std::size_t>(choice->position)];
  return digits(choice->position + 1, 2) + (rate.iss ? "S" : "T") + digits(rate.basis_points, 4);
}

// The tax a taxed rate adds to an item's value: value × rate, cut to the cent,
// as a printer truncates its item figures.
Cents item_tax(Cents value, int basis_points) { return multiply_divide(value, basis_points, 10000).value_or(0); }

mfd::Item mfd_item(const State& state, const Item& item) {
  mfd::Item out;
  out.number = item.number;
  out.code = item.code;
  out.description = item.description;
  out.quantity = item.quantity;
  out.unit = item.unit;
  out.unit_price = item.unit_price;
  out.discount = item.discount;
  out.surcharge = item.surcharge;
  out.total = item.total;
  out.tax_code = rate_label(state, item);
  out.cancelled = item.cancelled;
  return out;
}

}  // namespace

mfd::Document Printer::document_now(mfd::DocumentKind kind) const {
  mfd::Document doc;
  doc.kind = kind;
  doc.coo = state_.coo;
  doc.ccf = state_.ccf;
  doc.gnf = state_.gnf;
  doc.grg = state_.grg;
  doc.cdc = state_.cdc;
  doc.crz = state_.crz + 1;
  CivilTime t = from_seconds(now());
  doc.date = {t.year, t.month, t.day};
  doc.time = {t.hour, t.minute, t.second};
  return doc;
}

int Printer::open_coupon(const char* id, const char* name, const char* address) {
  if (state_.document != Document::None) return not_executed();
  if (day_blocked() || !can_print()) return kOk;
  start_day_if_needed();
  Coupon coupon;
  coupon.coo = next_coo();
  coupon.ccf = ++state_.ccf;
  coupon.buyer_id = trim(id ? id : "").substr(0, 29);
  coupon.buyer_name = trim(name ? name : "").substr(0, 30);
  coupon.buyer_address = trim(address ? address : "").substr(0, 79);
  state_.coupon = coupon;
  state_.document = Document::Coupon;
  auto lines = header("CCF:" + digits(coupon.ccf, 6) + " COO:" + digits(coupon.coo, 6));
  if (!coupon.buyer_id.empty()) lines.push_back(left("CPF/CNPJ consumidor: " + coupon.buyer_id, 48));
  if (!coupon.buyer_name.empty()) lines.push_back(left("NOME: " + coupon.buyer_name, 48));
  if (!coupon.buyer_address.empty()) lines.push_back(left(platform::L1("ENDEREÇO: ") + coupon.buyer_address, 48));
  lines.push_back(centred("CUPOM FISCAL"));
  lines.push_back(left(platform::L1("ITEM CÓDIGO DESCRIÇÃO"), 48));
  lines.push_back(left("QTD.UN.VL UNIT(R$) ST VL ITEM(R$)", 48));
  lines.push_back(std::string(48, '-'));
  print(lines);
  return kOk;
}

int Printer::sell_item(const char* code, const char* description, const char* rate, const char* price,
                       const char* quantity, const char* surcharge, const char* discount, const char* unit) {
  if (!code || !description || !rate || !price || !quantity) return kInvalidParameter;
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon || coupon.phase != CouponPhase::Items) return not_executed();
  auto unit_price = parse_decimal(price, 3);
  auto amount = parse_decimal(quantity, 3);
  auto item_discount = discount && trim(discount).size() ? parse_scaled_digits(discount) : std::optional<std::int64_t>(0);
  auto item_surcharge = surcharge && trim(surcharge).size() ? parse_scaled_digits(surcharge) : std::optional<std::int64_t>(0);
  if (!unit_price || !amount || !item_discount || !item_surcharge || *unit_price <= 0 || *amount <= 0 ||
      *unit_price > kLargestUnitPrice || *amount > kLargestQuantity)
    return kInvalidParameter;
  std::string label = trim(coupon.next_description.empty() ? std::string(description) : coupon.next_description);
  if (label.empty() && trim(code).empty()) return kInvalidParameter;
  auto choice = parse_rate(rate);
  if (!choice || (choice->position >= 0 && state_.rates[static_cast<std::size_t>(choice->position)].basis_points == 0)) {
    refuse(0, kRateNotProgrammedBit);
    return kRateNotProgrammed;
  }
  const auto product = multiply_divide(*unit_price, *amount, 10000);  // cents, cut
  if (!product || *product > kLargestItem) return kInvalidParameter;
  Item item;
  item.number = static_cast<int>(coupon.items.size()) + 1;
  item.code = trim(code).substr(0, 14);
  item.description = label.substr(0, 200);
  item.rate_code = upper(trim(rate));
  item.unit = trim(unit ? unit : "").substr(0, 2);
  item.unit_price = *unit_price;
  item.quantity = *amount;
  item.discount = *item_discount;
  item.surcharge = *item_surcharge;
  const Cents value = *product;
  if (item.discount >= value + item.surcharge) return not_executed();
  if (!can_print()) return kOk;
  // A rate position (ICMS or ISS) adds its tax on the item's net value; F, I and N add none.
  const TaxRate* taxed = choice->position >= 0 ? &state_.rates[static_cast<std::size_t>(choice->position)] : nullptr;
  const Cents net = value - item.discount + item.surcharge;
  const Cents tax = taxed ? item_tax(net, taxed->basis_points) : 0;
  item.total = net + tax;
  coupon.items.push_back(item);
  coupon.next_description.clear();
  state_.day.gross += value + tax;
  state_.day.discounts += item.discount;
  state_.day.surcharges += item.surcharge;
  state_.grand_total += value + tax;
  rate_total(state_, item) += item.total;
  changed();
  std::vector<std::string> lines{left(digits(item.number, 3) + " " + item.code + " " + item.description, 48)};
  std::string amounts = quantity_text(item.quantity) + (item.unit.empty() ? "" : item.unit) + " X " +
                        money_text((item.unit_price + 5) / 10);
  lines.push_back(columns("    " + amounts + " " + rate_label(state_, item), money_text(value)));
  if (item.discount > 0) lines.push_back(columns("    desconto sobre item", "-" + money_text(item.discount)));
  if (item.surcharge > 0) lines.push_back(columns(platform::L1("    acréscimo sobre item"), "+" + money_text(item.surcharge)));
  if (taxed) lines.push_back(columns("    imposto " + money_text(taxed->basis_points) + "%", money_text(tax)));
  print(lines);
  if (state_.faults.paper_items_left > 0 && --state_.faults.paper_items_left == 0) state_.faults.paper = 2;
  return kOk;
}

int Printer::extend_description(const char* text) {
  if (!text) return kInvalidParameter;
  if (state_.document != Document::Coupon || state_.coupon.phase != CouponPhase::Items) return not_executed();
  state_.coupon.next_description = std::string(text).substr(0, 200);
  changed();
  return kOk;
}

namespace {
void undo_item(State& state, Item& item) {
  item.cancelled = true;
  state.day.cancellations += item.total;
  rate_total(state, item) -= item.total;
}
}  // namespace

int Printer::cancel_item(const char* number) {
  if (!number) return kInvalidParameter;
  auto index = parse_integer(number);
  if (!index) return kInvalidParameter;
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon || coupon.phase != CouponPhase::Items) return not_executed();
  if (*index < 1 || *index > static_cast<long long>(coupon.items.size()) ||
      coupon.items[static_cast<std::size_t>(*index - 1)].cancelled)
    return refuse(0, kCancelNotAllowed);
  if (!can_print()) return kOk;
  Item& item = coupon.items[static_cast<std::size_t>(*index - 1)];
  undo_item(state_, item);
  changed();
  print({columns("CANCELAMENTO ITEM " + digits(item.number, 3), "-" + money_text(item.total))});
  return kOk;
}

int Printer::cancel_last_item() {
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon || coupon.phase != CouponPhase::Items) return not_executed();
  if (coupon.items.empty() || coupon.items.back().cancelled) return refuse(0, kCancelNotAllowed);
  return cancel_item(platform::to_text(coupon.items.back().number).c_str());
}

int Printer::cancel_coupon() {
  State& s = state_;
  const bool open = s.document == Document::Coupon;
  if (!open && s.document != Document::None) return not_executed();
  if (!open && (!s.last_coupon_cancellable || day_blocked())) return refuse(0, kCancelNotAllowed);
  if (!can_print()) return kOk;
  Coupon coupon = open ? s.coupon : s.last_coupon;
  // The coupon's figures as sold, before its items are undone.
  const Cents subtotal = coupon.subtotal(), to_pay = coupon.to_pay(), change = coupon.paid() - to_pay;
  for (auto& item : coupon.items)
    if (!item.cancelled) undo_item(s, item);
  s.day.discounts -= coupon.discount;
  s.day.surcharges -= coupon.surcharge;
  for (std::size_t i = 0; i < coupon.payments.size(); ++i) {
    auto& form = s.forms[static_cast<std::size_t>(coupon.payments[i].form)];
    form.day_total -= coupon.payments[i].amount - (i + 1 == coupon.payments.size() && change > 0 ? change : 0);
  }
  ++s.cancelled_coupons;
  std::vector<std::string> lines;
  if (open) {
    lines = {centred("CUPOM FISCAL CANCELADO"), columns("TOTAL R$", money_text(to_pay))};
  } else {
    lines = header("COO:" + digits(next_coo(), 6));
    lines.push_back(centred("CUPOM FISCAL CANCELADO"));
    lines.push_back(columns("COO DO CUPOM CANCELADO:", digits(coupon.coo, 6)));
    lines.push_back(columns("VALOR DA OPERACAO CANCELADA R$", money_text(to_pay)));
  }
  auto end = footer();
  lines.insert(lines.end(), end.begin(), end.end());
  print(lines);
  cut();
  mfd::Document doc = document_now(open ? mfd::DocumentKind::FiscalCoupon : mfd::DocumentKind::Cancellation);
  doc.cancelled = true;
  if (open) {
    doc.coo = coupon.coo;
    doc.ccf = coupon.ccf;
    for (const auto& item : coupon.items) doc.items.push_back(mfd_item(s, item));
  } else {
    doc.cancelled_coo = coupon.coo;
  }
  doc.subtotal = subtotal;
  doc.total = to_pay;
  record(doc);
  s.document = Document::None;
  s.coupon = Coupon{};
  s.last_coupon_cancellable = false;
  changed();
  return kOk;
}

int Printer::start_closing(const char* kind, const char* mode, const char* value) {
  if (!kind || !mode || !value) return kInvalidParameter;
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon || coupon.phase != CouponPhase::Items) return not_executed();
  std::string k = upper(trim(kind)), m = trim(mode);
  auto number = parse_decimal(value, 2);
  if ((k != "A" && k != "D") || (m != "$" && m != "%") || !number || *number < 0) return kInvalidParameter;
  const Cents subtotal = coupon.subtotal();
  if (subtotal <= 0) return not_executed();  // nothing sold (or everything cancelled)
  Cents amount = m == "$" ? *number : multiply_divide(subtotal, *number, 10000).value_or(INT64_MAX);
  if (k == "D" && amount >= subtotal) return not_executed();
  if (!can_print()) return kOk;
  (k == "D" ? coupon.discount : coupon.surcharge) = amount;
  (k == "D" ? state_.day.discounts : state_.day.surcharges) += amount;
  coupon.phase = CouponPhase::Totalizing;
  changed();
  std::vector<std::string> lines{columns("SUBTOTAL R$", money_text(subtotal))};
  if (amount > 0)
    lines.push_back(k == "D" ? columns("DESCONTO R$", "-" + money_text(amount))
                             : columns(platform::L1("ACRÉSCIMO R$"), "+" + money_text(amount)));
  lines.push_back(columns("TOTAL R$", money_text(coupon.to_pay())));
  print(lines);
  return kOk;
}

int Printer::pay(const char* form_text, const char* value) {
  if (!form_text || !value) return kInvalidParameter;
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon ||
      (coupon.phase != CouponPhase::Totalizing && coupon.phase != CouponPhase::Paying))
    return not_executed();
  int form = find_form(form_text);
  if (form < 0) return kFormNotProgrammed;
  auto amount = parse_decimal(value, 2);
  if (!amount || *amount <= 0 || *amount > kLargestItem) return kInvalidParameter;
  if (!can_print()) return kOk;
  coupon.payments.push_back({form, *amount});
  state_.forms[static_cast<std::size_t>(form)].day_total += *amount;
  coupon.phase = coupon.paid() >= coupon.to_pay() ? CouponPhase::Paid : CouponPhase::Paying;
  changed();
  std::vector<std::string> lines{columns(state_.forms[static_cast<std::size_t>(form)].name, money_text(*amount))};
  if (coupon.phase == CouponPhase::Paid && coupon.paid() > coupon.to_pay()) {
    Cents change = coupon.paid() - coupon.to_pay();
    state_.forms[static_cast<std::size_t>(form)].day_total -= change;  // the change leaves the till in this form
    lines.push_back(columns("TROCO R$", money_text(change)));
  }
  print(lines);
  return kOk;
}

int Printer::finish_coupon(const char* message) {
  Coupon& coupon = state_.coupon;
  if (state_.document != Document::Coupon || coupon.phase != CouponPhase::Paid) return not_executed();
  if (!can_print()) return kOk;
  std::vector<std::string> lines{std::string(48, '-')};
  for (const auto& line : printed_lines(message ? message : "")) lines.push_back(line);
  auto end = footer();
  lines.insert(lines.end(), end.begin(), end.end());
  print(lines);
  cut();
  for (auto& form : state_.forms) form.last_document = 0;
  for (const auto& payment : coupon.payments) state_.forms[static_cast<std::size_t>(payment.form)].last_document += payment.amount;
  mfd::Document doc = document_now(mfd::DocumentKind::FiscalCoupon);
  doc.coo = coupon.coo;
  doc.ccf = coupon.ccf;
  doc.subtotal = coupon.subtotal();
  doc.discount = coupon.discount;
  doc.surcharge = coupon.surcharge;
  doc.total = coupon.to_pay();
  doc.customer_id = coupon.buyer_id;
  doc.customer_name = coupon.buyer_name;
  for (const auto& item : coupon.items) doc.items.push_back(mfd_item(state_, item));
  for (const auto& payment : coupon.payments)
    doc.payments.push_back({state_.forms[static_cast<std::size_t>(payment.form)].name, payment.amount, 0});
  doc.lines = printed_lines(message ? message : "");
  record(doc);
  state_.last_coupon = coupon;
  state_.last_coupon_coo = coupon.coo;
  state_.last_coupon_cancellable = true;
  state_.coupon = Coupon{};
  state_.document = Document::None;
  changed();
  return kOk;
}

}  // namespace emu
