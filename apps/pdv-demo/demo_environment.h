// The demo machine: a folder under the build folder standing for the system
// directory (with BemaFI32.ini), the printer's own directory, the host
// executable's directory and drive C:.
#pragma once
#include <string>

namespace pdv_demo {

struct DemoEnvironment {
  std::string root, system_dir, printer_dir, host_dir, drive_c;
};

// Creates the folders and BemaFI32.ini, and points the FISCAL_* variables at
// them. A fresh printer unless keep_printer (the printer's memory then
// carries over from the last run, as a real printer's does).
DemoEnvironment PrepareDemoEnvironment(const std::string& root, bool keep_printer);

// The host's grand-total record for this till and printer, with a total not
// taken yet, unless the file exists.
void WriteGrandTotalRecord(const DemoEnvironment& env, const std::string& branch, const std::string& till,
                           const std::string& serial);

}  // namespace pdv_demo
