// The product sales report for a caller that may still hold a management
// report open: the caller closes it itself, so that it is recorded when whole
// and before the product report's own record.
#pragma once
#include <functional>
#include <string>

#include "hostrt/dataset.h"

namespace kvr {

// Relatorio_Produto with `close_callers` run in place of the close of a
// report left open (boCtrlCupom False), once the report is to be printed; it
// returns true when the report it closed is to be recorded in place of the
// product report, which records none when there are no products. False when
// the product report was printed and is not whole on paper.
bool ProductSalesReport(const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
                        std::string& stCupomDia, hostrt::ClientDataSet& cdsProdAux, const std::string& stEmiRelProd,
                        const std::string& stTribRelPro, const std::string& stIdEsquema, bool& boCtrlCupom,
                        const std::function<bool()>& close_callers);

}  // namespace kvr
