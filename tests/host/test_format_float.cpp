// FormatFloat under both separator settings, and the rounding it must share
// with the host's runtime.
#include <string>

#include "host_test_support.h"

namespace {

using hostrt::FormatFloat;

struct Case {
  const char* pattern;
  double value;
  const char* expected;  // under "," decimal and "." thousands
};

// Swaps "," and "." : the same case under the other settings.
std::string Swapped(std::string s) {
  for (char& c : s) c = c == ',' ? '.' : c == '.' ? ',' : c;
  return s;
}

const Case kCases[] = {
    // Item price and quantity
    {"#0.000", 1234.5, "1234,500"},
    {"#0.000", 0, "0,000"},
    {"#0.000", 12.3456, "12,346"},
    {"#0.000", 0.0005, "0,001"},
    {"#0.000", -1.5, "-1,500"},
    // Cents texts
    {"000000.00", 1234.5, "001234,50"},
    {"000000.00", 0, "000000,00"},
    {"000000000000.00", 1234.5, "000000001234,50"},
    {"000000000000.00", 0.01, "000000000000,01"},
    // Two decimals: 18 significant digits, then half away from zero
    {"0.00", 2.345, "2,35"},
    {"0.00", 1.005, "1,00"},
    {"0.00", 0.125, "0,13"},
    {"0.00", 9.999, "10,00"},
    {"0.00", -0.001, "0,00"},
    {"0.00", -0.005, "-0,01"},
    {"0.00", -2.345, "-2,35"},
    {"0.00", 1234.5, "1234,50"},
    {"0.00", 0, "0,00"},
    {"#0.00", 0.5, "0,50"},
    {"#0.00", 1000000, "1000000,00"},
    {"###0.00", 12.5, "12,50"},
    {"###0.00", 0.75, "0,75"},
    {"#########0.00", 1234.5, "1234,50"},
    {"#########0.00", -98765.432, "-98765,43"},
    // Thousands
    {"#,##0", 1234567, "1.234.567"},
    {"#,##0", 999.5, "1.000"},
    {"#,##0", 0, "0"},
    {"#,##0", -1234, "-1.234"},
    {"#,##0", 12, "12"},
    {",##0", 1234567.4, "1.234.567"},
    {"#,##0.00", 1234567.891, "1.234.567,89"},
    {"#,##0.00", -0.004, "0,00"},
    // Optional decimals
    {"0.00#", 1.5, "1,50"},
    {"0.00#", 1.2346, "1,235"},
    {"0.00#", 2.125, "2,125"},
    {"#.##", 1, "1"},
    {"#.00", 0.5, ",50"},
    {"0", 2.5, "3"},
    {"0", -2.5, "-3"},
    // Sections, literals, exponents
    {"0.00;(0.00)", -5, "(5,00)"},
    {"0.00;(0.00)", 5, "5,00"},
    {"0.00;(0.00);'zero'", 0, "zero"},
    {"0.00;(0.00);'zero'", -0.001, "zero"},
    {"'R$ '#,##0.00", 1234.5, "R$ 1.234,50"},
    {"0.00E+00", 1234.5, "1,23E+03"},
    {"0.00E+00", 0.00012345, "1,23E-04"},
    {"0.0e-0", 1234.5, "1,2e3"},
    {"0.0e-0", 0.05, "5,0e-2"},
    {"0.00;", -5, "-5,00"},
    {";0.00", 2.5, "2,5"},
    {"0.00;;", 0, "0,00"},
    {"", 0.1 + 0.2, "0,3"},
    {"0.00", 1e20, "1E20"},
};

class FormatFloatTable : public host_test::HostTest {};

TEST_F(FormatFloatTable, EveryPatternUnderCommaDecimals) {
  for (const Case& c : kCases) {
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " with " << c.value;
  }
}

TEST_F(FormatFloatTable, EveryPatternUnderPointDecimals) {
  const hostrt::FormatSettings dot = DotSettings();
  for (const Case& c : kCases) {
    EXPECT_EQ(FormatFloat(c.pattern, c.value, dot), Swapped(c.expected)) << c.pattern << " with " << c.value;
  }
  // The process-wide settings are what the one-argument form uses.
  hostrt::SetFormatSettings(dot);
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
}

TEST_F(FormatFloatTable, CentsTextsKeepEveryCentOfTruncatedAmounts) {
  // The cents text of an amount: format, then drop the separator.
  for (int cents = 0; cents < 200000; cents += 7) {
    const double amount = cents / 100.0;
    std::string text = FormatFloat("000000000000.00", amount);
    text.erase(12, 1);
    ASSERT_EQ(std::stoll(text), cents) << amount;
  }
}

TEST_F(FormatFloatTable, ValuesThatAreNotNumbers) {
  EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatFloat("0.00", -std::numeric_limits<double>::infinity()), "-INF");
}

TEST_F(FormatFloatTable, UnterminatedQuoteIsLiteralToTheEnd) {
  EXPECT_EQ(FormatFloat("0.00 'abc", 1.5), "1,50 abc");
}

}  // namespace
