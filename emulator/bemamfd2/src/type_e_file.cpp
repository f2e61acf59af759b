#include "type_e_file.h"

#include <algorithm>
#include <map>
#include <vector>

#include "fixed_record.h"

namespace bemamfd2 {
namespace {

using mfd::Document;
using mfd::DocumentKind;

constexpr std::string_view kLibraryVersion = "01.00.00";
constexpr std::string_view kLayoutVersion = "01.00.00";

// The printer's key fields that begin every record after E01.
FixedRecord keyed(std::string_view type, const mfd::Identification& ecf) {
  FixedRecord record(type);
  record.text(ecf.serial, 20).text(std::string(1, ecf.mf_additional), 1).text(ecf.model, 20);
  return record;
}

FixedRecord user_keyed(std::string_view type, const mfd::Identification& ecf) {
  FixedRecord record = keyed(type, ecf);
  record.number(ecf.user_number, 2);
  return record;
}

// The memory keeps a coupon cancelled after it closed as it closed; the
// cancellation is a document of its own, issued later, naming the coupon's
// COO. The day's totals count that coupon, every item of it, as cancelled, and
// so does the file: the coupon and its items are marked here.
std::vector<Document> with_later_cancellations(std::vector<Document> documents) {
  std::map<int, Document*> last_coupon;  // by COO: the latest coupon issued with it so far
  for (Document& doc : documents) {
    if (doc.kind == DocumentKind::FiscalCoupon) last_coupon[doc.coo] = &doc;
    if (doc.kind != DocumentKind::Cancellation) continue;
    const auto cancelled = last_coupon.find(doc.cancelled_coo);
    if (cancelled == last_coupon.end()) continue;
    cancelled->second->cancelled = true;
    for (mfd::Item& item : cancelled->second->items) item.cancelled = true;
  }
  return documents;
}

struct Selection {
  std::vector<const Document*> reductions, coupons, others;
};

Selection select(const std::vector<Document>& documents, const TypeERequest& request) {
  Selection selection;
  for (const Document& doc : documents) {
    if (doc.date < request.start || doc.date > request.end) continue;
    if (doc.kind == DocumentKind::ZReduction) {
      if (doc.reduction) selection.reductions.push_back(&doc);
    } else if (doc.kind == DocumentKind::FiscalCoupon) {
      selection.coupons.push_back(&doc);
    } else {
      selection.others.push_back(&doc);
    }
  }
  return selection;
}

std::string e01(const mfd::Identification& ecf, const TypeERequest& request, const Selection& selection) {
  int first_crz = 0, last_crz = 0;
  for (const Document* doc : selection.reductions) {
    first_crz = first_crz == 0 ? doc->reduction->crz : std::min(first_crz, doc->reduction->crz);
    last_crz = std::max(last_crz, doc->reduction->crz);
  }
  return FixedRecord("E01")
      .text(ecf.serial, 20).text(std::string(1, ecf.mf_additional), 1).text(ecf.ecf_type, 7).text(ecf.brand, 20)
      .text(ecf.model, 20).text(ecf.firmware, 10).date(ecf.sb_date).time(ecf.sb_time).number(ecf.ecf_number, 3)
      .digits(ecf.cnpj, 14).text(request.command, 3).number(first_crz, 6).number(last_crz, 6)
      .date(request.start).date(request.end).text(kLibraryVersion, 8).text(kLayoutVersion, 15)
      .line();
}

std::string e02(const mfd::Identification& ecf, const TypeERequest& request) {
  return keyed("E02", ecf)
      .digits(ecf.cnpj, 14).digits(ecf.ie, 14).text(request.legal_name, 40).text(request.address, 120)
      .date(ecf.user_date).time(ecf.user_time).number(ecf.cro, 6).number(ecf.grand_total, 18)
      .number(ecf.user_number, 2)
      .line();
}

std::string e12(const mfd::Identification& ecf, const Document& doc) {
  const mfd::Reduction& z = *doc.reduction;
  return user_keyed("E12", ecf)
      .number(z.crz, 6).number(z.coo, 6).number(z.cro, 6).date(z.movement_date).date(doc.date).time(doc.time)
      .number(z.gross_sales, 14).flag(ecf.issqn_discount)
      .line();
}

// What the day's non-fiscal receipts took: those issued on the reduction's
// movement date, each by its total or, without one, by its payments.
std::int64_t non_fiscal_operations(const mfd::Download& download, const mfd::Reduction& z) {
  std::int64_t amount = 0;
  for (const Document& doc : download.documents) {
    if (doc.kind != DocumentKind::NonFiscalReceipt || !(doc.date == z.movement_date)) continue;
    std::int64_t paid = 0;
    for (const mfd::Payment& payment : doc.payments) paid += payment.amount;
    amount += doc.total != 0 ? doc.total : paid;
  }
  return amount;
}

// The reduction's partial totalizers, with the day's cancellations,
// discounts, surcharges and non-fiscal operations added under their own codes
// when not listed.
std::vector<mfd::Totalizer> e13_totalizers(const mfd::Reduction& z, std::int64_t non_fiscal) {
  std::vector<mfd::Totalizer> totalizers = z.totalizers;
  auto add_unless_listed = [&](std::string_view code, std::int64_t amount) {
    if (amount == 0) return;
    for (const auto& totalizer : totalizers)
      if (totalizer.code == code) return;
    totalizers.push_back({std::string(code), amount});
  };
  add_unless_listed("Can-T", z.cancellations);
  add_unless_listed("DT", z.discounts);
  add_unless_listed("AT", z.surcharges);
  add_unless_listed("OPNF", non_fiscal);
  std::stable_sort(totalizers.begin(), totalizers.end(),
                   [](const mfd::Totalizer& a, const mfd::Totalizer& b) { return a.code < b.code; });
  return totalizers;
}

std::string e13(const mfd::Identification& ecf, const mfd::Reduction& z, const mfd::Totalizer& totalizer) {
  return user_keyed("E13", ecf).number(z.crz, 6).text(totalizer.code, 7).number(totalizer.amount, 13).line();
}

std::string e14(const mfd::Identification& ecf, const Document& doc) {
  return user_keyed("E14", ecf)
      .number(doc.ccf, 6).number(doc.coo, 6).date(doc.date).number(doc.subtotal, 14).number(doc.discount, 13)
      .text("V", 1).number(doc.surcharge, 13).text("V", 1).number(doc.total, 14).flag(doc.cancelled)
      .number(0, 13).text(std::string(1, doc.order), 1).text(doc.customer_name, 40).digits(doc.customer_id, 14)
      .line();
}

std::string e15(const mfd::Identification& ecf, const Document& doc, const mfd::Item& item) {
  return user_keyed("E15", ecf)
      .number(doc.coo, 6).number(doc.ccf, 6).number(item.number, 3).text(item.code, 14).text(item.description, 100)
      .number(mfd::in_decimals(item.quantity, item.quantity_decimals), 7).text(item.unit, 3)
      .number(mfd::in_decimals(item.unit_price, item.price_decimals), 8).number(item.discount, 8).number(item.surcharge, 8)
      .number(item.total, 14).text(item.tax_code, 7).flag(item.cancelled)
      // Cancelled quantity and amount belong to a partial cancellation; the
      // printer cancels whole items only, so they stay zero.
      .number(0, 7).number(0, 13).number(0, 13)
      .text(std::string(1, item.rounding), 1).text(std::string(1, item.production), 1)
      .number(item.quantity_decimals, 1).number(item.price_decimals, 1)
      .line();
}

std::string e16(const mfd::Identification& ecf, const Document& doc) {
  return user_keyed("E16", ecf)
      .number(doc.coo, 6).number(doc.gnf, 6).number(doc.grg, 6).number(doc.cdc, 4).number(doc.crz, 6)
      .text(mfd::kind_code(doc.kind), 2).date(doc.date).time(doc.time)
      .line();
}

std::string e21(const mfd::Identification& ecf, const Document& doc, const mfd::Payment& payment) {
  return user_keyed("E21", ecf)
      // A non-fiscal receipt has no CCF of its own.
      .number(doc.coo, 6).number(doc.kind == DocumentKind::FiscalCoupon ? doc.ccf : 0, 6).number(doc.gnf, 6)
      .text(payment.form, 15).number(payment.amount, 13)
      .flag(payment.reversed != 0).number(payment.reversed, 13)
      .line();
}

}  // namespace

std::string type_e_file(const mfd::Download& download, const TypeERequest& request) {
  const mfd::Identification& ecf = download.ecf;
  const std::vector<Document> documents = with_later_cancellations(download.documents);
  const Selection selection = select(documents, request);
  std::string file = e01(ecf, request, selection) + e02(ecf, request);
  for (const Document* doc : selection.reductions) file += e12(ecf, *doc);
  // By CRZ, then by totalizer code.
  std::vector<const Document*> by_crz = selection.reductions;
  std::stable_sort(by_crz.begin(), by_crz.end(),
                   [](const Document* a, const Document* b) { return a->reduction->crz < b->reduction->crz; });
  for (const Document* doc : by_crz) {
    const mfd::Reduction& z = *doc->reduction;
    for (const mfd::Totalizer& totalizer : e13_totalizers(z, non_fiscal_operations(download, z)))
      file += e13(ecf, z, totalizer);
  }
  for (const Document* doc : selection.coupons) file += e14(ecf, *doc);
  for (const Document* doc : selection.coupons)
    for (const mfd::Item& item : doc->items) file += e15(ecf, *doc, item);
  for (const Document* doc : selection.others) file += e16(ecf, *doc);
  for (const Document* doc : selection.coupons)
    for (const mfd::Payment& payment : doc->payments) file += e21(ecf, *doc, payment);
  for (const Document* doc : selection.others)
    if (doc->kind == DocumentKind::NonFiscalReceipt)
      for (const mfd::Payment& payment : doc->payments) file += e21(ecf, *doc, payment);
  return file;
}

}  // namespace bemamfd2
