// Text helpers: columns, fitting, truncation without binary error, time differences.
#include <cmath>

#include "hostrt/text.h"
#include "host_test_support.h"
#include "platform/latin1.h"

namespace {

using namespace hostrt;

class TextHelpers : public host_test::HostTest {};

TEST_F(TextHelpers, FixedColumnsCutOrPad) {
  EXPECT_EQ(TamFixo("abc", 5), "abc  ");
  EXPECT_EQ(TamFixo("abcdef", 3), "abc");
  EXPECT_EQ(TamFixo("abc", 0), "");
  EXPECT_EQ(TamFixo("abc", -4), "");
  EXPECT_EQ(TamFixoR("abc", 5), "  abc");
  EXPECT_EQ(TamFixoR("abcdef", 3), "abc");
  EXPECT_EQ(PadL("abc", 5), "  abc");
  EXPECT_EQ(PadL("abcdef", 3), "abcdef");
  EXPECT_EQ(PadR("abc", 5, '.'), "abc..");
  EXPECT_EQ(PadR("abcdef", 3), "abcdef");
  EXPECT_EQ(Replicate("-", 48), std::string(48, '-'));
  EXPECT_EQ(Replicate("ab", 3), "ababab");
  EXPECT_EQ(Replicate("ab", -1), "");
  // A column is a byte: Latin-1 letters take one.
  EXPECT_EQ(TamFixo(platform::L1("ção"), 4).size(), 4u);
}

TEST_F(TextHelpers, CentralizaPutsTheOddBlankOnTheRight) {
  EXPECT_EQ(Centraliza("abc", 8), "  abc   ");
  EXPECT_EQ(Centraliza("abcd", 8), "  abcd  ");
  EXPECT_EQ(Centraliza("abcdefghij", 8), "abcdefgh");
  EXPECT_EQ(Centraliza("", 3), "   ");
  EXPECT_EQ(Centraliza("x", 48).size(), 48u);
}

TEST_F(TextHelpers, AjustaFitsANumberRightAlignedWithZeros) {
  EXPECT_EQ(Ajusta("13", 4), "0013");
  EXPECT_EQ(Ajusta("12345", 4), "2345");
  EXPECT_EQ(Ajusta("", 3), "000");
  EXPECT_EQ(Ajusta("7", 0), "");
  EXPECT_EQ(Ajusta("1234", 4), "1234");
  EXPECT_EQ(AjustaZero("13", 6), "000013");
  EXPECT_EQ(AjustaZero("1234567", 6), "1234567");
}

TEST_F(TextHelpers, TrimsAndBlankTests) {
  EXPECT_EQ(RTrim("  ab \t\r\n"), "  ab");
  EXPECT_EQ(Trim("  ab  "), "ab");
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("   "));
  EXPECT_FALSE(EmptyString(" a "));
  EXPECT_EQ(iif(true, "S", "N"), "S");
  EXPECT_EQ(iif(false, 1, 2), 2);
}

TEST_F(TextHelpers, CaseOfLatin1Letters) {
  EXPECT_EQ(UpperCase(platform::L1("ação é ÿ ÷")), platform::L1("AÇÃO É ÿ ÷"));
  EXPECT_EQ(LowerCase(platform::L1("AÇÃO × Z")), platform::L1("ação × z"));
  EXPECT_TRUE(SameText(platform::L1("Ação"), platform::L1("AÇÃO")));
  EXPECT_FALSE(SameText("abc", "abcd"));
}

TEST_F(TextHelpers, Trunc2KeepsEveryCentThatBinaryFloatingPointBlurs) {
  EXPECT_EQ(Trunc2(1.15), 1.15);
  EXPECT_EQ(Trunc2(12.349), 12.34);
  EXPECT_EQ(Trunc2(0.29), 0.29);
  EXPECT_EQ(Trunc2(4.35), 4.35);
  EXPECT_EQ(Trunc2(1.005), 1.0);
  EXPECT_EQ(Trunc2(-12.349), -12.34);
  EXPECT_EQ(Trunc2(0.1 + 0.2), 0.3);
  EXPECT_EQ(Trunc2(0.004), 0.0);
  // Every amount of cents up to 100 000.00 stays itself, also after arithmetic.
  for (int cents = 0; cents <= 10000000; cents += 37) {
    const double amount = cents / 100.0;
    ASSERT_EQ(Trunc2(amount), amount) << amount;
    ASSERT_EQ(Trunc2(amount * 3 / 3), amount) << amount;
  }
  EXPECT_EQ(Trunc3(0.2905), 0.29);
  EXPECT_EQ(Trunc3(1.0019), 1.001);
  EXPECT_EQ(Trunc3(2.675), 2.675);
  EXPECT_TRUE(std::isnan(Trunc2(std::nan(""))));
}

TEST_F(TextHelpers, RoundDecRoundsHalfAwayFromZeroOnTheDecimalText) {
  EXPECT_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_EQ(RoundDec(-2.5, 0), -3.0);
  EXPECT_EQ(RoundDec(1.2344, 3), 1.234);
  EXPECT_EQ(RoundDec(9.995, 2), 10.0);
  EXPECT_EQ(RoundDec(-0.001, 2), 0.0);
}

TEST_F(TextHelpers, SubtDataHoraUlmGivesHoursAndMinutes) {
  const DateTime ten{EncodeDate(2009, 3, 5).value + EncodeTime(10, 0, 0).value};
  const DateTime ten_sixteen{EncodeDate(2009, 3, 5).value + EncodeTime(10, 16, 0).value};
  EXPECT_EQ(SubtDataHoraUlm(ten_sixteen, ten), "00:16");
  EXPECT_EQ(SubtDataHoraUlm(ten, ten_sixteen), "-00:16");
  EXPECT_EQ(SubtDataHoraUlm(ten, ten), "00:00");
  const DateTime next_day{EncodeDate(2009, 3, 6).value + EncodeTime(12, 5, 0).value};
  EXPECT_EQ(SubtDataHoraUlm(next_day, ten), "26:05");
  EXPECT_EQ(SubtDataHoraUlm(ten, next_day), "-26:05");
  EXPECT_EQ(SubtDataHoraUlm(DateTime{ten.value + 400}, ten), "9600:00");
  // Seconds are dropped; a date-time read from text (with binary noise) still
  // gives its whole minutes.
  const DateTime printer = StrToDateTime("05/03/2009 10:15");
  EXPECT_EQ(SubtDataHoraUlm(printer, ten), "00:15");
  EXPECT_EQ(SubtDataHoraUlm(ten, printer), "-00:15");
  const DateTime later{EncodeDate(2009, 3, 5).value + EncodeTime(10, 15, 59).value};
  EXPECT_EQ(SubtDataHoraUlm(later, ten), "00:15");
  const DateTime seconds_before{EncodeDate(2009, 3, 5).value + EncodeTime(9, 59, 30).value};
  EXPECT_EQ(SubtDataHoraUlm(seconds_before, ten), "00:00");
}

TEST_F(TextHelpers, DelayLetsTheHostProcessItsMessages) {
  auto host = std::make_shared<ScriptedHost>();
  InstallHostServices(host);
  Delay(0);
  EXPECT_EQ(host->process_messages_calls, 1);
  Delay(25);
  EXPECT_GT(host->process_messages_calls, 2);
}

}  // namespace
