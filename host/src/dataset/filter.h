#pragma once
// Filter texts: parsed once into a tree, then evaluated per row.
//
//   expr    := and {OR and}
//   and     := not {AND not}
//   not     := NOT not | primary
//   primary := '(' expr ')' | operand [cmp operand | IS [NOT] NULL]
//   operand := field | [field name] | 'text' ('' inside is one ') | number | -number
//              | TRUE | FALSE | NULL
//   cmp     := = <> != < > <= >=
//
// Keywords take any letter case and need no blank around them ('12'AND).
// A lone operand must be a Boolean field or TRUE/FALSE. Comparisons:
// - text with text: case-sensitive, trailing blanks ignored (a blank or empty
//   field equals ' '); a Null text field reads as empty text;
// - a number with text: numerically when the text reads as a number
//   (IDTIPORECE = 5 holds for the text "5" and the integer 5), else not equal;
// - a date-time field with text: the text read as a date-time;
// - Null (a non-text field without value, or NULL): equal only to Null.
#include <memory>
#include <string_view>
#include <vector>

#include "order.h"

namespace hostrt::dataset_detail {

class FilterNode {
 public:
  virtual ~FilterNode() = default;
  virtual bool Eval(const Row& row) const = 0;
};

// DataSetError naming the text and the 1-based position of the fault.
std::unique_ptr<FilterNode> ParseFilter(std::string_view text, const std::vector<FieldDef>& defs);

}  // namespace hostrt::dataset_detail
