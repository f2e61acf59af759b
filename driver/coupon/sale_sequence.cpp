// ImpressaoVenda: the whole sale in one call, from the host's datasets. It
// opens the drawer and takes one of three roads: the consumer-debit ticket,
// the sale paid with meal tickets, or the fiscal coupon with its items.
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/params.h"
#include "coupon/sale_movements.h"
#include "coupon/sale_repeat.h"
#include "coupon/sale_sequence.h"
#include "documents/sale_ticket.h"
#include "hostrt/params.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// A field the sequence only passes on: "" when the host's dataset lacks it.
std::string OptionalField(hostrt::ClientDataSet& ds, const char* name) {
  hostrt::Field* field = ds.FindField(name);
  return field ? field->AsString() : std::string();
}

}  // namespace

SaleValues ReadSaleValues(const hostrt::Variant& Params, hostrt::ClientDataSet& cdsVendas) {
  SaleValues v;
  v.stEsquemaCor = ParamText(Params, "ESQUEMACOR");
  v.stCdFilial = ParamText(Params, "CDFILIAL");
  v.stCdCaixa = ParamText(Params, "CDCAIXA");
  v.stSenhaCupom = ParamText(Params, "SENHACUPOM");
  v.stNmConsumidor = ParamText(Params, "NMCONSUMIDOR");
  v.stDsObsCupFis = ParamText(Params, "DSOBSCUPFIS");
  v.doSaldoDebito = hostrt::RecebeParams(Params, "SALDODEBITO").AsFloat();
  v.doPrecoSubsidio = hostrt::RecebeParams(Params, "PRECOSUBSIDIO").AsFloat();
  v.stTotParcCV = ParamText(Params, "TOTPARCCV");
  v.stNrLaudo = ParamText(Params, "NRLAUDO");
  Log("%%%%%%%%%%%%%%%VENDA DE PRODUTO%%%%%%%%%%%%%%%%%%");
  v.stCdOperador = cdsVendas.FieldByName("CDOPERADOR").AsString();
  v.stNmOperador = cdsVendas.FieldByName("NMOPERADOR").AsString();
  v.stCdLoja = OptionalField(cdsVendas, "CDLOJA");
  if (!cdsVendas.IsEmpty()) v.current_item = TaxOfCurrentItem(cdsVendas);
  return v;
}

// The consumer-debit document is the whole sale: printed whole, or "Erro".
std::string ConsumerDebitSale(const SaleValues& v, const SaleDatasets& d) {
  const bool printed = RepeatWithOperator(v, "ImpDebito_Consumidor", [&] {
    ImpDebito_Consumidor(v.stCdFilial, v.stCdCaixa, v.stEsquemaCor, v.stSenhaCupom, v.stNmConsumidor, v.stNmOperador,
                         v.stDsObsCupFis, v.doSaldoDebito, v.doPrecoSubsidio, d.cdsVendas);
    return LastSaleTicketPrinted();
  });
  return printed ? "" : kSaleError;
}

}  // namespace kvr

extern "C" {

// Every exception is caught: it is logged and the result is "Erro"; a ticket
// that it interrupts has closed its report, a coupon stays as the printer
// holds it.
KVR_EXPORT std::string ImpressaoVenda(const hostrt::Variant& Params, hostrt::ClientDataSet& cdsVendas,
                                      hostrt::ClientDataSet& cdsMovi, hostrt::ClientDataSet& cdsRecebimento,
                                      hostrt::ClientDataSet& cdsAliqImpFis, hostrt::ClientDataSet& /*cdsSaldCred*/,
                                      hostrt::ClientDataSet& /*cdsFamiliaSaldo*/,
                                      hostrt::ClientDataSet& /*cdsEmprestimo*/) {
  try {
    const kvr::SaleValues v = kvr::ReadSaleValues(Params, cdsVendas);
    const kvr::SaleDatasets d{cdsVendas, cdsMovi, cdsRecebimento, cdsAliqImpFis};
    if (!kvr::RepeatWithOperator(v, "Abre_Gaveta_Imp", [&] { return Abre_Gaveta_Imp(v.stEsquemaCor, false); }))
      return kvr::kSaleError;
    if (kvr::HasConsumerDebit(cdsMovi)) return kvr::ConsumerDebitSale(v, d);
    if (kvr::PaidWithTicket(cdsMovi, cdsRecebimento)) return kvr::TicketSale(v, d);
    return kvr::OrdinarySale(v, d);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! ImpressaoVenda: ") + error.what());
  } catch (...) {
    kvr::Log("ERRO!!! ImpressaoVenda: unknown exception");
  }
  return kvr::kSaleError;
}

}  // extern "C"
