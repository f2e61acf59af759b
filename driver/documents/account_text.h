// The text forms of the account documents: lines cut to the document width,
// amounts as currency text or as plain fixed-point figures.
#pragma once
#include <string>
#include <string_view>

#include "documents/document_texts.h"  // CurrencyText

namespace kvr {

// The first 48 characters of a line.
std::string Copy48(std::string_view text);
// A fixed-point figure with 2 decimals and no symbol, of `digits` significant digits.
std::string FixedAmount(double amount, int digits = 15);

}  // namespace kvr
