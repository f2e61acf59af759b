// The consumer balances printed in coupon footers: the closing's balance
// arithmetic, the family balances with their loans, and the balance block of
// the badge and account footers.
#pragma once
#include <string>

#include "coupon/closing_args.h"
#include "hostrt/dataset.h"

namespace kvr {

// The balance datasets of the data module.
struct BalanceData {
  hostrt::ClientDataSet& cdsSaldCred;      // CDFAMILISALD, NMFAMILISALD, VRSALDCONFAM
  hostrt::ClientDataSet& cdsFamiliaSaldo;  // CDFAMILISALD, VRSALDCONFAM
  hostrt::ClientDataSet& cdsEmprestimo;    // CDFAMILISALD, IDTPMOVEXT, VRMOVEXTCONS
};

// The final balance of the footers that are not the badge or account ones.
struct FinalBalance {
  double doValorTotal = 0;
  bool boImpSaldo = false;  // the "Saldo Final" line is printed
};
FinalBalance ComputeFinalBalance(const ClosingArgs& args, BalanceData data, double doValorCons);

// The balance of the current cdsSaldCred row after this sale's consumption
// and the family's loan.
double FamilyBalance(BalanceData data);

// The balance block of the badge footer (with_total: the family sum and
// "Saldo Total") or of the account footer.
std::string BalanceBlock(const ClosingArgs& args, BalanceData data, double doValorCons, bool with_total);

}  // namespace kvr
