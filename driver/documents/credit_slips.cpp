// Compr_CredPessoal and Cancela_Cred_Pessoal: the slips of a purchase of
// account credit and of its cancellation, each a management report followed
// by the registration of the money as unlinked non-fiscal receipts.
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "coupon/text_forms.h"

#include "datamodule/data_module.h"
#include "documents/account_text.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "documents/unlinked_receipt.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

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

// A zero amount is not sent: the printer refuses it, and it holds no money.
bool HoldsMoney(double amount) { return ReceiptCentsText(amount) != ReceiptCentsText(0); }

std::string PaymentText(hostrt::ClientDataSet& payments) {
  return payments.FieldByName("NMTIPORECE").AsString() + " " + CurrencyText(payments.FieldByName("VRMOVIVEND").AsFloat());
}

// Registers each payment row with money as a receipt on the totalizer, in
// order, up to the first the printer does not take. When it stops part way
// the printer keeps the amounts it took: the operator is told which (and the
// log), and the dataset is left holding exactly those rows, so that only the
// rest is registered again. True when every row is registered.
bool RegisterPayments(const std::string& stEsquemaCor, const std::string& totalizer, hostrt::ClientDataSet& payments) {
  std::vector<std::string> taken, missing;
  std::vector<int> missing_rows;
  int row = 0;
  for (payments.First(); !payments.Eof(); payments.Next(), ++row) {
    const double amount = payments.FieldByName("VRMOVIVEND").AsFloat();
    if (!missing.empty() || (HoldsMoney(amount) && !RegisterUnlinkedReceipt(stEsquemaCor, totalizer, amount,
                                                                            payments.FieldByName("NMTIPORECE").AsString()))) {
      missing.push_back(PaymentText(payments));
      missing_rows.push_back(row);
    } else if (HoldsMoney(amount)) {
      taken.push_back(PaymentText(payments));
    }
  }
  if (missing.empty()) return true;
  if (taken.empty()) return false;
  const auto joined = [](const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& t : texts) text += (text.empty() ? "" : "; ") + t;
    return text;
  };
  const std::string report = platform::L1("registrado no ECF: ") + joined(taken) +
                             platform::L1(". Não registrado: ") + joined(missing);
  Log("ERRO!!! Compr_CredPessoal: " + report);
  Notice(Msg("ErroComando") + "\r\n" + report, hostrt::kPrinterNotice, stEsquemaCor);
  // Deleted from the last, so that the rows before keep their places.
  for (auto it = missing_rows.rbegin(); it != missing_rows.rend(); ++it) {
    payments.First();
    for (int i = 0; i < *it; ++i) payments.Next();
    payments.Delete();
  }
  return false;
}

}  // namespace
}  // namespace kvr

extern "C" {

// The slip is printed twice; once it is whole on paper it is recorded as
// "RG", and each payment row with money becomes a receipt on the
// credit-purchase totalizer. True only when every such receipt was registered
// (so False without payments). A slip that is not whole registers no money.
// Exceptions reach the host, after the report has been closed.
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
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("Compr_CredPessoal");
  if (report.Opened(doc.OpenReport(stCdFilial, stCdCaixa))) {
    const kvr::Deposit deposit{stNrDeposi, stNmConsCred, stNmFamilia, paid, paid + doSald};
    kvr::PurchaseCopy(doc, deposit);
    for (int i = 0; i < 4; ++i) doc.Blank();
    doc.HandOver();
    Guilhotina(stEsquemaCor, 1);
    kvr::PurchaseCopy(doc, deposit);
  }
  report.Closed();
  if (!doc.Close()) return false;
  GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "RG");
  return cdsMovCaixaCred.RecordCount() > 0 && kvr::RegisterPayments(stEsquemaCor, stTotCompCred, cdsMovCaixaCred);
}

// Once the slip is whole on paper it is recorded as "RG", and the cancelled
// amount becomes a receipt on the credit-cancellation totalizer, recorded as
// "CN" (a zero amount sends none). The verdict of the receipt; a slip that is
// not whole registers no money. Exceptions reach the host, after the report
// has been closed.
KVR_EXPORT bool Cancela_Cred_Pessoal(const std::string& stTotCancCred, const std::string& stNrSerie,
                                     const std::string& stCdFilial, const std::string& stCdCaixa,
                                     const std::string& stEsquemaCor, const std::string& /*stCupomDia*/,
                                     const std::string& stDeposito, const std::string& stCliente,
                                     const std::string& stConsumidor, const std::string& /*stCdTpRece*/,
                                     const std::string& stNmTpRece, double doValor, double doValorSald,
                                     const std::string& stNmFamilia) {
  kvr::DataModule();
  kvr::ReportGuard report("Cancela_Cred_Pessoal", stEsquemaCor);
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("Cancela_Cred_Pessoal");
  if (!report.Opened(doc.OpenReport(stCdFilial, stCdCaixa))) return doc.Close();
  kvr::SlipTitle(doc, kvr::Msg("Canc_ComprCredito"));
  doc.Line(kvr::Copy48(kvr::Msg("Canc_Deposito") + ": " + stDeposito))
      .Blank()
      .Line(kvr::Copy48(kvr::Msg("CDCLIE") + stCliente))
      .Line(kvr::Copy48(kvr::Msg("Consumidor") + ": " + stConsumidor));
  kvr::SlipFigures(doc, stNmFamilia, doValor, doValorSald);
  doc.HandOver();
  report.Closed();
  if (!doc.Close()) return false;
  GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "RG");
  if (!kvr::HoldsMoney(doValor)) return true;
  const bool registered = kvr::RegisterUnlinkedReceipt(stEsquemaCor, stTotCancCred, doValor, stNmTpRece);
  if (registered) GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "CN");
  return registered;
}

}  // extern "C"
