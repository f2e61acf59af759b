// The raw command channel: frames ESC "|" code {"|" parameter} "|" ESC, the
// status read that follows them and the variables the last command left.
#include <map>

#include "printer.h"

namespace emu {
namespace {

constexpr char kEsc = 27;

// The frame's code ("27", "80|48", ...) and parameters; false when malformed.
bool split_frame(const std::string& frame, std::string& code, std::vector<std::string>& params) {
  if (frame.size() < 5 || frame[0] != kEsc || frame[1] != '|' || frame[frame.size() - 2] != '|' ||
      frame.back() != kEsc)
    return false;
  std::string inside = frame.substr(2, frame.size() - 4);
  std::vector<std::string> tokens;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= inside.size(); ++i) {
    if (i == inside.size() || inside[i] == '|') {
      tokens.push_back(inside.substr(start, i - start));
      start = i + 1;
    }
  }
  if (tokens.empty() || tokens[0].empty()) return false;
  std::size_t used = 1;
  code = tokens[0];
  if (code == "80" && tokens.size() > 1) code += "|" + tokens[used++];
  params.assign(tokens.begin() + static_cast<std::ptrdiff_t>(used), tokens.end());
  return true;
}

}  // namespace

int Printer::send_frame(const char* frame) {
  if (!frame) return kInvalidParameter;
  std::string code;
  std::vector<std::string> params;
  if (!split_frame(frame, code, params)) {
    refuse(kSyntaxError, 0);
    return 0;  // the bytes went out; the printer answers with a syntax error
  }
  int result = restaurant_command(code, params);
  // The wire has no result codes: a refusal shows in the status bytes only.
  if (result == kInvalidParameter) refuse(0, kWrongParameterType);
  if (result == kRateNotProgrammed) refuse(0, kRateNotProgrammedBit);
  if (result == kFormNotProgrammed || result == kTotalizerNotProgrammed) refuse(0, kNotExecuted);
  return 0;
}

int Printer::restaurant_command(const std::string& code, const std::vector<std::string>& p) {
  if (code.rfind("80|", 0) == 0) return table_command(code, p);
  auto needs = [&](std::size_t count) { return p.size() == count; };
  State& s = state_;

  if (code == "19") return kOk;  // status request
  if (code == "00") return open_coupon(p.empty() ? "" : p[0].c_str(), "", "");
  if (code == "14") return cancel_coupon();
  if (code == "10") {
    if (!needs(2)) return refuse(kParameterCount, 0);
    return non_fiscal_receipt(p[0].c_str(), p[1].c_str(), "01");
  }
  if (code == "66") {
    if (!needs(1)) return refuse(kParameterCount, 0);
    return open_linked_receipt(p[0].c_str(), "0", "");
  }
  if (code == "27") {
    s.last_reply = digits(s.day.gross, 14) + digits(s.day.cancellations, 14) + digits(s.day.discounts, 14) +
                   digits(s.day.surcharges, 14) + digits(s.day.net(), 14) + digits(s.grand_total, 18);
    changed();
    return kOk;
  }
  if (code == "35") {
    if (!needs(1)) return refuse(kParameterCount, 0);
    auto variable = parse_integer(p[0]);
    if (!variable) return kInvalidParameter;
    int flags = 0;
    fiscal_flags(&flags);
    int doc = static_cast<int>(s.document);
    const std::map<long long, std::string> values{
        {0, s.identity.serial}, {1, s.identity.firmware}, {2, s.identity.cnpj}, {3, s.identity.ie},
        {14, digits(s.coo, 6)}, {15, digits(s.gnf, 6)},  {16, digits(s.crz, 4)},  {17, digits(s.cro, 4)},
        {18, digits(s.ccf, 6)}, {19, digits(s.grg, 6)},  {23, digits(doc, 2)},    {27, s.movement_date},
        {29, digits(flags, 2)}};
    auto found = values.find(*variable);
    if (found == values.end()) return refuse(kUnknownCommand, 0);
    s.last_reply = found->second;
    changed();
    return kOk;
  }
  if (code == "74") {  // payment reversal in the last coupon
    if (!needs(3)) return refuse(kParameterCount, 0);
    int from = find_form(p[0]), to = find_form(p[1]);
    auto amount = parse_scaled_digits(p[2]);
    if (from < 0 || to < 0) return kFormNotProgrammed;
    if (!amount || *amount <= 0) return kInvalidParameter;
    auto& origin = s.forms[static_cast<std::size_t>(from)];
    if (s.document != Document::None || !s.last_coupon_cancellable || origin.last_document < *amount)
      return not_executed();
    if (!can_print()) return kOk;
    origin.day_total -= *amount;
    origin.last_document -= *amount;
    s.forms[static_cast<std::size_t>(to)].day_total += *amount;
    s.forms[static_cast<std::size_t>(to)].last_document += *amount;
    const int coupon = s.last_coupon_coo;
    auto lines = non_fiscal_header();
    lines.push_back(centred("ESTORNO DE MEIO DE PAGAMENTO"));
    lines.push_back(columns("COO do cupom:", digits(coupon, 6)));
    lines.push_back(columns(origin.name + " -> " + s.forms[static_cast<std::size_t>(to)].name, money_text(*amount)));
    mfd::Document doc = document_now(mfd::DocumentKind::NonFiscalReceipt);
    doc.title = "ESTORNO DE MEIO DE PAGAMENTO";
    doc.payments.push_back({origin.name, 0, *amount});
    doc.payments.push_back({s.forms[static_cast<std::size_t>(to)].name, *amount, 0});
    issue(lines, doc);
    return kOk;
  }
  return refuse(kUnknownCommand, 0);
}

int Printer::raw_status(int* ret, int* ack, int* st1, int* st2) {
  if (!ret || !ack || !st1 || !st2) return kInvalidParameter;
  *ret = kOk;
  *ack = last_status_.ack;
  *st1 = last_status_.st1;
  *st2 = last_status_.st2;
  return kOk;
}

int Printer::read_variables(char* buffer) { return write_value(buffer, state_.last_reply, 3000); }

}  // namespace emu
