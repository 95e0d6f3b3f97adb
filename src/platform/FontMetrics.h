#pragma once
// Logical fonts: the device-level font handle with its text and outline metrics, taken
// from the font files' own tables. Heights follow the platform rule: a negative lfHeight
// is the character (em) height in pixels, a positive one the cell height (ascent + descent).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Pitch-and-family bits of TLogFont.lfPitchAndFamily.
constexpr uint8_t DEFAULT_PITCH = 0;
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;
// tmPitchAndFamily bits of TTextMetric: note that TMPF_FIXED_PITCH set means VARIABLE pitch.
constexpr uint8_t TMPF_FIXED_PITCH = 0x01;
constexpr uint8_t TMPF_VECTOR = 0x02;
constexpr uint8_t TMPF_TRUETYPE = 0x04;
constexpr uint8_t FF_DONTCARE = 0x00;
constexpr uint8_t FF_ROMAN = 0x10;
constexpr uint8_t FF_SWISS = 0x20;
constexpr uint8_t FF_MODERN = 0x30;
constexpr uint8_t FF_SCRIPT = 0x40;
constexpr uint8_t FF_DECORATIVE = 0x50;

struct TLogFont {
  int lfHeight = 0;
  int lfWidth = 0;        // average character width; 0: the font's natural width
  int lfEscapement = 0;   // tenths of a degree, counter-clockwise
  int lfOrientation = 0;
  int lfWeight = FW_NORMAL;
  bool lfItalic = false;
  bool lfUnderline = false;
  bool lfStrikeOut = false;
  uint8_t lfCharSet = 1;  // DEFAULT_CHARSET
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  std::string lfFaceName;  // at most 31 characters are used
};

struct TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  int tmOverhang = 0;
  int tmDigitizedAspectX = 96;
  int tmDigitizedAspectY = 96;
  uint8_t tmFirstChar = 32;
  uint8_t tmLastChar = 255;
  uint8_t tmDefaultChar = 31;
  uint8_t tmBreakChar = 32;
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;
};

struct TOutlineTextMetric {
  TTextMetric otmTextMetrics;
  unsigned otmEMSquare = 0;
  int otmAscent = 0;
  int otmDescent = 0;
  unsigned otmLineGap = 0;
  unsigned otmsCapEmHeight = 0;
  unsigned otmsXHeight = 0;
  TRect otmrcFontBox;
  int otmMacAscent = 0;
  int otmMacDescent = 0;
  unsigned otmMacLineGap = 0;
  int otmItalicAngle = 0;  // tenths of a degree
  unsigned otmsStrikeoutSize = 0;
  int otmsStrikeoutPosition = 0;
  int otmsUnderscoreSize = 0;
  int otmsUnderscorePosition = 0;
  uint32_t fsSelection = 0;
  uint32_t fsType = 0;
  std::string otmpFamilyName;
  std::string otmpFaceName;
  std::string otmpStyleName;
  std::string otmpFullName;
};

struct TABC {
  int abcA = 0;
  unsigned abcB = 0;
  int abcC = 0;
};

// A face of a family as the font enumeration reports it.
struct TFontFace {
  std::string FaceName;
  uint8_t CharSet = 0;
  uint8_t PitchAndFamily = 0;
  bool Bold = false;
  bool Italic = false;
};

class TFontFile;  // the font file a logical font is realised with (internal)

// A realised logical font. Immutable once created; shared by canvases and caches.
class TLogicalFont {
public:
  explicit TLogicalFont(const TLogFont& LogFont);
  ~TLogicalFont();
  TLogicalFont(const TLogicalFont&) = delete;
  TLogicalFont& operator=(const TLogicalFont&) = delete;

  const TLogFont& LogFont() const { return FLogFont; }
  const TTextMetric& TextMetrics() const { return FTextMetric; }
  const TOutlineTextMetric& OutlineTextMetrics() const { return FOutlineTextMetric; }

  // Advance of one character (Windows-1252 code) in whole pixels.
  int CharWidth(uint8_t Code) const;
  TABC CharABCWidths(uint8_t Code) const;
  // Sum of the per-character advances (no kerning, no shaping); height = tmHeight.
  // Empty text measures 0 by 0.
  TSize TextExtent(const std::string& Text) const;

  // The pixel size of the em square the font is realised at.
  double PixelSize() const { return FPixelSize; }
  TFontFile* File() const { return FFile.get(); }

private:
  TLogFont FLogFont;
  TTextMetric FTextMetric;
  TOutlineTextMetric FOutlineTextMetric;
  double FPixelSize = 0;
  std::vector<int> FAdvances;  // 256 entries
  std::unique_ptr<TFontFile> FFile;
};

std::shared_ptr<TLogicalFont> CreateFontIndirect(const TLogFont& LogFont);

// The faces available under a family name (every charset each face supports). The
// requested name is matched through the substitution table, but reported as asked.
std::vector<TFontFace> EnumFontFaces(const std::string& FamilyName);
// Every family name the platform knows, the substituted classic names included.
std::vector<std::string> EnumFontFamilies();

// The installed family that stands in for a requested face ("Arial" -> "Liberation Sans").
std::string SubstituteFontFamily(const std::string& FaceName);
