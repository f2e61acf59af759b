// The files of the Z export: the printer's return file, named by the vendor
// library's configuration, and the day copy under the host's data folder.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "hostrt/datetime.h"

namespace kvr {

// Creates "Dados" and "Dados\Reduções" under the host's folder when missing;
// each that cannot be created is reported to the operator once. True when
// "Dados\Reduções" exists afterwards.
bool PrepareReductionsFolder();

// The return file ("Retorno.txt" in the folder of the "Path" value of the
// vendor library's configuration), native; none without configuration or Path.
std::optional<std::string> ReturnFilePath();

// Saves the lines as "BemaMP2100 - DDMMYYYY.txt" of the movement date in
// "Dados\Reduções", replacing an earlier copy of the same day.
void SaveDayCopy(const std::vector<std::string>& lines, hostrt::DateTime movement_date);

}  // namespace kvr
