// Extrato: the statement of a consumer's movements per family account, simple
// (movements by family from cdsExtSimples) or full (cdsExtrato), with the
// products of each sale and the total balance.
#include <string>

#include "core/dataset_filter.h"
#include "core/freed_at_unload.h"
#include "core/paper_figures.h"
#include "documents/account_reports.h"
#include "documents/account_text.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

struct Statement {
  const std::string& colour;
  hostrt::ClientDataSet& sale_items;  // cdsExtVenda
  DocumentBuilder doc;
  ReportGuard report;
  bool printed = false;
  // The header, once, before the first family with movements.
  std::string branch, branch_name, till, consumer;
};

// Which fields of a movement hold its value and the balance after it.
struct MovementFields {
  const char* value;
  const char* balance;
};

void StartFamily(Statement& s, const std::string& family_name, double previous_balance) {
  if (!s.printed) {
    // A header that did not print left no report to print into.
    s.doc.Opened(AccountReportHeader(s.branch, s.colour, s.branch_name, s.till));
    s.report.Opened(!s.doc.Stopped());
    s.doc.Line(s.consumer);
    s.printed = true;
  }
  s.doc.Rule('-')
      .Line(LabelAmount("SALDO ANTERIOR - " + family_name, 29, previous_balance, 11))
      .Rule('-')
      .Line(hostrt::TamFixo("Data", 6) + hostrt::TamFixo("Operacao", 19) + hostrt::TamFixo("Valor", 8) +
            hostrt::TamFixo("Saldo", 7));
  s.doc.HandOver();
}

void SaleItems(Statement& s, const std::string& sale, const std::string& family) {
  FilterScope only_sale(s.sale_items, "NRSEQVENDA = " + Quoted(sale) + "AND CDFAMILISALD = " + Quoted(family));
  for (s.sale_items.First(); !s.sale_items.Eof(); s.sale_items.Next()) {
    s.doc.Line(std::string(12, ' ') + FigureLeft(hostrt::FloatToStr(s.sale_items.FieldByName("QTDE").AsFloat()), 4) +
               " " + hostrt::TamFixo(s.sale_items.FieldByName("NMPRODUTO").AsString(), 11) + " " +
               FigureRight(FixedText(s.sale_items.FieldByName("VRTOTAL").AsFloat(), 2), 6));
    s.doc.HandOver();
  }
}

// The movements of one family from the current row of `movements` while
// `same_family` holds; a date line wherever the date changes.
template <typename SameFamily>
void Movements(Statement& s, hostrt::ClientDataSet& movements, MovementFields fields, const std::string& family,
               SameFamily same_family) {
  std::string previous_date;
  for (; !movements.Eof() && same_family(); movements.Next()) {
    const std::string date = hostrt::DateToStr(movements.FieldByName("DATA").AsDateTime());
    if (date != previous_date) s.doc.Line(date);
    previous_date = date;
    s.doc.Line(" " + hostrt::TamFixo(movements.FieldByName("HORA").AsString(), 6) +
               hostrt::TamFixo(movements.FieldByName("DSOPEEXTCONS").AsString(), 15) + "  " +
               FigureRight(FixedText(movements.FieldByName(fields.value).AsFloat(), 2), 7) + "  " +
               FigureRight(FixedText(movements.FieldByName(fields.balance).AsFloat(), 2), 7));
    s.doc.HandOver();
    const std::string sale = movements.FieldByName("NRSEQVENDA").AsString();
    if (!sale.empty() && movements.FieldByName("IDTPMOVEXT").AsString() == "V") SaleItems(s, sale, family);
  }
}

const FreedAtUnload<hostrt::ClientDataSet> auxiliary_movements_owner(cdsAuxExtSimp);

hostrt::ClientDataSet& AuxiliaryMovements() {
  if (!cdsAuxExtSimp) cdsAuxExtSimp = new hostrt::ClientDataSet("cdsAuxExtSimp");
  return *cdsAuxExtSimp;
}

void SimpleStatement(Statement& s, hostrt::ClientDataSet& families, hostrt::ClientDataSet& movements) {
  for (families.First(); !families.Eof(); families.Next()) {
    const std::string family = families.FieldByName("CDFAMILISALD").AsString();
    hostrt::ClientDataSet& copy = AuxiliaryMovements();
    {
      FilterScope only_family(movements, "CDFAMILISALD = " + Quoted(family));
      copy.CopyFrom(movements);
    }
    copy.First();
    if (copy.Eof()) continue;
    StartFamily(s, families.FieldByName("NMFAMILISALD").AsString(), families.FieldByName("SALDANT").AsFloat());
    Movements(s, copy, {"VRMOVEXTCONS", "VRSALDCONEXT"}, family, [] { return true; });
  }
}

void FullStatement(Statement& s, hostrt::ClientDataSet& movements) {
  movements.First();
  while (!movements.Eof()) {
    const std::string family = movements.FieldByName("CDFAMILISALD").AsString();
    StartFamily(s, movements.FieldByName("NMFAMILISALD").AsString(), movements.FieldByName("SALDANT").AsFloat());
    Movements(s, movements, {"VALOR", "SALDO"}, family,
              [&] { return movements.FieldByName("CDFAMILISALD").AsString() == family; });
  }
}

}  // namespace
}  // namespace kvr

extern "C" {

// True when a statement is whole on paper; nothing is printed (no report) without
// movements. The simple statement leaves each family's movements in
// cdsAuxExtSimp. The host's datasets keep their own filters. Exceptions reach
// the host, after the report has been closed.
KVR_EXPORT bool Extrato(const std::string& stCdFilial, const std::string& stEsquemaCor,
                        hostrt::ClientDataSet& cdsTipoExtCons, hostrt::ClientDataSet& cdsSaldoConsExt,
                        hostrt::ClientDataSet& cdsExtSimples, hostrt::ClientDataSet& cdsExtVenda,
                        hostrt::ClientDataSet& cdsSaldFam, const std::string& /*stValData*/,
                        const std::string& stFilial, const std::string& stCaixa, const std::string& stConsumidor,
                        const std::string& stNmConsumidor, hostrt::ClientDataSet& cdsExtrato) {
  kvr::Statement s{stEsquemaCor, cdsExtVenda, kvr::DocumentBuilder(stEsquemaCor).Named("Extrato"),
                   kvr::ReportGuard("Extrato", stEsquemaCor), false, stCdFilial, stFilial, stCaixa,
                   stConsumidor + "-" + stNmConsumidor};
  if (cdsTipoExtCons.FieldByName("IDEMISEXTRSIMPL").AsString() == "S")
    kvr::SimpleStatement(s, cdsSaldoConsExt, cdsExtSimples);
  else
    kvr::FullStatement(s, cdsExtrato);
  if (!s.printed) return false;
  double total = 0;
  for (cdsSaldFam.First(); !cdsSaldFam.Eof(); cdsSaldFam.Next()) total += cdsSaldFam.FieldByName("SALDOFAM").AsFloat();
  s.doc.Rule('-').Line(kvr::LabelAmount("Saldo Total", 12, kvr::Cents(total), 28));
  s.report.Closed();
  return s.doc.Close();
}

}  // extern "C"
