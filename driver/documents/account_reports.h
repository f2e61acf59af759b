// Pieces shared by the account balance and statement reports.
#pragma once
#include <string>

namespace kvr {

// Opens the management report and prints the reports' common header; true
// when the header is on paper and the report left open for what follows. A
// header that did not print leaves no report open; an exception closes the
// report again and goes on to the caller.
bool AccountReportHeader(const std::string& stCdFilial, const std::string& stEsquemaCor,
                         const std::string& stNmFilialLogin, const std::string& stCaixaAber);

// A label cut or padded to `label_width` columns and an amount with 2 decimals
// right-aligned in `amount_width`, never cut (a wider one widens the line).
std::string LabelAmount(const std::string& label, int label_width, double amount, int amount_width);

}  // namespace kvr
