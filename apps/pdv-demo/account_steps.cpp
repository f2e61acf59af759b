#include "account_steps.h"

#include <iostream>
#include <vector>

#include "demo_datasets.h"
#include "driver_operation.h"
#include "hostrt/clock.h"
#include "kvr00102/kvr00102.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

struct Totalizers {
  std::string cv, consumer_sale, credit_purchase, credit_cancellation, reports;
};

Totalizers LoadTotalizers(void* driver) {
  Totalizers t;
  hostrt::ClientDataSet unused{"cdsRecebimento"};
  OPERATION(driver, CarregaTotalizador)(t.cv, t.consumer_sale, t.credit_purchase, t.credit_cancellation, t.reports,
                                        kColour, 1, unused);
  std::cout << "CarregaTotalizador: contra-vale " << t.cv << ", venda consumidor " << t.consumer_sale
            << ", compra de credito " << t.credit_purchase << ", cancelamento " << t.credit_cancellation
            << ", relatorios " << t.reports << "\n";
  return t;
}

void ConsumerDebit(void* driver) {
  hostrt::ClientDataSet products{"cdsProdDeb"};
  Fill(products,
       {{"CDARVPROD", hostrt::FieldType::String}, {"NMPRODUTO", hostrt::FieldType::String},
        {"QTPRODCOMVEN", hostrt::FieldType::Float}, {"VRPRECCOMVEN", hostrt::FieldType::Float}},
       {{"7891000100103", "CAFE EXPRESSO", 2.0, 4.5}, {"7891000300300", "PAO DE QUEIJO", 3.0, 2.5}});
  Report("Comp_DebitoCons 16,50 on account 4567",
         OPERATION(driver, Comp_DebitoCons)(kColour, products.Data(), 16.5, "", "4567", "JOAO DA SILVA", "123",
                                            "EMPRESA EXEMPLO", "42", 80.0, 0.0, 0.0, ""));
}

void PersonalCredit(void* driver, const std::string& serial, const Totalizers& t) {
  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
  Fill(payments, {{"VRMOVIVEND", hostrt::FieldType::Float}, {"NMTIPORECE", hostrt::FieldType::String}},
       {{50.0, "Dinheiro"}});
  std::string coupon;
  Report("Compr_CredPessoal 50,00", OPERATION(driver, Compr_CredPessoal)("", t.credit_purchase, serial, "001", "001",
                                                                         kColour, coupon, payments, 63.5,
                                                                         "JOAO DA SILVA", "000123", "CANTINA"));
  Report("Cancela_Cred_Pessoal 20,00",
         OPERATION(driver, Cancela_Cred_Pessoal)(t.credit_cancellation, serial, "001", "001", kColour, "", "000123",
                                                 "EMPRESA EXEMPLO", "JOAO DA SILVA", "001", "Dinheiro", 20.0, 93.5,
                                                 "CANTINA"));
}

void BalanceAndStatement(void* driver) {
  hostrt::ClientDataSet families{"cdsSaldFam"};
  Fill(families, {{"NMFAMILISALD", hostrt::FieldType::String}, {"SALDOFAM", hostrt::FieldType::Float}},
       {{"CANTINA", 93.5}, {"RESTAURANTE", 12.0}});
  families.First();
  Report("Cabecalho", OPERATION(driver, Cabecalho)("001", kColour, "LOJA CENTRO", "001", "", ""));
  Report("ImpSaldo", OPERATION(driver, ImpSaldo)(kColour, families, "4567", "JOAO DA SILVA"));

  hostrt::ClientDataSet kind{"cdsTipoExtCons"}, accounts{"cdsSaldoConsExt"}, moves{"cdsExtSimples"};
  hostrt::ClientDataSet items{"cdsExtVenda"}, full{"cdsExtrato"};
  const hostrt::Variant today(hostrt::Date());
  Fill(kind, {{"IDEMISEXTRSIMPL", hostrt::FieldType::String}}, {{"S"}});
  Fill(accounts,
       {{"CDFAMILISALD", hostrt::FieldType::String}, {"NMFAMILISALD", hostrt::FieldType::String},
        {"SALDANT", hostrt::FieldType::Float}},
       {{"1", "CANTINA", 80.0}});
  Fill(moves,
       {{"CDFAMILISALD", hostrt::FieldType::String}, {"DATA", hostrt::FieldType::DateTime},
        {"HORA", hostrt::FieldType::String}, {"DSOPEEXTCONS", hostrt::FieldType::String},
        {"VRMOVEXTCONS", hostrt::FieldType::Float}, {"VRSALDCONEXT", hostrt::FieldType::Float},
        {"NRSEQVENDA", hostrt::FieldType::String}, {"IDTPMOVEXT", hostrt::FieldType::String}},
       {{"1", today, "10:30", "COMPRA", -16.5, 63.5, "1", "V"},
        {"1", today, "11:00", "DEPOSITO", 50.0, 113.5, "", "D"},
        {"1", today, "11:05", "CANCELAMENTO", -20.0, 93.5, "", "C"}});
  Fill(items,
       {{"NRSEQVENDA", hostrt::FieldType::String}, {"CDFAMILISALD", hostrt::FieldType::String},
        {"QTDE", hostrt::FieldType::Float}, {"NMPRODUTO", hostrt::FieldType::String},
        {"VRTOTAL", hostrt::FieldType::Float}},
       {{"1", "1", 2.0, "CAFE EXPRESSO", 9.0}, {"1", "1", 3.0, "PAO DE QUEIJO", 7.5}});
  Fill(full, {{"CDFAMILISALD", hostrt::FieldType::String}}, {});
  Report("Extrato (simple)", OPERATION(driver, Extrato)("001", kColour, kind, accounts, moves, items, families, "",
                                                        "LOJA CENTRO", "001", "4567", "JOAO DA SILVA", full));
}

}  // namespace

void RunAccountSteps(void* driver, const std::string& serial) {
  std::cout << "\n== Customer accounts ==\n";
  std::cout << "EstHorVerao: " << (OPERATION(driver, EstHorVerao)(kColour) ? "daylight-saving time" : "standard time")
            << "\n";
  const Totalizers totalizers = LoadTotalizers(driver);
  ConsumerDebit(driver);
  PersonalCredit(driver, serial, totalizers);
  BalanceAndStatement(driver);
}

}  // namespace pdv_demo
