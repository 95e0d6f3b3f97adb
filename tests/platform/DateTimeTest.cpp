#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/SysUtils.h"

namespace {

TEST(DateTimeTest, EncodeDateCountsDaysFrom18991230) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTimeTest, EncodeDecodeRoundTripsAcrossTheCalendar) {
  for (int year : {1, 100, 1600, 1899, 1900, 1970, 2000, 2024, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day :
           {1, 15,
            static_cast<int>(DaysInAMonth(static_cast<uint16_t>(year), static_cast<uint16_t>(month)))}) {
        TDateTime date =
            EncodeDate(static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day));
        uint16_t y, m, d;
        DecodeDate(date, y, m, d);
        ASSERT_EQ(y, year);
        ASSERT_EQ(m, month);
        ASSERT_EQ(d, day);
      }
    }
  }
}

TEST(DateTimeTest, NegativeValuesCountTheTimeForwardFromMidnight) {
  TDateTime value = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(value, -1.25);
  uint16_t y, mo, d, h, mi, s, ms;
  DecodeDateTime(-1.25, y, mo, d, h, mi, s, ms);
  EXPECT_EQ(std::string(FormatDateTime("yyyy-mm-dd hh:nn", -1.25, TFormatSettings::Create())),
            "1899-12-29 06:00");
  EXPECT_EQ(y, 1899);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  DecodeDateTime(-0.5, y, mo, d, h, mi, s, ms);  // day 0, noon
  EXPECT_EQ(d, 30);
  EXPECT_EQ(h, 12);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2024, 7, 1, 18, 30, 15, 250),
                   EncodeDate(2024, 7, 1) + EncodeTime(18, 30, 15, 250));
}

TEST(DateTimeTest, TimeRoundsToTheMillisecondAndCarriesIntoTheNextDay) {
  uint16_t h, m, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, m, s, ms);
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 59);
  EXPECT_EQ(s, 59);
  EXPECT_EQ(ms, 999);
  uint16_t y, mo, d;
  DecodeDateTime(EncodeDate(2024, 12, 31) + 0.99999999999, y, mo, d, h, m, s, ms);
  EXPECT_EQ(y, 2025);
  EXPECT_EQ(mo, 1);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(h, 0);
}

TEST(DateTimeTest, DayOfWeekAndLeapYears) {
  EXPECT_EQ(DayOfWeek(0), 7);                         // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 7, 14)), 1);   // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 25)), 2);  // Monday, negative value
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
}

TFormatSettings German() {
  TFormatSettings fs = TFormatSettings::Create();
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd/mm/yyyy";
  fs.LongDateFormat = "dddd, d. mmmm yyyy";
  fs.ShortTimeFormat = "hh:nn";
  fs.LongTimeFormat = "hh:nn:ss";
  fs.LongMonthNames[2] = "M\xE4rz";
  fs.LongDayNames[3] = "Mittwoch";
  return fs;
}

TEST(DateTimeTest, FormatDateTimeSpecifiers) {
  const TFormatSettings fs = TFormatSettings::Create();
  const TDateTime moment = EncodeDateTime(2024, 3, 6, 14, 5, 9, 7);  // a Wednesday
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", "2024-03-06 14:05:09.007"},
      {"d/m/yy", "6/3/24"},
      {"ddd dddd mmm mmmm", "Wed Wednesday Mar March"},
      {"h:n:s z", "14:5:9 7"},
      {"hh:mm", "14:05"},        // m right after h is the minute
      {"hh 'h' mm", "14 h 05"},  // still the minute: literals do not count
      {"mm/dd", "03/06"},
      {"h:nn am/pm", "2:05 pm"},
      {"h:nn AM/PM", "2:05 PM"},
      {"h a/p", "2 p"},
      {"hh ampm", "02 PM"},
      {"ddddd", "3/6/2024"},
      {"dddddd", "Wednesday, March 6, 2024"},
      {"t", "2:05 PM"},
      {"tt", "2:05:09 PM"},
      {"c", "3/6/2024 2:05:09 PM"},
      {"\"Date:\" yyyy", "Date: 2024"},
      {"yyy|y", "2024|24"},
      {"[dd]", "[06]"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, moment, fs), c.text) << c.format;
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 6), fs), "3/6/2024");  // no time at midnight
  EXPECT_EQ(FormatDateTime("", EncodeDate(2024, 3, 6), fs), "3/6/2024");
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0), fs), "12 am");
  EXPECT_EQ(FormatDateTime("h", EncodeTime(0, 30, 0, 0), fs), "0");
}

TEST(DateTimeTest, FormatDateTimeFollowsTheSettings) {
  const TFormatSettings fs = German();
  const TDateTime moment = EncodeDateTime(2024, 3, 6, 9, 5, 0, 0);
  EXPECT_EQ(DateToStr(moment, fs), "06.03.2024");
  EXPECT_EQ(TimeToStr(moment, fs), "09:05:00");
  EXPECT_EQ(DateTimeToStr(moment, fs), "06.03.2024 09:05:00");
  EXPECT_EQ(FormatDateTime("dddddd", moment, fs), "Mittwoch, 6. M\xE4rz 2024");
}

// Sets TZ for one test and restores it.
class TTimeZoneScope {
public:
  explicit TTimeZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) FOld = old, FHadOld = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TTimeZoneScope() {
    if (FHadOld)
      setenv("TZ", FOld.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

private:
  std::string FOld;
  bool FHadOld = false;
};

TEST(DateTimeTest, TimeZoneBiasHasThePlatformSign) {
  struct Case {
    const char* zone;
    int bias;
    int daylightBias;
  };
  // POSIX zone strings need no time-zone database.
  const Case cases[] = {
      {"UTC0", 0, 0},        {"CET-1CEST,M3.5.0,M10.5.0/3", -60, -60}, {"EST5EDT,M3.2.0,M11.1.0", 300, -60},
      {"IST-5:30", -330, 0}, {"NST3:30NDT,M3.2.0,M11.1.0", 210, -60},
  };
  for (const Case& c : cases) {
    TTimeZoneScope scope(c.zone);
    EXPECT_EQ(GetTimeZoneBias(), c.bias) << c.zone;
    EXPECT_EQ(GetDaylightBias(), c.daylightBias) << c.zone;
  }
}

TEST(DateTimeTest, NowAgreesWithTheSystemClock) {
  time_t before = time(nullptr);
  TDateTime now = Now();
  tm local{};
  localtime_r(&before, &local);
  uint16_t y, m, d;
  DecodeDate(now, y, m, d);
  EXPECT_EQ(y, local.tm_year + 1900);
  EXPECT_EQ(Date(), std::trunc(Date()));
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
}

}  // namespace
