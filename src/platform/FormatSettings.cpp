#include "platform/FormatSettings.h"

#include <QLocale>
#include <QString>
#include <cctype>
#include <cstring>

#include "platform/AnsiCodePage.h"

namespace {

std::string ToAnsi(const QString& text) {
  return Utf8ToAnsi(text.toStdString());
}

// A separator as one Windows-1252 character. The narrow no-break space that some locales use
// for grouping has no Windows-1252 byte; the ordinary no-break space stands in for it.
char SeparatorChar(const QString& text, char fallback) {
  if (text.size() != 1) return fallback;
  char16_t unit = text.at(0).unicode();
  if (unit == 0x202F || unit == 0x2009) return static_cast<char>(0xA0);
  int code = UnicodeToAnsiChar(unit);
  return code > 0 ? static_cast<char>(code) : fallback;
}

// The first character between fields of a Qt format that is not a letter, a digit, a blank
// or a quote.
char FirstSeparator(const QString& format, char fallback) {
  for (QChar c : format)
    if (!c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\''))
      return SeparatorChar(QString(c), fallback);
  return fallback;
}

// Appends literal text so that FormatDateTime copies it: runs of letters (and '/' or ':'
// when they are not the settings' separators) go in double quotes, a double quote in single
// quotes; everything else stands as it is.
void AppendLiteral(std::string& out, const std::string& literal, char dateSeparator, char timeSeparator) {
  std::string run;
  auto flush = [&]() {
    if (!run.empty()) {
      out += '"';
      out += run;
      out += '"';
    }
    run.clear();
  };
  for (char c : literal) {
    if (c == '"') {
      flush();
      out += "'\"'";
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'' ||
               (c == '/' && dateSeparator != '/') || (c == ':' && timeSeparator != ':')) {
      run += c;
    } else {
      flush();
      out += c;
    }
  }
  flush();
}

// Converts a Qt date/time format into FormatDateTime's syntax: M -> m (month), m -> n
// (minute), H -> h, AP/ap -> ampm; the time-zone field has no counterpart and is dropped.
std::string ConvertQtFormat(const QString& qtFormat, char dateSeparator, char timeSeparator) {
  const std::string format = ToAnsi(qtFormat);
  std::string out;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c == '\'') {
      // Quoted literal; '' is a single quote.
      std::string literal;
      ++i;
      while (i < format.size()) {
        if (format[i] == '\'') {
          if (i + 1 < format.size() && format[i + 1] == '\'') {
            literal += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal += format[i++];
      }
      if (literal.empty()) literal.push_back('\'');
      AppendLiteral(out, literal, dateSeparator, timeSeparator);
      continue;
    }
    size_t n = 1;
    while (i + n < format.size() && format[i + n] == c) ++n;
    i += n;
    switch (c) {
      case 'd':
        out += std::string(std::min<size_t>(n, 4), 'd');
        break;
      case 'M':
        out += std::string(std::min<size_t>(n, 4), 'm');
        break;
      case 'y':
        out += n <= 2 ? "yy" : "yyyy";
        break;
      case 'h':
      case 'H':
        out += std::string(std::min<size_t>(n, 2), 'h');
        break;
      case 'm':
        out += std::string(std::min<size_t>(n, 2), 'n');
        break;
      case 's':
        out += std::string(std::min<size_t>(n, 2), 's');
        break;
      case 'z':
        out += n >= 3 ? "zzz" : "z";
        break;
      case 'A':
      case 'a':
        // "AP", "ap", "A" or "a": the locale's AM/PM designator.
        if (i < format.size() && (format[i] == 'P' || format[i] == 'p')) ++i;
        out += "ampm";
        break;
      case 't':
        // Time zone: drop it together with the blank before it.
        if (!out.empty() && out.back() == ' ') out.pop_back();
        break;
      default:
        AppendLiteral(out, std::string(n, c), dateSeparator, timeSeparator);
    }
  }
  return out;
}

// Keeps the characters of a currency sample that make up its layout ("$", "1", "-", "(",
// ")" and blanks, any no-break space counting as a blank).
std::string CurrencyShape(const QString& sample) {
  std::string shape;
  for (QChar c : sample) {
    char16_t u = c.unicode();
    if (u == '$' || u == '1' || u == '-' || u == '(' || u == ')')
      shape += static_cast<char>(u);
    else if (c.isSpace() || u == 0xA0 || u == 0x202F)
      shape += ' ';
  }
  return shape;
}

int MatchLayout(const std::string& shape, const char* const* layouts, int count, int fallback) {
  for (int i = 0; i < count; ++i)
    if (shape == layouts[i]) return i;
  return fallback;
}

constexpr const char* kCurrencyLayouts[] = {"$1", "1$", "$ 1", "1 $"};
constexpr const char* kNegCurrLayouts[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

int CurrencyDecimals(const QLocale& locale) {
  QString sample = locale.toCurrencyString(1.0, QStringLiteral("$"));
  int point = sample.lastIndexOf(locale.decimalPoint());
  if (point < 0) return 0;
  int digits = 0;
  for (int i = point + 1; i < sample.size() && sample.at(i).isDigit(); ++i) ++digits;
  return digits;
}

TFormatSettings FromQLocale(const QLocale& locale) {
  // No locale configured (the C locale): the invariant settings, not Qt's bare C data.
  if (locale.language() == QLocale::C) return TFormatSettings::Create();
  TFormatSettings settings;
  settings.DecimalSeparator = SeparatorChar(locale.decimalPoint(), '.');
  settings.ThousandSeparator =
      SeparatorChar(locale.groupSeparator(), settings.DecimalSeparator == ',' ? '.' : ',');
  settings.ListSeparator = settings.DecimalSeparator == ',' ? ';' : ',';
  settings.CurrencyString = ToAnsi(locale.currencySymbol(QLocale::CurrencySymbol));
  settings.CurrencyDecimals = static_cast<uint8_t>(CurrencyDecimals(locale));
  settings.CurrencyFormat = static_cast<uint8_t>(MatchLayout(
      CurrencyShape(locale.toCurrencyString(1.0, QStringLiteral("$"), 0)), kCurrencyLayouts, 4, 0));
  settings.NegCurrFormat = static_cast<uint8_t>(MatchLayout(
      CurrencyShape(locale.toCurrencyString(-1.0, QStringLiteral("$"), 0)), kNegCurrLayouts, 16, 1));

  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  settings.DateSeparator = FirstSeparator(shortDate, '/');
  settings.TimeSeparator = FirstSeparator(shortTime, ':');
  const char ds = settings.DateSeparator;
  const char ts = settings.TimeSeparator;
  settings.ShortDateFormat = ConvertQtFormat(shortDate, ds, ts);
  settings.LongDateFormat = ConvertQtFormat(locale.dateFormat(QLocale::LongFormat), ds, ts);
  settings.ShortTimeFormat = ConvertQtFormat(shortTime, ds, ts);
  settings.LongTimeFormat = ConvertQtFormat(locale.timeFormat(QLocale::LongFormat), ds, ts);
  settings.TimeAMString = ToAnsi(locale.amText());
  settings.TimePMString = ToAnsi(locale.pmText());

  for (int month = 1; month <= 12; ++month) {
    settings.ShortMonthNames[month - 1] = ToAnsi(locale.monthName(month, QLocale::ShortFormat));
    settings.LongMonthNames[month - 1] = ToAnsi(locale.monthName(month, QLocale::LongFormat));
  }
  // Qt numbers the days from Monday (1) to Sunday (7); the settings from Sunday (0).
  for (int day = 0; day < 7; ++day) {
    int qtDay = day == 0 ? 7 : day;
    settings.ShortDayNames[day] = ToAnsi(locale.dayName(qtDay, QLocale::ShortFormat));
    settings.LongDayNames[day] = ToAnsi(locale.dayName(qtDay, QLocale::LongFormat));
  }
  return settings;
}

}  // namespace

TFormatSettings TFormatSettings::Create() {
  return TFormatSettings{};
}

TFormatSettings TFormatSettings::FromLocale(const std::string& LocaleName) {
  return FromQLocale(QLocale(QString::fromStdString(LocaleName)));
}

TFormatSettings TFormatSettings::FromSystemLocale() {
  return FromQLocale(QLocale::system());
}

TFormatSettings FormatSettings = TFormatSettings::FromSystemLocale();
