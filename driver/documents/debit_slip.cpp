// Comp_DebitoCons: the slip of a sale charged to a consumer's account, with
// the products of the sale and the balance left.
#include <string>

#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "documents/account_text.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

struct DebitSale {
  double amount = 0, balance_before = 0, subsidised_price = 0, complement = 0;
  double FinalBalance() const { return Cents(balance_before + subsidised_price + complement - amount); }
};

void HeaderBlock(DocumentBuilder& doc, const std::string& stCdClie, const std::string& stNmClie,
                 const std::string& stCdConsumidor, const std::string& stNmConsumidor) {
  doc.Line("")
      .Centred(Msg("ComprDebito"))
      .Rule('-')
      .Line(Copy48(Msg("CDCLIE") + stCdClie))
      .Line(Copy48(std::string(9, ' ') + stNmClie))
      .Rule('-')
      .Line(Copy48(Msg("CDCons") + stCdConsumidor))
      .Line(Copy48(Msg("NmCons") + stNmConsumidor))
      .Rule('-')
      .Centred(Msg("ProdVend"))
      .Blank()
      .Line(Copy48(Msg("Cabecalho")));
}

// One line per product: code, name and quantity in 30 columns, unit price and
// line total (quantity times price, cut to 2 decimals) in 8 each. Code and
// name are cut to their widths; the figures never are.
std::string ProductLine(hostrt::ClientDataSet& products) {
  const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
  const double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
  return FigureLeft(products.FieldByName("CDARVPROD").AsString().substr(0, 10) + " " +
                        products.FieldByName("NMPRODUTO").AsString().substr(0, 12) + "  " +
                        hostrt::FormatFloat("0.00#", quantity),
                    30) +
         "  " + FigureRight(hostrt::FormatFloat("0.00", price), 8) +
         NextFigure(hostrt::FormatFloat("0.00", hostrt::Trunc2(quantity * price)), 8);
}

void TotalsBlock(DocumentBuilder& doc, const DebitSale& sale, const std::string& ticket, bool show_balance) {
  doc.Blank()
      .Line(hostrt::TamFixo(Msg("Total").substr(0, 40), 15) + FigureRight(hostrt::FormatFloat("0.00", sale.amount), 33))
      .Rule('-')
      .Line(Copy48(ticket));
  if (show_balance) doc.Line(hostrt::Format(Msg2("SALDO_FIN"), {hostrt::Variant(CurrencyText(sale.FinalBalance()))}));
  if (sale.subsidised_price > 0) doc.Line(Msg("PRECO_SUBSIDIO") + " " + CurrencyText(sale.subsidised_price));
  if (sale.complement > 0) doc.Line(Msg("VR_COMPLEMENTO") + " " + CurrencyText(sale.complement));
}

}  // namespace
}  // namespace kvr

extern "C" {

// An amount that rounds to 0.00 prints nothing (True). A failed block stops
// the slip; the report is closed all the same and the result is False.
// Exceptions reach the host, after the report has been closed.
KVR_EXPORT bool Comp_DebitoCons(const std::string& stEsquemaCor, const hostrt::Variant& oleProdutos, double doValor,
                                const std::string& /*stParam*/, const std::string& stCdConsumidor,
                                const std::string& stNmConsumidor, const std::string& stCdClie,
                                const std::string& stNmClie, const std::string& stSenhaCupom, double doVrSaldo,
                                double doPrecoSubsidio, double doVrComplemento, const std::string& stAuxImpSaldCup) {
  hostrt::ClientDataSet& products = kvr::DataModule().cdsProdDeb;
  products.SetData(oleProdutos);
  const kvr::DebitSale sale{doValor, doVrSaldo, doPrecoSubsidio, doVrComplemento};
  const std::string ticket = stSenhaCupom.empty() ? "" : kvr::Msg("SEN_PED") + stSenhaCupom + "\r\n";
  if (!(hostrt::RoundDec(doValor, 2) > 0)) return true;

  Nr_Cupom("", stEsquemaCor);
  kvr::ReportGuard report("Comp_DebitoCons", stEsquemaCor);
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("Comp_DebitoCons");
  if (!report.Opened(doc.OpenReport("", ""))) return doc.Close();
  kvr::HeaderBlock(doc, stCdClie, stNmClie, stCdConsumidor, stNmConsumidor);
  bool printed = doc.HandOver();
  for (products.First(); printed && !products.Eof(); products.Next()) {
    doc.Line(kvr::ProductLine(products));
    printed = doc.HandOver();
  }
  if (printed) {
    kvr::TotalsBlock(doc, sale, ticket, stAuxImpSaldCup != "2");
    printed = doc.HandOver();
  }
  report.Closed();
  return doc.Close();
}

}  // extern "C"
