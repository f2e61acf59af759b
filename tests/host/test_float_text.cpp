// FloatToStr, FloatToStrF, parsing of numbers and the host runtime's Format.
#include <cmath>
#include <limits>

#include "host_test_support.h"

namespace {

using hostrt::EConvertError;
using hostrt::FloatFormat;
using hostrt::FloatToStr;
using hostrt::FloatToStrF;

class FloatText : public host_test::HostTest {};

TEST_F(FloatText, FloatToStrUsesFifteenSignificantDigits) {
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0,666666666666667");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(-2.5), "-2,5");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(0.0001), "0,0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(-1.5e-10), "-1,5E-10");
  EXPECT_EQ(FloatToStr(1234.5, DotSettings()), "1234.5");
}

TEST_F(FloatText, FixedWithPrecisionFifteenAndTwoDigitsAsFootersUseIt) {
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Fixed, 15, 2), "1234,50");
  EXPECT_EQ(FloatToStrF(0, FloatFormat::Fixed, 15, 2), "0,00");
  EXPECT_EQ(FloatToStrF(-0.001, FloatFormat::Fixed, 15, 2), "0,00");
  EXPECT_EQ(FloatToStrF(2.345, FloatFormat::Fixed, 15, 2), "2,35");
  EXPECT_EQ(FloatToStrF(1.005, FloatFormat::Fixed, 15, 2), "1,00");
  EXPECT_EQ(FloatToStrF(-7.5, FloatFormat::Fixed, 15, 2), "-7,50");
  EXPECT_EQ(FloatToStrF(1234567.891, FloatFormat::Fixed, 15, 2), "1234567,89");
  EXPECT_EQ(FloatToStrF(12.5, FloatFormat::Fixed, 15, 0), "13");
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Fixed, 15, 2, DotSettings()), "1234.50");
  // Precision limits the significant digits before the decimals do.
  EXPECT_EQ(FloatToStrF(123.456, FloatFormat::Fixed, 4, 2), "123,50");
  // Too many integer digits for the precision: general format.
  EXPECT_EQ(FloatToStrF(1e20, FloatFormat::Fixed, 15, 2), "1E20");
}

TEST_F(FloatText, NumberAndCurrencyCarryThousandsAndSymbol) {
  EXPECT_EQ(FloatToStrF(1234567.891, FloatFormat::Number, 15, 2), "1.234.567,89");
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Currency, 15, 2), "R$ 1.234,50");
  EXPECT_EQ(FloatToStrF(-5, FloatFormat::Currency, 15, 2), "-R$ 5,00");
  EXPECT_EQ(FloatToStrF(-0.001, FloatFormat::Currency, 15, 2), "R$ 0,00");
  EXPECT_EQ(FloatToStrF(0.5, FloatFormat::Currency, 15, 2), "R$ 0,50");
  hostrt::FormatSettings fs = DotSettings();
  fs.CurrencyString = "$";
  fs.CurrencyFormat = 0;
  fs.NegCurrFormat = 0;
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Currency, 15, 2, fs), "$1,234.50");
  EXPECT_EQ(FloatToStrF(-1234.5, FloatFormat::Currency, 15, 2, fs), "($1,234.50)");
  EXPECT_EQ(hostrt::CurrToStr(2.5), "2,5");
  EXPECT_EQ(hostrt::CurrToStr(1.23456), "1,2346");
}

TEST_F(FloatText, ExponentAndGeneralForms) {
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Exponent, 4, 2), "1,235E+03");
  EXPECT_EQ(FloatToStrF(-0.00012, FloatFormat::Exponent, 3, 0), "-1,20E-4");
  EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::General, 3, 0), "1,23E3");
  EXPECT_EQ(FloatToStrF(std::numeric_limits<double>::quiet_NaN(), FloatFormat::Fixed, 15, 2), "NAN");
}

TEST_F(FloatText, StrToFloatTakesOnlyTheSettingsDecimalSeparator) {
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat("1234,5"), 1234.5);
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat(" -1,5 "), -1.5);
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat("+2"), 2.0);
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat("1,5E3"), 1500.0);
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat(",5"), 0.5);
  EXPECT_DOUBLE_EQ(hostrt::StrToFloat("1234.5", DotSettings()), 1234.5);
  for (const char* bad : {"1234.5", "", "   ", "abc", "1.234,5", ",", "1e", "1,5x", "1e400", "--1", "1 000"}) {
    EXPECT_THROW(hostrt::StrToFloat(bad), EConvertError) << bad;
    double out = 7;
    EXPECT_FALSE(hostrt::TryStrToFloat(bad, out)) << bad;
    EXPECT_EQ(out, 7) << "a failed parse leaves the output alone";
  }
  try {
    hostrt::StrToFloat("12x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12x' is not a valid floating point value");
  }
}

TEST_F(FloatText, FloatTextRoundTripsUnderBothSettings) {
  const double values[] = {0, 1, -1, 0.1, 0.3, 1234.56, -98765.4321, 1e-5, 3.14159265358979, 1e15, 123456789012345};
  for (const auto& fs : {hostrt::BrazilianFormatSettings(), DotSettings()}) {
    hostrt::SetFormatSettings(fs);
    for (const double v : values) {
      EXPECT_EQ(hostrt::StrToFloat(FloatToStr(v)), v) << FloatToStr(v);
      EXPECT_NEAR(hostrt::StrToFloat(hostrt::FormatFloat("0.00", v)), v, 0.005 + std::fabs(v) * 1e-15);
    }
  }
}

TEST_F(FloatText, StrToIntAcceptsDecimalAndHexOnly) {
  EXPECT_EQ(hostrt::StrToInt("123"), 123);
  EXPECT_EQ(hostrt::StrToInt(" -45"), -45);
  EXPECT_EQ(hostrt::StrToInt("$1F"), 31);
  EXPECT_EQ(hostrt::StrToInt("0x1f"), 31);
  EXPECT_EQ(hostrt::StrToInt("000013"), 13);
  EXPECT_EQ(hostrt::StrToInt("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(hostrt::StrToInt("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  for (const char* bad : {"", "12 ", "1,0", "1.0", "abc", "9223372036854775808", "-", "$", "0x", "$G"}) {
    EXPECT_THROW(hostrt::StrToInt(bad), EConvertError) << bad;
  }
  EXPECT_EQ(hostrt::StrToIntDef("x", -1), -1);
  EXPECT_EQ(hostrt::IntToStr(-42), "-42");
}

TEST_F(FloatText, FormatFillsTextsAndNumbers) {
  using hostrt::Format;
  using hostrt::Variant;
  EXPECT_EQ(Format("Arquivo (%s) invalido.", {Variant("C:\\lov\\Paliron.cds")}), "Arquivo (C:\\lov\\Paliron.cds) invalido.");
  EXPECT_EQ(Format("%d itens", {Variant(42)}), "42 itens");
  EXPECT_EQ(Format("[%5d][%-5s][%.3d]", {Variant(42), Variant("ab"), Variant(7)}), "[   42][ab   ][007]");
  EXPECT_EQ(Format("%.2f|%n|%m", {Variant(1234.5), Variant(1234.5), Variant(1234.5)}), "1234,50|1.234,50|R$ 1.234,50");
  EXPECT_EQ(Format("%x %%", {Variant(255)}), "FF %");
  EXPECT_EQ(Format("%1:s %0:s", {Variant("a"), Variant("b")}), "b a");
  EXPECT_EQ(Format("%*d", {Variant(4), Variant(7)}), "   7");
  EXPECT_EQ(Format("%d", {Variant(std::numeric_limits<std::int64_t>::min())}), "-9223372036854775808");
  EXPECT_EQ(Format("%s", {Variant(1.5)}), "1,5");
  EXPECT_EQ(Format("sem argumentos", {}), "sem argumentos");
}

TEST_F(FloatText, FormatRefusesBadPatternsAndArguments) {
  using hostrt::Format;
  using hostrt::Variant;
  EXPECT_THROW(Format("%s %s", {Variant("a")}), EConvertError);
  EXPECT_THROW(Format("%d", {Variant(1.5)}), EConvertError);
  EXPECT_THROW(Format("%d", {Variant("abc")}), EConvertError);
  EXPECT_THROW(Format("100%", {}), EConvertError);
  EXPECT_THROW(Format("%q", {Variant(1)}), EConvertError);
  EXPECT_THROW(Format("%.f", {Variant(1.0)}), EConvertError);
  EXPECT_THROW(Format("%5:s", {Variant("a")}), EConvertError);
  EXPECT_THROW(Format("%s", {Variant::ArrayOf({1, 2})}), EConvertError);
}

}  // namespace
