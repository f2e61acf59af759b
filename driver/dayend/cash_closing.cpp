// GeraReciboSangria: the end of a shift or of the fiscal day, driven by the
// host's flags. It prints an X reading, the withdrawal receipt in two copies,
// the product report and the closing report as management reports, asks the
// operator whether to open the till, to make the Z reduction and to print the
// closing reports, and hands the Z export back. The reduction itself is the
// host's to make.
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/paper_figures.h"
#include "core/printer_figures.h"
#include "coupon/text_forms.h"
#include "dayend/product_report.h"
#include "datamodule/data_module.h"
#include "documents/document_builder.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

struct ClosingArguments {
  const std::string& stNrSerie;
  const std::string& stCdFilial;
  const std::string& stCdCaixa;
  const std::string& stECF;
  int idTipoImpFis;
  std::string& stCupomDia;
  hostrt::ClientDataSet& cdsProdAux;
  hostrt::ClientDataSet& cdsMovAbertura;
  hostrt::ClientDataSet& cdsProdFechamento;
  bool boImpRelSan;
  bool boImprimeRedZ;
  hostrt::ClientDataSet& cdsRedzAux;
  hostrt::ClientDataSet& cdsFormRedzAux;
  hostrt::ClientDataSet& cdsImpostoRedzAux;
  hostrt::ClientDataSet& cdsTotNFisAux;
  bool& boReduziu;
  const std::string& stEmiRelProd;
  const std::string& stTribRelPro;
  const std::string& stImpLeituraX;
  const std::string& idImpEnvelope;
  const std::string& stEsquemaCor;
  bool boSangria;
  bool boFechDiaAnterior;
  bool boAccessImpRedz;
};

// An amount right-aligned in its column, widening the line when it is wider.
std::string Figure(double value, int width) { return FigureRight(BalanceText(value), width); }
const std::string kRule(kDocumentWidth, '-');

class CashClosing {
 public:
  explicit CashClosing(const ClosingArguments& a) : a_(a), dm_(DataModule()), doc_(a.stEsquemaCor) {
    doc_.Named("GeraReciboSangria");
  }

  bool Run() {
    try {
      return Steps();
    } catch (...) {
      // The exception reaches the host, but no report of ours stays open.
      if (report_open_) FechRelatGerenc(a_.stEsquemaCor, true, true);
      throw;
    }
  }

 private:
  bool Ask(const char* key) const { return kvr::Ask(Msg(key), hostrt::kConfirmation, a_.stEsquemaCor); }

  std::string LastCoupon() const { return Nr_Cupom("", a_.stEsquemaCor); }
  void FillDayCoupon(const std::string& coupon) const {
    if (a_.stCupomDia.empty()) a_.stCupomDia = coupon;
  }

  bool OpenReport() {
    report_open_ = doc_.OpenReport(a_.stCdFilial, a_.stCdCaixa);
    return report_open_;
  }
  // A report is recorded once it is whole on paper.
  void CloseReport() {
    report_open_ = false;
    if (doc_.Close(true, true)) GravaDocumentosNaoFiscais(a_.stNrSerie, a_.stEsquemaCor, "RG");
  }

  // A document of the closing that is not whole while the printer does not
  // answer was asked about and given up: the closing prints nothing more
  // rather than ask again for each document that follows.
  bool PrinterGone(bool whole) const {
    if (whole || NonFiscalDocumentOpen().has_value()) return false;
    Log(platform::L1("ERRO!!! GeraReciboSangria: a impressora não responde; o fechamento não foi impresso"));
    return true;
  }

  bool Steps() {
    a_.boReduziu = false;
    if (a_.boImpRelSan) {
      if (a_.stImpLeituraX == "S" && Leitura_X_Imp("", a_.stEsquemaCor, "")) a_.stCupomDia = LastCoupon();
      const bool opened = OpenReport();
      FillDayCoupon(LastCoupon());
      if (opened) WithdrawalReceipt();
      if (a_.boSangria || PrinterGone(!doc_.Stopped()))
        CloseReport();
      else
        ClosingReport(false);
    }
    if (a_.boSangria) return false;
    if (!a_.boFechDiaAnterior) {
      if (Ask("AbreCaixa")) return true;
      if (!a_.boImprimeRedZ || !a_.boAccessImpRedz) return false;
      if (!Ask("ConfReducao")) return false;
    }
    if (Ask("ConfRelFechamento")) ClosingReport(true);
    if (!a_.boFechDiaAnterior) {
      // The reduction is due only with the day's figures in hand: an export
      // that failed (it told the operator why) leaves boReduziu False.
      a_.boReduziu = ExportRedZ("", a_.stEsquemaCor, a_.stECF, a_.idTipoImpFis, dm_.cdsTipoReceAux, a_.cdsRedzAux,
                                a_.cdsFormRedzAux, a_.cdsImpostoRedzAux, a_.cdsTotNFisAux);
    }
    return false;
  }

  // Two copies, the supervisor's and the operator's, one line counter for both.
  void WithdrawalReceipt() {
    hostrt::ClientDataSet& counted = dm_.cdsMovFecha;
    hostrt::ClientDataSet& people = dm_.cdsOperadorSup;
    int lines = 0;
    for (int copy = 1; copy <= 2; ++copy) {
      if (copy == 1) {
        doc_.Line("");
        ++lines;
      }
      doc_.Line(hostrt::Centraliza(Msg(copy == 1 ? "RecSangria3" : "RecSangria1"), 48));
      ++lines;
      doc_.Line(kRule);
      const std::string columns = hostrt::TamFixo(Msg("Modalidade"), 25) + " " + hostrt::TamFixoR(Msg("Valor_"), 15);
      doc_.Line(a_.idImpEnvelope == "S" ? Msg("Envelope") + " " + columns : columns);
      lines += 2;
      doc_.HandOver();
      double total = 0;
      if (counted.Active()) {
        for (counted.First(); !counted.Eof(); counted.Next()) {
          const double amount = counted.FieldByName(a_.boSangria ? "VRFECHADIG" : "VRFECHAINF").AsFloat();
          doc_.Line(counted.FieldByName("NRENVELOPE").AsString() + " " +
                    hostrt::TamFixo(counted.FieldByName("NMTIPORECE").AsString(), 25) + " " +
                    Figure(amount, 15));
          total += amount;
          ++lines;
          doc_.HandOver();
        }
      }
      doc_.Line(hostrt::TamFixo(Msg("Sangrias"), 27) + Figure(Cents(total), 15)).Line("");
      lines += 2;
      if ((lines - 3) % 10 == 0) {
        doc_.Line("");
        ++lines;
      }
      doc_.Line(kRule);
      const bool supervisor = copy == 1;
      std::string signature = "";
      if (people.Active() && !people.IsEmpty()) {
        people.First();
        signature = supervisor ? Msg("Superv") + " : " + people.FieldByName("CDSUPERVISOR").AsString() + " " +
                                     people.FieldByName("NMSUPERVISOR").AsString()
                               : Msg("Operador") + " : " + people.FieldByName("CDOPERADOR").AsString() + " " +
                                     people.FieldByName("NMOPERADOR").AsString();
      } else {
        signature = Msg(supervisor ? "Superv" : "Operador") + " : ";
      }
      doc_.Line(signature.substr(0, kDocumentWidth));
      lines += 2;
      doc_.HandOver();
    }
  }

  static double SalesTotal(hostrt::ClientDataSet& products) {
    double total = 0;
    if (!products.Active()) return total;
    for (products.First(); !products.Eof(); products.Next()) total += products.FieldByName("VRTOTAL").AsFloat();
    return Cents(total);
  }

  // The partial closing (the shift) or the final one (the day).
  void ClosingReport(bool final_closing) {
    hostrt::ClientDataSet& products = final_closing ? a_.cdsProdFechamento : a_.cdsProdAux;
    hostrt::ClientDataSet& movements = final_closing ? dm_.cdsMovTot : dm_.cdsMovAbertura;
    bool boCupom = final_closing;
    std::string coupon;
    // When the product report prints, ours is closed first, and recorded then
    // when whole: before the product report, whose record follows.
    const bool products_whole =
        ProductSalesReport(a_.stNrSerie, a_.stCdFilial, a_.stCdCaixa, coupon, products, a_.stEmiRelProd,
                           a_.stTribRelPro, a_.stEsquemaCor, boCupom, [this] {
                             CloseReport();
                             return false;
                           });
    FillDayCoupon(coupon);
    if (!dm_.cdsMovTot.Active() || dm_.cdsMovTot.IsEmpty() || PrinterGone(products_whole)) {
      // No closing report; a report of ours still open is closed.
      if (report_open_) CloseReport();
      return;
    }
    if (boCupom) {
      OpenReport();
      FillDayCoupon(LastCoupon());
    }
    doc_.Line(hostrt::Centraliza(Msg(final_closing ? "relFechamentoGeral" : "RelFechamento"), 47)).Line("");
    const double sales = SalesTotal(products);
    doc_.Line(hostrt::TamFixo(Msg("Vendas"), 35) + Figure(sales, 13)).Line(kRule);
    doc_.HandOver();
    double payments = 0, issued = 0, supplies = 0, received = 0;
    const bool list = final_closing || (a_.cdsMovAbertura.Active() && !a_.cdsMovAbertura.IsEmpty());
    if (list && movements.Active()) {
      for (movements.First(); !movements.Eof(); movements.Next()) {
        const std::string kind = movements.FieldByName("IDTIPOREG").AsString();
        const double value = movements.FieldByName("VRSAIDA").AsFloat();
        if (kind == "1" || kind == "5") {
          doc_.Line(hostrt::TamFixo(movements.FieldByName("NMTIPORECE").AsString(), 33) + Figure(value, 15));
          payments += value;
          doc_.HandOver();
        } else if (kind == "2") {
          issued = value;
        } else if (kind == "3") {
          supplies = value;
        } else if (kind == "4") {
          received = value;
        }
      }
    }
    // Sums to the cent: a till that balances shows a surplus of 0,00, never a
    // shortage made of the binary remainder of its amounts.
    const double withdrawn = Cents(payments + received - supplies - issued);
    const double difference = Cents(withdrawn - sales);
    doc_.Line(hostrt::TamFixo(Msg("CV-RECEBIDO") + "(+)", 33) + Figure(received, 15))
        .Line(hostrt::TamFixo(Msg("CV-EMITIDO") + "(-)", 33) + Figure(issued, 15))
        .Line(hostrt::TamFixo(hostrt::UpperCase(Msg("Suprimento")) + "(-)", 33) + Figure(supplies, 15))
        .Line(kRule)
        .Line(hostrt::TamFixo(Msg("Sangrias"), 33) + Figure(withdrawn, 15))
        .Line("")
        .Line(hostrt::TamFixo(Msg(difference >= 0 ? "Sobra" : "Falta"), 33) + Figure(difference, 15));
    doc_.HandOver();
    CloseReport();
  }

  const ClosingArguments& a_;
  TdtmBematech12& dm_;
  DocumentBuilder doc_;
  bool report_open_ = false;
};

}  // namespace
}  // namespace kvr

extern "C" {

// No exception guard: an exception reaches the host (after any report of
// ours is closed).
KVR_EXPORT bool GeraReciboSangria(
    const std::string& /*stCdPortaImpFis*/, const std::string& stNrSerie, const std::string& stCdFilial,
    const std::string& stCdCaixa, const std::string& stECF, int idTipoImpFis, std::string& stCupomDia,
    hostrt::ClientDataSet& cdsMovFechaAux, hostrt::ClientDataSet& cdsSangriaAux, hostrt::ClientDataSet& cdsProdAux,
    hostrt::ClientDataSet& cdsOperSup, hostrt::ClientDataSet& cdsMovTotAux, hostrt::ClientDataSet& cdsMovAbertura,
    hostrt::ClientDataSet& cdsProdFechamento, hostrt::DateTime /*dtAberCaixa*/, bool boImpRelSan,
    bool boImprimeRedZ, bool /*Reducao*/, hostrt::ClientDataSet& cdsRedzAux, hostrt::ClientDataSet& cdsFormRedzAux,
    hostrt::ClientDataSet& cdsImpostoRedzAux, hostrt::ClientDataSet& cdsTotNFisAux, bool& boReduziu,
    hostrt::ClientDataSet& cdsTipoRece, const std::string& stEmiRelProd, const std::string& stTribRelPro,
    const std::string& stImpLeituraX, const std::string& idImpEnvelope, const std::string& stEsquemaCor,
    bool boSangria, bool boFechDiaAnterior, bool boAccessImpRedz) {
  TdtmBematech12& dm = kvr::DataModule();
  if (!boFechDiaAnterior) {
    dm.cdsMovFecha.CopyFrom(cdsMovFechaAux);
    dm.cdsSangria.CopyFrom(cdsSangriaAux);
    dm.cdsOperadorSup.CopyFrom(cdsOperSup);
    dm.cdsTipoReceAux.CopyFrom(cdsTipoRece);
    dm.cdsMovAbertura.CopyFrom(cdsMovAbertura);
  }
  dm.cdsMovTot.CopyFrom(cdsMovTotAux);
  const kvr::ClosingArguments args{stNrSerie,    stCdFilial,      stCdCaixa,         stECF,          idTipoImpFis,
                                   stCupomDia,   cdsProdAux,      cdsMovAbertura,    cdsProdFechamento,
                                   boImpRelSan,  boImprimeRedZ,   cdsRedzAux,        cdsFormRedzAux, cdsImpostoRedzAux,
                                   cdsTotNFisAux, boReduziu,      stEmiRelProd,      stTribRelPro,   stImpLeituraX,
                                   idImpEnvelope, stEsquemaCor,   boSangria,         boFechDiaAnterior,
                                   boAccessImpRedz};
  return kvr::CashClosing(args).Run();
}

}  // extern "C"
