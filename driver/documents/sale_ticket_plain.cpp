// ImprimeNaoFiscal: the ticket of a sale paid with meal tickets, listing the
// ticket payments (kinds 5 and 7) under the sale number.
#include <string>

#include "core/dataset_filter.h"
#include "core/maker_line.h"
#include "core/paper_figures.h"
#include "documents/sale_ticket.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

std::string SaleLine(const std::string& stNrCupomFis) {
  if (hostrt::EmptyString(stNrCupomFis)) return hostrt::PadR("Caja: 0001", 15);
  return hostrt::PadR("Venta: " + stNrCupomFis, 30);
}

// One line per ticket payment; cdsMovi is unfiltered again on every way out.
void TicketPayments(SaleTicket& ticket, hostrt::ClientDataSet& cdsMovi) {
  const FilterScope tickets(cdsMovi, "IDTIPORECE = 5 OR IDTIPORECE = 7");
  for (cdsMovi.First(); !cdsMovi.Eof(); cdsMovi.Next())
    ticket.Line(hostrt::TamFixo(cdsMovi.FieldByName("DSIMPFISCAL").AsString(), 25) +
                FigureRight(hostrt::FormatFloat(",##0", cdsMovi.FieldByName("VRMOVIVEND").AsFloat()), 13));
}

}  // namespace
}  // namespace kvr

extern "C" {

// Exceptions (a dataset without the fields, an unbound entry point) reach
// the caller, after the report has been closed.
KVR_EXPORT void ImprimeNaoFiscal(const std::string& stCdFilial, const std::string& stCdCaixa,
                                 const std::string& stEsquemaCor, double doMontoTic, const std::string& stSenhaCupom,
                                 const std::string& stNrCupomFis, const std::string& stNomeOperador,
                                 const std::string& stDsObsCupFis, hostrt::ClientDataSet& cdsMovi) {
  Nr_Cupom("", stEsquemaCor);  // the last coupon's number is read, not printed
  kvr::SaleTicket ticket("ImprimeNaoFiscal", stEsquemaCor, stCdFilial, stCdCaixa);
  ticket.Line("")
      .Line(kvr::SaleLine(stNrCupomFis))
      .Rule()
      .Line(hostrt::TamFixo("TOTAL", 25) + kvr::FigureRight(kvr::WholeUnits(doMontoTic), 13))
      .Line("")
      .Send();
  kvr::TicketPayments(ticket, cdsMovi);
  ticket.Line("").Send();
  ticket.Line(kvr::DateAndTime("        Fecha:", "    Hora:"))
      .Line(stNomeOperador, "Operador - IsentoCompos")
      .Line(kvr::PasswordLine(stSenhaCupom), platform::L1("seña: Isent_Simpl"))
      .Rule()
      .Send();
  ticket.Line(stDsObsCupFis, "Obs cupom - Isent_Simpl").Line(kvr::kMakerLine, "Lovrane - Isent_Simpl").Close();
}

}  // extern "C"
