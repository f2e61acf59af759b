// Pieces shared by the account balance and statement reports.
#pragma once
#include <string>

namespace kvr {

// Opens the management report and prints the reports' common header; an
// exception closes the report again and goes on to the caller.
void AccountReportHeader(const std::string& stCdFilial, const std::string& stEsquemaCor,
                         const std::string& stNmFilialLogin, const std::string& stCaixaAber);

// A label in `label_width` columns and an amount right-aligned in `amount_width`.
std::string LabelAmount(const std::string& label, int label_width, double amount, int amount_width, int digits = 15);

}  // namespace kvr
