// Reads the text file described in mfd_format.h, refusing any damage.
#include "fields.h"
#include "platform/numbers.h"

namespace mfd {
namespace {

using detail::FieldReader;

constexpr std::string_view kLetters = " ABCDEFGHIJKLMNOPQRSTUVWXYZ";

FieldReader record(std::string_view line, std::size_t line_number, std::string_view tag, std::size_t fields) {
  FieldReader reader(detail::split_fields(line, line_number), line_number);
  if (reader.text(0) != tag) reader.fail("expected a " + std::string(tag) + " record, found \"" + reader.text(0) + "\"");
  if (reader.size() != fields)
    reader.fail(std::string(tag) + " record has " + platform::to_text(reader.size()) + " fields, expected " +
                platform::to_text(fields));
  return reader;
}

Identification read_identification(const FieldReader& f) {
  Identification ecf;
  ecf.serial = f.text(1);
  ecf.mf_additional = f.letter(2, kLetters);
  ecf.ecf_type = f.text(3);
  ecf.brand = f.text(4);
  ecf.model = f.text(5);
  ecf.firmware = f.text(6);
  ecf.sb_date = f.date(7);
  ecf.sb_time = f.time(8);
  ecf.ecf_number = f.counter(9);
  ecf.user_number = f.counter(10);
  ecf.cnpj = f.text(11);
  ecf.ie = f.text(12);
  ecf.im = f.text(13);
  ecf.user_date = f.date(14);
  ecf.user_time = f.time(15);
  ecf.cro = f.counter(16);
  ecf.grand_total = f.amount(17);
  ecf.issqn_discount = f.flag(18);
  return ecf;
}

Document read_document(const FieldReader& f) {
  Document doc;
  auto kind = kind_from_code(f.text(1));
  if (!kind) f.fail("unknown document kind \"" + f.text(1) + "\"");
  doc.kind = *kind;
  doc.coo = f.counter(2);
  doc.ccf = f.counter(3);
  doc.gnf = f.counter(4);
  doc.grg = f.counter(5);
  doc.cdc = f.counter(6);
  doc.crz = f.counter(7);
  doc.date = f.date(8);
  doc.time = f.time(9);
  doc.subtotal = f.amount(10);
  doc.discount = f.amount(11);
  doc.surcharge = f.amount(12);
  doc.total = f.amount(13);
  doc.cancelled = f.flag(14);
  doc.order = f.letter(15, "DA");
  doc.customer_name = f.text(16);
  doc.customer_id = f.text(17);
  doc.cancelled_coo = f.counter(18);
  doc.title = f.text(19);
  return doc;
}

Item read_item(const FieldReader& f) {
  Item item;
  item.number = f.counter(1);
  item.code = f.text(2);
  item.description = f.text(3);
  item.quantity = f.amount(4);
  item.quantity_decimals = static_cast<int>(f.integer(5, 0, 3));
  item.unit = f.text(6);
  item.unit_price = f.amount(7);
  item.price_decimals = static_cast<int>(f.integer(8, 2, 3));
  item.discount = f.amount(9);
  item.surcharge = f.amount(10);
  item.total = f.amount(11);
  item.tax_code = f.text(12);
  item.cancelled = f.flag(13);
  item.rounding = f.letter(14, "AT");
  item.production = f.letter(15, "PT");
  return item;
}

Reduction read_reduction(const FieldReader& f) {
  Reduction z;
  z.crz = f.counter(1);
  z.cro = f.counter(2);
  z.coo = f.counter(3);
  z.movement_date = f.date(4);
  z.grand_total = f.amount(5);
  z.gross_sales = f.amount(6);
  z.cancellations = f.amount(7);
  z.discounts = f.amount(8);
  z.surcharges = f.amount(9);
  return z;
}

// The file's lines without their "\r\n" (or "\n"); a final line break is
// required, so a file cut short is noticed even when it ends on a whole field.
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) throw FormatError("download file is cut short: the last line has no line break");
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

Download parse(std::string_view text) {
  std::vector<std::string_view> lines = split_lines(text);
  if (lines.size() < 4) throw FormatError("download file is too short to be a download (" +
                                          platform::to_text(lines.size()) + " lines)");
  {
    FieldReader version = record(lines[0], 1, "MFD", 2);
    if (version.integer(1, 0, 1'000'000) != kFormatVersion)
      version.fail("format version " + version.text(1) + " is not supported");
  }
  Download download;
  download.ecf = read_identification(record(lines[1], 2, "ECF", 19));
  {
    FieldReader range = record(lines[2], 3, "RNG", 4);
    download.range = {range.text(1), range.text(2), range.text(3)};
  }
  for (std::size_t i = 3; i < lines.size(); ++i) {
    const std::size_t number = i + 1;
    FieldReader fields(detail::split_fields(lines[i], number), number);
    const std::string tag = fields.text(0);
    static const std::pair<std::string_view, std::size_t> kCounts[] = {
        {"DOC", 20}, {"ITM", 16}, {"PAY", 4}, {"TXT", 2}, {"RDZ", 10}, {"TOT", 3}, {"END", 2}};
    std::size_t expected = 0;
    for (const auto& [t, count] : kCounts)
      if (t == tag) expected = count;
    if (expected == 0) fields.fail("unknown record \"" + tag + "\"");
    if (fields.size() != expected)
      fields.fail(tag + " record has " + platform::to_text(fields.size()) + " fields, expected " + platform::to_text(expected));

    if (tag == "END") {
      if (fields.integer(1, 0, 1'000'000'000) != static_cast<std::int64_t>(download.documents.size()))
        fields.fail("END counts " + fields.text(1) + " documents, the file holds " +
                    platform::to_text(download.documents.size()));
      if (i + 1 != lines.size()) throw FormatError("download file line " + platform::to_text(number + 1) + ": text after END");
      return download;
    }
    if (tag == "DOC") {
      download.documents.push_back(read_document(fields));
      continue;
    }
    if (download.documents.empty()) fields.fail(tag + " record before any DOC record");
    Document& doc = download.documents.back();
    if (tag == "ITM") {
      doc.items.push_back(read_item(fields));
    } else if (tag == "PAY") {
      doc.payments.push_back({fields.text(1), fields.amount(2), fields.amount(3)});
    } else if (tag == "TXT") {
      doc.lines.push_back(fields.text(1));
    } else if (tag == "RDZ") {
      if (doc.kind != DocumentKind::ZReduction) fields.fail("RDZ record under a document that is not a Z reduction");
      if (doc.reduction) fields.fail("second RDZ record for one document");
      doc.reduction = read_reduction(fields);
    } else {  // TOT
      if (!doc.reduction) fields.fail("TOT record without an RDZ record");
      doc.reduction->totalizers.push_back({fields.text(1), fields.amount(2)});
    }
  }
  throw FormatError("download file has no END record: it is cut short");
}

}  // namespace mfd
