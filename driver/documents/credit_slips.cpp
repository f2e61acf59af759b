// Compr_CredPessoal and Cancela_Cred_Pessoal: the slips of a purchase of
// account credit and of its cancellation, each a management report followed
// by the registration of the money as unlinked non-fiscal receipts.
#include <string>

#include "datamodule/data_module.h"
#include "documents/account_text.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "documents/unlinked_receipt.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

void SlipTitle(DocumentBuilder& doc, const std::string& title) {
  doc.Line("").Centred(title).Rule('-').Line("");
}

void SlipFigures(DocumentBuilder& doc, const std::string& stNmFamilia, double amount, double final_balance) {
  doc.Line(Copy48(Msg("NmFami") + stNmFamilia))
      .Line(Copy48(Msg("VrCupom") + CurrencyText(amount)))
      .Line(Copy48(Msg("VrSaldo") + CurrencyText(final_balance)));
}

struct Deposit {
  std::string number, consumer, family;
  double paid = 0, final_balance = 0;
};

void PurchaseCopy(DocumentBuilder& doc, const Deposit& deposit) {
  SlipTitle(doc, Msg("ComprCredito"));
  doc.Line(Copy48(Msg("Nr_Deposito") + deposit.number)).Blank().Line(Copy48(Msg("NmCons") + deposit.consumer));
  SlipFigures(doc, deposit.family, deposit.paid, deposit.final_balance);
  doc.HandOver();
}

double AmountPaid(hostrt::ClientDataSet& payments) {
  double paid = 0;
  for (payments.First(); !payments.Eof(); payments.Next()) paid += payments.FieldByName("VRMOVIVEND").AsFloat();
  return paid;
}

}  // namespace
}  // namespace kvr

extern "C" {

// The slip is printed twice; then each payment row becomes a receipt on the
// credit-purchase totalizer. True only when every receipt was registered (so
// False without payments). Exceptions reach the host, after the report has
// been closed.
KVR_EXPORT bool Compr_CredPessoal(const std::string& /*stParam*/, const std::string& stTotCompCred,
                                  const std::string& stNrSerie, const std::string& stCdFilial,
                                  const std::string& stCdCaixa, const std::string& stEsquemaCor,
                                  std::string& stCupomDia, hostrt::ClientDataSet& cdsMovCaixaCred, double doSald,
                                  const std::string& stNmConsCred, const std::string& stNrDeposi,
                                  const std::string& stNmFamilia) {
  kvr::DataModule();
  const double paid = kvr::AmountPaid(cdsMovCaixaCred);
  stCupomDia = Nr_Cupom("", stEsquemaCor);
  kvr::ReportGuard report("Compr_CredPessoal", stEsquemaCor);
  const bool opened = report.Opened(Relatorio_Gerencial_Imp(stEsquemaCor, stCdFilial, stCdCaixa, ""));
  if (opened) {
    GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "RG");
    const kvr::Deposit deposit{stNrDeposi, stNmConsCred, stNmFamilia, paid, paid + doSald};
    kvr::DocumentBuilder doc(stEsquemaCor);
    kvr::PurchaseCopy(doc, deposit);
    for (int i = 0; i < 4; ++i) doc.Blank();
    doc.HandOver();
    Guilhotina(stEsquemaCor, 1);
    kvr::PurchaseCopy(doc, deposit);
  }
  report.Closed();
  FechRelatGerenc(stEsquemaCor, true, false);
  if (!opened) return false;

  bool registered = false;
  bool all = true;
  for (cdsMovCaixaCred.First(); !cdsMovCaixaCred.Eof(); cdsMovCaixaCred.Next()) {
    registered = kvr::RegisterUnlinkedReceipt(stEsquemaCor, stTotCompCred,
                                              cdsMovCaixaCred.FieldByName("VRMOVIVEND").AsFloat(),
                                              cdsMovCaixaCred.FieldByName("NMTIPORECE").AsString());
    all = all && registered;
  }
  return registered && all;
}

// The cancelled amount becomes a receipt on the credit-cancellation totalizer,
// recorded as "CN"; the report is recorded as "RG" once closed. The verdict of
// the receipt. Exceptions reach the host, after the report has been closed.
KVR_EXPORT bool Cancela_Cred_Pessoal(const std::string& stTotCancCred, const std::string& stNrSerie,
                                     const std::string& stCdFilial, const std::string& stCdCaixa,
                                     const std::string& stEsquemaCor, const std::string& /*stCupomDia*/,
                                     const std::string& stDeposito, const std::string& stCliente,
                                     const std::string& stConsumidor, const std::string& /*stCdTpRece*/,
                                     const std::string& stNmTpRece, double doValor, double doValorSald,
                                     const std::string& stNmFamilia) {
  kvr::DataModule();
  kvr::ReportGuard report("Cancela_Cred_Pessoal", stEsquemaCor);
  if (!report.Opened(Relatorio_Gerencial_Imp(stEsquemaCor, stCdFilial, stCdCaixa, ""))) return false;
  kvr::DocumentBuilder doc(stEsquemaCor);
  kvr::SlipTitle(doc, kvr::Msg("Canc_ComprCredito"));
  doc.Line(kvr::Copy48(kvr::Msg("Canc_Deposito") + ": " + stDeposito))
      .Blank()
      .Line(kvr::Copy48(kvr::Msg("CDCLIE") + stCliente))
      .Line(kvr::Copy48(kvr::Msg("Consumidor") + ": " + stConsumidor));
  kvr::SlipFigures(doc, stNmFamilia, doValor, doValorSald);
  doc.HandOver();
  report.Closed();
  if (doc.Close()) GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "RG");

  const bool registered = kvr::RegisterUnlinkedReceipt(stEsquemaCor, stTotCancCred, doValor, stNmTpRece);
  if (registered) GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "CN");
  return registered;
}

}  // extern "C"
