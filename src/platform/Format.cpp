#include "platform/Format.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "platform/Exceptions.h"

namespace {

// One "%[index:][-][width][.precision]type" specifier.
struct TFormatSpec {
  bool LeftJustify = false;
  int Width = -1;
  int Precision = -1;
  char Type = 0;  // upper case
};

class TFormatter {
public:
  TFormatter(const std::string& fmt, const TVarRec* args, size_t count, const TFormatSettings& settings)
      : FFmt(fmt), FArgs(args), FCount(count), FSettings(settings) {}

  std::string Run() {
    while (FPos < FFmt.size()) {
      char c = FFmt[FPos++];
      if (c != '%') {
        FOut += c;
        continue;
      }
      if (FPos < FFmt.size() && FFmt[FPos] == '%') {
        FOut += '%';
        ++FPos;
        continue;
      }
      TFormatSpec field = ParseSpec();
      FOut += Pad(Convert(field, NextArg()), field);
    }
    return FOut;
  }

private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + FFmt + "' invalid or incompatible with argument");
  }

  const TVarRec& NextArg() {
    if (FArgIndex >= FCount) throw EConvertError("No argument for format '" + FFmt + "'");
    return FArgs[FArgIndex++];
  }

  // Digits or '*' (taken from the arguments); -1 when neither is there.
  int ParseNumber() {
    if (FPos < FFmt.size() && FFmt[FPos] == '*') {
      ++FPos;
      const TVarRec& arg = NextArg();
      if (arg.VType != TVarRec::vtInteger) Invalid();
      return static_cast<int>(arg.VInteger);
    }
    if (FPos >= FFmt.size() || !std::isdigit(static_cast<unsigned char>(FFmt[FPos]))) return -1;
    int64_t value = 0;
    while (FPos < FFmt.size() && std::isdigit(static_cast<unsigned char>(FFmt[FPos]))) {
      value = value * 10 + (FFmt[FPos++] - '0');
      if (value > 1'000'000) Invalid();
    }
    return static_cast<int>(value);
  }

  TFormatSpec ParseSpec() {
    TFormatSpec field;
    int number = ParseNumber();
    if (number >= 0 && FPos < FFmt.size() && FFmt[FPos] == ':') {
      FArgIndex = static_cast<size_t>(number);  // an argument index
      ++FPos;
      number = -1;
    }
    if (number < 0) {
      if (FPos < FFmt.size() && FFmt[FPos] == '-') {
        field.LeftJustify = true;
        ++FPos;
      }
      number = ParseNumber();
    }
    field.Width = number;
    if (FPos < FFmt.size() && FFmt[FPos] == '.') {
      ++FPos;
      field.Precision = ParseNumber();
      if (field.Precision < 0) field.Precision = 0;
    }
    if (FPos >= FFmt.size()) Invalid();
    field.Type = static_cast<char>(std::toupper(static_cast<unsigned char>(FFmt[FPos++])));
    return field;
  }

  std::string Pad(std::string text, const TFormatSpec& field) const {
    if (field.Width > static_cast<int>(text.size())) {
      size_t fill = static_cast<size_t>(field.Width) - text.size();
      if (field.LeftJustify)
        text.append(fill, ' ');
      else
        text.insert(0, fill, ' ');
    }
    return text;
  }

  std::string Convert(const TFormatSpec& field, const TVarRec& arg) {
    switch (field.Type) {
      case 'D':
        return Decimal(field, arg);
      case 'U':
        return Unsigned(field, arg);
      case 'X':
        return Hexadecimal(field, arg);
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M':
        return Float(field, arg);
      case 'P':
        return Pointer(arg);
      case 'S':
        return Text(field, arg);
      default:
        Invalid();
    }
  }

  static std::string ZeroPad(std::string digits, int precision) {
    if (precision > static_cast<int>(digits.size()))
      digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return digits;
  }

  std::string Decimal(const TFormatSpec& field, const TVarRec& arg) {
    if (arg.VType == TVarRec::vtUInt64) return ZeroPad(UIntToStr(arg.VUInt64), field.Precision);
    if (arg.VType != TVarRec::vtInteger && arg.VType != TVarRec::vtInt64) Invalid();
    uint64_t magnitude =
        arg.VInteger < 0 ? 0 - static_cast<uint64_t>(arg.VInteger) : static_cast<uint64_t>(arg.VInteger);
    return (arg.VInteger < 0 ? "-" : "") + ZeroPad(UIntToStr(magnitude), field.Precision);
  }

  // Integers show the bits of their own width (32 bits for an Integer argument).
  uint64_t UnsignedBits(const TVarRec& arg) {
    switch (arg.VType) {
      case TVarRec::vtInteger:
        return static_cast<uint32_t>(arg.VInteger);
      case TVarRec::vtInt64:
        return static_cast<uint64_t>(arg.VInteger);
      case TVarRec::vtUInt64:
        return arg.VUInt64;
      default:
        Invalid();
    }
  }

  std::string Unsigned(const TFormatSpec& field, const TVarRec& arg) {
    return ZeroPad(UIntToStr(UnsignedBits(arg)), field.Precision);
  }

  std::string Hexadecimal(const TFormatSpec& field, const TVarRec& arg) {
    return IntToHex(UnsignedBits(arg), std::max(field.Precision, 0));
  }

  std::string Float(const TFormatSpec& field, const TVarRec& arg) {
    if (arg.VType != TVarRec::vtExtended) Invalid();
    const double value = arg.VExtended;
    const int precision = field.Precision;
    switch (field.Type) {
      case 'E':
        return FloatToStrF(value, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
      case 'G':
        return FloatToStrF(value, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
      case 'F':
        return FloatToStrF(value, ffFixed, 18, precision < 0 ? 2 : precision, FSettings);
      case 'N':
        return FloatToStrF(value, ffNumber, 18, precision < 0 ? 2 : precision, FSettings);
      default:
        return FloatToStrF(value, ffCurrency, 18, precision < 0 ? FSettings.CurrencyDecimals : precision,
                           FSettings);
    }
  }

  std::string Pointer(const TVarRec& arg) {
    if (arg.VType != TVarRec::vtPointer) Invalid();
    return IntToHex(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(arg.VPointer)), 2 * sizeof(void*));
  }

  std::string Text(const TFormatSpec& field, const TVarRec& arg) {
    std::string text;
    if (arg.VType == TVarRec::vtChar)
      text = std::string(1, arg.VChar);
    else if (arg.VType == TVarRec::vtAnsiString || arg.VType == TVarRec::vtPChar)
      text = std::string(arg.VString);
    else
      Invalid();
    if (field.Precision >= 0 && static_cast<size_t>(field.Precision) < text.size())
      text.resize(static_cast<size_t>(field.Precision));
    return text;
  }

  const std::string& FFmt;
  const TVarRec* FArgs;
  size_t FCount;
  const TFormatSettings& FSettings;
  size_t FPos = 0;
  size_t FArgIndex = 0;
  std::string FOut;
};

}  // namespace

std::string Format(const std::string& Fmt, const TVarRec* Args, size_t ArgCount,
                   const TFormatSettings& Settings) {
  return TFormatter(Fmt, Args, ArgCount, Settings).Run();
}

std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args) {
  return Format(Fmt, Args.begin(), Args.size(), FormatSettings);
}

std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args,
                   const TFormatSettings& Settings) {
  return Format(Fmt, Args.begin(), Args.size(), Settings);
}

std::string Format(const std::string& Fmt, const std::vector<TVarRec>& Args) {
  return Format(Fmt, Args.data(), Args.size(), FormatSettings);
}

std::string Format(const std::string& Fmt, const std::vector<TVarRec>& Args,
                   const TFormatSettings& Settings) {
  return Format(Fmt, Args.data(), Args.size(), Settings);
}
