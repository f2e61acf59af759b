// The demo's non-fiscal steps of the day: a supply and a withdrawal, a
// management report, and a restaurant table's items and bill check through
// the printer's raw command channel.
#pragma once
#include <string>

namespace pdv_demo {

void RunDocumentSteps(void* driver, const std::string& serial);

}  // namespace pdv_demo
