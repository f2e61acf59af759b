#pragma once
// The readable mirror of the documents of a COO range, 48 columns as on the
// paper, Latin-1, lines ended by CR LF.
//
// Lines 0-6 are a header (title, printer, serial, basic software and cash
// register, owner, user, COO range); each document begins with a line whose
// first ten characters are its date "dd/mm/yyyy", so the first document's
// line is line 7 (even once empty lines are removed). The file ends with
// "Ultimo documento : dd/mm/yyyy hh:mm:ss" (the date in characters 20-29) and
// "Documentos no espelho: n".
#include <string>
#include <vector>

#include "mfd_format/mfd_format.h"

namespace bemamfd2 {

// documents: those of the range, in order; at least one.
std::string mirror_text(const mfd::Identification& ecf, int first_coo, int last_coo,
                        const std::vector<const mfd::Document*>& documents);

}  // namespace bemamfd2
