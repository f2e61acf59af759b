// Variants as the host hands them over, and parameter records built of them.
#include <limits>

#include "hostrt/params.h"
#include "host_test_support.h"

namespace {

using hostrt::DateTime;
using hostrt::MakeParams;
using hostrt::RecebeParams;
using hostrt::Variant;
using hostrt::VariantError;
using hostrt::VarType;

class Variants : public host_test::HostTest {};

TEST_F(Variants, EmptyReadsAsNothingAndNullRefusesNumbers) {
  const Variant empty;
  EXPECT_EQ(empty.Type(), VarType::Empty);
  EXPECT_EQ(empty.AsString(), "");
  EXPECT_EQ(empty.AsFloat(), 0);
  EXPECT_EQ(empty.AsInteger(), 0);
  EXPECT_FALSE(empty.AsBoolean());
  const Variant null = Variant::Null();
  EXPECT_EQ(null.AsString(), "");
  EXPECT_THROW(null.AsFloat(), VariantError);
  EXPECT_THROW(null.AsInteger(), VariantError);
  EXPECT_THROW(null.AsBoolean(), VariantError);
  EXPECT_THROW(null.AsDateTime(), VariantError);
}

TEST_F(Variants, NumbersAndBooleansBecomeText) {
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_EQ(Variant(42).AsString(), "42");
  EXPECT_EQ(Variant(0.1 + 0.2).AsString(), "0,3");
  EXPECT_EQ(Variant(DateTime{hostrt::EncodeDate(2009, 3, 5).value + 0.5}).AsString(), "05/03/2009 12:00:00");
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(std::int64_t{1} << 40).AsFloat(), 1099511627776.0);
}

TEST_F(Variants, TextConvertsToBooleanOnlyFromTrueFalseOrNumbers) {
  EXPECT_TRUE(Variant("True").AsBoolean());
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_TRUE(Variant("-1").AsBoolean());
  EXPECT_TRUE(Variant("0,5").AsBoolean());
  for (const char* bad : {"", "S", "yes", "verdadeiro", "Truex"}) {
    EXPECT_THROW(Variant(bad).AsBoolean(), VariantError) << bad;
  }
}

TEST_F(Variants, TextConvertsToNumbersUnderTheCurrentSettings) {
  EXPECT_DOUBLE_EQ(Variant("12,5").AsFloat(), 12.5);
  EXPECT_THROW(Variant("12.5").AsFloat(), VariantError);
  EXPECT_THROW(Variant("").AsFloat(), VariantError);
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant("12,5").AsInteger(), 12);  // half to even
  EXPECT_EQ(Variant("13,5").AsInteger(), 14);
  hostrt::SetFormatSettings(DotSettings());
  EXPECT_DOUBLE_EQ(Variant("12.5").AsFloat(), 12.5);
  EXPECT_EQ(Variant(1.5).AsString(), "1.5");
  try {
    Variant("abc").AsFloat();
    FAIL();
  } catch (const VariantError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Double): 'abc'");
  }
}

TEST_F(Variants, FloatsRoundHalfToEvenIntoIntegers) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(2.6).AsInteger(), 3);
  EXPECT_THROW(Variant(1e30).AsInteger(), VariantError);
  EXPECT_THROW(Variant(std::numeric_limits<double>::quiet_NaN()).AsInteger(), VariantError);
}

TEST_F(Variants, DatesFromTextAndNumbers) {
  EXPECT_EQ(Variant("05/03/2009").AsDateTime().value, hostrt::EncodeDate(2009, 3, 5).value);
  EXPECT_EQ(Variant(39877).AsDateTime().value, 39877);
  EXPECT_THROW(Variant("31/02/2009").AsDateTime(), VariantError);
  EXPECT_THROW(Variant::ArrayOf({1}).AsDateTime(), VariantError);
}

TEST_F(Variants, ArraysHaveBoundsAndRefuseIndexesOutsideThem) {
  Variant result = Variant::Array(1, 3);
  EXPECT_EQ(result.LowBound(), 1);
  EXPECT_EQ(result.HighBound(), 3);
  EXPECT_EQ(result.Count(), 3);
  EXPECT_TRUE(result[1].IsEmpty());
  result[3] = "fim";
  EXPECT_EQ(result[3].AsString(), "fim");
  EXPECT_THROW(result[0], VariantError);
  EXPECT_THROW(result[4], VariantError);
  EXPECT_THROW(result[std::numeric_limits<int>::min()], VariantError);
  result.Redim(5);
  EXPECT_EQ(result[3].AsString(), "fim");
  EXPECT_TRUE(result[5].IsEmpty());
  result.Redim(1);
  EXPECT_EQ(result.Count(), 1);
  EXPECT_THROW(Variant::Array(5, 2), VariantError);
  EXPECT_EQ(Variant::Array(0, -1).Count(), 0);

  const Variant positional = Variant::ArrayOf({"a", 2, 3.5});
  EXPECT_EQ(positional.LowBound(), 0);
  EXPECT_EQ(positional[2].AsFloat(), 3.5);
  EXPECT_THROW(Variant(5)[0], VariantError);
  EXPECT_THROW(Variant("abc").Count(), VariantError);
  EXPECT_THROW(positional.AsString(), VariantError);
}

TEST_F(Variants, CopiesAreDeep) {
  Variant original = Variant::ArrayOf({Variant::ArrayOf({"x", 1}), "y"});
  Variant copy = original;
  copy[0][1] = 99;
  copy[1] = "z";
  EXPECT_EQ(original[0][1].AsInteger(), 1);
  EXPECT_EQ(original[1].AsString(), "y");
  Variant moved = std::move(copy);
  EXPECT_EQ(moved[0][1].AsInteger(), 99);
  original = moved;
  EXPECT_EQ(original[0][1].AsInteger(), 99);
}

TEST_F(Variants, PacketsAndStringLists) {
  const std::string bytes("\0\x01packet\xff", 9);
  const Variant packet = Variant::Packet(bytes);
  EXPECT_EQ(packet.Type(), VarType::DataPacket);
  EXPECT_EQ(packet.PacketBytes(), bytes);
  EXPECT_THROW(packet.AsString(), VariantError);
  EXPECT_THROW(packet.Lines(), VariantError);
  Variant list = Variant::Strings({"a", "b"});
  list.Lines().push_back("c");
  EXPECT_EQ(list.Lines().size(), 3u);
  EXPECT_EQ(list.AsString(), "a\r\nb\r\nc\r\n");
  EXPECT_THROW(Variant("x").PacketBytes(), VariantError);
}

class ParameterRecords : public host_test::HostTest {};

TEST_F(ParameterRecords, NamesAreFoundRegardlessOfCase) {
  const Variant p = MakeParams({{"CDFILIAL", "0001"}, {"QTDE", 2.5}, {"UTILTEF", true}, {"INTTEFERRO", 0}});
  EXPECT_EQ(RecebeParams(p, "cdfilial").AsString(), "0001");
  EXPECT_EQ(RecebeParams(p, "QTDE").AsFloat(), 2.5);
  EXPECT_TRUE(RecebeParams(p, "UtilTef").AsBoolean());
  EXPECT_EQ(RecebeParams(p, "INTTEFERRO").AsInteger(), 0);
}

TEST_F(ParameterRecords, MissingNamesReadAsEmpty) {
  const Variant p = MakeParams({{"A", 1}});
  const Variant missing = RecebeParams(p, "B");
  EXPECT_TRUE(missing.IsEmpty());
  EXPECT_EQ(missing.AsString(), "");
  EXPECT_EQ(missing.AsFloat(), 0);
  EXPECT_FALSE(missing.AsBoolean());
  EXPECT_TRUE(RecebeParams(Variant::ArrayOf({}), "A").IsEmpty());
}

TEST_F(ParameterRecords, ValuesThatAreNotRecordsRaiseAClearError) {
  const Variant not_records[] = {Variant(), Variant::Null(), Variant("CDFILIAL"), Variant(5),
                                 Variant::ArrayOf({"CDFILIAL", "0001"}),        // a pair, not a record of pairs
                                 Variant::ArrayOf({Variant::ArrayOf({"A"})}),  // a pair without value
                                 Variant::ArrayOf({Variant::ArrayOf({Variant::ArrayOf({}), 1})}),
                                 Variant::Packet("x")};
  for (const Variant& v : not_records) {
    try {
      RecebeParams(v, "CDFILIAL");
      ADD_FAILURE() << "accepted a " << v.TypeName();
    } catch (const VariantError& e) {
      EXPECT_NE(std::string(e.what()).find("Invalid parameter record"), std::string::npos) << e.what();
    }
  }
}

TEST_F(ParameterRecords, RecordsFromTheHostMayHaveOtherBounds) {
  Variant p = Variant::Array(1, 2);
  Variant pair = Variant::Array(1, 2);
  pair[1] = "NRSERIE";
  pair[2] = "BE0123";
  p[1] = pair;
  pair[1] = "ESQUEMACOR";
  pair[2] = "001";
  p[2] = pair;
  EXPECT_EQ(RecebeParams(p, "NRSERIE").AsString(), "BE0123");
  EXPECT_EQ(RecebeParams(p, "ESQUEMACOR").AsString(), "001");
}

TEST_F(ParameterRecords, SetParamReplacesOrAppendsKeepingOrder) {
  Variant p = MakeParams(std::vector<std::pair<std::string, Variant>>{{"A", 1}, {"B", 2}});
  hostrt::SetParam(p, "b", 20);
  hostrt::SetParam(p, "C", "tres");
  ASSERT_EQ(p.Count(), 3);
  EXPECT_EQ(p[0][0].AsString(), "A");
  EXPECT_EQ(p[1][1].AsInteger(), 20);
  EXPECT_EQ(p[2][0].AsString(), "C");
  EXPECT_EQ(RecebeParams(p, "c").AsString(), "tres");
  Variant not_record("x");
  EXPECT_THROW(hostrt::SetParam(not_record, "A", 1), VariantError);
}

}  // namespace

namespace {

TEST(VariantIntegers, EveryIntegerTypeMakesAnInteger) {
  EXPECT_EQ(hostrt::Variant(5LL).Type(), hostrt::VarType::Integer);
  EXPECT_EQ(hostrt::Variant(std::size_t{7}).AsInteger(), 7);
  EXPECT_EQ(hostrt::Variant(static_cast<short>(-3)).AsInteger(), -3);
  EXPECT_EQ(hostrt::Variant(true).Type(), hostrt::VarType::Boolean);
  EXPECT_EQ(hostrt::Variant('S').AsString(), "S");
  try {
    hostrt::Variant("x1").AsInteger();
    FAIL();
  } catch (const hostrt::VariantError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Integer): 'x1'");
  }
}

}  // namespace
