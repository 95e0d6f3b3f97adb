#pragma once
// Internal: the values of a TrueType/OpenType font file's tables that text metrics are
// computed from, read from the raw (big-endian) table bytes. Values stay in font design
// units; scaling to pixels is the logical font's business.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Horizontal extent of a glyph's outline, in design units.
struct TGlyphBox {
  int XMin = 0;
  int XMax = 0;
  bool Empty = true;  // no outline (a space)
};

struct TSfntTables {
  // head
  int UnitsPerEm = 2048;
  int XMin = 0;
  int YMin = 0;
  int XMax = 0;
  int YMax = 0;
  uint16_t MacStyle = 0;
  // hhea
  int Ascender = 0;
  int Descender = 0;  // negative below the baseline
  int LineGap = 0;
  int AdvanceWidthMax = 0;
  // OS/2
  int XAvgCharWidth = 0;
  int WeightClass = 400;
  uint16_t FsType = 0;
  int StrikeoutSize = 0;
  int StrikeoutPosition = 0;  // top of the stroke, above the baseline
  int FamilyClass = 0;        // sFamilyClass: class in the high byte
  uint8_t Panose[10] = {};
  uint32_t CodePageRange1 = 0;
  uint16_t FsSelection = 0;
  int TypoAscender = 0;
  int TypoDescender = 0;  // negative below the baseline
  int TypoLineGap = 0;
  int WinAscent = 0;
  int WinDescent = 0;  // positive below the baseline
  int XHeight = 0;
  int CapHeight = 0;
  // post
  int32_t ItalicAngle = 0;    // 16.16 fixed-point degrees, negative leaning right
  int UnderlinePosition = 0;  // top of the stroke, negative below the baseline
  int UnderlineThickness = 0;
  bool IsFixedPitch = false;
  // hmtx and glyf/loca, by glyph index
  std::vector<uint16_t> Advances;
  std::vector<TGlyphBox> Boxes;  // empty when the font has no glyf table (CFF outlines)
  // name, in Windows-1252
  std::string FamilyName;
  std::string StyleName;
  std::string FullName;

  // The advance of a glyph; glyphs past the last metric repeat it, as the format says.
  int Advance(uint32_t Glyph) const;
  TGlyphBox Box(uint32_t Glyph) const;
};

// Table(tag) returns the bytes of one table, or an empty string when the font has none.
using TSfntTableReader = std::function<std::string(const char* Tag)>;
TSfntTables ReadSfntTables(const TSfntTableReader& Table);

// A font file assembled from the tables Table(tag) answers for the usual TrueType and
// OpenType tags, in the format's table-directory layout. It holds everything a rasteriser
// needs (outlines, metrics, hinting programs, layout tables).
std::string AssembleSfnt(const TSfntTableReader& Table);
