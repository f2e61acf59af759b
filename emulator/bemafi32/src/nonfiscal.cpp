// Non-fiscal documents: receipts, linked receipts (credit or debit slips),
// management reports, withdrawals and supplies, cut and bar codes.
#include "platform/latin1.h"
#include "printer.h"

namespace emu {
namespace {

// Receipt amounts come as "12,34" / "12.34" or as plain cents digits ("00000000001234").
std::optional<Cents> parse_money(const char* text) {
  if (!text) return std::nullopt;
  std::string value = trim(text);
  if (value.find_first_of(",.") != std::string::npos || (!value.empty() && value[0] == '-'))
    return parse_decimal(value, 2);
  return parse_scaled_digits(value);
}

}  // namespace

int Printer::non_fiscal_receipt(const char* totalizer, const char* value, const char* form_text) {
  if (!totalizer || !value || !form_text) return kInvalidParameter;
  auto amount = parse_money(value);
  if (!amount || *amount <= 0) return kInvalidParameter;
  if (state_.document != Document::None) return not_executed();
  int index = find_totalizer(totalizer);
  if (index < 0) return kTotalizerNotProgrammed;
  int form = find_form(form_text);
  if (form < 0) return kFormNotProgrammed;
  if (day_blocked() || !can_print()) return kOk;
  start_day_if_needed();
  auto lines = non_fiscal_header();
  const int coo = state_.coo;
  auto& total = state_.totalizers[static_cast<std::size_t>(index)];
  total.day_total += *amount;
  ++total.day_count;
  state_.day.non_fiscal += *amount;
  for (auto& f : state_.forms) f.last_document = 0;
  state_.forms[static_cast<std::size_t>(form)].day_total += *amount;
  state_.forms[static_cast<std::size_t>(form)].last_document = *amount;
  state_.last_receipt_coo = coo;
  lines.push_back(centred(platform::L1("COMPROVANTE NÃO FISCAL")));
  lines.push_back(columns(digits(index + 1, 2) + " " + total.name, money_text(*amount)));
  lines.push_back(columns("TOTAL R$", money_text(*amount)));
  lines.push_back(columns(state_.forms[static_cast<std::size_t>(form)].name, money_text(*amount)));
  mfd::Document doc = document_now(mfd::DocumentKind::NonFiscalReceipt);
  doc.title = total.name;
  doc.total = *amount;
  doc.payments.push_back({state_.forms[static_cast<std::size_t>(form)].name, *amount, 0});
  issue(lines, doc);
  return kOk;
}

int Printer::open_linked_receipt(const char* form_text, const char* value, const char* coo_text) {
  if (!form_text || !value || !coo_text) return kInvalidParameter;
  if (state_.document != Document::None) return not_executed();
  int form = find_form(form_text);
  if (form < 0) return kFormNotProgrammed;
  auto amount = parse_money(value);
  if (!amount || *amount < 0) return kInvalidParameter;
  const int last = std::max(state_.last_coupon_coo, state_.last_receipt_coo);
  std::string coo_value = trim(coo_text);
  auto coo = coo_value.empty() ? std::optional<long long>(last) : parse_integer(coo_value);
  if (!coo) return kInvalidParameter;
  // A slip belongs to a payment of the last coupon or receipt.
  if (last == 0 || *coo != last || state_.forms[static_cast<std::size_t>(form)].last_document <= 0)
    return not_executed();
  if (day_blocked() || !can_print()) return kOk;
  auto lines = non_fiscal_header();
  ++state_.cdc;
  state_.document = Document::LinkedReceipt;
  state_.linked_form = state_.forms[static_cast<std::size_t>(form)].name;
  state_.document_lines.clear();
  lines.push_back(centred(platform::L1("COMPROVANTE CRÉDITO OU DÉBITO")));
  lines.push_back(columns("COO do documento vinculado:", digits(*coo, 6)));
  lines.push_back(columns(state_.linked_form, money_text(*amount)));
  lines.push_back(std::string(48, '-'));
  print(lines);
  changed();
  return kOk;
}

int Printer::print_text(const char* text) {
  if (!text) return kInvalidParameter;
  if (state_.document != Document::LinkedReceipt && state_.document != Document::ManagementReport &&
      state_.document != Document::BillCheck)
    return not_executed();
  if (!can_print()) return kOk;
  auto lines = printed_lines(text);
  state_.document_lines.insert(state_.document_lines.end(), lines.begin(), lines.end());
  print(lines);
  changed();
  return kOk;
}

int Printer::report_text(const char* text) {
  if (!text) return kInvalidParameter;
  if (state_.document == Document::None) {
    if (day_blocked() || !can_print()) return kOk;
    start_day_if_needed();
    int coo = next_coo();
    ++state_.gnf;
    ++state_.grg;
    state_.document = Document::ManagementReport;
    state_.document_lines.clear();
    auto lines = header("GRG:" + digits(state_.grg, 6) + " COO:" + digits(coo, 6));
    lines.push_back(centred(platform::L1("RELATÓRIO GERENCIAL")));
    print(lines);
  } else if (state_.document != Document::ManagementReport) {
    return not_executed();
  }
  return print_text(text);
}

namespace {
mfd::DocumentKind kind_of(Document document) {
  return document == Document::LinkedReceipt ? mfd::DocumentKind::CreditDebitSlip
                                             : mfd::DocumentKind::ManagementReport;
}
}  // namespace

int Printer::close_linked_receipt() {
  if (state_.document != Document::LinkedReceipt) return not_executed();
  return close_report();
}

int Printer::close_report() {
  const Document open = state_.document;
  if (open != Document::ManagementReport && open != Document::LinkedReceipt && open != Document::BillCheck)
    return not_executed();
  if (!can_print()) return kOk;
  print(footer());
  cut();
  mfd::Document doc = document_now(kind_of(open));
  doc.title = open == Document::LinkedReceipt ? state_.linked_form
              : open == Document::BillCheck    ? "CONFERENCIA DE MESA " + state_.bill_table
                                               : platform::L1("RELATÓRIO GERENCIAL");
  doc.lines = state_.document_lines;
  record(doc);
  state_.document = Document::None;
  state_.document_lines.clear();
  state_.linked_form.clear();
  state_.bill_table.clear();
  changed();
  return kOk;
}

namespace {
struct CashMove {
  const char* title;
  bool out;
};
}  // namespace

static int cash_move(Printer& p, const char* value, int form, CashMove move) {
  State& s = p.state();
  auto amount = parse_money(value);
  if (!amount || *amount <= 0) return kInvalidParameter;
  if (s.document != Document::None) return p.not_executed();
  if (p.day_blocked() || !p.can_print()) return kOk;
  p.start_day_if_needed();
  auto lines = p.non_fiscal_header();
  auto& f = s.forms[static_cast<std::size_t>(form)];
  f.day_total += move.out ? -*amount : *amount;
  (move.out ? s.day.withdrawals : s.day.supplies) += *amount;
  ++(move.out ? s.day.withdrawal_count : s.day.supply_count);
  lines.push_back(centred(platform::L1("COMPROVANTE NÃO FISCAL")));
  lines.push_back(columns(move.title, money_text(*amount)));
  lines.push_back(columns(f.name, money_text(*amount)));
  mfd::Document doc = p.document_now(mfd::DocumentKind::NonFiscalReceipt);
  doc.title = move.title;
  doc.total = *amount;
  doc.payments.push_back({f.name, *amount, 0});
  p.issue(lines, doc);
  return kOk;
}

int Printer::withdrawal(const char* value) {
  if (!value) return kInvalidParameter;
  return cash_move(*this, value, 0, {"SANGRIA", true});
}

int Printer::supply(const char* value, const char* form_text) {
  if (!value || !form_text) return kInvalidParameter;
  int form = find_form(form_text);
  if (form < 0) return kFormNotProgrammed;
  return cash_move(*this, value, form, {"SUPRIMENTO", false});
}

int Printer::cut_paper() {
  if (state_.document == Document::Coupon) return not_executed();
  cut();
  return kOk;
}

int Printer::barcode(const char* kind, const char* code) {
  if (!code || trim(code).empty()) return kInvalidParameter;
  if (state_.document != Document::ManagementReport && state_.document != Document::LinkedReceipt)
    return not_executed();
  std::string line = std::string("||||| ") + kind + " " + trim(code) + " |||||";
  return print_text(line.c_str());
}

int Printer::set_tef_mode(bool on) {
  state_.tef_mode = on;
  changed();
  return kOk;
}

}  // namespace emu
