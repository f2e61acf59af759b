// Refreshing the host's grand-total record after the printer's total changed
// outside a sale (a coupon cancelled).
#pragma once
#include <string>

namespace kvr {

// Atu_TotGeral with this branch, till and printer serial, without validation:
// the record takes the printer's current total.
bool RefreshGrandTotal(const std::string& branch, const std::string& till, const std::string& serial,
                       const std::string& stEsquemaCor);

}  // namespace kvr
