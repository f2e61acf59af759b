// The raw command channel of the printer: command frames sent with
// BemaFormataTX and the status read with BemaStatus_Mp20FI.
#pragma once
#include <string>
#include <vector>

namespace kvr {

// ESC "|" code {"|" parameter} "|" ESC.
std::string CommandFrame(const std::string& code, const std::vector<std::string>& parameters);

}  // namespace kvr
