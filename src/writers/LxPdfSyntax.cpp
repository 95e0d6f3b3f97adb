#include "writers/LxPdfSyntax.h"

#include "platform/Format.h"

namespace {

// The invariant settings: a full stop as decimal separator on every machine.
const TFormatSettings& InvariantSettings() {
  static const TFormatSettings settings = TFormatSettings::Create();
  return settings;
}

bool IsNameDelimiter(unsigned char c) {
  switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%':
    case '#':
      return true;
    default:
      return false;
  }
}

void AppendHexByte(std::string& out, unsigned char c) {
  static const char digits[] = "0123456789ABCDEF";
  out += digits[c >> 4];
  out += digits[c & 0x0F];
}

void AppendOctalEscape(std::string& out, unsigned char c) {
  out += '\\';
  out += static_cast<char>('0' + ((c >> 6) & 7));
  out += static_cast<char>('0' + ((c >> 3) & 7));
  out += static_cast<char>('0' + (c & 7));
}

}  // namespace

std::string PdfNumber(double Value) {
  // Fixed with four decimals and up to 18 significant digits, as the platform's
  // FloatToStrF(ffFixed, 18, 4) rounds them.
  return FloatToStrF(Value, ffFixed, 18, 4, InvariantSettings());
}

std::string PdfColor(TColor Color) {
  const TColor rgb = ColorToRGB(Color);
  return Format("%1.4f %1.4f %1.4f", {GetRValue(rgb) / 255.0, GetGValue(rgb) / 255.0, GetBValue(rgb) / 255.0},
                InvariantSettings());
}

std::string PdfReference(int ObjectNumber) {
  return std::to_string(ObjectNumber) + " 0 R";
}

std::string PdfEscapeText(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + Text.size() / 8);
  for (char ch : Text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\':
      case '(':
      case ')':
        out += '\\';
        out += ch;
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (c < 32 || c == 127)
          AppendOctalEscape(out, c);
        else
          out += ch;
    }
  }
  return out;
}

std::string PdfEscapeName(const std::string& Name) {
  std::string out;
  out.reserve(Name.size());
  for (char ch : Name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 33 || c > 126 || IsNameDelimiter(c)) {
      out += '#';
      AppendHexByte(out, c);
    } else {
      out += ch;
    }
  }
  return out;
}

std::string PdfTimeZoneSuffix(int Bias) {
  // The sign comes from the hours text: a zone west of UTC already shows "-"; any other
  // gets "+" and the bias is turned round so that the minutes come out positive.
  std::string hours = Format("%.2d", {Bias / -60});
  if (hours.empty() || hours[0] != '-') {
    hours = "+" + hours;
    Bias = -Bias;
  }
  const std::string minutes = Format("%.2d", {Bias % 60});
  return hours + "'" + minutes + "'";
}

std::string PdfDate(TDateTime DateTime, int Bias) {
  return "D:" + FormatDateTime("yyyymmddhhnnss", DateTime, InvariantSettings()) + PdfTimeZoneSuffix(Bias);
}
