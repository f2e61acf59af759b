// The demo's regulatory files: the fiscal memory reading to a file, the MFD
// mirror and the type E file of the day, each checked with ecf-tool verify,
// and the PAF identification on paper.
#pragma once
#include <string>

namespace pdv_demo {

void RunPafSteps(void* driver, const std::string& bin_dir);

}  // namespace pdv_demo
