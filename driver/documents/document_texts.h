// Pieces of text that several documents print alike.
#pragma once
#include <string>
#include <string_view>

#include "documents/document_builder.h"

namespace kvr {

// Fixed notation with the decimal separator of the number settings and no
// thousands separator (2.5 with 3 decimals gives "2,500").
std::string FixedText(double value, int decimals);
// Currency format with 2 decimals ("R$ 1.234,50" under the Brazilian settings).
std::string CurrencyText(double value);
// "Data Emissão: " and the computer's date and time as dd/mm/yyyy hh:nn:ss.
std::string EmissionLine();

// The two header lines of an item list: the code and name columns, then the
// quantity, unit price and line total columns.
void ItemColumnHeader(DocumentBuilder& doc);
// The two lines of one item: code and name; then quantity "   X " unit price,
// five blanks and the line total as the document aligns it.
void ItemLines(DocumentBuilder& doc, std::string_view code, std::string_view name, std::string_view quantity,
               std::string_view price, std::string_view aligned_total);

// The last line of the table and sale register documents: who made the
// software and how to reach them.
extern const char* const kSoftwareFooter;

}  // namespace kvr
