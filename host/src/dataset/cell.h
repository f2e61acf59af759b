#pragma once
// One stored value of a dataset row and the comparisons every part of the
// dataset shares (index order, Locate, filters), so that they always agree.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "hostrt/dataset.h"

namespace hostrt::dataset_detail {

// Null, text, integer, float (also date-times, as days), Boolean.
using Cell = std::variant<std::monostate, std::string, std::int64_t, double, bool>;

inline bool IsNullCell(const Cell& c) { return std::holds_alternative<std::monostate>(c); }

struct Row {
  std::vector<Cell> cells;
  std::uint64_t seq = 0;  // position in natural (insertion) order
};

// Text without its trailing blanks: texts that differ only there are equal,
// so an empty field equals ' ' in a filter, in Locate and in index order.
std::string_view TrimRight(std::string_view s);

// Latin-1 upper case of one byte (accented letters included).
unsigned char FoldCase(unsigned char c);

// Three-way text comparison, trailing blanks ignored, bytes unsigned.
int CompareText(std::string_view a, std::string_view b, bool case_insensitive);
// Whether text starts with prefix (trailing blanks of prefix ignored).
bool TextStartsWith(std::string_view text, std::string_view prefix, bool case_insensitive);

// Names of fields, indexes and keywords: equal in any letter case.
bool SameName(std::string_view a, std::string_view b);

// Three-way comparison of two cells of one field type; Null sorts first,
// and for text Null equals empty text.
int CompareCells(const Cell& a, const Cell& b, FieldType type, bool case_insensitive);

// Reads a number from text the way a user writes it: blanks around, an
// optional sign, digits, "." or "," as decimal mark. False when it is not one.
bool ParseNumber(std::string_view text, double& out);

}  // namespace hostrt::dataset_detail
