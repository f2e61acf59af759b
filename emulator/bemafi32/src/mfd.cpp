// The detail memory (MFD): every document issued is appended to MFD.dat in
// the printer's directory, in the records of the MFD download format. A
// download picks a range of it; the mirror turns a download into text.
#include <filesystem>

#include "clock.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "printer.h"
#include "platform/numbers.h"

namespace emu {
namespace {

bool starts_with(const std::string& text, std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The record lines of the documents, without the download's head and END line.
std::string document_records(const std::string& download_text) {
  std::string body;
  std::size_t start = 0;
  int line = 0;
  while (start < download_text.size()) {
    std::size_t end = download_text.find('\n', start);
    std::string current = download_text.substr(start, end - start + 1);
    start = end == std::string::npos ? download_text.size() : end + 1;
    if (++line > 3 && !starts_with(current, "END|")) body += current;
  }
  return body;
}

int count_documents(const std::string& records) {
  int count = 0;
  if (starts_with(records, "DOC|")) ++count;
  for (std::size_t at = records.find("\nDOC|"); at != std::string::npos; at = records.find("\nDOC|", at + 1)) ++count;
  return count;
}

mfd::Date to_date(std::int64_t seconds) {
  CivilTime t = from_seconds(seconds);
  return {t.year, t.month, t.day};
}

// Keeps the documents of a range: kind "1" dates, "2" COO numbers, "0" all.
bool select_range(std::vector<mfd::Document>& documents, const std::string& kind, const std::string& start,
                  const std::string& end) {
  std::vector<mfd::Document> kept;
  if (kind == "0") return true;
  if (kind == "1") {
    auto a = range_date(start), b = range_date(end);
    if (!a || !b || *a > *b) return false;
    for (auto& doc : documents)
      if (doc.date >= to_date(*a) && doc.date <= to_date(*b)) kept.push_back(std::move(doc));
  } else if (kind == "2") {
    auto a = parse_integer(start), b = parse_integer(end);
    if (!a || !b || *a > *b) return false;
    for (auto& doc : documents)
      if (doc.coo >= *a && doc.coo <= *b) kept.push_back(std::move(doc));
  } else {
    return false;
  }
  documents = std::move(kept);
  return true;
}

std::string kind_title(mfd::DocumentKind kind) {
  switch (kind) {
    case mfd::DocumentKind::FiscalCoupon: return "CUPOM FISCAL";
    case mfd::DocumentKind::NonFiscalReceipt: return "COMPROVANTE NAO FISCAL";
    case mfd::DocumentKind::ManagementReport: return "RELATORIO GERENCIAL";
    case mfd::DocumentKind::ZReduction: return "REDUCAO Z";
    case mfd::DocumentKind::XReading: return "LEITURA X";
    case mfd::DocumentKind::Cancellation: return "CUPOM FISCAL CANCELADO";
    case mfd::DocumentKind::CreditDebitSlip: return "COMPROVANTE CREDITO OU DEBITO";
  }
  return {};
}

std::string two(int value) { return digits(value, 2); }

// Everything the detail memory holds, as a download of the given range (not yet selected).
mfd::Download stored_documents(const std::string& path, mfd::Download head) {
  std::string records = platform::file_exists(path) ? platform::read_file(path) : std::string();
  std::string text = mfd::serialize(head);
  std::size_t end_line = text.rfind("END|");
  text = text.substr(0, end_line) + records + "END|" + platform::to_text(count_documents(records)) + "\r\n";
  return mfd::parse(text);
}

}  // namespace

mfd::Identification Printer::identification() const {
  const auto& id = state_.identity;
  mfd::Identification ecf;
  ecf.serial = id.serial;
  ecf.brand = "EMULADOR";
  ecf.model = "ECF-EMUL";
  ecf.firmware = id.firmware;
  ecf.ecf_number = static_cast<int>(parse_integer(id.till).value_or(1));
  std::string cnpj;
  for (char c : id.cnpj)
    if (c >= '0' && c <= '9') cnpj += c;
  ecf.cnpj = cnpj;
  ecf.ie = id.ie;
  ecf.user_date = to_date(id.registered_at);
  ecf.sb_date = ecf.user_date;
  ecf.cro = state_.cro;
  ecf.grand_total = state_.grand_total;
  return ecf;
}

void Printer::record(const mfd::Document& document) {
  mfd::Download one{identification(), {"0", "", ""}, {document}};
  journal_output(state_.paper.mfd, state_.paper.mfd_at, mfd_path(), document_records(mfd::serialize(one)));
}

int Printer::download_mfd(const char* file, const char* kind, const char* start, const char* end, const char* user) {
  if (!file || !kind || !start || !end || !user || trim(file).empty()) return kInvalidParameter;
  mfd::Download download = stored_documents(mfd_path(), {identification(), {trim(kind), trim(start), trim(end)}, {}});
  const auto& range = download.range;
  if (!select_range(download.documents, range.kind, range.start, range.end)) return kInvalidParameter;
  mfd::write_file(platform::native_path(trim(file)), download);
  return kOk;
}

int Printer::format_mfd(const char* source, const char* target, const char* format, const char* kind,
                        const char* start, const char* end, const char* user) {
  if (!source || !target || !format || !kind || !start || !end || !user || trim(target).empty())
    return kInvalidParameter;
  mfd::Download download = mfd::read_file(platform::native_path(trim(source)));
  if (!select_range(download.documents, trim(kind), trim(start), trim(end))) return kInvalidParameter;
  const auto& ecf = download.ecf;
  std::string text = centred("ESPELHO DA MEMORIA DE FITA DETALHE") + "\r\n" + columns("ECF:", ecf.serial) + "\r\n" +
                     columns("CNPJ:", ecf.cnpj) + "\r\n" + columns("Intervalo:", trim(start) + " a " + trim(end)) +
                     "\r\n";
  for (const auto& doc : download.documents) {
    text += std::string(48, '=') + "\r\n";
    text += columns(two(doc.date.day) + "/" + two(doc.date.month) + "/" + platform::to_text(doc.date.year) + " " +
                        two(doc.time.hour) + ":" + two(doc.time.minute) + ":" + two(doc.time.second),
                    "COO:" + digits(doc.coo, 6)) +
            "\r\n";
    text += centred(kind_title(doc.kind) + (doc.title.empty() ? "" : " - " + doc.title)) + "\r\n";
    for (const auto& item : doc.items)
      text += columns(digits(item.number, 3) + " " + item.code + " " + item.description.substr(0, 20) +
                          (item.cancelled ? " (CANC)" : ""),
                      money_text(item.total)) +
              "\r\n";
    for (const auto& payment : doc.payments) text += columns(payment.form, money_text(payment.amount)) + "\r\n";
    if (doc.total) text += columns("TOTAL R$", money_text(doc.total)) + "\r\n";
    for (const auto& line : doc.lines) text += line + "\r\n";
  }
  platform::write_file_atomic(platform::native_path(trim(target)), text);
  return kOk;
}

int Printer::cat52(const char* file, const char* date) {
  if (!file || !date || trim(file).empty()) return kInvalidParameter;
  auto day = range_date(trim(date));
  if (!day) return kInvalidParameter;
  auto documents = stored_documents(mfd_path(), {identification(), {"1", ddmmyyyy(*day), ddmmyyyy(*day)}, {}}).documents;
  select_range(documents, "1", ddmmyyyy(*day), ddmmyyyy(*day));
  std::string text = "E01|" + state_.identity.serial + "|" + ddmmyyyy(*day) + "\r\n";
  for (const auto& doc : documents) {
    if (doc.kind != mfd::DocumentKind::FiscalCoupon) continue;
    text += "E12|" + digits(doc.coo, 6) + "|" + digits(doc.ccf, 6) + "|" + digits(doc.total, 14) + "|" +
            (doc.cancelled ? "S" : "N") + "\r\n";
    for (const auto& item : doc.items)
      text += "E13|" + digits(doc.coo, 6) + "|" + digits(item.number, 3) + "|" + item.code + "|" + item.tax_code +
              "|" + digits(item.total, 14) + "\r\n";
  }
  platform::write_file_atomic(platform::native_path(trim(file)), text);
  return kOk;
}

}  // namespace emu
