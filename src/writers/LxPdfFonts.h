#pragma once
// The fonts of a PDF document: TrueType fonts that are named and measured, never embedded.
// A font is known by its key (the face name without blanks, then ",Bold", ",Italic" or
// ",BoldItalic"); its position in the document's font list is its resource number /Fn. The
// widths and descriptor values come from the font files' metrics at 1000 points on a
// 96-pixels-per-inch screen, so they are thousandths of the font size.
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Font.h"
#include "platform/Types.h"

class TLxPdfFile;

enum TPDFFontEncoding {
  feWinAnsiEncoding,
  feMacRomanEncoding,
  feMacExpertEncoding,
  feStandardEncoding,
  fePDFDocEncoding
};

// "WinAnsiEncoding" ... "PDFDocEncoding": the enumerator without its "fe".
std::string PdfEncodingName(TPDFFontEncoding Encoding);

// The first and last character code the width table covers.
constexpr int PdfFirstChar = 32;
constexpr int PdfLastChar = 255;
constexpr int PdfWidthCount = PdfLastChar - PdfFirstChar + 1;  // 224

// One used font. The defaults stand until the font is measured.
class TLxFontInfo {
public:
  int FontObject = 0;
  // Advance widths of the codes 32..255 in thousandths of the font size.
  std::array<int, PdfWidthCount> Widths;
  int DescriptorObject = 0;
  int Flags = 0;
  TRect FontBBox{-250, -200, 1000, 900};  // left, top, right, bottom
  int Ascent = 800;
  int Descent = -200;
  int CapHeight = 700;
  int AvgWidth = 600;
  int MaxWidth = 600;
  int StemV = 0;
  int ItalicAngle = 0;  // degrees
  int Leading = 0;      // measured, never written
  // Line width and offset above the baseline of the strikeout and the underline, in points
  // for the size of the run that first used the font.
  int StrikeoutSize = 0;
  int StrikeoutPosition = 0;
  int UnderlineSize = 0;
  int UnderlinePosition = -1;

  TLxFontInfo() { Widths.fill(600); }

  // The width of one character code in thousandths; codes below 32 have no entry and add
  // nothing, so the table is never read outside 32..255.
  int CharWidth(unsigned char Code) const { return Code < PdfFirstChar ? 0 : Widths[Code - PdfFirstChar]; }
  // Sum of the widths of Text's characters in points at Size.
  double TextWidth(const std::string& Text, int Size) const;
};

// "TimesNewRoman,BoldItalic", "CourierNew": blanks removed, bold and italic appended.
// Size, colour, character set, underline and strikeout do not enter the key.
std::string PdfFontKey(const std::string& Name, TFontStyles Style);

// Measures Font (name, character set, pitch, style, size in points) into a new font record
// carrying the two object numbers.
std::unique_ptr<TLxFontInfo> CreateFontInfo(const TFont& Font, int FontObject, int DescriptorObject);

// The body of the font object and of its descriptor, as the document end writes them.
std::string PdfFontObjectBody(const std::string& Key, int Index, const TLxFontInfo& Info,
                              TPDFFontEncoding Encoding);
std::string PdfFontDescriptorBody(const std::string& Key, const TLxFontInfo& Info);

// The fonts used so far, in the order first used (never sorted); keys compare without
// regard to case.
class TLxPdfFontList {
public:
  int Count() const { return static_cast<int>(FEntries.size()); }
  // Position of Key, or -1.
  int IndexOf(const std::string& Key) const;
  // Position of the font of Font's key; a font not used before is measured and appended,
  // taking its font and descriptor object numbers from File at this moment.
  int FontIndex(const TFont& Font, TLxPdfFile& File);
  // Appends Info under Key and returns its position.
  int Add(const std::string& Key, std::unique_ptr<TLxFontInfo> Info);
  const std::string& Key(int Index) const { return FEntries[static_cast<size_t>(Index)].Key; }
  const TLxFontInfo& Info(int Index) const { return *FEntries[static_cast<size_t>(Index)].Info; }

  // "/F0 7 0 R" CR LF ... for the resource dictionary.
  std::string ResourceEntries() const;
  // Writes every font object and its descriptor in list order, then forgets the fonts.
  void WriteObjects(TLxPdfFile& File, TPDFFontEncoding Encoding);
  void Clear();

private:
  struct TEntry {
    std::string Key;
    std::unique_ptr<TLxFontInfo> Info;
  };
  std::vector<TEntry> FEntries;
  std::unordered_map<std::string, int> FIndex;  // upper-cased key -> position
};
