// Relatorio_Produto: the products sold with their quantities and amounts, as
// a management report, plain or grouped by taxation with a summary of the
// amounts per taxation.
#include "dayend/product_report.h"

#include <string>

#include "core/dialogs.h"
#include "core/paper_figures.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/format.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "hostrt/variant.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

struct Totals {
  double amount = 0, surcharges = 0, discounts = 0, quantity = 0;
};

std::string Fixed(double value) { return BalanceText(value); }
// A figure right-aligned in its column, widening the line when it is wider.
std::string Figure(double value, int width) { return FigureRight(Fixed(value), width); }
// The amount column follows the quantity's with no blank between them.
std::string AmountAfterQuantity(double value, int width) { return NextFigure(Fixed(value), width); }

// The heading of a taxation without a rate: "F", "N" and "I" have one.
std::string SituationLabel(const std::string& situation) {
  if (situation == "F") return Msg("SubTrib");
  if (situation == "N") return Msg("NIncide");
  if (situation == "I") return Msg("Isento");
  return "";
}

class ProductReport {
 public:
  ProductReport(TdtmBematech12& dm, std::string colour) : dm_(dm), doc_(colour), colour_(std::move(colour)) {}

  // True when the report is whole on paper. An exception reaches the
  // caller, after the report is closed if it opened and is not closed yet:
  // the printer is left ready for the next document, with no close of a
  // report that is not there.
  bool Print(const std::string& branch, const std::string& till, std::string& stCupomDia, bool grouped) {
    ReportGuard report("Relatorio_Produto", colour_);
    doc_.Named("Relatorio_Produto");
    report.Opened(doc_.OpenReport(branch, till));
    stCupomDia = Nr_Cupom("", colour_);
    doc_.Line("").Line(hostrt::Centraliza(Msg("RelProdutos"), 47)).Line("");
    doc_.Line(hostrt::TamFixo(Msg("Codigo"), 12) + hostrt::TamFixo(Msg("Nome"), 20) +
              hostrt::TamFixoR(Msg("Qtde_"), 6) + hostrt::TamFixoR(Msg("Valor2"), 10));
    if (!grouped) doc_.Line("");
    doc_.HandOver();
    if (grouped)
      PrintGrouped();
    else
      PrintPlain();
    PrintTotals(!grouped);
    report.Closed();
    return doc_.Close(true, true);
  }

 private:
  hostrt::ClientDataSet& Products() { return dm_.cdsProdVend; }
  double Float(const char* field) { return Products().FieldByName(field).AsFloat(); }

  void ProductLine() {
    const double quantity = Float("QTPRODVEND"), amount = Float("VRTOTAL");
    doc_.Line(hostrt::TamFixo(Products().FieldByName("CDPRODUTO").AsString(), 11) + " " +
              hostrt::TamFixo(Products().FieldByName("NMPRODUTO").AsString(), 19) + " " +
              Figure(quantity, 6) + AmountAfterQuantity(amount, 10));
    doc_.HandOver();
    totals_.amount += amount;
    totals_.surcharges += Float("VRACRE");
    totals_.discounts += Float("VRDESC");
    totals_.quantity += quantity;
  }

  void PrintPlain() {
    for (Products().First(); !Products().Eof(); Products().Next()) ProductLine();
  }

  void PrintGrouped() {
    hostrt::ClientDataSet& by_rate = dm_.cdsAliqProduto;
    by_rate.Close();
    by_rate.ClearFieldDefs();
    by_rate.AddFieldDef("VRPERCSITTRIB", hostrt::FieldType::Float);
    by_rate.AddFieldDef("VRTOTALALIQ", hostrt::FieldType::Float);
    by_rate.AddFieldDef("IDTPIMPOSFIS", hostrt::FieldType::String, 1);
    by_rate.CreateDataSet();
    Products().AddIndex("idxTributacao", "IDTPIMPOSFIS;VRPEALIMPFIS");
    Products().SetIndexName("idxTributacao");

    std::string rate_text, situation;
    for (Products().First(); !Products().Eof(); Products().Next()) {
      const double rate = Float("VRPEALIMPFIS");
      const std::string product_situation = Products().FieldByName("IDTPIMPOSFIS").AsString();
      const std::string product_rate = hostrt::FloatToStr(rate);
      if (product_rate != rate_text || product_situation != situation) {
        rate_text = product_rate;
        std::string heading;
        if (rate != 0) {
          heading = Msg("TRIBUTACAO") + "  " + Fixed(rate);
          situation = product_situation;
        } else if (product_situation != situation) {
          heading = SituationLabel(product_situation);
          situation = product_situation;
        }
        if (!heading.empty()) doc_.Line(heading);
        doc_.HandOver();
      }
      ProductLine();
      AddToTaxation(rate, product_situation, Float("VRTOTAL"));
    }
    doc_.Line(hostrt::TamFixo(Msg("Valor_"), 29) + Figure(totals_.quantity, 9) +
              AmountAfterQuantity(Cents(totals_.amount), 10))
        .Line("");
    doc_.HandOver();
    doc_.Line(hostrt::TamFixo(Msg("TRIBUTADOS"), 35));
    doc_.HandOver();
    std::string label;
    for (by_rate.First(); !by_rate.Eof(); by_rate.Next()) {
      const double rate = by_rate.FieldByName("VRPERCSITTRIB").AsFloat();
      const std::string kind = SituationLabel(by_rate.FieldByName("IDTPIMPOSFIS").AsString());
      if (rate != 0)
        label = Fixed(rate);
      else if (!kind.empty())
        label = kind;
      doc_.Line(hostrt::TamFixo(label, 35) + Figure(Cents(by_rate.FieldByName("VRTOTALALIQ").AsFloat()), 13));
    }
    doc_.HandOver();
  }

  void AddToTaxation(double rate, const std::string& situation, double amount) {
    hostrt::ClientDataSet& by_rate = dm_.cdsAliqProduto;
    for (by_rate.First(); !by_rate.Eof(); by_rate.Next()) {
      if (by_rate.FieldByName("IDTPIMPOSFIS").AsString() == situation &&
          by_rate.FieldByName("VRPERCSITTRIB").AsFloat() == rate) {
        by_rate.Edit();
        by_rate.FieldByName("VRTOTALALIQ").SetAsFloat(by_rate.FieldByName("VRTOTALALIQ").AsFloat() + amount);
        by_rate.Post();
        return;
      }
    }
    by_rate.Append();
    by_rate.FieldByName("VRPERCSITTRIB").SetAsFloat(rate);
    by_rate.FieldByName("VRTOTALALIQ").SetAsFloat(amount);
    by_rate.FieldByName("IDTPIMPOSFIS").SetAsString(situation);
    by_rate.Post();
  }

  void PrintTotals(bool plain) {
    if (plain) doc_.Line("");
    doc_.Line(hostrt::TamFixo(Msg("Tot_Acre"), 35) + Figure(Cents(totals_.surcharges), 13)).Line("");
    doc_.Line(hostrt::TamFixo(Msg("Tot_Desc"), 35) + Figure(Cents(totals_.discounts), 13)).Line("");
    doc_.Line(hostrt::TamFixo(Msg("Tot_Valor"), 29) + Figure(totals_.quantity, 9) +
              AmountAfterQuantity(Cents(totals_.amount), 10))
        .Line("")
        .Line("");
    doc_.HandOver();
  }

  TdtmBematech12& dm_;
  DocumentBuilder doc_;
  std::string colour_;
  Totals totals_;
};

}  // namespace

bool ProductSalesReport(const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
                        std::string& stCupomDia, hostrt::ClientDataSet& cdsProdAux, const std::string& stEmiRelProd,
                        const std::string& stTribRelPro, const std::string& stIdEsquema, bool& boCtrlCupom,
                        const std::function<bool()>& close_callers) {
  TdtmBematech12& dm = DataModule();
  dm.cdsProdVend.CopyFrom(cdsProdAux);
  if (stEmiRelProd == "S") {
    if (!Ask(Msg("ConfRelProds"), hostrt::kConfirmation, stIdEsquema)) return true;
  } else if (stEmiRelProd != "N") {
    return true;
  }
  const bool closed_left_open = !boCtrlCupom && close_callers();
  boCtrlCupom = true;
  // A report is recorded once whole on paper; without products, the report
  // closed above is recorded in its place, and nothing when none was.
  const bool products = dm.cdsProdVend.Active() && !dm.cdsProdVend.IsEmpty();
  const bool whole =
      !products || ProductReport(dm, stIdEsquema).Print(stCdFilial, stCdCaixa, stCupomDia, stTribRelPro == "S");
  if (products ? whole : closed_left_open) GravaDocumentosNaoFiscais(stNrSerie, stIdEsquema, "RG");
  return whole;
}

}  // namespace kvr

extern "C" {

// No exception guard: an exception reaches the caller.
KVR_EXPORT void Relatorio_Produto(const std::string& /*stParam*/, const std::string& /*stModo*/,
                                  const std::string& stNrSerie, const std::string& stCdFilial,
                                  const std::string& stCdCaixa, std::string& stCupomDia,
                                  hostrt::ClientDataSet& cdsProdAux, const std::string& stEmiRelProd,
                                  const std::string& stTribRelPro, const std::string& stIdEsquema,
                                  bool& boCtrlCupom) {
  kvr::ProductSalesReport(stNrSerie, stCdFilial, stCdCaixa, stCupomDia, cdsProdAux, stEmiRelProd, stTribRelPro,
                          stIdEsquema, boCtrlCupom, [&] { return FechRelatGerenc(stIdEsquema, true, true); });
}

}  // extern "C"
