#pragma once
// The fault commands of the emulated printer, in the words of ecf-tool's
// command line: the tool and the service's page arm faults through this one
// piece, so a fault means the same wherever it is pressed.
#include <string>
#include <vector>

#include "emulator_control.h"

namespace ecf_tool {

// Whether the command is one of the fault commands (paper, power, port,
// clock, script, ...).
bool IsFaultCommand(const std::string& command);

// Runs a fault command with its words. Throws std::invalid_argument naming
// the wrong word or number, std::runtime_error when the printer refuses it.
void RunFaultCommand(const EmulatorControl& printer, const std::string& command, const std::vector<std::string>& args);

// A whole number of the command line; throws std::invalid_argument naming it.
int Number(const std::string& text);

}  // namespace ecf_tool
