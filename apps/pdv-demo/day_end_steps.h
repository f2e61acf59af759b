// The demo's end of the day: the till closing (X reading, withdrawal receipt,
// product and closing reports, the questions) with the Z export shown as a short
// summary of its four datasets, the Z reduction, and the next day opening
// with a new movement date.
#pragma once
#include <string>

#include "hostrt/services.h"

namespace pdv_demo {

// bin_dir: where the emulated printer was loaded from (its clock moves on a day).
void RunDayEndSteps(void* driver, const std::string& bin_dir, hostrt::ConsoleHost& host);

}  // namespace pdv_demo
