#include "platform/DateTime.h"

#include <time.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/Exceptions.h"

namespace {

constexpr int64_t kMSecsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (Howard Hinnant's
// civil-calendar algorithms, exact for every year).
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

constexpr int64_t kDelphiEpoch = DaysFromCivil(1899, 12, 30);

// The calendar day (days since 1899-12-30) and the milliseconds into it. The fraction counts
// forward from midnight whatever the sign of the value; a time that rounds up to midnight
// belongs to the next day.
void SplitDateTime(TDateTime value, int64_t& day, int64_t& msec) {
  double whole = std::trunc(value);
  day = static_cast<int64_t>(whole);
  msec = static_cast<int64_t>(std::nearbyint(std::fabs(value - whole) * kMSecsPerDay));
  if (msec >= kMSecsPerDay) {
    msec -= kMSecsPerDay;
    ++day;
  }
}

}  // namespace

bool IsLeapYear(uint16_t Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

uint16_t DaysInAMonth(uint16_t Year, uint16_t Month) {
  static constexpr uint16_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : kDays[Month - 1];
}

bool TryEncodeDate(uint16_t Year, uint16_t Month, uint16_t Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
    return false;
  Date = static_cast<double>(DaysFromCivil(Year, Month, Day) - kDelphiEpoch);
  return true;
}

TDateTime EncodeDate(uint16_t Year, uint16_t Month, uint16_t Day) {
  TDateTime date = 0;
  if (!TryEncodeDate(Year, Month, Day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(uint16_t Hour, uint16_t Min, uint16_t Sec, uint16_t MSec, TDateTime& Time) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Time = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(uint16_t Hour, uint16_t Min, uint16_t Sec, uint16_t MSec) {
  TDateTime time = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, time)) throw EConvertError("Invalid argument to time encode");
  return time;
}

TDateTime EncodeDateTime(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour, uint16_t Min,
                         uint16_t Sec, uint16_t MSec) {
  TDateTime date = EncodeDate(Year, Month, Day);
  TDateTime time = EncodeTime(Hour, Min, Sec, MSec);
  return date >= 0 ? date + time : date - time;
}

void DecodeDate(TDateTime Date, uint16_t& Year, uint16_t& Month, uint16_t& Day) {
  int64_t day = 0, msec = 0;
  SplitDateTime(Date, day, msec);
  int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(day + kDelphiEpoch, y, m, d);
  if (y < 1 || y > 9999) {
    Year = Month = Day = 0;
    return;
  }
  Year = static_cast<uint16_t>(y);
  Month = static_cast<uint16_t>(m);
  Day = static_cast<uint16_t>(d);
}

void DecodeTime(TDateTime Time, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec) {
  int64_t day = 0, msec = 0;
  SplitDateTime(Time, day, msec);
  MSec = static_cast<uint16_t>(msec % 1000);
  Sec = static_cast<uint16_t>(msec / 1000 % 60);
  Min = static_cast<uint16_t>(msec / 60000 % 60);
  Hour = static_cast<uint16_t>(msec / 3600000);
}

void DecodeDateTime(TDateTime DateTime, uint16_t& Year, uint16_t& Month, uint16_t& Day, uint16_t& Hour,
                    uint16_t& Min, uint16_t& Sec, uint16_t& MSec) {
  DecodeDate(DateTime, Year, Month, Day);
  DecodeTime(DateTime, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime Date) {
  int64_t day = 0, msec = 0;
  SplitDateTime(Date, day, msec);
  // 1899-12-30 was a Saturday (7).
  int64_t weekday = (day + 6) % 7;
  if (weekday < 0) weekday += 7;
  return static_cast<int>(weekday) + 1;
}

TDateTime Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  TDateTime date = EncodeDate(static_cast<uint16_t>(local.tm_year + 1900),
                              static_cast<uint16_t>(local.tm_mon + 1), static_cast<uint16_t>(local.tm_mday));
  // A leap second shows as the last second of its minute.
  TDateTime time = EncodeTime(static_cast<uint16_t>(local.tm_hour), static_cast<uint16_t>(local.tm_min),
                              static_cast<uint16_t>(std::min(local.tm_sec, 59)),
                              static_cast<uint16_t>(now.tv_nsec / 1'000'000));
  return date + time;
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  TDateTime now = Now();
  return now - std::trunc(now);
}

int GetTimeZoneBias() {
  tzset();
  // timezone: seconds west of UTC for standard time, which is the bias's sign.
  return static_cast<int>(timezone / 60);
}

int GetDaylightBias() {
  tzset();
  if (daylight == 0) return 0;
  // Look at the middle of each month of this year for a daylight-saving offset.
  time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  for (int month = 0; month < 12; ++month) {
    tm probe{};
    probe.tm_year = local.tm_year;
    probe.tm_mon = month;
    probe.tm_mday = 15;
    probe.tm_hour = 12;
    probe.tm_isdst = -1;
    time_t instant = mktime(&probe);
    tm there{};
    localtime_r(&instant, &there);
    if (there.tm_isdst > 0) return -static_cast<int>((there.tm_gmtoff + timezone) / 60);
  }
  return 0;
}

// ---- FormatDateTime ---------------------------------------------------------------------

namespace {

bool StartsWithNoCase(const std::string& text, size_t pos, const char* word) {
  for (size_t i = 0; word[i] != '\0'; ++i)
    if (pos + i >= text.size() || std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i])
      return false;
  return true;
}

std::string TwoOrMore(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
  return text;
}

class TDateTimeFormatter {
public:
  TDateTimeFormatter(TDateTime value, const TFormatSettings& settings) : FValue(value), FSettings(settings) {
    DecodeDateTime(value, FYear, FMonth, FDay, FHour, FMin, FSec, FMSec);
  }

  std::string Run(const std::string& format) {
    Append(format.empty() ? "C" : format);
    return FOut;
  }

private:
  // Nested formats (ddddd, t, c) expand once; a format naming itself does not loop.
  void Append(const std::string& format) {
    if (FLevel >= 2) return;
    ++FLevel;
    char lastToken = ' ';
    size_t pos = 0;
    while (pos < format.size()) {
      const char starter = format[pos++];
      char token = static_cast<char>(std::toupper(static_cast<unsigned char>(starter)));
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      // Repeats of the very same character.
      auto count = [&]() {
        int n = 1;
        while (pos < format.size() && format[pos] == starter) {
          ++pos;
          ++n;
        }
        return n;
      };
      switch (token) {
        case 'Y':
          FOut += count() <= 2 ? TwoOrMore(FYear % 100, 2) : TwoOrMore(FYear, 4);
          break;
        case 'M':
          AppendMonth(count());
          break;
        case 'D':
          AppendDay(count());
          break;
        case 'H':
          AppendHour(format, pos, count());
          break;
        case 'N':
          FOut += TwoOrMore(FMin, std::min(count(), 2));
          break;
        case 'S':
          FOut += TwoOrMore(FSec, std::min(count(), 2));
          break;
        case 'Z':
          FOut += TwoOrMore(FMSec, std::min(count(), 3));
          break;
        case 'T':
          Append(count() == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat);
          break;
        case 'A':
          AppendAmPm(format, pos, starter);
          break;
        case 'C':
          count();
          Append(FSettings.ShortDateFormat);
          if (FHour != 0 || FMin != 0 || FSec != 0) {
            FOut += ' ';
            Append(FSettings.LongTimeFormat);
          }
          break;
        case '/':
          if (FSettings.DateSeparator != '\0') FOut += FSettings.DateSeparator;
          break;
        case ':':
          if (FSettings.TimeSeparator != '\0') FOut += FSettings.TimeSeparator;
          break;
        case '\'':
        case '"': {
          size_t close = format.find(starter, pos);
          if (close == std::string::npos) close = format.size();
          FOut.append(format, pos, close - pos);
          pos = std::min(close + 1, format.size());
          break;
        }
        default:
          FOut += starter;
      }
    }
    --FLevel;
  }

  int WeekdayIndex() const { return DayOfWeek(FValue) - 1; }

  void AppendMonth(int n) {
    if (n <= 2) {
      FOut += TwoOrMore(FMonth, n);
    } else if (FMonth >= 1 && FMonth <= 12) {
      FOut += n == 3 ? FSettings.ShortMonthNames[FMonth - 1] : FSettings.LongMonthNames[FMonth - 1];
    }
  }

  void AppendDay(int n) {
    switch (n) {
      case 1:
      case 2:
        FOut += TwoOrMore(FDay, n);
        break;
      case 3:
        FOut += FSettings.ShortDayNames[WeekdayIndex()];
        break;
      case 4:
        FOut += FSettings.LongDayNames[WeekdayIndex()];
        break;
      case 5:
        Append(FSettings.ShortDateFormat);
        break;
      default:
        Append(FSettings.LongDateFormat);
    }
  }

  // The hour is on the 12-hour clock when an am/pm marker follows before the next hour
  // (quoted text is skipped).
  void AppendHour(const std::string& format, size_t pos, int n) {
    bool twelveHour = false;
    bool quoted = false;
    for (size_t p = pos; p < format.size(); ++p) {
      char c = format[p];
      if (c == '\'' || c == '"') {
        quoted = !quoted;
      } else if (!quoted && (c == 'a' || c == 'A')) {
        twelveHour = StartsWithNoCase(format, p, "AM/PM") || StartsWithNoCase(format, p, "A/P") ||
                     StartsWithNoCase(format, p, "AMPM");
        break;
      } else if (!quoted && (c == 'h' || c == 'H')) {
        break;
      }
    }
    int hour = FHour;
    if (twelveHour) hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
    FOut += TwoOrMore(hour, std::min(n, 2));
  }

  // am/pm and a/p copy the marker's own letters; ampm shows the settings' strings; aaa and
  // aaaa are the day names.
  void AppendAmPm(const std::string& format, size_t& pos, char starter) {
    const size_t at = pos - 1;
    const bool pm = FHour >= 12;
    if (StartsWithNoCase(format, at, "AM/PM")) {
      FOut.append(format, at + (pm ? 3 : 0), 2);
      pos = at + 5;
    } else if (StartsWithNoCase(format, at, "A/P")) {
      FOut += format[at + (pm ? 2 : 0)];
      pos = at + 3;
    } else if (StartsWithNoCase(format, at, "AMPM")) {
      FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;
      pos = at + 4;
    } else if (StartsWithNoCase(format, at, "AAAA")) {
      FOut += FSettings.LongDayNames[WeekdayIndex()];
      pos = at + 4;
    } else if (StartsWithNoCase(format, at, "AAA")) {
      FOut += FSettings.ShortDayNames[WeekdayIndex()];
      pos = at + 3;
    } else {
      FOut += starter;
    }
  }

  TDateTime FValue;
  const TFormatSettings& FSettings;
  uint16_t FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
  int FLevel = 0;
  std::string FOut;
};

}  // namespace

std::string FormatDateTime(const std::string& Format, TDateTime DateTime, const TFormatSettings& Settings) {
  return TDateTimeFormatter(DateTime, Settings).Run(Format);
}

std::string FormatDateTime(const std::string& Format, TDateTime DateTime) {
  return FormatDateTime(Format, DateTime, FormatSettings);
}

std::string DateToStr(TDateTime Date, const TFormatSettings& Settings) {
  return FormatDateTime("ddddd", Date, Settings);
}
std::string DateToStr(TDateTime Date) {
  return DateToStr(Date, FormatSettings);
}
std::string TimeToStr(TDateTime Time, const TFormatSettings& Settings) {
  return FormatDateTime("tt", Time, Settings);
}
std::string TimeToStr(TDateTime Time) {
  return TimeToStr(Time, FormatSettings);
}
std::string DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings) {
  return FormatDateTime("c", DateTime, Settings);
}
std::string DateTimeToStr(TDateTime DateTime) {
  return DateTimeToStr(DateTime, FormatSettings);
}
