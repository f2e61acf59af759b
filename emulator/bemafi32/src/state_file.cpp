#include "state_file.h"

#include <cstdio>
#include <functional>
#include <limits>
#include <vector>
#include "platform/numbers.h"
#include "platform/text_builder.h"
#include "state_bounds.h"

namespace emu {
namespace {

constexpr std::string_view kFirstLine = "BemaFI32-estado=1";

std::uint64_t checksum(std::string_view text) {
  std::uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

std::string hex(std::uint64_t value) { return platform::hex_text(value, 16, false); }

std::string escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '|': out += "\\p"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    out += next == 'p' ? '|' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

std::int64_t to_number(const std::string& text, std::string_view what) {
  const auto value = platform::parse_integer(text);
  if (!value) throw DamagedStateFile("bad number in " + std::string(what) + ": " + text);
  return *value;
}

// The fields of one list record, written or read in the same order.
class RecordWriter {
 public:
  void operator()(const std::string& v) { add(escape(v)); }
  void operator()(bool v) { add(v ? "1" : "0"); }
  void operator()(int v) { add(platform::to_text(v)); }
  void operator()(std::int64_t v) { add(platform::to_text(v)); }
  void operator()(std::vector<Cents>& v) {
    std::string joined;
    for (std::size_t i = 0; i < v.size(); ++i) joined += (i ? "," : "") + platform::to_text(v[i]);
    add(joined);
  }
  template <class E>
    requires std::is_enum_v<E>
  void operator()(E& v) {
    add(platform::to_text(static_cast<int>(v)));
  }
  std::string text;

 private:
  void add(const std::string& field) { text += (first_ ? "" : "|") + field; first_ = false; }
  bool first_ = true;
};

class RecordReader {
 public:
  RecordReader(const std::string& record, std::string_view what) : fields_(split(record, '|')), what_(what) {}
  void operator()(std::string& v) { v = unescape(next()); }
  void operator()(bool& v) { v = next() == "1"; }
  void operator()(int& v) {
    const std::int64_t number = to_number(next(), what_);
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
      throw DamagedStateFile("number out of range in " + std::string(what_));
    v = static_cast<int>(number);
  }
  void operator()(std::int64_t& v) { v = to_number(next(), what_); }
  void operator()(std::vector<Cents>& v) {
    v.clear();
    std::string joined = next();
    if (joined.empty()) return;
    for (const auto& part : split(joined, ',')) v.push_back(to_number(part, what_));
  }
  template <class E>
    requires std::is_enum_v<E>
  void operator()(E& v) {
    v = static_cast<E>(to_number(next(), what_));
  }
  void finish() const {
    if (index_ != fields_.size()) throw DamagedStateFile("wrong field count in " + std::string(what_));
  }

 private:
  std::string next() {
    if (index_ >= fields_.size()) throw DamagedStateFile("missing field in " + std::string(what_));
    return fields_[index_++];
  }
  std::vector<std::string> fields_;
  std::size_t index_ = 0;
  std::string_view what_;
};

class Writer {
 public:
  template <class T>
  void value(const std::string& key, T& v) {
    RecordWriter record;
    record(v);
    out_ << key << '=' << record.text << '\n';
  }
  template <class T, class Fields>
  void list(const std::string& key, std::vector<T>& items, Fields fields) {
    out_ << key << ".count=" << items.size() << '\n';
    for (auto& item : items) {
      RecordWriter record;
      fields(record, item);
      out_ << key << '=' << record.text << '\n';
    }
  }
  std::string text() const { return out_.str(); }

 private:
  platform::TextBuilder out_;
};

class Reader {
 public:
  explicit Reader(std::string_view body) {
    for (const auto& line : split(body, '\n')) {
      if (line.empty()) continue;
      auto equal = line.find('=');
      if (equal == std::string::npos) throw DamagedStateFile("line without '=': " + line.substr(0, 40));
      std::string key = line.substr(0, equal);
      values_[key].push_back(line.substr(equal + 1));
    }
  }
  template <class T>
  void value(const std::string& key, T& v) {
    auto found = values_.find(key);
    if (found == values_.end()) return;  // written by an older version: keep the default
    RecordReader record(found->second.front(), key);
    record(v);
    record.finish();
  }
  template <class T, class Fields>
  void list(const std::string& key, std::vector<T>& items, Fields fields) {
    auto count = values_.find(key + ".count");
    if (count == values_.end()) return;
    auto found = values_.find(key);
    std::size_t expected = static_cast<std::size_t>(to_number(count->second.front(), key));
    std::size_t present = found == values_.end() ? 0 : found->second.size();
    if (expected != present) throw DamagedStateFile("wrong record count of " + key);
    items.assign(expected, T{});
    for (std::size_t i = 0; i < expected; ++i) {
      RecordReader record(found->second[i], key);
      fields(record, items[i]);
      record.finish();
    }
  }

 private:
  std::map<std::string, std::vector<std::string>> values_;
};

template <class F>
void totals_fields(F& f, DayTotals& d) {
  f(d.gross), f(d.cancellations), f(d.discounts), f(d.surcharges), f(d.substitution), f(d.exempt), f(d.not_taxed),
      f(d.non_fiscal), f(d.withdrawals), f(d.supplies), f(d.withdrawal_count), f(d.supply_count);
}

template <class Io>
void coupon_fields(Io& io, const std::string& prefix, Coupon& c) {
  io.value(prefix + ".coo", c.coo);
  io.value(prefix + ".ccf", c.ccf);
  io.value(prefix + ".buyer_id", c.buyer_id);
  io.value(prefix + ".buyer_name", c.buyer_name);
  io.value(prefix + ".buyer_address", c.buyer_address);
  io.value(prefix + ".phase", c.phase);
  io.value(prefix + ".discount", c.discount);
  io.value(prefix + ".surcharge", c.surcharge);
  io.value(prefix + ".next_description", c.next_description);
  io.list(prefix + ".item", c.items, [](auto& f, Item& i) {
    f(i.number), f(i.code), f(i.description), f(i.rate_code), f(i.unit), f(i.unit_price), f(i.quantity),
        f(i.discount), f(i.surcharge), f(i.total), f(i.cancelled);
  });
  io.list(prefix + ".payment", c.payments, [](auto& f, Payment& p) { f(p.form), f(p.amount); });
}

struct TableRow {
  std::string table;
  TableItem item;
};

template <class Io>
void state_fields(Io& io, State& s, std::vector<TableRow>& table_rows) {
  auto& id = s.identity;
  io.value("serial", id.serial), io.value("till", id.till), io.value("firmware", id.firmware);
  io.value("owner", id.owner), io.value("address", id.address), io.value("cnpj", id.cnpj), io.value("ie", id.ie);
  io.value("registered_at", id.registered_at);

  auto& fa = s.faults;
  io.value("fault.paper", fa.paper), io.value("fault.paper_items_left", fa.paper_items_left);
  io.value("fault.power_on", fa.power_on), io.value("fault.port_refused", fa.port_refused);
  io.value("fault.clock_offset", fa.clock_offset), io.value("fault.fixed_clock", fa.fixed_clock);
  io.value("fault.sticky_st1", fa.sticky_st1), io.value("fault.sticky_st2", fa.sticky_st2);
  io.value("fault.extended_status", fa.extended_status);
  io.value("fault.fiscal_flags", fa.fiscal_flags);
  io.value("fault.baud", fa.baud);
  io.value("fault.movement_date_answer", fa.movement_date_answer);
  io.value("fault.x_reading_file", fa.x_reading_file);
  io.list("fault.script", fa.scripts, [](auto& f, Script& x) {
    f(x.entry_point), f(x.result), f(x.ack), f(x.st1), f(x.st2), f(x.times), f(x.mode), f(x.skip);
  });

  io.value("coo", s.coo), io.value("gnf", s.gnf), io.value("grg", s.grg), io.value("cdc", s.cdc);
  io.value("crz", s.crz), io.value("cro", s.cro), io.value("ccf", s.ccf), io.value("cfd", s.cfd);
  io.value("cancelled_coupons", s.cancelled_coupons), io.value("substitutions", s.substitutions);
  io.value("bill_checks", s.bill_checks), io.value("grand_total", s.grand_total);

  io.list("rate", s.rates, [](auto& f, TaxRate& r) { f(r.basis_points), f(r.iss), f(r.day_total); });
  io.list("form", s.forms, [](auto& f, PaymentForm& p) { f(p.name), f(p.linked), f(p.day_total), f(p.last_document); });
  io.list("totalizer", s.totalizers, [](auto& f, NonFiscalTotalizer& t) { f(t.name), f(t.day_total), f(t.day_count); });

  io.value("movement_date", s.movement_date), io.value("z_date", s.z_date);
  io.value("day_first_coo", s.day_first_coo);
  std::vector<DayTotals> day{s.day};
  io.list("day", day, [](auto& f, DayTotals& d) { totals_fields(f, d); });
  if (day.size() == 1) s.day = day.front();
  io.value("daylight_saving", s.daylight_saving), io.value("drawer_open", s.drawer_open);
  io.value("tef_mode", s.tef_mode);

  io.value("document", s.document);
  coupon_fields(io, "coupon", s.coupon);
  io.value("linked_form", s.linked_form), io.value("bill_table", s.bill_table);
  io.value("last_coupon_coo", s.last_coupon_coo), io.value("last_coupon_cancellable", s.last_coupon_cancellable);
  coupon_fields(io, "last", s.last_coupon);
  io.value("last_receipt_coo", s.last_receipt_coo);

  io.list("reduction", s.fiscal_memory, [](auto& f, Reduction& r) {
    f(r.crz), f(r.cro), f(r.coo), f(r.movement_date), f(r.made_at), f(r.grand_total), f(r.rate_totals);
    totals_fields(f, r.totals);
  });
  io.list("table_item", table_rows, [](auto& f, TableRow& row) {
    f(row.table), f(row.item.code), f(row.item.description), f(row.item.rate_code), f(row.item.flag),
        f(row.item.unit_price), f(row.item.quantity), f(row.item.adjustment);
  });
  io.list("document_line", s.document_lines, [](auto& f, std::string& line) { f(line); });
  io.value("last_reply", s.last_reply);
  io.value("paper.new_roll", s.paper.new_roll);
  io.value("paper.tape_at", s.paper.tape_at), io.value("paper.tape", s.paper.tape);
  io.value("paper.mfd_at", s.paper.mfd_at), io.value("paper.mfd", s.paper.mfd);
}

}  // namespace

std::string serialize_state(const State& original) {
  State s = original;
  std::vector<TableRow> rows;
  for (const auto& [table, items] : s.tables)
    for (const auto& item : items) rows.push_back({table, item});
  Writer writer;
  state_fields(writer, s, rows);
  std::string body = std::string(kFirstLine) + "\n" + writer.text();
  return body + "check=" + hex(checksum(body)) + "\n";
}

State parse_state(std::string_view text) {
  if (text.substr(0, kFirstLine.size() + 1) != std::string(kFirstLine) + "\n")
    throw DamagedStateFile("not a printer state file (first line)");
  auto check = text.rfind("check=");
  if (check == std::string_view::npos || text.back() != '\n')
    throw DamagedStateFile("the checksum line is missing (file cut short?)");
  std::string_view body = text.substr(0, check);
  std::string_view stored = text.substr(check + 6, text.size() - check - 7);
  if (stored != hex(checksum(body))) throw DamagedStateFile("checksum mismatch");
  Reader reader(body.substr(kFirstLine.size() + 1));
  State s = new_printer_state();
  std::vector<TableRow> rows;
  state_fields(reader, s, rows);
  s.tables.clear();
  for (auto& row : rows) s.tables[row.table].push_back(row.item);
  // A file edited by hand may carry a valid checksum: every value must be one
  // the printer can hold.
  if (std::string broken = out_of_bounds(s); !broken.empty()) throw DamagedStateFile(broken);
  return s;
}

}  // namespace emu
