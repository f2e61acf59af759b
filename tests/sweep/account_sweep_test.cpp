// The customer account slips and the account balance and statement reports
// under one printer fault at a time (see test_support/fault_sweep.h for the
// rules every case is checked against).
#include <gmock/gmock.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "../coupon/dataset_rows.h"
#include "hostrt/datetime.h"
#include "sweep_fixture.h"

namespace sweep_test {
namespace {

using coupon_test::DatasetData;
using coupon_test::FieldDef;
using S = hostrt::FieldType;
using Rows = std::vector<std::vector<hostrt::Variant>>;

void Fill(hostrt::ClientDataSet& ds, const std::vector<FieldDef>& fields, const Rows& rows) {
  ds.SetData(DatasetData(fields, rows));
  ds.First();
}

struct Payment {
  long long cents;
  std::string form;
};

// "30,00" for 3000 cents.
std::string AmountText(long long cents) {
  const std::string hundredths = std::to_string(cents % 100);
  return std::to_string(cents / 100) + "," + (hundredths.size() < 2 ? "0" : "") + hundredths;
}

class AccountSweepTest : public DocumentSweepTest {
 protected:
  // The forms the payments name and the totalizers of credit purchases (01)
  // and of their cancellations (02).
  void Tables() override {
    ProgramPaymentForm("Cartao");
    ProgramTotalizer(1, "Cred Pessoal");
    ProgramTotalizer(2, "Canc Credito");
  }

  // Compr_CredPessoal of these payments. Besides the common rules: a False
  // that registered part of the money leaves in the dataset exactly the rows
  // the printer holds (each form's day total grew by the rows left on it) and
  // names their amounts in a dialog; a False that leaves the dataset whole
  // registered nothing; a True leaves the dataset whole.
  SweepCase Purchase(const std::string& name, const std::vector<Payment>& rows) {
    SweepCase c = Case(
        name,
        [this, rows] {
          Rows values;
          for (const auto& row : rows) values.push_back({static_cast<double>(row.cents) / 100, row.form});
          Fill(payments, {{"VRMOVIVEND", S::Float}, {"NMTIPORECE", S::String, 40}}, values);
          NoteForms();
        },
        [this] {
          std::string coupon;
          return KVR(driver, Compr_CredPessoal)("", "01", "EMU0001", "001", "002", "007", coupon, payments, 10.0,
                                                "MARIA", "000321", "SOUZA");
        });
    c.rules = [this, count = static_cast<int>(rows.size())](const Observation&, const Observation& run,
                                                             std::vector<std::string>& broken) {
      const std::map<std::string, long long> grown = FormsGrown(run);
      std::map<std::string, long long> left;
      std::vector<long long> left_amounts;
      for (payments.First(); !payments.Eof(); payments.Next()) {
        const auto cents = std::llround(payments.FieldByName("VRMOVIVEND").AsFloat() * 100);
        if (cents == 0) continue;  // holds no money: never sent
        left[payments.FieldByName("NMTIPORECE").AsString()] += cents;
        left_amounts.push_back(cents);
      }
      const bool whole = payments.RecordCount() == count;
      if (run.verdict.success) {
        if (!whole) broken.push_back("payments: a True that took rows out of the dataset");
        return;
      }
      if (whole) {
        if (!grown.empty()) broken.push_back("payments: a False with the dataset whole, and the printer holds money of it");
        return;
      }
      if (grown != left) broken.push_back("payments: the rows left in the dataset are not the receipts the printer holds");
      for (long long cents : left_amounts) {
        bool named = false;
        for (const auto& text : run.dialog_texts) named = named || text.find(AmountText(cents)) != std::string::npos;
        if (!named) broken.push_back("payments: no dialog names the registered " + AmountText(cents));
      }
    };
    return c;
  }

  // The payment forms' day totals before the operation, and what each grew by
  // in a run (the forms that grew).
  void NoteForms() { forms_before = test_support::PrinterFigures(printer); }
  std::map<std::string, long long> FormsGrown(const Observation& run) {
    std::map<std::string, long long> grown;
    for (const auto& [key, value] : run.figures)
      if (key.rfind("Forma:", 0) == 0 && value != forms_before[key]) grown[key.substr(6)] = value - forms_before[key];
    return grown;
  }

  // Cabecalho's header into a report it leaves open, as the host prints it
  // before a balance query.
  bool Header() { return KVR(driver, Cabecalho)("001", "007", "MATRIZ", "002", "", ""); }

  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
  std::map<std::string, long long> forms_before;
};

TEST_F(AccountSweepTest, DebitSlip) {
  const auto products = DatasetData({{"CDARVPROD", S::String, 20},
                                     {"NMPRODUTO", S::String, 40},
                                     {"QTPRODCOMVEN", S::Float},
                                     {"VRPRECCOMVEN", S::Float}},
                                    {{"101", "CAFE", 2.0, 4.5}});
  Expect(Case("Comp_DebitoCons", nullptr, [&] {
    return KVR(driver, Comp_DebitoCons)("007", products, 9.0, "", "4567", "JOAO", "123", "EMPRESA", "", 50.0, 0.0,
                                        0.0, "");
  }));
}

TEST_F(AccountSweepTest, CreditPurchaseWithOnePayment) {
  Expect(Purchase("Compr_CredPessoal-1", {{3000, "Dinheiro"}}));
}

TEST_F(AccountSweepTest, CreditPurchaseWithTwoPayments) {
  Expect(Purchase("Compr_CredPessoal-2", {{3000, "Dinheiro"}, {2000, "Cartao"}}));
}

TEST_F(AccountSweepTest, CreditCancellation) {
  SweepCase c = Case("Cancela_Cred_Pessoal", [&] { NoteForms(); }, [&] {
    return KVR(driver, Cancela_Cred_Pessoal)("02", "EMU0001", "001", "002", "007", "", "000321", "EMPRESA", "MARIA",
                                             "001", "Dinheiro", 25.5, 4.5, "SOUZA");
  });
  // The verdict and the "CN" record say whether the printer holds the
  // cancelled amount.
  c.rules = [&](const Observation&, const Observation& run, std::vector<std::string>& broken) {
    const auto grown = FormsGrown(run);
    const bool registered = grown == std::map<std::string, long long>{{"Dinheiro", 2550}};
    if (!registered && !grown.empty()) broken.push_back("cancellation: the printer holds another amount");
    if (run.verdict.success != registered) broken.push_back("cancellation: the verdict is not the receipt's");
    int cn = 0;
    for (const auto& record : run.records) cn += record.rfind("CN ", 0) == 0 ? 1 : 0;
    if (cn != (registered ? 1 : 0)) broken.push_back("cancellation: " + std::to_string(cn) + " 'CN' records");
  };
  Expect(c);
}

TEST_F(AccountSweepTest, HeaderAndBalanceQuery) {
  SweepCase header = Case("Cabecalho", nullptr, [&] { return Header(); });
  // The host goes on printing into the report after a True only.
  header.rules = [](const Observation&, const Observation& run, std::vector<std::string>& broken) {
    if (!run.verdict.success && run.document != "nenhum") broken.push_back("header: a False leaves '" + run.document + "' open");
  };
  Expect(header);

  hostrt::ClientDataSet families{"cdsSaldFam"};
  Expect(Case(
      "ImpSaldo",
      [&] {
        Fill(families, {{"NMFAMILISALD", S::String, 40}, {"SALDOFAM", S::Float}}, {{"CANTINA", 12.5}});
        ASSERT_TRUE(Header());
      },
      [&] { return KVR(driver, ImpSaldo)("007", families, "C77", "ANA"); }));
}

TEST_F(AccountSweepTest, BalanceReports) {
  hostrt::ClientDataSet credit{"cdsSaldCred"};
  Expect(Case(
      "Saldo_CredPessoal",
      [&] { Fill(credit, {{"NMFAMILISALD", S::String, 40}, {"VRSALDCONFAM", S::Float}}, {{"CANTINA", 20.0}}); },
      [&] { return KVR(driver, Saldo_CredPessoal)("001", "002", "007", "ANA", credit); }));

  hostrt::ClientDataSet types{"cdsTipoCons"}, consumers{"cdsSaldoNeg"};
  Expect(Case(
      "SaldoNegativo",
      [&] {
        Fill(types, {{"CDTIPOCONS", S::String, 3}, {"NMTIPOCONS", S::String, 40}}, {{"1", "ALUNOS"}});
        Fill(consumers, {{"CDTIPOCONS", S::String, 3}, {"NMCONSUMIDOR", S::String, 40}, {"SALDONEGATIVO", S::Float}},
             {{"1", "PEDRO", -2.0}});
      },
      [&] { return KVR(driver, SaldoNegativo)("001", "007", types, consumers, "MATRIZ", "002", "C77", "ANA"); }));
}

TEST_F(AccountSweepTest, Statements) {
  hostrt::ClientDataSet kind{"cdsTipoExtCons"}, accounts{"cdsSaldoConsExt"}, simple_moves{"cdsExtSimples"};
  hostrt::ClientDataSet sale_items{"cdsExtVenda"}, families{"cdsSaldFam"}, full_moves{"cdsExtrato"};
  const hostrt::Variant day(hostrt::EncodeDate(2009, 3, 5));
  // One family with one sale of one item.
  const auto fill = [&](const std::string& simple) {
    Fill(kind, {{"IDEMISEXTRSIMPL", S::String, 1}}, {{simple}});
    Fill(accounts, {{"CDFAMILISALD", S::String, 3}, {"NMFAMILISALD", S::String, 40}, {"SALDANT", S::Float}},
         {{"1", "CANTINA", 36.0}});
    Fill(simple_moves,
         {{"CDFAMILISALD", S::String, 3}, {"DATA", S::DateTime}, {"HORA", S::String, 8},
          {"DSOPEEXTCONS", S::String, 30}, {"VRMOVEXTCONS", S::Float}, {"VRSALDCONEXT", S::Float},
          {"NRSEQVENDA", S::String, 10}, {"IDTPMOVEXT", S::String, 1}},
         {{"1", day, "10:30", "COMPRA", -6.0, 30.0, "55", "V"}});
    Fill(full_moves,
         {{"CDFAMILISALD", S::String, 3}, {"NMFAMILISALD", S::String, 40}, {"SALDANT", S::Float},
          {"DATA", S::DateTime}, {"HORA", S::String, 8}, {"DSOPEEXTCONS", S::String, 30}, {"VALOR", S::Float},
          {"SALDO", S::Float}, {"NRSEQVENDA", S::String, 10}, {"IDTPMOVEXT", S::String, 1}},
         {{"1", "CANTINA", 36.0, day, "10:30", "COMPRA", -6.0, 30.0, "55", "V"}});
    Fill(sale_items,
         {{"NRSEQVENDA", S::String, 10}, {"CDFAMILISALD", S::String, 3}, {"QTDE", S::Float},
          {"NMPRODUTO", S::String, 40}, {"VRTOTAL", S::Float}},
         {{"55", "1", 2.0, "SUCO", 6.0}});
    Fill(families, {{"NMFAMILISALD", S::String, 40}, {"SALDOFAM", S::Float}}, {{"CANTINA", 30.0}});
  };
  const auto statement = [&] {
    return KVR(driver, Extrato)("001", "007", kind, accounts, simple_moves, sale_items, families, "", "MATRIZ", "002",
                                "C77", "ANA", full_moves);
  };
  Expect(Case("Extrato-simples", [&] { fill("S"); }, statement));
  Expect(Case("Extrato-completo", [&] { fill("N"); }, statement));
}

TEST_F(AccountSweepTest, BlockedProducts) {
  hostrt::ClientDataSet blocked{"cdsProdutoblq"};
  Expect(Case(
      "ImprimeProdBloq",
      [&] {
        Fill(blocked,
             {{"NMFILIAL", S::String, 40}, {"CDLOJA", S::String, 10}, {"CDPRODUTO", S::String, 20},
              {"CDPROTECLADO", S::String, 20}, {"NMPRODUTO", S::String, 40}},
             {{"MATRIZ", "01", "1001", "55", "SUCO"}});
      },
      [&] { return KVR(driver, ImprimeProdBloq)("001", "002", "007", blocked); }));
}

}  // namespace
}  // namespace sweep_test
