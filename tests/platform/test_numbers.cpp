// Numbers to text and back, and ASCII character classes: the same results in
// the C locale and in the Brazilian process locale (the test runs in both).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/ascii.h"
#include "platform/numbers.h"
#include "platform/text_builder.h"

namespace {

TEST(NumbersTest, IntegersAreWrittenWithoutGroupingOrLocaleMarks) {
  EXPECT_EQ(platform::to_text(1234567), "1234567");
  EXPECT_EQ(platform::to_text(-42), "-42");
  EXPECT_EQ(platform::to_text(std::uint64_t{18446744073709551615ULL}), "18446744073709551615");
  EXPECT_EQ(platform::to_text(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(platform::zero_padded(7, 4), "0007");
  EXPECT_EQ(platform::zero_padded(-7, 4), "-0007");
  EXPECT_EQ(platform::zero_padded(123456, 4), "123456") << "never cut";
  EXPECT_EQ(platform::zero_padded(LLONG_MIN, 2), "-9223372036854775808");
  EXPECT_EQ(platform::hex_text(0xbeefULL, 8, false), "0000beef");
  EXPECT_EQ(platform::hex_text(255), "FF");
}

TEST(NumbersTest, IntegerTextsAreReadWholeOrNotAtAll) {
  EXPECT_EQ(platform::parse_integer("0042"), 42);
  EXPECT_EQ(platform::parse_integer("+7"), 7);
  EXPECT_EQ(platform::parse_integer("-9223372036854775808"), LLONG_MIN);
  for (const char* bad : {"", "+", "-", "++1", "1.000", "1,5", " 12", "12 ", "0x10", "9223372036854775808", "1e3"})
    EXPECT_FALSE(platform::parse_integer(bad)) << bad;
}

TEST(NumbersTest, DecimalTextsTakeThePointWhateverTheLocaleSays) {
  EXPECT_DOUBLE_EQ(*platform::parse_decimal("12345.67"), 12345.67);
  EXPECT_DOUBLE_EQ(*platform::parse_decimal("-0.5e2"), -50.0);
  for (const char* bad : {"", "12,5", "inf", "nan", "1.2.3", " 1", "0x1p3", "1.5x"})
    EXPECT_FALSE(platform::parse_decimal(bad)) << bad;
  EXPECT_EQ(platform::shortest_text(0.1), "0.1");
  EXPECT_EQ(platform::shortest_text(-2.5), "-2.5");
  EXPECT_EQ(platform::scientific_text(1234.5, 3), "1.234e+03") << "exactly 1234.5 rounds half to even";
}

TEST(NumbersTest, TextBuilderWritesNumbersAsThePlatformDoes) {
  platform::TextBuilder text;
  text << "n=" << 1234567 << ' ' << true << ' ' << std::size_t{1000} << std::string("|") << 'x';
  EXPECT_EQ(text.str(), "n=1234567 1 1000|x");
}

TEST(AsciiTest, OnlyAsciiLettersHaveCase) {
  EXPECT_EQ(platform::ascii::to_upper('a'), 'A');
  EXPECT_EQ(platform::ascii::to_lower('Z'), 'z');
  const char e_acute = '\xE9';  // Latin-1: a letter in a Latin-1 locale
  EXPECT_EQ(platform::ascii::to_upper(e_acute), e_acute);
  EXPECT_FALSE(platform::ascii::is_alpha(e_acute));
  EXPECT_FALSE(platform::ascii::is_digit('\xB2'));  // superscript two
  EXPECT_TRUE(platform::ascii::is_space('\t'));
  EXPECT_TRUE(platform::ascii::is_xdigit('F'));
  EXPECT_FALSE(platform::ascii::is_xdigit('g'));
}

}  // namespace
