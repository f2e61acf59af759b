#include "restaurant/digit_fields.h"

#include <algorithm>

#include "core/debug_log.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/ascii.h"

namespace kvr {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return platform::ascii::is_digit(c); });
}

}  // namespace

std::optional<std::string> FieldDigits(double value, DigitField field) {
  std::string text = hostrt::FormatFloat(field.pattern, value);
  const auto separator = text.rfind(hostrt::CurrentFormatSettings().DecimalSeparator);
  if (separator != std::string::npos) text.erase(separator, 1);
  if (text.size() != field.digits || !AllDigits(text)) return std::nullopt;
  return text;
}

CommandFields& CommandFields::Add(std::string text) {
  texts_.push_back(std::move(text));
  return *this;
}

CommandFields& CommandFields::Add(double value, DigitField field) {
  if (auto digits = FieldDigits(value, field)) return Add(*digits);
  if (fits_)
    Log("ERRO!!! " + operation_ + " : " + platform::L1("o valor ") + hostrt::FloatToStr(value) +
        platform::L1(" não cabe no campo de ") + platform::to_text(field.digits) +
        platform::L1(" dígitos; comando não enviado"));
  fits_ = false;
  return Add(std::string());
}

CommandFields& CommandFields::AddZeroPadded(std::string_view code, std::size_t width) {
  if (code.size() <= width) return Add(hostrt::AjustaZero(code, static_cast<int>(width)));
  if (fits_)
    Log("ERRO!!! " + operation_ + platform::L1(" : o código ") + std::string(code) +
        platform::L1(" excede ") + platform::to_text(width) + platform::L1(" caracteres; comando não enviado"));
  fits_ = false;
  return Add(std::string());
}

}  // namespace kvr
