#pragma once
// Internal: the font file a logical font is realised with, at the logical font's pixel size.
// The raster canvas draws glyphs through it (QPainter::drawGlyphRun with the positions built
// from Advance), so the width drawn is exactly the width measured. Measuring never touches
// Qt; the raw font is made on first use, once per thread, since Qt's font engines must not
// be shared between threads. Only platform sources include this header.
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>

class TTypeface;

class TFontFile {
public:
  // Advances: the 256 per-character advances in whole pixels (lfWidth stretch included).
  TFontFile(std::shared_ptr<const TTypeface> Typeface, double PixelSize, double HorizontalScale,
            const std::array<int, 256>& Advances);
  ~TFontFile();
  TFontFile(const TFontFile&) = delete;
  TFontFile& operator=(const TFontFile&) = delete;

  // The font file at PixelSize() pixels per em, unhinted, for the calling thread (valid as
  // long as this object). Draw it scaled horizontally by HorizontalScale() (1 unless the
  // logical font asks for an average width of its own).
  const QRawFont& RawFont() const;
  double PixelSize() const { return FPixelSize; }
  double HorizontalScale() const { return FHorizontalScale; }

  // The glyph drawn for a Windows-1252 byte: the default glyph (0) where the font has none.
  quint32 GlyphIndex(uint8_t AnsiCode) const;
  // The advance of a Windows-1252 byte in whole pixels, as TLogicalFont::CharWidth reports it.
  int Advance(uint8_t AnsiCode) const { return FAdvances[AnsiCode]; }

  // Line decorations in whole pixels, measured from the baseline. The underline's top edge
  // lies UnderlineOffset() pixels BELOW the baseline; the strike-out stroke's top edge lies
  // StrikeOutOffset() pixels ABOVE it. Sizes are at least 1 pixel.
  int UnderlineOffset() const { return FUnderlineOffset; }
  int UnderlineSize() const { return FUnderlineSize; }
  int StrikeOutOffset() const { return FStrikeOutOffset; }
  int StrikeOutSize() const { return FStrikeOutSize; }

  const TTypeface& Typeface() const { return *FTypeface; }

private:
  std::shared_ptr<const TTypeface> FTypeface;
  uint64_t FId;                       // names this file in the per-thread raw font caches
  std::shared_ptr<const int> FAlive;  // expires with this object, so caches can drop its fonts
  double FPixelSize = 0;
  double FHorizontalScale = 1;
  std::array<int, 256> FAdvances{};
  int FUnderlineOffset = 0;
  int FUnderlineSize = 1;
  int FStrikeOutOffset = 0;
  int FStrikeOutSize = 1;
};
