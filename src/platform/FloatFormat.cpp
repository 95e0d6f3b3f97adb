#include "platform/FloatFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/FloatDecimal.h"

namespace {

std::string PadLeft(std::string text, size_t width, char fill) {
  if (text.size() < width) text.insert(0, width - text.size(), fill);
  return text;
}

// "E+003" style exponent: sign always (ffExponent) or only when negative (ffGeneral).
std::string ExponentText(int exponent, int minDigits, bool alwaysSign) {
  std::string text = "E";
  if (exponent < 0)
    text += '-';
  else if (alwaysSign)
    text += '+';
  return text +
         PadLeft(std::to_string(std::abs(exponent)), static_cast<size_t>(std::clamp(minDigits, 0, 4)), '0');
}

std::string GroupThousands(const std::string& digits, char separator) {
  if (separator == '\0') return digits;
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string FormatGeneral(double value, int precision, int digits, const TFormatSettings& settings) {
  TFloatDecimal rec = FloatToDecimal(value, precision, 9999);
  if (rec.Digits.empty()) return "0";
  std::string sign = rec.Negative ? "-" : "";
  if (rec.Exponent > std::min(precision, 18) || rec.Exponent < -3) {
    std::string mantissa(1, rec.Digits[0]);
    if (rec.Digits.size() > 1) mantissa += settings.DecimalSeparator + rec.Digits.substr(1);
    return sign + mantissa + ExponentText(rec.Exponent - 1, digits, false);
  }
  std::string text = sign + rec.IntegerDigits();
  int fractionCount = static_cast<int>(rec.Digits.size()) - rec.Exponent;
  if (fractionCount > 0) text += settings.DecimalSeparator + rec.FractionDigits(fractionCount);
  return text;
}

std::string FormatExponent(double value, int precision, int digits, const TFormatSettings& settings) {
  precision = std::clamp(precision, 1, 18);
  TFloatDecimal rec = FloatToDecimal(value, precision, 9999);
  std::string mantissa = rec.Digits;
  mantissa.resize(static_cast<size_t>(precision), '0');
  std::string text = rec.Negative ? "-" : "";
  text += mantissa[0];
  if (precision > 1) text += settings.DecimalSeparator + mantissa.substr(1);
  int exponent = rec.Digits.empty() ? 0 : rec.Exponent - 1;
  return text + ExponentText(exponent, digits, true);
}

// ffFixed, ffNumber and the number inside ffCurrency (without sign).
std::string FixedDigits(const TFloatDecimal& rec, int decimals, bool thousands,
                        const TFormatSettings& settings) {
  std::string integer = rec.IntegerDigits();
  if (thousands) integer = GroupThousands(integer, settings.ThousandSeparator);
  if (decimals > 0) integer += settings.DecimalSeparator + rec.FractionDigits(decimals);
  return integer;
}

// The platform's positive (0..3) and negative (0..15) currency layouts: '$' stands for the
// currency string and '1' for the number.
constexpr const char* kCurrencyFormats[] = {"$1", "1$", "$ 1", "1 $"};
constexpr const char* kNegCurrFormats[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

std::string ApplyCurrencyLayout(const char* layout, const std::string& number,
                                const TFormatSettings& settings) {
  std::string out;
  for (const char* p = layout; *p != '\0'; ++p) {
    if (*p == '$')
      out += settings.CurrencyString;
    else if (*p == '1')
      out += number;
    else
      out += *p;
  }
  return out;
}

std::string FormatFixedKind(double value, TFloatFormat format, int precision, int digits,
                            const TFormatSettings& settings) {
  // Rounded to Precision significant digits first, then padded with zeros to Digits
  // decimals (precision 5, digits 3: 345.6789 gives 345.680).
  digits = std::clamp(digits, 0, 18);
  precision = std::clamp(precision, 1, 18);
  TFloatDecimal rec = FloatToDecimal(value, precision, digits);
  if (rec.Exponent > precision) return FormatGeneral(value, precision, 0, settings);
  std::string number = FixedDigits(rec, digits, format != ffFixed, settings);
  if (format != ffCurrency) return (rec.Negative ? "-" : "") + number;
  const char* layout = rec.Negative ? kNegCurrFormats[std::min<int>(settings.NegCurrFormat, 15)]
                                    : kCurrencyFormats[std::min<int>(settings.CurrencyFormat, 3)];
  return ApplyCurrencyLayout(layout, number, settings);
}

}  // namespace

std::string FloatToStr(double Value) {
  return FloatToStr(Value, FormatSettings);
}

std::string FloatToStr(double Value, const TFormatSettings& Settings) {
  return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
  return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                        const TFormatSettings& Settings) {
  if (!std::isfinite(Value)) return NonFiniteText(Value);
  switch (Format) {
    case ffGeneral:
      return FormatGeneral(Value, Precision, Digits, Settings);
    case ffExponent:
      return FormatExponent(Value, Precision, Digits, Settings);
    default:
      return FormatFixedKind(Value, Format, Precision, Digits, Settings);
  }
}

std::string IntToStr(int64_t Value) {
  return std::to_string(Value);
}

std::string UIntToStr(uint64_t Value) {
  return std::to_string(Value);
}

std::string IntToHex(uint64_t Value, int Digits) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, Value, 16);
  std::string text(buffer, result.ptr);
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'a' ? c - 32 : c; });
  return PadLeft(text, static_cast<size_t>(std::max(Digits, 0)), '0');
}

// ---- FormatFloat ------------------------------------------------------------------------

namespace {

// What a pattern section asks for, gathered before the number is rounded.
struct TPatternSection {
  std::string Text;
  int IntegerPlaceholders = 0;  // 0 and # before the decimal point
  int MinIntegerDigits = 0;     // placeholders from the first 0 to the decimal point
  int FractionPlaceholders = 0;
  int MinFractionDigits = 0;  // up to the last 0 after the decimal point
  bool Thousands = false;
  bool Scientific = false;
};

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// Splits at ';' outside quotes.
std::vector<std::string> SplitSections(const std::string& pattern) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : pattern) {
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

// Length of the scientific marker at text[i] ("E+" plus up to four zeros), or 0.
size_t ScientificMarkerLength(const std::string& text, size_t i) {
  if ((text[i] != 'E' && text[i] != 'e') || i + 1 >= text.size() ||
      (text[i + 1] != '+' && text[i + 1] != '-'))
    return 0;
  size_t n = 2;
  while (i + n < text.size() && text[i + n] == '0' && n < 6) ++n;
  return n;
}

TPatternSection AnalyseSection(const std::string& text) {
  TPatternSection section;
  section.Text = text;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (IsQuote(c)) {
      quote = c;
    } else if (size_t marker = section.Scientific ? 0 : ScientificMarkerLength(text, i); marker > 0) {
      section.Scientific = true;
      i += marker - 1;
    } else if (section.Scientific) {
      continue;  // what follows the exponent is literal text
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      section.Thousands = true;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++section.FractionPlaceholders;
        if (c == '0') section.MinFractionDigits = section.FractionPlaceholders;
      } else {
        if (c == '0' && firstZero < 0) firstZero = section.IntegerPlaceholders;
        ++section.IntegerPlaceholders;
      }
    }
  }
  if (firstZero >= 0) section.MinIntegerDigits = section.IntegerPlaceholders - firstZero;
  return section;
}

// The digits that fill a section's placeholders.
struct TPatternDigits {
  std::string Integer;
  std::string Fraction;
  int Exponent = 0;
  bool Zero = true;
  bool Negative = false;
};

TPatternDigits RoundForSection(double value, const TPatternSection& section) {
  TPatternDigits digits;
  if (section.Scientific) {
    int precision = std::max(1, section.IntegerPlaceholders + section.FractionPlaceholders);
    TFloatDecimal rec = FloatToDecimal(value, precision, 9999);
    std::string all = rec.Digits;
    all.resize(static_cast<size_t>(precision), '0');
    int integerCount = section.IntegerPlaceholders;
    digits.Integer = all.substr(0, static_cast<size_t>(std::min(integerCount, precision)));
    digits.Integer.resize(static_cast<size_t>(integerCount), '0');
    digits.Fraction =
        all.size() > static_cast<size_t>(integerCount) ? all.substr(static_cast<size_t>(integerCount)) : "";
    digits.Exponent = rec.Digits.empty() ? 0 : rec.Exponent - section.IntegerPlaceholders;
    digits.Zero = rec.Digits.empty();
    digits.Negative = rec.Negative;
  } else {
    TFloatDecimal rec = FloatToDecimal(value, 18, section.FractionPlaceholders);
    digits.Integer = rec.Exponent > 0 ? rec.IntegerDigits() : "";
    digits.Fraction = rec.FractionDigits(section.FractionPlaceholders);
    digits.Zero = rec.Digits.empty();
    digits.Negative = rec.Negative;
    if (digits.Integer.size() < static_cast<size_t>(section.MinIntegerDigits))
      digits.Integer.insert(0, static_cast<size_t>(section.MinIntegerDigits) - digits.Integer.size(), '0');
  }
  while (digits.Fraction.size() > static_cast<size_t>(section.MinFractionDigits) &&
         digits.Fraction.back() == '0')
    digits.Fraction.pop_back();
  return digits;
}

// Walks the section, putting digits into placeholders from the right for the integer part
// (the first placeholder takes any extra digits) and from the left for the fraction.
std::string RenderSection(const TPatternSection& section, const TPatternDigits& digits,
                          const TFormatSettings& settings) {
  std::string out;
  const std::string& integer = digits.Integer;
  const int integerLength = static_cast<int>(integer.size());
  const bool grouping = section.Thousands && settings.ThousandSeparator != '\0' && !section.Scientific;
  auto emitIntegerDigit = [&](int index) {
    out += integer[index];
    int remaining = integerLength - 1 - index;
    if (grouping && remaining > 0 && remaining % 3 == 0) out += settings.ThousandSeparator;
  };
  const std::string& text = section.Text;
  int integerSeen = 0;
  int fractionSeen = 0;
  bool afterPoint = false;
  bool exponentDone = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsQuote(c)) {
      size_t close = text.find(c, i + 1);
      if (close == std::string::npos) close = text.size();
      out.append(text, i + 1, close - i - 1);
      i = close;
    } else if (size_t marker = exponentDone ? 0 : ScientificMarkerLength(text, i); marker > 0) {
      exponentDone = true;
      out += c;
      if (digits.Exponent < 0)
        out += '-';
      else if (text[i + 1] == '+')
        out += '+';
      out += PadLeft(std::to_string(std::abs(digits.Exponent)), marker - 2, '0');
      i += marker - 1;
    } else if (exponentDone) {
      out += c;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        if (fractionSeen < static_cast<int>(digits.Fraction.size())) out += digits.Fraction[fractionSeen];
        ++fractionSeen;
      } else {
        int index = integerLength - section.IntegerPlaceholders + integerSeen;
        if (integerSeen == 0)
          for (int extra = 0; extra < index; ++extra) emitIntegerDigit(extra);
        if (index >= 0) emitIntegerDigit(index);
        ++integerSeen;
      }
    } else if (c == '.') {
      if (!afterPoint) {
        // Without integer placeholders the integer digits still stand before the point.
        if (section.IntegerPlaceholders == 0)
          for (int index = 0; index < integerLength; ++index) emitIntegerDigit(index);
        if (!digits.Fraction.empty()) out += settings.DecimalSeparator;
      }
      afterPoint = true;
    } else if (c == ',') {
      // a grouping flag, not a character of the result
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string FormatFloat(const std::string& Pattern, double Value) {
  return FormatFloat(Pattern, Value, FormatSettings);
}

std::string FormatFloat(const std::string& Pattern, double Value, const TFormatSettings& Settings) {
  if (!std::isfinite(Value)) return NonFiniteText(Value);
  std::vector<std::string> texts = SplitSections(Pattern);
  if (texts.size() > 3) texts.resize(3);
  if (texts[0].empty() && texts.size() == 1) return FloatToStr(Value, Settings);

  // Values too large for fixed digits fall back to the general format.
  if (FloatToDecimal(Value, 15, 0).Exponent > 18) return FloatToStr(Value, Settings);

  const bool useNegative = Value < 0 && texts.size() >= 2 && !texts[1].empty();
  TPatternSection section = AnalyseSection(useNegative ? texts[1] : texts[0]);
  TPatternDigits digits = RoundForSection(useNegative ? -Value : Value, section);
  if (digits.Zero && texts.size() >= 3 && !texts[2].empty()) {
    section = AnalyseSection(texts[2]);
    digits = RoundForSection(0.0, section);
  } else if (digits.Zero && useNegative) {
    // Rounded to zero: the positive section shows it, without a sign.
    section = AnalyseSection(texts[0]);
    digits = RoundForSection(0.0, section);
  }
  std::string sign = digits.Negative ? "-" : "";
  return sign + RenderSection(section, digits, Settings);
}
