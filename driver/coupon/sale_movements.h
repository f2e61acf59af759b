// The cash movement rows of a printed sale (cdsMovi): "E" payment entries,
// "S" change given, "T" consumer debit; payment kinds "5" and "7" are meal
// tickets. Amounts are added in decimal, so that a sum compares as the
// paper shows it.
#pragma once
#include <string>

#include "hostrt/dataset.h"

namespace kvr {

// a + b without the binary error of the addition.
double DecimalSum(double a, double b);

bool IsTicketKind(const std::string& idTipoRece);

struct MovementTotals {
  double doTotal = 0;       // the "E" rows
  double doTotalTroco = 0;  // the "S" rows
  double doMontoTic = 0;    // the "E" rows paid with tickets
};
MovementTotals TotalMovements(hostrt::ClientDataSet& cdsMovi);

// A consumer-debit row ("T", in any letter case).
bool HasConsumerDebit(hostrt::ClientDataSet& cdsMovi);

// A ticket row whose payment type the till knows.
bool PaidWithTicket(hostrt::ClientDataSet& cdsMovi, hostrt::ClientDataSet& cdsRecebimento);

// Takes the ticket rows out of the host's cdsMovi. Unless Keep() is called,
// the rows the host had are put back when this goes away, so a sale that did
// not reach its coupon leaves the host's payments as they were.
class TicketRowsRemoval {
 public:
  explicit TicketRowsRemoval(hostrt::ClientDataSet& cdsMovi);
  ~TicketRowsRemoval();
  TicketRowsRemoval(const TicketRowsRemoval&) = delete;
  TicketRowsRemoval& operator=(const TicketRowsRemoval&) = delete;

  // The rows as the host had them, tickets included (cdsRecebTicket).
  hostrt::ClientDataSet& Original() { return original_; }
  void Keep() { kept_ = true; }

 private:
  void Restore() noexcept;

  hostrt::ClientDataSet& movi_;
  hostrt::ClientDataSet original_{"cdsRecebTicket"};
  bool kept_ = false;
};

}  // namespace kvr
