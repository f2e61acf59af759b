#pragma once
// The readable mirror of downloaded documents, 48 columns as on the paper,
// Latin-1, lines ended by CR LF.
//
// Lines 0-6 are a header (title, printer, serial, basic software and cash
// register, owner, user, the range line); each document begins with a line whose
// first ten characters are its date "dd/mm/yyyy", so the first document's
// line is line 7 (even once empty lines are removed). The file ends with
// "Ultimo documento : dd/mm/yyyy hh:mm:ss" (the date in characters 20-29) and
// "Documentos no espelho: n".
#include <string>
#include <string_view>
#include <vector>

#include "mfd_format/mfd_format.h"

namespace mfd {

// range_line: the header's last line ("COO: 000001 A 000010"); documents:
// those of the range, in order, at least one.
std::string mirror_text(const Identification& ecf, std::string_view range_line,
                        const std::vector<const Document*>& documents);

}  // namespace mfd
