// A ticket that follows a sale: a management report opened for the branch
// and till, laid out by the one document builder in blocks cut at 618
// characters, with a trail of debug-log lines, and closed; a block or close
// that fails follows the builder's rule. A ticket left by an exception closes
// its report on the way out, so the printer is ready.
#pragma once
#include <string>
#include <string_view>

#include "documents/document_builder.h"
#include "documents/report_guard.h"

namespace kvr {

class SaleTicket {
 public:
  // Opens the report; operation names the ticket in the log of an interruption.
  SaleTicket(std::string operation, const std::string& stEsquemaCor, const std::string& stCdFilial,
             const std::string& stCdCaixa);
  SaleTicket(const SaleTicket&) = delete;
  SaleTicket& operator=(const SaleTicket&) = delete;

  // One line, then, when given, one log line.
  SaleTicket& Line(std::string_view text, std::string_view log = {});
  // Text with no line feed after it, then its log line.
  SaleTicket& Text(std::string_view text, std::string_view log);
  SaleTicket& Rule();
  // Logs prefix followed by the block built so far.
  SaleTicket& LogBlock(std::string_view prefix);
  // Hands the block over (see above for a block the printer refuses).
  SaleTicket& Send();
  // Hands over what is left and closes the report: true when the ticket is
  // whole on paper and its report closed.
  bool Close();

 private:
  std::string operation_;
  DocumentBuilder document_;
  ReportGuard report_;
};

// Whether the last ticket closed was whole on paper: the tickets that return
// nothing are judged by it.
bool LastSaleTicketPrinted();

// An amount in whole currency units with thousands separators ("#,##0").
std::string WholeUnits(double amount);
// The computer's date and time after their labels: label_date + date + label_time + time.
std::string DateAndTime(std::string_view date_label, std::string_view time_label);
// "seña: " + the order password.
std::string PasswordLine(const std::string& stSenhaCupom);

}  // namespace kvr
