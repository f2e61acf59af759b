// The sale printing sequence (ImpressaoVenda): the call's named values and
// datasets, and the three roads a sale can take after the drawer is opened.
#pragma once
#include <exception>
#include <string>

#include "coupon/sale_items.h"
#include "hostrt/dataset.h"
#include "hostrt/variant.h"

namespace kvr {

inline constexpr const char* kSaleError = "Erro";

struct SaleDatasets {
  hostrt::ClientDataSet& cdsVendas;
  hostrt::ClientDataSet& cdsMovi;
  hostrt::ClientDataSet& cdsRecebimento;
  hostrt::ClientDataSet& cdsAliqImpFis;
};

// The named values of the call and what is read from the item row current
// when the call begins.
struct SaleValues {
  std::string stEsquemaCor, stCdFilial, stCdCaixa, stSenhaCupom, stNmConsumidor, stDsObsCupFis;
  std::string stTotParcCV, stNrLaudo;
  double doSaldoDebito = 0, doPrecoSubsidio = 0;
  std::string stCdOperador, stNmOperador, stCdLoja;
  ItemTax current_item;  // the kind and rate of that row
};

SaleValues ReadSaleValues(const hostrt::Variant& Params, hostrt::ClientDataSet& cdsVendas);

// Opens the coupon with "ESQUEMACOR" and "INTEFERRO" 0.
bool OpenSaleCoupon(const SaleValues& v);
// Closes it with FechaCupom and the slots 0 to 41 of this sequence; the
// payments are the data of cdsMovi as it is now. The operator is asked after
// each failure, and a repeat resumes from what the printer already holds.
// log_total logs "Total da Compra Total" after each attempt.
bool CloseSaleCoupon(const SaleValues& v, const SaleDatasets& d, bool log_total = false);
// The number of the coupon this sale opened (6 digits), known from the
// opening; read from the printer only when the opening could not tell it.
std::string SaleCouponNumber(const SaleValues& v);

// A sale that cannot be printed as it stands: logged, shown to the operator,
// and nothing is sent to the printer.
std::string RefusedSale(const SaleValues& v, const std::string& why);

// Runs a ticket that follows a closed coupon: an exception is logged and does
// not change the sale's result. True when the ticket was printed whole.
void LogTicketException(const char* what, const char* error);
template <typename Ticket>
bool TicketAfterCoupon(const char* what, Ticket&& ticket) {
  try {
    return ticket();
  } catch (const std::exception& error) {
    LogTicketException(what, error.what());
  } catch (...) {
    LogTicketException(what, "unknown exception");
  }
  return false;
}

// The roads; each returns the result of ImpressaoVenda.
std::string ConsumerDebitSale(const SaleValues& v, const SaleDatasets& d);
std::string TicketSale(const SaleValues& v, const SaleDatasets& d);
std::string OrdinarySale(const SaleValues& v, const SaleDatasets& d);

}  // namespace kvr
