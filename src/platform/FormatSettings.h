#pragma once
// Locale settings for formatting and parsing numbers, currency, dates and times.
#include <array>
#include <cstdint>
#include <string>

// A default-constructed TFormatSettings holds the invariant (US English) settings.
// The strings are Windows-1252 text. Month names are indexed 0 (January) to 11, day names
// 0 (Sunday) to 6. The date and time formats use FormatDateTime's syntax.
struct TFormatSettings {
  uint8_t CurrencyFormat = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  uint8_t NegCurrFormat = 0;   // 0 "($1)" ... 15 "(1 $)", as the platform numbers them
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  uint8_t CurrencyDecimals = 2;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string CurrencyString = "$";
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  uint16_t TwoDigitYearCenturyWindow = 50;

  // The invariant (US English) settings; the same on every machine.
  static TFormatSettings Create();
  // The settings of a locale ("de_DE", "fr-FR"), formats converted to FormatDateTime's
  // syntax; the C locale gives the invariant settings.
  static TFormatSettings FromLocale(const std::string& LocaleName);
  // The settings of the system's locale.
  static TFormatSettings FromSystemLocale();
};

// The settings every formatting function without a TFormatSettings argument uses;
// initialised from the system locale (LC_ALL, LC_NUMERIC, LANG). Code that writes file
// formats passes TFormatSettings::Create() instead, so that a decimal comma never gets in.
extern TFormatSettings FormatSettings;
