// The balance reports of the consumer accounts: a consumer's balance by family
// (ImpSaldo, into the report that Cabecalho opened), a consumer's credit
// balances (Saldo_CredPessoal) and the consumers with a negative balance by
// consumer type (SaldoNegativo).
#include <exception>
#include <string>

#include "core/dataset_filter.h"
#include "core/debug_log.h"
#include "core/paper_figures.h"
#include "documents/account_reports.h"
#include "documents/account_text.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

std::string LabelAmount(const std::string& label, int label_width, double amount, int amount_width) {
  return hostrt::TamFixo(label, label_width) + FigureRight(FixedText(amount, 2), amount_width);
}

namespace {

// The rule over a total of 37 + 11 columns, and the total (a sum, to the cent).
void TotalLines(DocumentBuilder& doc, double total) {
  doc.Line(hostrt::TamFixo(" ", 37) + std::string(11, '-')).Line(LabelAmount("Saldo Total", 37, Cents(total), 11));
}

}  // namespace
}  // namespace kvr

extern "C" {

// The body goes as one block cut at the block limit, so with many families
// the total line is cut short or lost. True when the body is on paper and the
// report closed. Exceptions reach the host, after the report has been closed.
KVR_EXPORT bool ImpSaldo(const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsSaldFam,
                         const std::string& stCracCOns, const std::string& stNmCons) {
  kvr::ReportGuard report("ImpSaldo", stEsquemaCor);
  report.Opened(true);  // the report Cabecalho opened
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("ImpSaldo");
  doc.Centred(">>> Consulta Saldo <<<").Rule('-').Line(stCracCOns + " - " + stNmCons).Line("");
  doc.HandOver();
  double total = 0;
  for (; !cdsSaldFam.Eof(); cdsSaldFam.Next()) {
    const double balance = cdsSaldFam.FieldByName("SALDOFAM").AsFloat();
    doc.Line(kvr::LabelAmount(cdsSaldFam.FieldByName("NMFAMILISALD").AsString(), 37, balance, 11));
    total += balance;
  }
  kvr::TotalLines(doc, total);
  report.Closed();
  return doc.Close();
}

// Families whose balance is exactly zero are left out. True when the report
// is whole on paper.
KVR_EXPORT bool Saldo_CredPessoal(const std::string& stCdFilial, const std::string& stCdCaixa,
                                  const std::string& stEsquemaCor, const std::string& stNmCons,
                                  hostrt::ClientDataSet& cdsSaldCred) {
  try {
    kvr::ReportGuard report("Saldo_CredPessoal", stEsquemaCor);
    kvr::DocumentBuilder doc(stEsquemaCor);
    doc.Named("Saldo_CredPessoal");
    report.Opened(doc.OpenReport(stCdFilial, stCdCaixa));
    doc.Line("").Centred(stNmCons).Blank();
    double total = 0;
    for (cdsSaldCred.First(); !cdsSaldCred.Eof(); cdsSaldCred.Next()) {
      const double balance = cdsSaldCred.FieldByName("VRSALDCONFAM").AsFloat();
      if (balance == 0) continue;
      doc.Line(kvr::LabelAmount(cdsSaldCred.FieldByName("NMFAMILISALD").AsString(), 25, balance, 15));
      total += balance;
    }
    doc.Rule('-').Line(kvr::LabelAmount("Saldo Total", 25, kvr::Cents(total), 15));
    report.Closed();
    return doc.Close();
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Saldo_CredPessoal: ") + error.what());
    return false;
  }
}

// One section per consumer type that has consumers; no report at all when
// none has. True when the report is whole on paper. cdsSaldoNeg is left with its own
// filter. Exceptions reach the host, after the report has been closed.
KVR_EXPORT bool SaldoNegativo(const std::string& stCdFilial, const std::string& stEsquemaCor,
                              hostrt::ClientDataSet& cdsTipoCons, hostrt::ClientDataSet& cdsSaldoNeg,
                              const std::string& stNomeFilial, const std::string& stCaixa,
                              const std::string& /*stCracCOns*/, const std::string& /*stNmCons*/) {
  kvr::ReportGuard report("SaldoNegativo", stEsquemaCor);
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("SaldoNegativo");
  bool printed = false;
  for (cdsTipoCons.First(); !cdsTipoCons.Eof(); cdsTipoCons.Next()) {
    kvr::FilterScope only_type(cdsSaldoNeg, "CDTIPOCONS = " + kvr::Quoted(cdsTipoCons.FieldByName("CDTIPOCONS").AsString()));
    cdsSaldoNeg.First();
    if (cdsSaldoNeg.Eof()) continue;
    if (!printed) {
      if (!kvr::AccountReportHeader(stCdFilial, stEsquemaCor, stNomeFilial, stCaixa)) return false;
      report.Opened(true);
      doc.Centred(">>> Saldo Negativo por Consumidor <<<");
    }
    printed = true;
    doc.Rule('-').Line(cdsTipoCons.FieldByName("NMTIPOCONS").AsString());
    double total = 0;
    for (; !cdsSaldoNeg.Eof(); cdsSaldoNeg.Next()) {
      const double balance = cdsSaldoNeg.FieldByName("SALDONEGATIVO").AsFloat();
      doc.Line(kvr::LabelAmount("  " + cdsSaldoNeg.FieldByName("NMCONSUMIDOR").AsString(), 37, balance, 10));
      total += balance;
      doc.HandOver();
    }
    kvr::TotalLines(doc, total);
    doc.HandOver();
  }
  if (!printed) return false;
  report.Closed();
  return doc.Close();
}

}  // extern "C"
