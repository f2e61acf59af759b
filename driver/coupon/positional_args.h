// Positional argument arrays (an open array of Variants and its highest
// index) and the result arrays that hosts create for the driver to fill.
#pragma once
#include <string>

#include "hostrt/variant.h"

namespace kvr {

// Reads an open array by position. A position beyond the array's end (a
// caller may end it early) or a null array reads as an Empty value: "", 0,
// False. A value of the wrong kind raises hostrt::VariantError.
class PositionalArgs {
 public:
  PositionalArgs(const hostrt::Variant* items, int high) : items_(items), high_(items ? high : -1) {}

  const hostrt::Variant& At(int index) const;
  std::string Text(int index) const { return At(index).AsString(); }
  bool Boolean(int index) const { return At(index).AsBoolean(); }
  double Number(int index) const { return At(index).AsFloat(); }
  std::int64_t Integer(int index) const { return At(index).AsInteger(); }

 private:
  const hostrt::Variant* items_;
  int high_;
};

// Writes element `index` of a host's result array. A value that is not an
// array becomes one from 0, and an array too short is extended, so a host's
// mistake never loses a result nor crashes the driver.
void SetResultElement(hostrt::Variant& result, int index, const hostrt::Variant& value);

}  // namespace kvr
