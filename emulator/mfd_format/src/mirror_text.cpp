#include "mfd_format/mirror_text.h"

#include <cstdlib>
#include "platform/numbers.h"

namespace mfd {
namespace {

constexpr std::size_t kWidth = 48;
const std::string kRule(kWidth, '-');

std::string zero_filled(long long value, int width) { return platform::zero_padded(value, width); }

// An integer count of 1/10^decimals units as "1234,56".
std::string decimal(std::int64_t value, int decimals) {
  std::int64_t divisor = 1;
  for (int i = 0; i < decimals; ++i) divisor *= 10;
  const std::int64_t magnitude = std::llabs(value);
  std::string text = (value < 0 ? "-" : "") + platform::to_text(magnitude / divisor);
  if (decimals > 0) text += ',' + zero_filled(magnitude % divisor, decimals);
  return text;
}

std::string money(std::int64_t cents) { return decimal(cents, 2); }

// "dd/mm/yyyy"
std::string slashed_date(const Date& date) {
  return zero_filled(date.day % 100, 2) + "/" + zero_filled(date.month % 100, 2) + "/" +
         zero_filled(date.year % 10000, 4);
}

std::string date_time(const Document& doc) {
  return slashed_date(doc.date) + " " + zero_filled(doc.time.hour % 100, 2) + ":" +
         zero_filled(doc.time.minute % 100, 2) + ":" + zero_filled(doc.time.second % 100, 2);
}

class Lines {
 public:
  void add(std::string text) {
    if (text.size() > kWidth) text.resize(kWidth);
    for (char& c : text)
      if (c == '\r' || c == '\n') c = ' ';  // one printed line stays one line
    text_ += text;
    text_ += "\r\n";
  }
  // left text and right-aligned value on one line; the left side gives way.
  void pair(const std::string& left, const std::string& right) {
    const std::size_t room = right.size() + 1 >= kWidth ? 0 : kWidth - right.size() - 1;
    std::string line = left.substr(0, room);
    line.resize(kWidth - std::min(kWidth, right.size()), ' ');
    add(line + right);
  }
  void blank() { text_ += "\r\n"; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string_view title_of(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::FiscalCoupon: return "CUPOM FISCAL";
    case DocumentKind::NonFiscalReceipt: return "COMPROVANTE NAO FISCAL";
    case DocumentKind::ManagementReport: return "RELATORIO GERENCIAL";
    case DocumentKind::ZReduction: return "REDUCAO Z";
    case DocumentKind::XReading: return "LEITURA X";
    case DocumentKind::Cancellation: return "CANCELAMENTO";
    case DocumentKind::CreditDebitSlip: return "COMPROVANTE DE CREDITO OU DEBITO";
  }
  return "DOCUMENTO";
}

std::string counter_of(const Document& doc) {
  switch (doc.kind) {
    case DocumentKind::FiscalCoupon: return "CCF:" + zero_filled(doc.ccf, 6);
    case DocumentKind::ManagementReport: return "GRG:" + zero_filled(doc.grg, 6);
    case DocumentKind::CreditDebitSlip: return "CDC:" + zero_filled(doc.cdc, 4);
    case DocumentKind::ZReduction: return "CRZ:" + zero_filled(doc.crz, 6);
    default: return "GNF:" + zero_filled(doc.gnf, 6);
  }
}

void add_items(const Document& doc, Lines& lines) {
  for (const Item& item : doc.items) {
    lines.add(zero_filled(item.number, 3) + " " + item.code + " " + item.description);
    const std::string quantity = decimal(in_decimals(item.quantity, item.quantity_decimals), item.quantity_decimals) +
                                 " " + item.unit + " X " +
                                 decimal(in_decimals(item.unit_price, item.price_decimals), item.price_decimals);
    lines.pair("    " + quantity + " " + item.tax_code, money(item.total));
    if (item.discount) lines.pair("    desconto item", "-" + money(item.discount));
    if (item.surcharge) lines.pair("    acrescimo item", "+" + money(item.surcharge));
    if (item.cancelled) lines.pair("    ITEM " + zero_filled(item.number, 3) + " CANCELADO", "-" + money(item.total));
  }
}

void add_totals(const Document& doc, Lines& lines) {
  if (doc.kind == DocumentKind::FiscalCoupon) {
    lines.pair("SUBTOTAL R$", money(doc.subtotal));
    if (doc.discount) lines.pair("DESCONTO R$", "-" + money(doc.discount));
    if (doc.surcharge) lines.pair("ACRESCIMO R$", "+" + money(doc.surcharge));
    lines.pair("TOTAL R$", money(doc.total));
  } else if (doc.total) {
    lines.pair("VALOR R$", money(doc.total));
  }
  for (const Payment& payment : doc.payments) {
    lines.pair(payment.form, money(payment.amount));
    if (payment.reversed) lines.pair("  estorno " + payment.form, "-" + money(payment.reversed));
  }
  if (!doc.customer_id.empty() || !doc.customer_name.empty())
    lines.add("CONSUMIDOR: " + doc.customer_id + " " + doc.customer_name);
  if (doc.cancelled) lines.add("*** CUPOM CANCELADO ***");
  if (doc.kind == DocumentKind::Cancellation && doc.cancelled_coo)
    lines.add("COO DO CUPOM CANCELADO: " + zero_filled(doc.cancelled_coo, 6));
}

void add_reduction(const Reduction& z, Lines& lines) {
  lines.add("CRZ:" + zero_filled(z.crz, 6) + "  CRO:" + zero_filled(z.cro, 6) + "  COO:" + zero_filled(z.coo, 6));
  lines.add("MOVIMENTO DO DIA: " + slashed_date(z.movement_date));
  lines.pair("GRANDE TOTAL", money(z.grand_total));
  lines.pair("VENDA BRUTA DIARIA", money(z.gross_sales));
  lines.pair("CANCELAMENTOS", money(z.cancellations));
  lines.pair("DESCONTOS", money(z.discounts));
  lines.pair("ACRESCIMOS", money(z.surcharges));
  for (const Totalizer& totalizer : z.totalizers) lines.pair("  " + totalizer.code, money(totalizer.amount));
}

void add_document(const Document& doc, Lines& lines) {
  lines.pair(date_time(doc), "COO:" + zero_filled(doc.coo, 6));
  lines.pair(doc.title.empty() ? std::string(title_of(doc.kind)) : doc.title, counter_of(doc));
  lines.add(kRule);
  add_items(doc, lines);
  if (doc.reduction) add_reduction(*doc.reduction, lines);
  add_totals(doc, lines);
  for (const std::string& line : doc.lines) lines.add(line);
  lines.add(kRule);
  lines.blank();
}

}  // namespace

std::string mirror_text(const Identification& ecf, std::string_view range_line,
                        const std::vector<const Document*>& documents) {
  Lines lines;
  lines.add("ESPELHO DA MEMORIA DE FITA-DETALHE");
  lines.add("ECF: " + ecf.ecf_type + " " + ecf.brand + " " + ecf.model);
  lines.add("NUMERO DE FABRICACAO: " + ecf.serial + (ecf.mf_additional == ' ' ? "" : " " + std::string(1, ecf.mf_additional)));
  lines.add("VERSAO DO SB: " + ecf.firmware + "  CAIXA: " + zero_filled(ecf.ecf_number, 3));
  lines.add("CNPJ: " + ecf.cnpj + "  IE: " + ecf.ie);
  lines.add("USUARIO: " + zero_filled(ecf.user_number, 2));
  lines.add(std::string(range_line));
  lines.blank();
  for (const Document* doc : documents) add_document(*doc, lines);
  lines.add("Ultimo documento : " + date_time(*documents.back()));
  lines.add("Documentos no espelho: " + platform::to_text(documents.size()));
  return lines.text();
}

}  // namespace mfd
