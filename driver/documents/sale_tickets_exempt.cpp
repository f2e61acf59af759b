// IsentoCompos and IsentoSimpl: the tickets of a sale with tax-exempt
// products, which split the purchase into its taxed and exempt amounts.
#include <string>

#include "core/debug_log.h"
#include "core/maker_line.h"
#include "core/paper_figures.h"
#include "documents/sale_ticket.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

constexpr char kNoLineFeed = '\x10';  // ends a line where the printer takes no line feed

std::string Label(const char* label, const std::string& amount) {
  return hostrt::PadR(label, 15) + FigureRight(amount, 10);
}

}  // namespace
}  // namespace kvr

extern "C" {

// A sale of taxed and exempt products. stTotalTroco, loja and doTotal are not
// used: the change is written from doTotalTroco. The result is that of the
// close. Exceptions reach the caller, after the report has been closed.
KVR_EXPORT bool IsentoCompos(const std::string& stCdFilial, const std::string& stCdCaixa,
                             const std::string& stEsquemaCor, const std::string& stTotal,
                             const std::string& stTotIsento, const std::string& /*stTotalTroco*/,
                             const std::string& operador, const std::string& /*loja*/,
                             const std::string& stSenhaCupom, const std::string& stDsObsCupFis, double /*doTotal*/,
                             double doTotalComt, double doTotalTroco) {
  kvr::SaleTicket ticket("IsentoCompos", stEsquemaCor, stCdFilial, stCdCaixa);
  kvr::Log("Inicia - IsentoCompos");
  ticket.Line("")
      .Line(kvr::Label("Total Afecto:", stTotal))
      .Line(kvr::Label("Exento:", stTotIsento))
      .Line(kvr::Label("Total Compra:", kvr::WholeUnits(doTotalComt)))
      .Send();
  ticket.Line(kvr::Label("Vuelto:", kvr::WholeUnits(doTotalTroco)))
      .Line("")
      .Line("Su compra contiene productos exentos de")
      .Line("I.V.A por lo cual su boleta tiene un")
      .Line("desglose adicional")
      .Send();
  ticket.Line(operador, "Operador - IsentoCompos")
      .Line(kvr::PasswordLine(stSenhaCupom), platform::L1("seña: Isent_Simpl"))
      .Rule()
      .Line(stDsObsCupFis, "Obs cupom - IsentoCompos")
      .Line(kvr::kMakerLine, "Lovrane - IsentoCompos");
  return ticket.Close();
}

// A sale of exempt products only: stTotIsento is the purchase total.
// stTotalTroco and loja are not used. The result is that of the close.
// Exceptions reach the caller, after the report has been closed.
KVR_EXPORT bool IsentoSimpl(const std::string& stCdFilial, const std::string& stCdCaixa,
                            const std::string& stEsquemaCor, const std::string& stTotIsento,
                            const std::string& /*stTotalTroco*/, const std::string& operador,
                            const std::string& /*loja*/, const std::string& stSenhaCupom,
                            const std::string& stDsObsCupFis, double doTotalTroco) {
  kvr::SaleTicket ticket("IsentoSimpl", stEsquemaCor, stCdFilial, stCdCaixa);
  kvr::Log("Inicia - Isent_Simpl");
  ticket.Line("")
      .Line("Exento:        " + stTotIsento, "Exento: Isent_Simpl")
      .Line("Total Compra:  " + stTotIsento, "Total Compra: Isent_Simpl")
      .Send();
  if (doTotalTroco != 0)
    ticket.Line("Vuelto:        " + kvr::FigureLeft(kvr::WholeUnits(doTotalTroco), 10), "Vuelto: Isent_Simpl");
  ticket.Line(kvr::DateAndTime("        Fecha:", "    Hora:"), "Data e Hora: Isent_Simpl")
      .Line("Su compra contiene productos exentos de", "Comentario Isent_Simpl")
      .Text(std::string("I.V.A por lo cual su boleta tiene un ") + kvr::kNoLineFeed, "Comentario - Isent_Simpl")
      .Send();
  ticket.Line("desglose adicional", "Comentario Isent_Simpl")
      .Line(operador, "Cajero: Isent_Simpl")
      .Line(kvr::PasswordLine(stSenhaCupom), platform::L1("seña: Isent_Simpl"))
      .Rule()
      .Line(stDsObsCupFis)
      .Line("", "Obs cupom - Isent_Simpl")
      .Line(kvr::kMakerLine, "Lovrane - Isent_Simpl");
  return ticket.Close();
}

}  // extern "C"
