#pragma once
// The lines of the data module's two message tables, key "|" text, in Latin-1.
#include <string>
#include <vector>

namespace kvr {

// Printer and receipt texts (msgPadrao).
const std::vector<std::string>& MsgPadraoLines();
// Regulatory-file texts (msgPadrao2).
const std::vector<std::string>& MsgPadrao2Lines();

}  // namespace kvr
