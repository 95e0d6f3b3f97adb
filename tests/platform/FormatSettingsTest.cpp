#include <gtest/gtest.h>

#include <string>

#include "platform/SysUtils.h"

namespace {

TEST(FormatSettingsTest, CreateIsTheInvariantSettings) {
  const TFormatSettings fs = TFormatSettings::Create();
  EXPECT_EQ(fs.DecimalSeparator, '.');
  EXPECT_EQ(fs.ThousandSeparator, ',');
  EXPECT_EQ(fs.DateSeparator, '/');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(fs.LongMonthNames[0], "January");
  EXPECT_EQ(fs.ShortDayNames[0], "Sun");
  EXPECT_EQ(fs.CurrencyString, "$");
  EXPECT_EQ(fs.TwoDigitYearCenturyWindow, 50);
}

TEST(FormatSettingsTest, TheCLocaleGivesTheInvariantSettings) {
  const TFormatSettings fs = TFormatSettings::FromLocale("C");
  const TFormatSettings invariant = TFormatSettings::Create();
  EXPECT_EQ(fs.ShortDateFormat, invariant.ShortDateFormat);
  EXPECT_EQ(fs.CurrencyString, invariant.CurrencyString);
  EXPECT_EQ(fs.LongDayNames, invariant.LongDayNames);
}

TEST(FormatSettingsTest, GermanLocale) {
  const TFormatSettings fs = TFormatSettings::FromLocale("de_DE");
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(fs.ThousandSeparator, '.');
  EXPECT_EQ(fs.DateSeparator, '.');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(fs.ListSeparator, ';');
  EXPECT_EQ(fs.CurrencyString, "\x80");
  EXPECT_EQ(fs.CurrencyFormat, 3);  // 1 €
  EXPECT_EQ(fs.CurrencyDecimals, 2);
  EXPECT_EQ(fs.LongMonthNames[2], "M\xE4rz");
  EXPECT_EQ(fs.LongDayNames[0], "Sonntag");
  // Qt's formats are converted: whatever their exact form, a date shows day, month and year
  // in German order and a time shows hour and minute, with minutes as 'n'.
  const TDateTime moment = EncodeDateTime(2024, 3, 6, 9, 5, 0, 0);
  const std::string date = FormatDateTime(fs.ShortDateFormat, moment, fs);
  EXPECT_EQ(date.rfind("06.03.", 0), 0u) << fs.ShortDateFormat << " -> " << date;
  EXPECT_EQ(FormatDateTime(fs.ShortTimeFormat, moment, fs), "09:05") << fs.ShortTimeFormat;
  EXPECT_NE(FormatDateTime(fs.LongDateFormat, moment, fs).find("M\xE4rz 2024"), std::string::npos)
      << fs.LongDateFormat;
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, fs), "1.234,50 \x80");
}

TEST(FormatSettingsTest, UsEnglishLocaleUsesTwelveHourClock) {
  const TFormatSettings fs = TFormatSettings::FromLocale("en_US");
  EXPECT_EQ(fs.DecimalSeparator, '.');
  EXPECT_EQ(fs.CurrencyString, "$");
  EXPECT_EQ(fs.CurrencyFormat, 0);
  const TDateTime moment = EncodeDateTime(2024, 3, 6, 14, 5, 0, 0);
  const std::string time = FormatDateTime(fs.ShortTimeFormat, moment, fs);
  EXPECT_EQ(time.rfind("2:05", 0), 0u) << fs.ShortTimeFormat << " -> " << time;
  EXPECT_NE(time.find(fs.TimePMString), std::string::npos) << time;
  EXPECT_EQ(FormatDateTime(fs.ShortDateFormat, moment, fs).rfind("3/6/", 0), 0u) << fs.ShortDateFormat;
}

TEST(FormatSettingsTest, FrenchGroupingUsesTheNoBreakSpace) {
  const TFormatSettings fs = TFormatSettings::FromLocale("fr_FR");
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(static_cast<uint8_t>(fs.ThousandSeparator), 0xA0);
  EXPECT_EQ(fs.DateSeparator, '/');
  EXPECT_EQ(fs.LongMonthNames[7], "ao\xFBt");
}

}  // namespace
