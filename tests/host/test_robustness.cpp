// Malformed patterns and texts: every formatting and parsing entry point
// either answers or raises its documented error, never anything else.
#include <limits>
#include <random>

#include "hostrt/params.h"
#include "hostrt/text.h"
#include "host_test_support.h"

namespace {

using namespace hostrt;

std::string RandomText(std::mt19937& random, const std::string& alphabet, std::size_t max_length) {
  std::string s(random() % (max_length + 1), ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

class Robustness : public host_test::HostTest {};

TEST_F(Robustness, RandomNumberPatternsAlwaysFormat) {
  std::mt19937 random(1);
  const double values[] = {0, -0.0, 1.5, -1234.567, 1e-300, 1e300, 123456789012345678.0, 0.005};
  for (int i = 0; i < 5000; ++i) {
    const std::string pattern = RandomText(random, "0#.,;E+-e'\"x %", 14);
    for (const double v : values) EXPECT_NO_THROW(FormatFloat(pattern, v)) << pattern;
  }
}

TEST_F(Robustness, RandomDatePatternsAlwaysFormat) {
  std::mt19937 random(2);
  const DateTime t{EncodeDate(2009, 3, 5).value + EncodeTime(14, 7, 9, 45).value};
  for (int i = 0; i < 5000; ++i) {
    const std::string pattern = RandomText(random, "dmyhnszctaAP/:'\" x", 16);
    EXPECT_NO_THROW(FormatDateTime(pattern, t)) << pattern;
    EXPECT_NO_THROW(FormatDateTime(pattern, DateTime{-693593.75})) << pattern;
  }
}

TEST_F(Robustness, GarbageTextIsRefusedWithConversionErrors) {
  std::mt19937 random(3);
  for (int i = 0; i < 5000; ++i) {
    const std::string text = RandomText(random, "0123456789,.-+eE/: $xAPM", 20);
    double number = 0;
    DateTime dt;
    std::int64_t integer = 0;
    EXPECT_NO_THROW(TryStrToFloat(text, number)) << text;
    EXPECT_NO_THROW(TryStrToDateTime(text, dt)) << text;
    EXPECT_NO_THROW(TryStrToInt(text, integer)) << text;
    try {
      StrToTime(text);
    } catch (const EConvertError&) {
    }
    try {
      Variant(text).AsBoolean();
      Variant(text).AsInteger();
    } catch (const VariantError&) {
    }
  }
}

TEST_F(Robustness, RandomFormatPatternsRaiseOnlyConversionErrors) {
  std::mt19937 random(4);
  const std::vector<Variant> args = {Variant("texto"), Variant(42), Variant(1.5), Variant()};
  for (int i = 0; i < 5000; ++i) {
    const std::string pattern = RandomText(random, "%sdfnmxgeu-.*:0123 ", 12);
    try {
      Format(pattern, args);
    } catch (const EConvertError&) {
    }
  }
}

TEST_F(Robustness, ValuesThatAreNoDateRaiseConversionErrors) {
  for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                         -1e300, 3e6, -7e5}) {
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(FormatDateTime("dd/mm/yyyy hh:nn", DateTime{v}), EConvertError) << v;
    EXPECT_THROW(DecodeDate(DateTime{v}, y, m, d), EConvertError) << v;
    EXPECT_THROW(DayOfWeek(DateTime{v}), EConvertError) << v;
  }
  EXPECT_THROW(SubtDataHoraUlm(DateTime{std::numeric_limits<double>::quiet_NaN()}, DateTime{0}), EConvertError);
  EXPECT_THROW(SubtDataHoraUlm(DateTime{1e300}, DateTime{0}), EConvertError);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", DateTime{2958465.5}), "31/12/9999");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", DateTime{-693593}), "01/01/0001");
}

TEST_F(Robustness, DeeplyNestedOrOddRecordsNeverCrash) {
  Variant nested = MakeParams({{"A", 1}});
  for (int i = 0; i < 500; ++i) nested = Variant::ArrayOf({nested, Variant(i)});
  EXPECT_THROW(RecebeParams(nested, "A"), VariantError);  // its first pair is named by an array
  Variant copy = nested;                                   // a deep copy of a deep tree
  EXPECT_EQ(copy[1].AsInteger(), 499);
}

TEST_F(Robustness, ARecordNamedByAnImpossibleDateIsRefusedAsARecord) {
  Variant record = Variant::ArrayOf({Variant::ArrayOf({Variant(DateTime{5e307}), Variant(1)})});
  EXPECT_THROW(RecebeParams(record, "CDFILIAL"), VariantError);
  EXPECT_THROW(SetParam(record, "CDFILIAL", Variant(2)), VariantError);
  EXPECT_EQ(record.Count(), 1) << "a refused record is left as it was";
}

}  // namespace
