// The demo's restaurant table documents and sales register prints: a table
// opened, its bill check, the open tables, a transfer between tables, the
// sale register of the table and its local file after a cancellation, and
// the amounts received per receipt type.
#pragma once
#include <string>

namespace pdv_demo {

void RunTableSteps(void* driver, const std::string& serial);

}  // namespace pdv_demo
