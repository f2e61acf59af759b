// ImpDebito_Consumidor: the ticket of a sale charged to a consumer's account,
// with its items, the sale total and the balance left.
#include <string>

#include "core/debug_log.h"
#include "core/maker_line.h"
#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "documents/sale_ticket.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// Each item on a line of its own: quantity, name and its total (quantity
// times the net price, cut to 2 decimals); the result is the sale total.
double ItemLines(SaleTicket& ticket, hostrt::ClientDataSet& cdsVendas) {
  double total = 0;
  for (cdsVendas.First(); !cdsVendas.Eof(); cdsVendas.Next()) {
    const double net = cdsVendas.FieldByName("VRPRECCOMVEN").AsFloat() - cdsVendas.FieldByName("VRDESCCOMVEN").AsFloat();
    const double line_total = hostrt::Trunc2(cdsVendas.FieldByName("QTPRODCOMVEN").AsFloat() * net);
    total += line_total;
    ticket
        .Line(hostrt::TamFixo(cdsVendas.FieldByName("QTPRODCOMVEN").AsString(), 5) +
              hostrt::TamFixo(cdsVendas.FieldByName("NMPRODUTO").AsString(), 29) + "  " +
              FigureRight(hostrt::FloatToStr(line_total), 10))
        .Send();
    Log("imprimindo Produto Venda_Item");
  }
  return total;
}

}  // namespace
}  // namespace kvr

extern "C" {

// The final balance is the balance before the sale, less the sale, plus the
// subsidised price; sums are printed to the cent. Exceptions reach the
// caller, after the report has been closed.
KVR_EXPORT void ImpDebito_Consumidor(const std::string& stCdFilial, const std::string& stCdCaixa,
                                     const std::string& stEsquemaCor, const std::string& stSenhaCupom,
                                     const std::string& stNmCons, const std::string& operador,
                                     const std::string& stDsObsCupFis, double doSaldoDebito, double doPrecoSubsidio,
                                     hostrt::ClientDataSet& cdsVendas) {
  kvr::SaleTicket ticket("ImpDebito_Consumidor", stEsquemaCor, stCdFilial, stCdCaixa);
  kvr::Log("Inicia - Debito_Consumidor");
  ticket.Line("");
  const double total = kvr::Cents(kvr::ItemLines(ticket, cdsVendas));
  ticket.Line(hostrt::TamFixoR("Total", 20) + "  " + kvr::FigureRight(hostrt::FloatToStr(total), 24))
      .Line("")
      .LogBlock("imprime o total da venda")
      .Line(kvr::DateAndTime("Fecha: ", " Hora: "))
      .LogBlock("imprime a data e hora debito consumidor ")
      .Rule()
      .Line(kvr::Msg("Consumidor") + "  : " + stNmCons)
      .LogBlock("Nome do consumidor ImpDebito_Consumidor")
      .Line(kvr::Msg("Sald_Cons") + " " + hostrt::FloatToStr(kvr::Cents(doSaldoDebito - total + doPrecoSubsidio)))
      .LogBlock("Saldo do consumidor ImpDebito_Consumidor")
      .Line(operador)
      .Line("")
      .LogBlock("Cajero: ImpDebito_Consumidor");
  if (!stSenhaCupom.empty()) ticket.Line(kvr::PasswordLine(stSenhaCupom)).LogBlock("imprime a senha do cupom");
  ticket.Send();
  ticket.Rule().Line(stDsObsCupFis).Line("", "Obs cupom - Isent_Simpl").Send();
  ticket.Line(kvr::kMakerLine, "Fim - ImpDebito_Consumidor").Close();
}

}  // extern "C"
