#include "coupon/consumer_balances.h"

#include <optional>

#include "core/paper_figures.h"
#include "coupon/closing_datasets.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "hostrt/text.h"

namespace kvr {
namespace {

constexpr char kLF = '\n';

// The family's loan of the given kind ("D" debit, "C" credit), when the host
// passed loan data and it holds one.
std::optional<double> Loan(hostrt::ClientDataSet& loans, const std::string& family, const char* kind) {
  if (!loans.Active() || !loans.Locate("CDFAMILISALD;IDTPMOVEXT", hostrt::Variant::ArrayOf({family, kind})))
    return std::nullopt;
  return loans.FieldByName("VRMOVEXTCONS").AsFloat();
}

double SumOfBalances(hostrt::ClientDataSet& balances) {
  double sum = 0;
  for (balances.First(); !balances.Eof(); balances.Next()) sum += balances.FieldByName("VRSALDCONFAM").AsFloat();
  return sum;
}

// A line of the block: the label in 25 columns, the balance (a sum, to the
// cent) right-aligned in 22.
std::string BlockLine(const std::string& label, double amount) {
  return hostrt::TamFixo(label, 25) + FigureRight(BalanceText(Cents(amount)), 22) + kLF;
}

}  // namespace

FinalBalance ComputeFinalBalance(const ClosingArgs& args, BalanceData data, double doValorCons) {
  FinalBalance result;
  const std::string& mode = args.stImpSaldoCons;
  const std::string& sale = args.IdTpVendaCons;
  if (mode == "0" && sale == "1") {
    if (HasRows(data.cdsSaldCred)) result.doValorTotal = Cents(SumOfBalances(data.cdsSaldCred) - doValorCons);
  } else if ((mode == "0" && sale == "2") || (mode == "1" && sale != "1")) {
    result.doValorTotal = Cents(args.doSaldoDebito - doValorCons + args.doPrecoSubsidio);
  }
  result.boImpSaldo = !args.stCrachaConsumidor.empty() && mode != "2" && (sale == "1" || sale == "2");
  return result;
}

double FamilyBalance(BalanceData data) {
  const std::string family = data.cdsSaldCred.FieldByName("CDFAMILISALD").AsString();
  double balance = data.cdsSaldCred.FieldByName("VRSALDCONFAM").AsFloat();
  const bool consumed = data.cdsFamiliaSaldo.Active() &&
                        data.cdsFamiliaSaldo.Locate("CDFAMILISALD", family, hostrt::loCaseInsensitive);
  if (consumed) balance -= data.cdsFamiliaSaldo.FieldByName("VRSALDCONFAM").AsFloat();
  if (auto debit = Loan(data.cdsEmprestimo, family, "D")) {
    balance -= *debit;
  } else if (consumed) {
    if (auto credit = Loan(data.cdsEmprestimo, family, "C")) balance += *credit;
  }
  return balance;
}

std::string BalanceBlock(const ClosingArgs& args, BalanceData data, double doValorCons, bool with_total) {
  std::string block = hostrt::Centraliza(args.stCliente + " - " + args.stNmCliente, 48) + kLF;
  block += hostrt::Centraliza(args.stCrachaConsumidor + " - " + args.stNmConsumidor, 48) + kLF;
  if (args.doPrecoSubsidio > 0) block += Msg("PRECO_SUBSIDIO") + " " + BalanceText(args.doPrecoSubsidio) + kLF;
  double doValorTotal = 0;
  hostrt::ClientDataSet& balances = data.cdsSaldCred;
  const bool has_rows = HasRows(balances);
  if (has_rows) {
    // Every non-zero family counts in the total; only the first two rows are printed.
    for (balances.First(); !balances.Eof(); balances.Next()) {
      const double amount = balances.FieldByName("VRSALDCONFAM").AsFloat();
      if (amount == 0) continue;
      if (balances.RecNo() <= 2)
        block += BlockLine(balances.FieldByName("NMFAMILISALD").AsString(), FamilyBalance(data));
      doValorTotal += amount;
    }
  }
  if (with_total) {
    if (has_rows) doValorTotal -= doValorCons;
    block += BlockLine("Saldo Total", doValorTotal);
    block += std::string(48, ' ') + kLF;
  }
  return block;
}

}  // namespace kvr
