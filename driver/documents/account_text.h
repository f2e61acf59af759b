// The text forms of the account documents: lines cut to the document width,
// amounts as currency text or as plain fixed-point figures.
#pragma once
#include <string>
#include <string_view>

#include "documents/document_texts.h"  // CurrencyText, FixedText

namespace kvr {

// The first 48 characters of a line.
std::string Copy48(std::string_view text);

}  // namespace kvr
