#pragma once
// The lexical pieces of a PDF file as the PDF writer spells them: numbers, colours,
// references, escaped strings and names, and dates. Every number is written with a full
// stop as decimal separator whatever the locale, so the file reads the same everywhere.
#include <string>

#include "platform/Color.h"
#include "platform/DateTime.h"

// CR LF, the line end used throughout the file.
inline constexpr const char* PdfEol = "\r\n";

// Fixed notation with exactly four decimals: 595.2756, -12.0000, 0.0000.
std::string PdfNumber(double Value);
// The colour resolved to RGB, each channel divided by 255 with four decimals, joined by
// blanks: white is "1.0000 1.0000 1.0000".
std::string PdfColor(TColor Color);
// "n 0 R".
std::string PdfReference(int ObjectNumber);

// Text to be placed between parentheses: backslash and both parentheses are escaped, and so
// are line ends and other control bytes (as octal escapes), which a reader would otherwise
// normalise or trip over. Bytes 128..255 pass unchanged.
std::string PdfEscapeText(const std::string& Text);
// The characters of a name object after its "/": bytes outside 33..126, the delimiters
// ( ) < > [ ] { } / % and the number sign itself become "#xx" (two upper-case hex digits).
std::string PdfEscapeName(const std::string& Name);

// The time-zone suffix of a date from the platform's standard bias (minutes, UTC = local +
// bias): -60 gives "+01'00'", 300 gives "-05'00'", -330 gives "+05'30'".
std::string PdfTimeZoneSuffix(int Bias);
// "D:yyyymmddhhnnss" followed by the time-zone suffix.
std::string PdfDate(TDateTime DateTime, int Bias);
