#include "paper_check.h"

#include <charconv>
#include <map>
#include <string_view>

#include "mfd_format/mfd_format.h"

namespace power_cut {
namespace {

const std::string kCut(48, '~');

bool starts_with(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// locale-free: a whole number of digits only, or nullopt.
std::optional<long long> whole(std::string_view digits) {
  long long value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The amount that ends a line ("9,00", "1.234,56", "-1,50", "+0,50") in cents.
std::optional<long long> amount_at_end(std::string_view line) {
  line = trimmed(line);
  std::string_view token = line.substr(line.rfind(' ') == std::string_view::npos ? 0 : line.rfind(' ') + 1);
  const bool negative = starts_with(token, "-");
  if (negative || starts_with(token, "+")) token.remove_prefix(1);
  const auto comma = token.find(',');
  if (comma == std::string_view::npos || token.size() != comma + 3) return std::nullopt;
  std::string digits;
  for (char c : token)
    if (c != '.' && c != ',') digits += c;
  auto cents = whole(digits);
  if (!cents) return std::nullopt;
  return negative ? -*cents : *cents;
}

// "NNN " at the start of a line: an item's first line.
std::optional<int> item_number(std::string_view line) {
  if (line.size() < 4 || line[3] != ' ') return std::nullopt;
  auto number = whole(line.substr(0, 3));
  return number ? std::optional<int>(static_cast<int>(*number)) : std::nullopt;
}

PaperDocument read_document(std::vector<std::string> lines, bool cut) {
  PaperDocument doc;
  doc.lines = std::move(lines);
  doc.cut = cut;
  enum { Header, Heading, Items, Rest } part = Header;
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    const std::string_view line = doc.lines[i];
    const std::string_view text = trimmed(line);
    if (i < 6 && doc.coo == 0 && line.find("COO:") != std::string_view::npos)
      doc.coo = static_cast<int>(whole(line.substr(line.find("COO:") + 4, 6)).value_or(0));
    if (text == "CUPOM FISCAL CANCELADO") {
      doc.cancelled = true;
      part = Rest;
    } else if (starts_with(line, "COO DO CUPOM CANCELADO:")) {
      doc.cancelled_coo = static_cast<int>(whole(trimmed(line.substr(23))).value_or(0));
    } else if (text == "CUPOM FISCAL" && part == Header) {
      doc.coupon = true;
      part = Heading;
    } else if (part == Heading && line == std::string(48, '-')) {
      part = Items;
    } else if (part == Items) {
      if (starts_with(line, "TOTAL R$")) {
        part = Rest;
      } else if (auto number = item_number(line)) {
        doc.items.push_back(*number);
      } else if (!starts_with(line, "SUBTOTAL R$")) {
        if (starts_with(line, "CANCELAMENTO ITEM "))
          doc.cancelled_items.push_back(static_cast<int>(whole(line.substr(18, 3)).value_or(0)));
        doc.items_sum += amount_at_end(line).value_or(0);
      }
    }
    if (starts_with(line, "TOTAL R$") && !doc.total) doc.total = amount_at_end(line);
  }
  return doc;
}

// locale-free: "COO 12".
std::string coo_text(int coo) {
  char digits[16];
  return "COO " + std::string(digits, std::to_chars(digits, digits + sizeof digits, coo).ptr);
}

// A fiscal coupon or a cancellation of one: the paper against the memory.
void compare(const PaperDocument& paper, const mfd::Document& memory, std::vector<std::string>& found) {
  const std::string which = coo_text(memory.coo);
  if (paper.coo != memory.coo) {
    found.push_back(which + " of the memory is printed as " + coo_text(paper.coo));
    return;
  }
  if (memory.kind == mfd::DocumentKind::Cancellation) {
    if (!paper.cancelled || paper.cancelled_coo != memory.cancelled_coo)
      found.push_back(which + ": the memory cancels " + coo_text(memory.cancelled_coo) + ", the paper does not");
    return;
  }
  if (memory.kind != mfd::DocumentKind::FiscalCoupon) return;
  std::vector<int> items, cancelled;
  for (const auto& item : memory.items) {
    items.push_back(item.number);
    if (item.cancelled) cancelled.push_back(item.number);
  }
  if (!paper.coupon) found.push_back(which + " is a coupon in memory and not on paper");
  if (paper.items != items) found.push_back(which + ": other items on paper than in memory");
  // A cancelled coupon's memory marks every item undone; its paper shows the total instead.
  if (!memory.cancelled && paper.cancelled_items != cancelled)
    found.push_back(which + ": other item cancellations on paper than in memory");
  if (paper.cancelled != memory.cancelled)
    found.push_back(which + (memory.cancelled ? " is cancelled in memory only" : " is cancelled on paper only"));
  if (paper.total != memory.total) found.push_back(which + ": another total on paper than in memory");
}

// The fifth line of a document's header: "dd/mm/yyyy hh:mm:ss" and its counters.
bool counters_line(std::string_view line) {
  return line.size() > 19 && line[2] == '/' && line[5] == '/' && line[13] == ':' && line[16] == ':' &&
         line.find("COO:") != std::string_view::npos;
}

constexpr std::size_t kLinesBeforeCounters = 4;

}  // namespace

std::vector<PaperDocument> paper_documents(const std::string& tape) {
  std::vector<PaperDocument> documents;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < tape.size()) {
    std::size_t end = tape.find("\r\n", start);
    if (end == std::string::npos) end = tape.size();
    std::string line = tape.substr(start, end - start);
    start = end + 2;
    if (line == kCut) {
      documents.push_back(read_document(std::move(lines), true));
      lines.clear();
      continue;
    }
    if (counters_line(line) && lines.size() > kLinesBeforeCounters) {
      // A new header before the cut: the document above it was never finished.
      const auto header = lines.end() - static_cast<std::ptrdiff_t>(kLinesBeforeCounters);
      documents.push_back(read_document(std::vector<std::string>(lines.begin(), header), false));
      lines.erase(lines.begin(), header);
    }
    lines.push_back(std::move(line));
  }
  documents.push_back(read_document(std::move(lines), false));  // what is printed of the open document
  return documents;
}

std::vector<std::string> disagreements(const test_support::EmulatedPrinter& printer, const std::string& scratch,
                                       const std::vector<int>& reported_closed) {
  std::vector<std::string> found;
  if (printer.summary_value("Estado") != "ok") return {"the memory does not load: " + printer.summary_value("Estado")};
  auto download = printer.entry<int(const char*, const char*, const char*, const char*, const char*)>(
      "Bematech_FI_DownloadMFD");
  if (download(scratch.c_str(), "0", "", "", "") != 1) return {"the detail memory cannot be downloaded"};
  const std::vector<mfd::Document> memory = mfd::read_file(scratch).documents;
  std::vector<PaperDocument> paper = paper_documents(printer.tape());
  const PaperDocument open = paper.back();
  paper.pop_back();

  std::map<int, int> printed;
  for (const auto& doc : paper) ++printed[doc.coo];
  ++printed[open.coo];
  for (const auto& [coo, times] : printed)
    if (coo != 0 && times > 1) found.push_back(coo_text(coo) + " is printed on more than one document");
  std::vector<PaperDocument> finished;
  for (auto& doc : paper) {
    if (doc.cut) finished.push_back(std::move(doc));
    else found.push_back(coo_text(doc.coo) + " is printed and never finished");
  }
  paper = std::move(finished);

  for (std::size_t i = 0; i < std::max(paper.size(), memory.size()); ++i) {
    if (i >= paper.size())
      found.push_back(coo_text(memory[i].coo) + " is in memory and not on paper");
    else if (i >= memory.size())
      found.push_back(coo_text(paper[i].coo) + " is on paper and not in memory");
    else
      compare(paper[i], memory[i], found);
  }
  for (const auto& doc : paper)
    if (doc.coupon && doc.total && doc.items_sum != *doc.total)
      found.push_back(coo_text(doc.coo) + ": the total printed is not what the items printed above it come to");

  const std::string document = printer.summary_value("Documento");
  const long long coo = whole(printer.summary_value("COO")).value_or(-1);
  if (document == "nenhum" && !open.lines.empty())
    found.push_back("paper printed after the last document: " + open.lines.front());
  if (document == "cupom") {
    const long long items = whole(printer.summary_value("ItensCupom")).value_or(-1);
    if (!open.coupon || open.coo != coo)
      found.push_back("the coupon open in memory is not the one open on paper");
    else if (static_cast<long long>(open.items.size()) != items)
      found.push_back("the open coupon has other items on paper than in memory");
  }

  for (int closed : reported_closed) {
    bool in_memory = false, on_paper = false;
    for (const auto& doc : memory)
      in_memory |= doc.kind == mfd::DocumentKind::FiscalCoupon && doc.coo == closed && !doc.cancelled;
    for (const auto& doc : paper) on_paper |= doc.coupon && doc.coo == closed && !doc.cancelled;
    if (!in_memory || !on_paper)
      found.push_back(coo_text(closed) + " was reported closed and is not closed " +
                      (in_memory ? "on paper" : "in memory"));
  }
  return found;
}

}  // namespace power_cut
