#include "dayend/z_export_files.h"

#include <exception>

#include "core/dialogs.h"
#include "core/host_paths.h"
#include "core/ini_lines.h"
#include "datamodule/data_module.h"
#include "hostrt/format.h"
#include "hostrt/services.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/paths.h"

namespace kvr {
namespace {

// The Windows-style path of a folder or file under the host's folder; names
// are Latin-1 and become the platform's file-name encoding in native_path.
std::string UnderHostFolder(const std::string& relative) {
  return platform::native_path(hostrt::Host().ExeDirectoryShort() + platform::kWindowsSeparator + relative);
}

std::string ReductionsFolder() { return std::string("Dados\\") + platform::L1("Reduções"); }

// Whether the folder exists afterwards; a failure is told to the operator
// (with the fixed colour scheme of this notice).
bool EnsureFolder(const std::string& relative) {
  const std::string native = UnderHostFolder(relative);
  if (platform::directory_exists(native)) return true;
  try {
    platform::make_directories(native);
    return true;
  } catch (const std::exception&) {
    // The folder as this platform names it, in the driver's Latin-1.
    Notice(Msg("N_POS_DIR") + " " + platform::utf8_to_latin1(native), hostrt::kErrorOrRetry, "002");
    return false;
  }
}

}  // namespace

bool PrepareReductionsFolder() {
  EnsureFolder("Dados");
  return EnsureFolder(ReductionsFolder());
}

std::optional<std::string> ReturnFilePath() {
  const std::string ini = VendorIniPath();
  if (!platform::file_exists(ini)) return std::nullopt;
  const std::string path = IniLines(platform::read_file(ini)).Value("Path");
  if (path.empty()) return std::nullopt;
  const char* separator = path.back() == platform::kWindowsSeparator ? "" : "\\";
  return platform::native_path(path + separator + "Retorno.txt");
}

void SaveDayCopy(const std::vector<std::string>& lines, hostrt::DateTime movement_date) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  const std::string name = "BemaMP2100 - " + hostrt::FormatDateTime("ddmmyyyy", movement_date) + ".txt";
  platform::write_file_atomic(UnderHostFolder(ReductionsFolder() + platform::kWindowsSeparator + name), text);
}

}  // namespace kvr
