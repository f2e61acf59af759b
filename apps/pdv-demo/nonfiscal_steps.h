// The demo's non-fiscal printer steps: a credit slip and a table's partial
// bill through the printer's library to a file port, and through the direct
// serial path (and the library) to a pseudo-terminal; what arrived is shown.
#pragma once
#include <string>

namespace pdv_demo {

void RunNonFiscalSteps(void* driver);

}  // namespace pdv_demo
