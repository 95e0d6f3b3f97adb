#pragma once
// Dates and times as TDateTime: days since 1899-12-30, the fraction being the time of day.
// Before that day the value is negative and its fraction still counts forward from midnight:
// -1.25 is 1899-12-29 06:00.
#include <cstdint>
#include <string>

#include "platform/FormatSettings.h"

using TDateTime = double;

// Raises EConvertError "Invalid argument to date encode" outside 1..9999 or for a day the
// month does not have.
TDateTime EncodeDate(uint16_t Year, uint16_t Month, uint16_t Day);
// Raises EConvertError "Invalid argument to time encode" (Hour < 24, Min < 60, Sec < 60,
// MSec < 1000).
TDateTime EncodeTime(uint16_t Hour, uint16_t Min, uint16_t Sec, uint16_t MSec);
bool TryEncodeDate(uint16_t Year, uint16_t Month, uint16_t Day, TDateTime& Date);
bool TryEncodeTime(uint16_t Hour, uint16_t Min, uint16_t Sec, uint16_t MSec, TDateTime& Time);
// The date plus (or, before 1899-12-30, minus) the time.
TDateTime EncodeDateTime(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour, uint16_t Min,
                         uint16_t Sec, uint16_t MSec);
void DecodeDate(TDateTime Date, uint16_t& Year, uint16_t& Month, uint16_t& Day);
void DecodeTime(TDateTime Time, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
void DecodeDateTime(TDateTime DateTime, uint16_t& Year, uint16_t& Month, uint16_t& Day, uint16_t& Hour,
                    uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
bool IsLeapYear(uint16_t Year);
uint16_t DaysInAMonth(uint16_t Year, uint16_t Month);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Date);

// The local date and time, date, and time of day.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Format syntax (letters in either case): c (short date and long time), d dd ddd dddd (day,
// short and long day name), ddddd dddddd (short and long date format), m mm mmm mmmm (month,
// or minutes right after h or hh), yy yyyy, h hh, n nn (minutes), s ss, z zzz (milliseconds),
// t tt (short and long time format), am/pm a/p ampm (12-hour clock; ampm shows the settings'
// strings), / and : (the settings' separators), "..." and '...' literals. An empty format
// means "c".
std::string FormatDateTime(const std::string& Format, TDateTime DateTime);
std::string FormatDateTime(const std::string& Format, TDateTime DateTime, const TFormatSettings& Settings);
std::string DateToStr(TDateTime Date);
std::string DateToStr(TDateTime Date, const TFormatSettings& Settings);
std::string TimeToStr(TDateTime Time);
std::string TimeToStr(TDateTime Time, const TFormatSettings& Settings);
std::string DateTimeToStr(TDateTime DateTime);
std::string DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings);

// The local time zone's standard bias in minutes with the platform's sign: UTC = local time +
// bias (UTC+1 gives -60, UTC-5 gives 300).
int GetTimeZoneBias();
// The extra bias while daylight-saving time is in force (normally -60), 0 for a zone without
// daylight-saving time.
int GetDaylightBias();
