// Operator dialogs through the host's Mensagem service.
#pragma once
#include <string>

#include "hostrt/services.h"

namespace kvr {

// A notice the operator acknowledges.
void Notice(const std::string& text, int kind, const std::string& stEsquemaCor);

// A yes/no question; true means yes.
bool Ask(const std::string& text, int kind, const std::string& stEsquemaCor);

}  // namespace kvr
