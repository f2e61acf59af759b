// Reading the lists that the printer writes into blank-filled buffers.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// The entries of a rate list: the trimmed text cut into entries of five
// characters (four digits and a separator), each given as its first four
// characters. Blank entries are kept so that positions stay the printer's.
std::vector<std::string> RateEntries(std::string_view list);

// The names in the printer's non-fiscal totalizer list, in position order
// (position 1 first): each entry's first 19 characters, trimmed, every 20
// characters up to the end of the list or a NUL.
std::vector<std::string> TotalizerNames(std::string_view list);
// A totalizer name as the list compares it: its first 19 characters, trimmed.
std::string TotalizerKey(std::string_view name);

// The names in the printer's payment-form list: the first 16 characters of
// each comma-separated entry, trimmed; blank entries are left out.
std::vector<std::string> FormNames(std::string_view list);

// The day-total text of the named form in the payment-form list (each entry:
// name 16, day total 20, last document 20, linked flag 1), or nothing when the
// list has no such form.
std::optional<std::string> FormDayTotalText(std::string_view list, std::string_view name);

// The name in `names` equal to `name` as a whole (both trimmed, letter case
// ignored), or nullptr. A name never matches a piece of a longer one.
const std::string* FindName(const std::vector<std::string>& names, std::string_view name);

}  // namespace kvr
