// Writes a download as the text file described in mfd_format.h.
#include "fields.h"
#include "platform/numbers.h"

namespace mfd {
namespace {

using detail::append_field;

// One record line built field by field.
class Record {
 public:
  explicit Record(std::string_view tag) { append_field(line_, tag, true); }
  Record& text(std::string_view value) { append_field(line_, value); return *this; }
  Record& number(std::int64_t value) { return text(platform::to_text(value)); }
  Record& flag(bool value) { return text(value ? "S" : "N"); }
  Record& letter(char value) { return text(std::string_view(&value, 1)); }
  Record& date(const Date& value) { return text(detail::date_text(value)); }
  Record& time(const Time& value) { return text(detail::time_text(value)); }
  void end(std::string& out) { out += line_; out += "\r\n"; }

 private:
  std::string line_;
};

void write_identification(const Identification& ecf, std::string& out) {
  Record("ECF").text(ecf.serial).letter(ecf.mf_additional).text(ecf.ecf_type).text(ecf.brand)
      .text(ecf.model).text(ecf.firmware).date(ecf.sb_date).time(ecf.sb_time).number(ecf.ecf_number)
      .number(ecf.user_number).text(ecf.cnpj).text(ecf.ie).text(ecf.im).date(ecf.user_date)
      .time(ecf.user_time).number(ecf.cro).number(ecf.grand_total).flag(ecf.issqn_discount).end(out);
}

void write_document(const Document& doc, std::string& out) {
  Record("DOC").text(kind_code(doc.kind)).number(doc.coo).number(doc.ccf).number(doc.gnf).number(doc.grg)
      .number(doc.cdc).number(doc.crz).date(doc.date).time(doc.time).number(doc.subtotal)
      .number(doc.discount).number(doc.surcharge).number(doc.total).flag(doc.cancelled).letter(doc.order)
      .text(doc.customer_name).text(doc.customer_id).number(doc.cancelled_coo).text(doc.title).end(out);
  for (const Item& item : doc.items)
    Record("ITM").number(item.number).text(item.code).text(item.description).number(item.quantity)
        .number(item.quantity_decimals).text(item.unit).number(item.unit_price).number(item.price_decimals)
        .number(item.discount).number(item.surcharge).number(item.total).text(item.tax_code)
        .flag(item.cancelled).letter(item.rounding).letter(item.production).end(out);
  for (const Payment& payment : doc.payments)
    Record("PAY").text(payment.form).number(payment.amount).number(payment.reversed).end(out);
  for (const std::string& line : doc.lines) Record("TXT").text(line).end(out);
  if (doc.reduction) {
    const Reduction& z = *doc.reduction;
    Record("RDZ").number(z.crz).number(z.cro).number(z.coo).date(z.movement_date).number(z.grand_total)
        .number(z.gross_sales).number(z.cancellations).number(z.discounts).number(z.surcharges).end(out);
    for (const Totalizer& totalizer : z.totalizers)
      Record("TOT").text(totalizer.code).number(totalizer.amount).end(out);
  }
}

}  // namespace

std::string serialize(const Download& download) {
  std::string out;
  Record("MFD").number(kFormatVersion).end(out);
  write_identification(download.ecf, out);
  Record("RNG").text(download.range.kind).text(download.range.start).text(download.range.end).end(out);
  for (const Document& doc : download.documents) write_document(doc, out);
  Record("END").number(static_cast<std::int64_t>(download.documents.size())).end(out);
  return out;
}

}  // namespace mfd
