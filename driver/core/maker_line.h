// The line that names this driver's maker, with its telephone and web
// address: the last line of every coupon footer and of every ticket that
// follows a sale.
#pragma once

namespace kvr {

inline constexpr const char* kMakerLine = "Kvr00102 - 0800 000 0000 - www.kvr00102.example";
// Its short form, for paper narrower than kMakerLine: the maker and the web
// address.
inline constexpr const char* kShortMakerLine = "Kvr00102 - www.kvr00102.example";

}  // namespace kvr
