#include "platform/SfntTables.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/AnsiCodePage.h"

namespace {

// Big-endian reads that answer 0 past the end, so a truncated table cannot read out of bounds.
class TBigEndian {
public:
  explicit TBigEndian(const std::string& Bytes) : FBytes(Bytes) {}
  bool Has(size_t Offset, size_t Count) const { return Offset + Count <= FBytes.size(); }
  uint8_t U8(size_t Offset) const { return Has(Offset, 1) ? static_cast<uint8_t>(FBytes[Offset]) : 0; }
  uint16_t U16(size_t Offset) const { return static_cast<uint16_t>((U8(Offset) << 8) | U8(Offset + 1)); }
  int16_t S16(size_t Offset) const { return static_cast<int16_t>(U16(Offset)); }
  uint32_t U32(size_t Offset) const { return (uint32_t{U16(Offset)} << 16) | U16(Offset + 2); }
  int32_t S32(size_t Offset) const { return static_cast<int32_t>(U32(Offset)); }
  size_t Size() const { return FBytes.size(); }

private:
  const std::string& FBytes;
};

void ReadHead(const TBigEndian& head, TSfntTables& t, int& indexToLocFormat) {
  if (!head.Has(0, 54)) return;
  t.UnitsPerEm = head.U16(18) ? head.U16(18) : 2048;
  t.XMin = head.S16(36);
  t.YMin = head.S16(38);
  t.XMax = head.S16(40);
  t.YMax = head.S16(42);
  t.MacStyle = head.U16(44);
  indexToLocFormat = head.S16(50);
}

void ReadHhea(const TBigEndian& hhea, TSfntTables& t, int& numberOfHMetrics) {
  if (!hhea.Has(0, 36)) return;
  t.Ascender = hhea.S16(4);
  t.Descender = hhea.S16(6);
  t.LineGap = hhea.S16(8);
  t.AdvanceWidthMax = hhea.U16(10);
  numberOfHMetrics = hhea.U16(34);
}

// Fonts without an OS/2 table (old Mac fonts) get its values from hhea and head.
void DeriveOs2FromHhea(TSfntTables& t) {
  t.TypoAscender = t.Ascender;
  t.TypoDescender = t.Descender;
  t.TypoLineGap = t.LineGap;
  t.WinAscent = t.YMax;
  t.WinDescent = -t.YMin;
  t.XAvgCharWidth = t.AdvanceWidthMax / 2;
  t.StrikeoutSize = t.UnitsPerEm / 20;
  t.StrikeoutPosition = t.UnitsPerEm / 4;
  t.CodePageRange1 = 1;  // Latin 1
}

void ReadOs2(const TBigEndian& os2, TSfntTables& t) {
  if (!os2.Has(0, 78)) {
    DeriveOs2FromHhea(t);
    return;
  }
  const uint16_t version = os2.U16(0);
  t.XAvgCharWidth = os2.S16(2);
  t.WeightClass = os2.U16(4);
  t.FsType = os2.U16(8);
  t.StrikeoutSize = os2.S16(26);
  t.StrikeoutPosition = os2.S16(28);
  t.FamilyClass = os2.S16(30);
  for (int i = 0; i < 10; ++i) t.Panose[i] = os2.U8(32 + i);
  t.FsSelection = os2.U16(62);
  t.TypoAscender = os2.S16(68);
  t.TypoDescender = os2.S16(70);
  t.TypoLineGap = os2.S16(72);
  t.WinAscent = os2.U16(74);
  t.WinDescent = os2.U16(76);
  // Version 0 tables predate the code page ranges: assume Latin 1 only.
  t.CodePageRange1 = version >= 1 && os2.Has(78, 4) ? os2.U32(78) : 1;
  if (version >= 2 && os2.Has(86, 4)) {
    t.XHeight = os2.S16(86);
    t.CapHeight = os2.S16(88);
  }
}

void ReadPost(const TBigEndian& post, TSfntTables& t) {
  if (!post.Has(0, 16)) return;
  t.ItalicAngle = post.S32(4);
  t.UnderlinePosition = post.S16(8);
  t.UnderlineThickness = post.S16(10);
  t.IsFixedPitch = post.U32(12) != 0;
}

void ReadHmtx(const TBigEndian& hmtx, int numberOfHMetrics, TSfntTables& t) {
  const size_t count = std::min<size_t>(numberOfHMetrics, hmtx.Size() / 4);
  t.Advances.resize(count);
  for (size_t i = 0; i < count; ++i) t.Advances[i] = hmtx.U16(4 * i);
}

size_t GlyphOffset(const TBigEndian& loca, int indexToLocFormat, size_t glyph) {
  return indexToLocFormat == 0 ? size_t{loca.U16(2 * glyph)} * 2 : size_t{loca.U32(4 * glyph)};
}

void ReadGlyphBoxes(const TBigEndian& loca, const TBigEndian& glyf, int indexToLocFormat, size_t numGlyphs,
                    TSfntTables& t) {
  if (glyf.Size() == 0) return;
  t.Boxes.resize(numGlyphs);
  for (size_t g = 0; g < numGlyphs; ++g) {
    const size_t start = GlyphOffset(loca, indexToLocFormat, g);
    const size_t end = GlyphOffset(loca, indexToLocFormat, g + 1);
    if (end <= start || !glyf.Has(start, 10)) continue;  // no outline
    t.Boxes[g] = TGlyphBox{glyf.S16(start + 2), glyf.S16(start + 6), false};
  }
}

// A name record's text: UTF-16BE for the Windows platform, single bytes (Roman) for Macintosh.
std::string DecodeName(const TBigEndian& name, size_t offset, size_t length, bool utf16) {
  std::string text;
  if (utf16) {
    for (size_t i = 0; i + 1 < length; i += 2) {
      const int code = UnicodeToAnsiChar(name.U16(offset + i));
      text += static_cast<char>(code < 0 ? '?' : code);
    }
  } else {
    for (size_t i = 0; i < length; ++i) {
      const uint8_t c = name.U8(offset + i);
      text += static_cast<char>(c < 0x80 ? c : '?');
    }
  }
  return text;
}

// Prefers the Windows-platform US English record, then any Windows record, then Macintosh.
std::string ReadName(const TBigEndian& name, uint16_t nameId) {
  const uint16_t count = name.U16(2);
  const size_t storage = name.U16(4);
  std::string best;
  int bestRank = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t record = 6 + 12 * i;
    if (!name.Has(record, 12) || name.U16(record + 6) != nameId) continue;
    const uint16_t platform = name.U16(record);
    const uint16_t language = name.U16(record + 4);
    const int rank = platform == 3 ? (language == 0x409 ? 3 : 2) : platform == 1 ? 1 : 0;
    if (rank <= bestRank) continue;
    const size_t offset = storage + name.U16(record + 10);
    const size_t length = name.U16(record + 8);
    if (!name.Has(offset, length)) continue;
    best = DecodeName(name, offset, length, platform != 1);
    bestRank = rank;
  }
  return best;
}

}  // namespace

int TSfntTables::Advance(uint32_t Glyph) const {
  if (Advances.empty()) return 0;
  return Glyph < Advances.size() ? Advances[Glyph] : Advances.back();
}

TGlyphBox TSfntTables::Box(uint32_t Glyph) const {
  return Glyph < Boxes.size() ? Boxes[Glyph] : TGlyphBox{};
}

TSfntTables ReadSfntTables(const TSfntTableReader& Table) {
  TSfntTables t;
  const std::string headBytes = Table("head"), hheaBytes = Table("hhea"), os2Bytes = Table("OS/2");
  const std::string postBytes = Table("post"), hmtxBytes = Table("hmtx"), maxpBytes = Table("maxp");
  const std::string locaBytes = Table("loca"), glyfBytes = Table("glyf"), nameBytes = Table("name");
  int indexToLocFormat = 0;
  int numberOfHMetrics = 0;
  ReadHead(TBigEndian(headBytes), t, indexToLocFormat);
  ReadHhea(TBigEndian(hheaBytes), t, numberOfHMetrics);
  ReadOs2(TBigEndian(os2Bytes), t);
  ReadPost(TBigEndian(postBytes), t);
  ReadHmtx(TBigEndian(hmtxBytes), numberOfHMetrics, t);
  const TBigEndian loca(locaBytes);
  const size_t locaEntries = loca.Size() / (indexToLocFormat == 0 ? 2 : 4);
  const size_t numGlyphs = std::min<size_t>(TBigEndian(maxpBytes).U16(4), locaEntries ? locaEntries - 1 : 0);
  ReadGlyphBoxes(loca, TBigEndian(glyfBytes), indexToLocFormat, numGlyphs, t);
  const TBigEndian name(nameBytes);
  t.FamilyName = ReadName(name, 1);
  t.StyleName = ReadName(name, 2);
  t.FullName = ReadName(name, 4);
  return t;
}

namespace {

// The tables a rasteriser or text layout may use, in tag order (the directory is sorted).
constexpr std::array<const char*, 45> KnownTags = {
    "BASE", "CBDT", "CBLC", "CFF ", "CFF2", "COLR", "CPAL", "EBDT", "EBLC", "EBSC", "GDEF", "GPOS",
    "GSUB", "HVAR", "JSTF", "LTSH", "MATH", "MVAR", "OS/2", "PCLT", "STAT", "SVG ", "VDMX", "VORG",
    "VVAR", "avar", "cmap", "cvar", "cvt ", "fpgm", "fvar", "gasp", "glyf", "gvar", "hdmx", "head",
    "hhea", "hmtx", "kern", "loca", "maxp", "name", "post", "vhea", "vmtx",
};

void PutU16(std::string& out, size_t value) {
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value >> 16);
  PutU16(out, value & 0xFFFF);
}

uint32_t TableChecksum(const std::string& bytes) {
  uint32_t sum = 0;
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = (word << 8) | (i + k < bytes.size() ? static_cast<uint8_t>(bytes[i + k]) : 0);
    sum += word;
  }
  return sum;
}

}  // namespace

std::string AssembleSfnt(const TSfntTableReader& Table) {
  std::vector<std::pair<const char*, std::string>> tables;
  for (const char* tag : KnownTags) {
    std::string bytes = Table(tag);
    if (!bytes.empty()) tables.emplace_back(tag, std::move(bytes));
  }
  const bool postScriptOutlines = Table("glyf").empty() && !Table("CFF ").empty();
  size_t searchRange = 1, entrySelector = 0;
  while (searchRange * 2 <= tables.size()) {
    searchRange *= 2;
    ++entrySelector;
  }
  std::string out;
  PutU32(out, postScriptOutlines ? 0x4F54544F : 0x00010000);  // 'OTTO' or TrueType
  PutU16(out, tables.size());
  PutU16(out, searchRange * 16);
  PutU16(out, entrySelector);
  PutU16(out, (tables.size() - searchRange) * 16);
  size_t offset = 12 + 16 * tables.size();
  for (const auto& [tag, bytes] : tables) {
    out.append(tag, 4);
    PutU32(out, TableChecksum(bytes));
    PutU32(out, static_cast<uint32_t>(offset));
    PutU32(out, static_cast<uint32_t>(bytes.size()));
    offset += (bytes.size() + 3) & ~size_t{3};
  }
  for (const auto& table : tables) {
    out += table.second;
    out.append((4 - table.second.size() % 4) % 4, '\0');
  }
  return out;
}
