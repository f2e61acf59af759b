// What the regulatory-file operations share.
#pragma once
#include <string>

namespace kvr {

// retornaPathBematech's answer when "Bemafi32.ini" is missing.
extern const std::string kIniMissing;
// The operator's message for that case.
std::string IniMissingMessage();
// A file of the fiscal menu directory, as a Windows path ("C:\MenuFiscal\" + name).
std::string MenuFiscalFile(const std::string& name);
// Signs a file (Windows path) with the EAD, silently; true when the signing
// library wrote it. Raises only what the platform raises.
bool SignFile(const std::string& windows_name);
// geraEad for the driver's own files: the file signed, or false with the log
// line of the failure.
bool SignedFile(const std::string& windows_name);

}  // namespace kvr
