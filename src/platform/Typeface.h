#pragma once
// Internal: one font file (a family in one weight and slant) with its tables and the glyphs
// of the Windows-1252 characters. Loaded once per process and shared by every logical font
// realised with it. It keeps the file's bytes, not a Qt font engine: engines belong to the
// thread that creates them, so each thread makes its own from FontData().
#include <QByteArray>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/SfntTables.h"

class TTypeface {
public:
  // The face of an installed family nearest to the weight and slant asked for (a family
  // without a bold file answers its regular face: check Bold()). Thread-safe, cached.
  static std::shared_ptr<const TTypeface> Load(const std::string& Family, bool Bold, bool Italic);

  // Reads everything from a matched font; keeps nothing of it but the bytes.
  explicit TTypeface(const QRawFont& Matched);
  TTypeface(const TTypeface&) = delete;
  TTypeface& operator=(const TTypeface&) = delete;

  const std::string& Family() const { return FFamily; }
  bool Bold() const { return FBold; }
  bool Italic() const { return FItalic; }
  const TSfntTables& Tables() const { return FTables; }

  // The glyph of a Windows-1252 byte, 0 (the default glyph) where the font has none.
  quint32 GlyphIndex(uint8_t AnsiCode) const { return FGlyphs[AnsiCode]; }
  // The advance of a Windows-1252 byte in design units.
  int DesignAdvance(uint8_t AnsiCode) const { return FTables.Advance(FGlyphs[AnsiCode]); }

  bool FixedPitch() const;
  // FF_ROMAN, FF_SWISS, FF_MODERN, FF_SCRIPT, FF_DECORATIVE or FF_DONTCARE, from the OS/2 table.
  uint8_t FontFamily() const;
  // The character sets the file covers (from the OS/2 code page ranges), ANSI first.
  std::vector<uint8_t> CharSets() const;

  // The font file's bytes (its tables, reassembled).
  const QByteArray& FontData() const { return FFontData; }
  // A raw font at a pixel size, unhinted, with a font engine of the calling thread.
  QRawFont CreateRawFont(double PixelSize) const;

private:
  void MapAnsiGlyphs(const QRawFont& Matched);
  void MeasureBoxesFromOutlines();

  std::string FFamily;
  bool FBold = false;
  bool FItalic = false;
  TSfntTables FTables;
  std::array<quint32, 256> FGlyphs{};
  QByteArray FFontData;
};
