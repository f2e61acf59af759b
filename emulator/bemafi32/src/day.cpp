// The fiscal day: X reading, Z reduction, fiscal memory readings,
// daylight-saving time.
#include "clock.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "printer.h"

namespace emu {

int Printer::x_reading(bool to_paper) {
  if (!to_paper) {
    // A reading of another layout, handed by the tester as a file, is returned as it stands.
    if (!state_.faults.x_reading_file.empty())
      platform::write_file_atomic(return_file_path(), platform::read_file(state_.faults.x_reading_file));
    else
      write_return_file(x_reading_lines());
    return kOk;
  }
  if (state_.document != Document::None) return not_executed();
  if (!can_print()) return kOk;
  auto lines = non_fiscal_header();
  auto body = x_reading_lines();
  lines.insert(lines.end(), body.begin(), body.end());
  mfd::Document doc = document_now(mfd::DocumentKind::XReading);
  doc.title = "LECTURA X";
  issue(lines, doc);
  return kOk;
}

int Printer::z_reduction(const char* date, const char* time) {
  std::string d = trim(date ? date : ""), t = trim(time ? time : "");
  if ((!d.empty() && !parse_clock_text(d)) || (!t.empty() && !parse_clock_text("01012000" + t)))
    return kInvalidParameter;
  State& s = state_;
  const std::int64_t today = day_number(now());
  if (s.movement_date == "000000" && !s.z_date.empty()) {
    auto closed = parse_short_date(s.z_date);
    if (closed && day_number(*closed) >= today) return not_executed();  // this day is reduced already
  }
  if (!can_print()) return kOk;
  // A reduction ends whatever document was left open, as the printer does.
  if (s.document == Document::Coupon) cancel_coupon();
  if (s.document != Document::None) close_report();
  Reduction z;
  z.crz = ++s.crz;
  z.cro = s.cro;
  z.coo = next_coo();
  z.movement_date = s.movement_date == "000000" ? ddmmyy(now()) : s.movement_date;
  z.made_at = now();
  z.grand_total = s.grand_total;
  z.totals = s.day;
  for (const auto& rate : s.rates) z.rate_totals.push_back(rate.day_total);
  auto lines = header("CRZ:" + digits(z.crz, 4) + " COO:" + digits(z.coo, 6));
  lines.push_back(centred(platform::L1("REDUCCIÓN Z")));
  auto body = x_reading_lines();
  lines.insert(lines.end(), body.begin() + 1, body.end());
  mfd::Document doc = document_now(mfd::DocumentKind::ZReduction);
  doc.crz = z.crz;
  mfd::Reduction r;
  r.crz = z.crz;
  r.cro = z.cro;
  r.coo = z.coo;
  auto movement = from_seconds(*parse_short_date(z.movement_date));
  r.movement_date = {movement.year, movement.month, movement.day};
  r.grand_total = z.grand_total;
  r.gross_sales = z.totals.gross;
  r.cancellations = z.totals.cancellations;
  r.discounts = z.totals.discounts;
  r.surcharges = z.totals.surcharges;
  for (std::size_t i = 0; i < s.rates.size(); ++i)
    if (s.rates[i].basis_points)
      r.totalizers.push_back({digits(static_cast<std::int64_t>(i) + 1, 2) + (s.rates[i].iss ? "S" : "T") +
                                  digits(s.rates[i].basis_points, 4),
                              s.rates[i].day_total});
  r.totalizers.push_back({"F1", s.day.substitution});
  r.totalizers.push_back({"I1", s.day.exempt});
  r.totalizers.push_back({"N1", s.day.not_taxed});
  doc.reduction = r;
  issue(lines, doc);
  s.fiscal_memory.push_back(z);
  // The day is closed: its totals go to the fiscal memory and start again.
  s.day = DayTotals{};
  for (auto& rate : s.rates) rate.day_total = 0;
  for (auto& form : s.forms) form.day_total = form.last_document = 0;
  for (auto& totalizer : s.totalizers) totalizer.day_total = totalizer.day_count = 0;
  s.z_date = z.movement_date;
  s.movement_date = "000000";
  s.day_first_coo = 0;
  s.last_coupon_cancellable = false;
  changed();
  return kOk;
}

int Printer::memory_reading(const char* start, const char* end, bool by_date, bool to_file, const char* form) {
  if (!start || !end) return kInvalidParameter;
  std::int64_t low = 0, high = 0;
  if (by_date) {
    auto a = range_date(start), b = range_date(end);
    if (!a || !b) return kInvalidParameter;
    low = day_number(*a), high = day_number(*b);
  } else {
    auto a = parse_integer(start), b = parse_integer(end);
    if (!a || !b) return kInvalidParameter;
    low = *a, high = *b;
  }
  if (low > high) return kInvalidParameter;
  const bool complete = !form || upper(trim(form)) != "S";
  std::vector<std::string> lines{centred(platform::L1("LEITURA DA MEMÓRIA FISCAL")),
                                 centred(complete ? "COMPLETA" : "SIMPLIFICADA"),
                                 columns("Intervalo:", trim(start) + " a " + trim(end)), std::string(48, '-')};
  Cents gross = 0;
  for (const auto& z : state_.fiscal_memory) {
    auto movement = parse_short_date(z.movement_date);
    std::int64_t key = by_date ? (movement ? day_number(*movement) : -1) : z.crz;
    if (key < low || key > high) continue;
    gross += z.totals.gross;
    if (!complete) continue;
    lines.push_back(columns("CRZ:" + digits(z.crz, 4) + " COO:" + digits(z.coo, 6) + " CRO:" + digits(z.cro, 4),
                            "DATA:" + z.movement_date));
    lines.push_back(columns("  Venda bruta", money_text(z.totals.gross)));
    lines.push_back(columns("  Cancelamentos", money_text(z.totals.cancellations)));
    lines.push_back(columns("  Descontos", money_text(z.totals.discounts)));
    lines.push_back(columns("  GT", money_text(z.grand_total)));
  }
  lines.push_back(std::string(48, '-'));
  lines.push_back(columns(platform::L1("TOTAL VENDA BRUTA NO PERÍODO"), money_text(gross)));
  if (to_file) {
    write_return_file(lines);
    return kOk;
  }
  if (state_.document != Document::None) return not_executed();
  if (!can_print()) return kOk;
  auto paper = non_fiscal_header();
  paper.insert(paper.end(), lines.begin(), lines.end());
  mfd::Document doc = document_now(mfd::DocumentKind::ManagementReport);
  doc.title = platform::L1("LEITURA DA MEMÓRIA FISCAL");
  doc.lines = lines;
  issue(paper, doc);
  return kOk;
}

int Printer::toggle_daylight_saving() {
  // Only between days: after a reduction and before the first document.
  if (state_.document != Document::None || state_.movement_date != "000000") return not_executed();
  state_.daylight_saving = !state_.daylight_saving;
  changed();
  return kOk;
}

int Printer::summary_map() {
  if (state_.document != Document::None) return not_executed();
  if (!can_print()) return kOk;
  auto lines = header("COO:" + digits(state_.coo, 6));
  lines.push_back(centred("MAPA RESUMO"));
  auto body = x_reading_lines();
  lines.insert(lines.end(), body.begin() + 1, body.end());
  print(lines);
  cut();
  return kOk;
}

std::string Printer::last_reduction_data() const {
  if (state_.fiscal_memory.empty()) return std::string(102, '0');
  const Reduction& z = state_.fiscal_memory.back();
  return digits(z.crz, 4) + "," + digits(z.coo, 6) + "," + digits(z.cro, 4) + "," + z.movement_date + "," +
         digits(z.grand_total, 18) + "," + digits(z.totals.gross, 14) + "," + digits(z.totals.cancellations, 14) + "," +
         digits(z.totals.discounts, 14) + "," + digits(z.totals.surcharges, 14);
}

}  // namespace emu
