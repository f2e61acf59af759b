// The restaurant tables kept in the printer's memory, driven through the raw
// channel: items by table, joins, transfers, bill checks, table coupons,
// the open-tables report and the menu.
#include <algorithm>
#include <cstdio>
#include <map>

#include "clock.h"
#include "platform/latin1.h"
#include "printer.h"
#include "platform/numbers.h"

namespace emu {
namespace {

// An amount sent as digits whose last `decimals` are the fraction.
std::optional<std::int64_t> scaled(const std::string& text) { return parse_scaled_digits(text); }

std::string table_name(const std::string& text) {
  std::string name = trim(text);
  return name.empty() ? "9999" : name;
}

// Parameters of items 80|48, 80|49: table, unit price (cents), flag,
// discount or surcharge (cents), quantity (thousandths), code, description, rate.
std::optional<TableItem> parse_table_item(const std::vector<std::string>& p, std::size_t first) {
  auto price = scaled(p[first + 1]);
  auto adjustment = scaled(p[first + 3]);
  auto quantity = scaled(p[first + 4]);
  if (!price || !adjustment || !quantity || *price <= 0 || *quantity <= 0) return std::nullopt;
  TableItem item;
  item.unit_price = *price;
  item.flag = trim(p[first + 2]);
  item.adjustment = *adjustment;
  item.quantity = *quantity;
  item.code = trim(p[first + 5]);
  item.description = trim(p[first + 6]).substr(0, 17);
  item.rate_code = trim(p[first + 7]);
  return item;
}

Cents item_total(const TableItem& item) {
  Cents total = multiply_divide(item.unit_price, item.quantity, 1000).value_or(INT64_MAX);
  return item.flag == "A" || item.flag == "a" ? total + item.adjustment : total - item.adjustment;
}

Cents table_total(const std::vector<TableItem>& items) {
  Cents sum = 0;
  for (const auto& item : items) sum += item_total(item);
  return sum;
}

std::string decimal_text(Cents cents, int decimals) {
  std::string d = digits(cents < 0 ? 0 : cents, decimals + 1);
  return d.substr(0, d.size() - static_cast<std::size_t>(decimals)) + "," + d.substr(d.size() - static_cast<std::size_t>(decimals));
}

}  // namespace

int Printer::table_command(const std::string& code, const std::vector<std::string>& p) {
  auto needs = [&](std::size_t count) { return p.size() == count; };
  State& s = state_;
  auto& tables = s.tables;

  if (code == "80|48" || code == "80|49") {
    if (!needs(8)) return refuse(kParameterCount, 0);
    auto item = parse_table_item(p, 0);
    if (!item) return kInvalidParameter;
    const std::string table = table_name(p[0]);
    if (code == "80|48") {
      int position = static_cast<int>(parse_integer(item->rate_code).value_or(0));
      bool fixed = item->rate_code == "FF" || item->rate_code == "II" || item->rate_code == "NN";
      if (!fixed && (position < 1 || position > kTaxRatePositions ||
                     s.rates[static_cast<std::size_t>(position - 1)].basis_points == 0))
        return kRateNotProgrammed;
      if (day_blocked()) return kOk;
      tables[table].push_back(*item);
    } else {
      auto found = tables.find(table);
      if (found == tables.end()) return refuse(0, kCancelNotAllowed);
      auto& items = found->second;
      auto match = std::find_if(items.begin(), items.end(), [&](const TableItem& x) {
        return trim(x.code) == trim(item->code) && x.unit_price == item->unit_price && x.quantity >= item->quantity;
      });
      if (match == items.end()) return refuse(0, kCancelNotAllowed);
      match->quantity -= item->quantity;
      if (match->quantity == 0) items.erase(match);
      if (items.empty()) tables.erase(found);
    }
    changed();
    return kOk;
  }
  if (code == "80|51") {  // join: every item of the origin table goes to the destination
    if (!needs(2)) return refuse(kParameterCount, 0);
    std::string from = table_name(p[0]), to = table_name(p[1]);
    auto found = tables.find(from);
    if (from == to || found == tables.end()) return not_executed();
    auto moved = std::move(found->second);
    tables.erase(found);
    auto& target = tables[to];
    target.insert(target.end(), moved.begin(), moved.end());
    changed();
    return kOk;
  }
  if (code == "80|53") {  // transfer part of one item
    if (!needs(9)) return refuse(kParameterCount, 0);
    auto item = parse_table_item(p, 0);
    if (!item) return kInvalidParameter;
    std::string from = table_name(p[0]), to = table_name(p[8]);
    auto found = tables.find(from);
    if (from == to || found == tables.end()) return not_executed();
    auto& items = found->second;
    auto match = std::find_if(items.begin(), items.end(), [&](const TableItem& x) {
      return trim(x.code) == trim(item->code) && x.quantity >= item->quantity;
    });
    if (match == items.end()) return not_executed();
    TableItem moved = *match;
    moved.quantity = item->quantity;
    match->quantity -= item->quantity;
    if (match->quantity == 0) items.erase(match);
    if (items.empty()) tables.erase(found);
    tables[to].push_back(moved);
    changed();
    return kOk;
  }
  if (code == "80|52") {  // fiscal coupon of a table
    if (!needs(2)) return refuse(kParameterCount, 0);
    auto found = tables.find(table_name(p[0]));
    if (found == tables.end()) return not_executed();
    std::vector<TableItem> items = found->second;
    int result = open_coupon(p[1].c_str(), "", "");
    if (result != kOk || s.document != Document::Coupon || (status_.st2 & kNotExecuted)) return result;
    for (const auto& item : items) {
      std::string price = decimal_text(item.unit_price * 10, 3), quantity = decimal_text(item.quantity, 3);
      std::string adjustment = digits(item.adjustment, 8);
      bool surcharge = item.flag == "A" || item.flag == "a";
      result = sell_item(item.code.c_str(), item.description.c_str(), item.rate_code.c_str(), price.c_str(),
                         quantity.c_str(), surcharge ? adjustment.c_str() : "0", surcharge ? "0" : adjustment.c_str(),
                         "UN");
      if (result != kOk || (status_.st2 & kNotExecuted)) return result;
    }
    tables.erase(table_name(p[0]));
    changed();
    return kOk;
  }
  if (code == "80|50") {  // bill check of a table
    if (p.size() < 3 || p.size() > 4) return refuse(kParameterCount, 0);
    auto found = tables.find(table_name(p[0]));
    if (s.document != Document::None || found == tables.end()) return not_executed();
    auto amount = scaled(p.back());
    if (!amount) return kInvalidParameter;
    const bool percent = p.size() == 3 && trim(p[2]).size() <= 4;
    const Cents total = table_total(found->second);
    const Cents service = percent ? multiply_divide(total, *amount, 10000).value_or(INT64_MAX) : *amount;
    if (day_blocked() || !can_print()) return kOk;
    start_day_if_needed();
    auto lines = non_fiscal_header();
    ++s.bill_checks;
    s.document = Document::BillCheck;
    s.bill_table = found->first;
    s.document_lines.clear();
    lines.push_back(centred(platform::L1("CONFERÊNCIA DE MESA")));
    lines.push_back(columns("MESA:", found->first));
    for (const auto& item : found->second)
      lines.push_back(columns(item.description + " " + quantity_text(item.quantity) + " X " + money_text(item.unit_price),
                              money_text(item_total(item))));
    lines.push_back(columns("SUBTOTAL R$", money_text(total)));
    if (service > 0) lines.push_back(columns(percent ? "SERVICO " + money_text(*amount) + "%" : "SERVICO", money_text(service)));
    lines.push_back(columns("TOTAL R$", money_text(total + service)));
    print(lines);
    s.document_lines = std::vector<std::string>(lines.begin() + 5, lines.end());
    changed();
    return kOk;
  }
  if (code == "80|58") {  // end of the bill check
    if (!needs(2)) return refuse(kParameterCount, 0);
    auto amount = scaled(p[1]);
    if (!amount) return kInvalidParameter;
    if (s.document != Document::BillCheck) return not_executed();
    if (*amount > 0) print_text(columns("VALOR " + trim(p[0]), money_text(*amount)).c_str());
    return close_report();
  }
  if (code == "80|54" || code == "80|55") {  // open tables report, menu
    if (code == "80|54" ? !needs(1) : !needs(0)) return refuse(kParameterCount, 0);
    if (s.document != Document::None) return not_executed();
    int result = report_text(code == "80|54" ? "MESAS ABERTAS" : platform::L1("CARDÁPIO").c_str());
    if (s.document != Document::ManagementReport) return result;
    std::map<std::string, TableItem> menu;
    for (const auto& [table, items] : tables) {
      if (code == "80|54")
        print_text(columns("MESA " + table + " (" + platform::to_text(items.size()) + " itens)",
                           money_text(table_total(items)))
                       .c_str());
      for (const auto& item : items) menu.emplace(item.code, item);
    }
    if (code == "80|55")
      for (const auto& [product, item] : menu)
        print_text(columns(product + " " + item.description, money_text(item.unit_price)).c_str());
    if (tables.empty()) print_text("(nenhuma mesa aberta)");
    return close_report();
  }
  return refuse(kUnknownCommand, 0);
}

}  // namespace emu
