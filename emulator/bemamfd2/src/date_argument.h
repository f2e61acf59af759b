#pragma once
// Dates handed to the library as text.
#include <optional>
#include <string_view>

#include "mfd_format/mfd_format.h"

namespace bemamfd2 {

// "dd/mm/yyyy", "ddmmyyyy", "dd/mm/yy" or "ddmmyy" (years 00-99 are 2000-2099);
// blanks around are ignored. nullopt for anything else or an impossible date.
std::optional<mfd::Date> parse_date_argument(std::string_view text);

}  // namespace bemamfd2
