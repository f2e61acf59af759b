// The number fields of the raw command channel: a value formatted with a fixed
// pattern and its decimal separator removed, so "000000.00" gives 8 digits of
// which the last 2 are decimals. A value that does not fit its field (too
// large, negative, not a number) has no field text: sending it would give the
// printer a longer field that it reads as other fields.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

struct DigitField {
  const char* pattern;
  std::size_t digits;
};

inline constexpr DigitField kDigits8{"000000.00", 8};          // amounts, 2 decimals
inline constexpr DigitField kDigits6{"000.000", 6};            // quantities, 3 decimals
inline constexpr DigitField kDigits4{"00.00", 4};              // percentages and small amounts
inline constexpr DigitField kDigits14{"000000000000.00", 14};  // amounts, 2 decimals

// The field's digits, or nothing when the value does not fit.
std::optional<std::string> FieldDigits(double value, DigitField field);

// Builds the texts of a command's number fields. Each Add appends the field's
// digits; a value that does not fit is logged once (as an error line naming
// the operation, the value and the field) and makes Fits() false.
class CommandFields {
 public:
  explicit CommandFields(std::string_view operation) : operation_(operation) {}

  CommandFields& Add(std::string text);
  CommandFields& Add(double value, DigitField field);
  // A code left-padded with zeros to `width`; a longer code does not fit.
  CommandFields& AddZeroPadded(std::string_view code, std::size_t width);

  bool Fits() const { return fits_; }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  std::string operation_;
  std::vector<std::string> texts_;
  bool fits_ = true;
};

}  // namespace kvr
