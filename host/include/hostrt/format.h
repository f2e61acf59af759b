#pragma once
// Number and date formatting as the host's runtime library formats them, under FormatSettings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hostrt/datetime.h"
#include "hostrt/variant.h"

namespace hostrt {

struct FormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongDateFormat = "dddd, d' de 'mmmm' de 'yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString;
  std::string TimePMString;
  std::string CurrencyString = "R$";
  int CurrencyFormat = 2;     // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  int NegCurrFormat = 9;      // the host runtime's table of negative currency forms
  int CurrencyDecimals = 2;
  std::vector<std::string> ShortMonthNames;  // 12, Latin-1
  std::vector<std::string> LongMonthNames;
  std::vector<std::string> ShortDayNames;    // 7, Sunday first
  std::vector<std::string> LongDayNames;
};

// Brazilian Portuguese, the default of the process.
FormatSettings BrazilianFormatSettings();
// The settings the process uses now (the host may change them).
const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

enum class FloatFormat { General, Exponent, Fixed, Number, Currency };

// FormatFloat: "0", "#", ".", ",", "E+", quoted text and ";" sections. The value
// is first taken to 18 significant digits, then rounded half away from zero;
// a result that rounds to zero has no minus sign.
std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& fs);
// FloatToStr: general format, 15 significant digits (0.1 + 0.2 gives "0,3").
std::string FloatToStr(double value);
std::string FloatToStr(double value, const FormatSettings& fs);
std::string FloatToStrF(double value, FloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, FloatFormat format, int precision, int digits, const FormatSettings& fs);
std::string CurrToStr(double value);
std::string IntToStr(std::int64_t value);

// Parsing (EConvertError on bad text).
double StrToFloat(std::string_view text);
double StrToFloat(std::string_view text, const FormatSettings& fs);
bool TryStrToFloat(std::string_view text, double& out);
std::int64_t StrToInt(std::string_view text);  // also "$1F" hex, as the host's runtime
bool TryStrToInt(std::string_view text, std::int64_t& out);
std::int64_t StrToIntDef(std::string_view text, std::int64_t def);

// FormatDateTime: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm, c, ddddd, t, tt, "/" and ":" from the settings, quoted text; "m"
// right after "h"/"hh" means minutes.
std::string FormatDateTime(std::string_view pattern, DateTime dt);
std::string FormatDateTime(std::string_view pattern, DateTime dt, const FormatSettings& fs);
std::string DateToStr(DateTime dt);       // ShortDateFormat
std::string TimeToStr(DateTime dt);       // LongTimeFormat
std::string DateTimeToStr(DateTime dt);   // date, then time when not midnight
DateTime StrToDate(std::string_view text);      // order taken from ShortDateFormat; 2-digit years in a window around the current year
DateTime StrToTime(std::string_view text);
DateTime StrToDateTime(std::string_view text);
bool TryStrToDate(std::string_view text, DateTime& out);
bool TryStrToDateTime(std::string_view text, DateTime& out);

// The host runtime's Format for the forms the driver uses: %s %d %f %.Nf %n %x %%, with
// optional width, '-' and index. A bad pattern or argument raises EConvertError.
std::string Format(std::string_view pattern, const std::vector<Variant>& args);

}  // namespace hostrt
