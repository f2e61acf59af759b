// Date-times: encoding, FormatDateTime, parsing, and the clock.
#include "hostrt/text.h"
#include "host_test_support.h"
#include "platform/latin1.h"

namespace {

using hostrt::DateTime;
using hostrt::EConvertError;
using hostrt::EncodeDate;
using hostrt::EncodeTime;
using hostrt::FormatDateTime;

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return DateTime{EncodeDate(y, mo, d).value + EncodeTime(h, mi, s, ms).value};
}

class DateTimes : public host_test::HostTest {};

TEST_F(DateTimes, DayNumbersFollowTheHostsCalendar) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).value, 0);
  EXPECT_EQ(EncodeDate(2009, 3, 5).value, 39877);
  EXPECT_EQ(EncodeDate(1, 1, 1).value, -693593);
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  for (auto [y, m, d] : {std::tuple{1900, 2, 29}, {2100, 2, 29}, {2009, 13, 1}, {2009, 4, 31}, {0, 1, 1}, {2009, 1, 0}}) {
    EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
  }
  EXPECT_THROW(EncodeTime(24, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(10, 60, 0), EConvertError);
  EXPECT_EQ(hostrt::DayOfWeek(EncodeDate(2009, 3, 5)), 5);  // a Thursday
  EXPECT_EQ(hostrt::DayOfWeek(DateTime{0}), 7);               // a Saturday
  EXPECT_EQ(hostrt::DayOfWeek(DateTime{-1}), 6);
}

TEST_F(DateTimes, EveryDateDecodesToWhatEncodedIt) {
  for (double day = -693593; day <= 2958465; day += 997) {  // 0001-01-01 .. 9999-12-31
    int y = 0, m = 0, d = 0;
    hostrt::DecodeDate(DateTime{day}, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d).value, day);
  }
}

TEST_F(DateTimes, TimeFractionsRoundToTheMillisecondAndCarryIntoTheDay) {
  int h = 0, mi = 0, s = 0, ms = 0, y = 0, mo = 0, d = 0;
  const DateTime t = At(2009, 3, 5, 14, 7, 9, 45);
  hostrt::DecodeTime(t, h, mi, s, ms);
  EXPECT_EQ((std::tuple{h, mi, s, ms}), (std::tuple{14, 7, 9, 45}));
  const DateTime almost_midnight{EncodeDate(2009, 3, 5).value + 0.99999999999};
  hostrt::DecodeDate(almost_midnight, y, mo, d);
  hostrt::DecodeTime(almost_midnight, h, mi, s, ms);
  EXPECT_EQ((std::tuple{y, mo, d, h, mi, s}), (std::tuple{2009, 3, 6, 0, 0, 0}));
  // Before day 0 the fraction still counts forward from the date's midnight.
  hostrt::DecodeDate(DateTime{-1.25}, y, mo, d);
  hostrt::DecodeTime(DateTime{-1.25}, h, mi, s, ms);
  EXPECT_EQ((std::tuple{y, mo, d, h}), (std::tuple{1899, 12, 29, 6}));
  EXPECT_EQ(hostrt::DateOf(t).value, 39877);
  EXPECT_NEAR(hostrt::TimeOf(t).value, EncodeTime(14, 7, 9, 45).value, 1e-12);
}

TEST_F(DateTimes, FormatDateTimeFields) {
  const DateTime t = At(2009, 3, 5, 14, 7, 9, 45);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", t), "05/03/2009");
  EXPECT_EQ(FormatDateTime("d/m/yy", t), "5/3/09");
  EXPECT_EQ(FormatDateTime("ddmmyy", t), "050309");
  EXPECT_EQ(FormatDateTime("mmyy", t), "0309");
  EXPECT_EQ(FormatDateTime("yyyymmddhhnnss", t), "20090305140709");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", t), "14:07:09.045");
  EXPECT_EQ(FormatDateTime("DD/MM/YYYY HH:NN", t), "05/03/2009 14:07");
  EXPECT_EQ(FormatDateTime("ddd dddd mmm", t), "qui quinta-feira mar");
  EXPECT_EQ(FormatDateTime("mmmm", t), platform::L1("março"));
  EXPECT_EQ(FormatDateTime("'dia' dd \"de\" mmmm", At(2009, 1, 5)), "dia 05 de janeiro");
  EXPECT_EQ(FormatDateTime("hh:nn am/pm", t), "02:07 pm");
  EXPECT_EQ(FormatDateTime("h a/p", At(2009, 3, 5, 0, 30)), "12 a");
  EXPECT_EQ(FormatDateTime("c", t), "05/03/2009 14:07:09");
  EXPECT_EQ(FormatDateTime("c", At(2009, 3, 5)), "05/03/2009");
  EXPECT_EQ(FormatDateTime("ddddd t", t), "05/03/2009 14:07");
}

TEST_F(DateTimes, MonthLetterAfterAnHourMeansMinutes) {
  const DateTime t = At(2009, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDateTime("hh:mm", t), "14:07");
  EXPECT_EQ(FormatDateTime("h:m", t), "14:7");
  EXPECT_EQ(FormatDateTime("hh:mm:ss", t), "14:07:09");
  EXPECT_EQ(FormatDateTime("hh'h'mm", t), "14h07");
  // Another field in between makes "mm" a month again.
  EXPECT_EQ(FormatDateTime("hh dd/mm", t), "14 05/03");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:mm", t), "05/03/2009 14:07");
}

TEST_F(DateTimes, SeparatorsComeFromTheSettings) {
  hostrt::FormatSettings fs = hostrt::BrazilianFormatSettings();
  fs.DateSeparator = '-';
  fs.TimeSeparator = '.';
  const DateTime t = At(2009, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t, fs), "05-03-2009 14.07");
  hostrt::SetFormatSettings(fs);
  EXPECT_EQ(hostrt::DateToStr(t), "05-03-2009");
  EXPECT_EQ(hostrt::TimeToStr(t), "14.07.09");
  EXPECT_EQ(hostrt::StrToDate("05-03-2009").value, EncodeDate(2009, 3, 5).value);
  EXPECT_THROW(hostrt::StrToDate("05/03/2009"), EConvertError);
}

TEST_F(DateTimes, ShortDateAndLongTimeTexts) {
  const DateTime t = At(2009, 3, 5, 14, 7, 9);
  EXPECT_EQ(hostrt::DateToStr(t), "05/03/2009");
  EXPECT_EQ(hostrt::TimeToStr(t), "14:07:09");
  EXPECT_EQ(hostrt::DateTimeToStr(t), "05/03/2009 14:07:09");
  EXPECT_EQ(hostrt::DateTimeToStr(At(2009, 3, 5)), "05/03/2009");
}

TEST_F(DateTimes, StrToDateReadsTheSettingsOrderAndTwoDigitYears) {
  EXPECT_EQ(hostrt::StrToDate("05/03/2009").value, EncodeDate(2009, 3, 5).value);
  EXPECT_EQ(hostrt::StrToDate(" 5/3/2009 ").value, EncodeDate(2009, 3, 5).value);
  // The clock is fixed in 2026: 76..99 are last century, 00..75 this one.
  EXPECT_EQ(hostrt::StrToDate("05/03/09").value, EncodeDate(2009, 3, 5).value);
  EXPECT_EQ(hostrt::StrToDate("05/03/75").value, EncodeDate(2075, 3, 5).value);
  EXPECT_EQ(hostrt::StrToDate("05/03/76").value, EncodeDate(1976, 3, 5).value);
  EXPECT_EQ(hostrt::StrToDate("05/03").value, EncodeDate(2026, 3, 5).value);
  hostrt::FormatSettings us = hostrt::BrazilianFormatSettings();
  us.ShortDateFormat = "mm/dd/yyyy";
  hostrt::SetFormatSettings(us);
  EXPECT_EQ(hostrt::StrToDate("03/05/2009").value, EncodeDate(2009, 3, 5).value);
  us.ShortDateFormat = "yyyy/mm/dd";
  hostrt::SetFormatSettings(us);
  EXPECT_EQ(hostrt::StrToDate("2009/03/05").value, EncodeDate(2009, 3, 5).value);
}

TEST_F(DateTimes, StrToDateRefusesWhatIsNotADate) {
  for (const char* bad : {"", "abc", "31/02/2009", "32/01/2009", "05/13/2009", "2009-03-05", "05/03/2009x",
                          "05//2009", "05/03/2009/1", "00/03/2009"}) {
    EXPECT_THROW(hostrt::StrToDate(bad), EConvertError) << bad;
    DateTime out{123};
    EXPECT_FALSE(hostrt::TryStrToDate(bad, out)) << bad;
    EXPECT_EQ(out.value, 123);
  }
}

TEST_F(DateTimes, DateTimeTextsRoundTrip) {
  const DateTime t = At(2009, 3, 5, 14, 7, 9);
  EXPECT_EQ(hostrt::StrToDateTime(hostrt::DateTimeToStr(t)).value, t.value);
  EXPECT_EQ(hostrt::StrToDateTime("05/03/2009 14:07").value, At(2009, 3, 5, 14, 7).value);
  EXPECT_EQ(hostrt::StrToDateTime("05/03/2009").value, EncodeDate(2009, 3, 5).value);
  EXPECT_EQ(hostrt::StrToDateTime("14:07").value, EncodeTime(14, 7, 0).value);
  EXPECT_EQ(hostrt::StrToTime("2:07 PM").value, EncodeTime(14, 7, 0).value);
  EXPECT_EQ(hostrt::StrToTime("12:00 am").value, 0);
  for (int day = 1; day <= 28; day += 9) {
    const DateTime d = EncodeDate(2024, 2, day);
    EXPECT_EQ(hostrt::StrToDate(hostrt::DateToStr(d)).value, d.value);
  }
  for (const char* bad : {"05/03/2009 25:00", "05/03/2009 14:60", "05/03/2009 x", "13:00 PM", "14"}) {
    EXPECT_THROW(hostrt::StrToDateTime(bad), EConvertError) << bad;
  }
}

TEST_F(DateTimes, ClockCanBeFixedAndOffset) {
  EXPECT_EQ(hostrt::Now().value, At(2026, 7, 15, 10, 30).value);
  EXPECT_EQ(hostrt::Date().value, EncodeDate(2026, 7, 15).value);
  hostrt::SetClockOffset(1.5);
  EXPECT_EQ(hostrt::Now().value, At(2026, 7, 15, 10, 30).value + 1.5);
  EXPECT_EQ(FormatDateTime("dd/mm hh:nn", hostrt::Now()), "16/07 22:30");
  hostrt::UseSystemClock();
  const DateTime now = hostrt::Now();
  EXPECT_GT(now.value, EncodeDate(2020, 1, 1).value);  // the machine's clock again
  EXPECT_NE(now.value, At(2026, 7, 15, 10, 30).value + 1.5);
}

}  // namespace
