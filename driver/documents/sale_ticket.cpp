#include "documents/sale_ticket.h"

#include <utility>

#include "core/debug_log.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "platform/latin1.h"

namespace kvr {

namespace {

bool last_ticket_printed = false;

}  // namespace

bool LastSaleTicketPrinted() { return last_ticket_printed; }

SaleTicket::SaleTicket(std::string operation, const std::string& stEsquemaCor, const std::string& stCdFilial,
                       const std::string& stCdCaixa)
    : operation_(operation), document_(stEsquemaCor, kSaleAttachedBlockLimit), report_(std::move(operation), stEsquemaCor) {
  last_ticket_printed = false;
  document_.Named(operation_);
  report_.Opened(document_.OpenReport(stCdFilial, stCdCaixa));
}

SaleTicket& SaleTicket::Line(std::string_view text, std::string_view log) {
  document_.Line(text);
  if (!log.empty()) Log(log);
  return *this;
}

SaleTicket& SaleTicket::Text(std::string_view text, std::string_view log) {
  document_.Text(text);
  Log(log);
  return *this;
}

SaleTicket& SaleTicket::Rule() {
  document_.Rule('-');
  return *this;
}

SaleTicket& SaleTicket::LogBlock(std::string_view prefix) {
  Log(std::string(prefix) + document_.Block());
  return *this;
}

SaleTicket& SaleTicket::Send() {
  document_.HandOver();
  return *this;
}

bool SaleTicket::Close() {
  report_.Closed();
  last_ticket_printed = document_.Close();
  return last_ticket_printed;
}

std::string WholeUnits(double amount) { return hostrt::FormatFloat("#,##0", amount); }

std::string DateAndTime(std::string_view date_label, std::string_view time_label) {
  const hostrt::DateTime now = hostrt::Now();
  return std::string(date_label) + hostrt::DateToStr(now) + std::string(time_label) + hostrt::TimeToStr(now);
}

std::string PasswordLine(const std::string& stSenhaCupom) { return platform::L1("seña: ") + stSenhaCupom; }

}  // namespace kvr
