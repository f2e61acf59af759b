#pragma once
// The MFD download file: what the emulated printer writes from its detail-tape
// memory (Bematech_FI_DownloadMFD) and what the MFD tools read back.
//
// File layout (text, Latin-1, one record per line, lines end with "\r\n";
// a bare "\n" is accepted on reading). Fields are separated by '|'. In text
// fields '\' escapes: "\|" a bar, "\\" a backslash, "\n" and "\r" line breaks.
// Amounts are integers in cents, quantities and unit prices integers in
// thousandths, dates "AAAAMMDD", times "HHMMSS", flags "S"/"N".
//
//   MFD|1                                        first line, format version 1
//   ECF|serial|mf_additional|ecf_type|brand|model|firmware|sb_date|sb_time|
//       ecf_number|user_number|cnpj|ie|im|user_date|user_time|cro|grand_total|
//       issqn_discount
//   RNG|kind|start|end                           the range that was downloaded
//   DOC|kind|coo|ccf|gnf|grg|cdc|crz|date|time|subtotal|discount|surcharge|
//       total|cancelled|order|customer_name|customer_id|cancelled_coo|title
//   ITM|number|code|description|quantity|quantity_decimals|unit|unit_price|
//       price_decimals|discount|surcharge|total|tax_code|cancelled|rounding|
//       production                           belongs to the DOC above it
//   PAY|form|amount|reversed                     belongs to the DOC above it
//   TXT|text                                     a printed line of the DOC
//   RDZ|crz|cro|coo|movement_date|grand_total|gross_sales|cancellations|
//       discounts|surcharges                     the DOC above is a Z reduction
//   TOT|code|amount                              a partial totalizer of the RDZ
//   END|document_count                           last line
//
// Document kinds: "CF" fiscal coupon, "CN" non-fiscal receipt, "RG"
// management report, "RZ" Z reduction, "LX" X reading, "NC" cancellation,
// "CC" credit or debit slip (linked receipt).
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mfd {

inline constexpr int kFormatVersion = 1;

enum class DocumentKind {
  FiscalCoupon,
  NonFiscalReceipt,
  ManagementReport,
  ZReduction,
  XReading,
  Cancellation,
  CreditDebitSlip,
};

// The two-letter code of a kind in the file ("CF", "CN", ...), and back.
std::string_view kind_code(DocumentKind kind);
std::optional<DocumentKind> kind_from_code(std::string_view code);

struct Date {
  int year = 2000, month = 1, day = 1;
  auto operator<=>(const Date&) const = default;
};

struct Time {
  int hour = 0, minute = 0, second = 0;
  auto operator<=>(const Time&) const = default;
};

bool is_valid(const Date& date);
bool is_valid(const Time& time);

struct Identification {
  std::string serial;             // manufacturing number, up to 20 characters
  char mf_additional = ' ';       // additional fiscal memory letter, ' ' when none
  std::string ecf_type = "ECF-IF";
  std::string brand;
  std::string model;
  std::string firmware;           // basic software version
  Date sb_date;                   // basic software recorded on
  Time sb_time;
  int ecf_number = 1;             // the cash register's sequence number
  int user_number = 1;
  std::string cnpj;               // owner's CNPJ, digits
  std::string ie;                 // state registration
  std::string im;                 // municipal registration
  Date user_date;                 // owner registered on
  Time user_time;
  int cro = 0;                    // restart counter
  std::int64_t grand_total = 0;   // cents
  bool issqn_discount = false;    // the printer applies discounts to ISSQN
};

struct Range {
  std::string kind;   // as the download was asked: "1" dates, "2" COO numbers
  std::string start;
  std::string end;
};

struct Item {
  int number = 0;
  std::string code;
  std::string description;
  std::int64_t quantity = 0;      // thousandths
  int quantity_decimals = 3;      // as printed: 0 to 3
  std::string unit = "UN";
  std::int64_t unit_price = 0;    // thousandths of the currency unit
  int price_decimals = 2;         // as printed: 2 or 3
  std::int64_t discount = 0;      // cents
  std::int64_t surcharge = 0;     // cents
  std::int64_t total = 0;         // net total, cents
  std::string tax_code;           // "01T1800", "F1", "I1", "N1", "01S0500", ...
  bool cancelled = false;
  char rounding = 'T';            // 'T' truncation, 'A' rounding
  char production = 'T';          // 'P' own production, 'T' third party
};

// A quantity or unit price in thousandths with the decimals it was printed
// with (0 to 3), rounded: 1500 with 2 decimals is 150 (1,50).
std::int64_t in_decimals(std::int64_t thousandths, int decimals);

struct Payment {
  std::string form;               // payment form name as the printer knows it
  std::int64_t amount = 0;        // cents
  std::int64_t reversed = 0;      // cents given back by a reversal
};

struct Totalizer {
  std::string code;               // "01T1800", "F1", "Can-T", "DT", "OPNF", ...
  std::int64_t amount = 0;        // cents
};

struct Reduction {
  int crz = 0;
  int cro = 0;
  int coo = 0;                    // COO of the reduction itself
  Date movement_date;
  std::int64_t grand_total = 0;   // cents
  std::int64_t gross_sales = 0;   // cents
  std::int64_t cancellations = 0; // cents
  std::int64_t discounts = 0;     // cents
  std::int64_t surcharges = 0;    // cents
  std::vector<Totalizer> totalizers;
};

struct Document {
  DocumentKind kind = DocumentKind::FiscalCoupon;
  int coo = 0;
  int ccf = 0;                    // fiscal coupons
  int gnf = 0;                    // non-fiscal documents
  int grg = 0;                    // management reports
  int cdc = 0;                    // credit or debit slips
  int crz = 0;                    // the reduction counter when issued
  Date date;
  Time time;
  std::int64_t subtotal = 0;      // cents
  std::int64_t discount = 0;      // cents, on the subtotal
  std::int64_t surcharge = 0;     // cents, on the subtotal
  std::int64_t total = 0;         // cents, net
  bool cancelled = false;         // the coupon was cancelled
  char order = 'D';               // 'D' discount first, 'A' surcharge first
  std::string customer_name;
  std::string customer_id;        // CPF or CNPJ, digits
  int cancelled_coo = 0;          // for a cancellation: the COO it cancels
  std::string title;              // report or receipt title, as printed
  std::vector<Item> items;
  std::vector<Payment> payments;
  std::vector<std::string> lines; // free printed text (reports, receipts)
  std::optional<Reduction> reduction;  // Z reductions only
};

struct Download {
  Identification ecf;
  Range range;
  std::vector<Document> documents;  // in the order they were issued
};

// A file that cannot be read as a download: the message names the line.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file's text, and back. parse throws FormatError on any damage: a wrong
// first line, an unknown or misplaced record, a bad field count, a number or
// date that does not parse, a missing or wrong END count, anything after END.
std::string serialize(const Download& download);
Download parse(std::string_view text);

// Whole files. write_file replaces the file atomically (std::runtime_error on
// an I/O failure); read_file throws std::runtime_error when the file cannot be
// read and FormatError when it is damaged.
void write_file(const std::string& path, const Download& download);
Download read_file(const std::string& path);

}  // namespace mfd
