#include "platform/Typeface.h"

#include <QFont>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/AnsiCodePage.h"
#include "platform/FontMetrics.h"
#include "platform/QtBridge.h"

namespace {

QRawFont MatchRawFont(const std::string& Family, bool Bold, bool Italic) {
  QFont font(AnsiToQString(Family));
  font.setStyleStrategy(QFont::NoFontMerging);
  // Unhinted outlines: drawn glyphs then fit the design advances the text is measured with.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setWeight(Bold ? QFont::Bold : QFont::Normal);
  font.setItalic(Italic);
  font.setPixelSize(64);
  return QRawFont::fromFont(font);
}

// Which character sets an OS/2 code page range bit stands for.
struct TCodePageCharSet {
  int Bit;
  uint8_t CharSet;
};
constexpr TCodePageCharSet CodePageCharSets[] = {
    {0, 0},    // 1252 Latin 1: ANSI
    {1, 238},  // 1250 Latin 2: Eastern Europe
    {2, 204},  // 1251 Cyrillic: Russian
    {3, 161},  // 1253 Greek
    {4, 162},  // 1254 Turkish
    {7, 186},  // 1257 Baltic
    {31, 2},   // Symbol
};

}  // namespace

std::shared_ptr<const TTypeface> TTypeface::Load(const std::string& Family, bool Bold, bool Italic) {
  EnsureGuiApplication();
  static std::mutex mutex;
  static std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<const TTypeface>> cache;
  std::lock_guard lock(mutex);
  auto& entry = cache[std::make_tuple(Family, Bold, Italic)];
  if (!entry) {
    entry = std::make_shared<const TTypeface>(MatchRawFont(Family, Bold, Italic));
  }
  return entry;
}

TTypeface::TTypeface(const QRawFont& Matched) : FFamily(QStringToAnsi(Matched.familyName())) {
  const TSfntTableReader table = [&Matched](const char* Tag) { return Matched.fontTable(Tag).toStdString(); };
  FTables = ReadSfntTables(table);
  // What the file is, not what was asked: a family without a bold file answers its regular
  // one (the font matcher may only promise to embolden it).
  FBold = FTables.WeightClass >= 600 || (FTables.MacStyle & 0x01) != 0;
  FItalic = (FTables.FsSelection & 0x0201) != 0 || (FTables.MacStyle & 0x02) != 0;
  const std::string data = AssembleSfnt(table);
  FFontData = QByteArray(data.data(), static_cast<qsizetype>(data.size()));
  MapAnsiGlyphs(Matched);
  if (FTables.Boxes.empty()) MeasureBoxesFromOutlines();
}

void TTypeface::MapAnsiGlyphs(const QRawFont& Matched) {
  for (int code = 0; code < 256; ++code) {
    const QChar ch(static_cast<char16_t>(AnsiCharToUnicode(static_cast<uint8_t>(code))));
    quint32 glyph = 0;
    int count = 1;
    if (!Matched.glyphIndexesForChars(&ch, 1, &glyph, &count) || count != 1) glyph = 0;
    FGlyphs[code] = glyph;
  }
}

// Fonts with PostScript outlines have no glyf table: ask the outlines for the boxes instead,
// at one pixel per design unit.
void TTypeface::MeasureBoxesFromOutlines() {
  const QRawFont design = CreateRawFont(FTables.UnitsPerEm);
  const size_t count = FTables.Advances.size();
  FTables.Boxes.resize(count);
  for (size_t g = 0; g < count; ++g) {
    const QRectF box = design.boundingRect(static_cast<quint32>(g));
    if (box.isEmpty()) continue;
    FTables.Boxes[g] = TGlyphBox{qRound(box.left()), qRound(box.right()), false};
  }
}

bool TTypeface::FixedPitch() const {
  const bool panoseMonospaced = FTables.Panose[0] == 2 && FTables.Panose[3] == 9;
  return FTables.IsFixedPitch || panoseMonospaced;
}

uint8_t TTypeface::FontFamily() const {
  if (FixedPitch()) return FF_MODERN;
  const uint8_t* panose = FTables.Panose;
  if (panose[0] == 2 && panose[1] >= 11 && panose[1] <= 15) return FF_SWISS;  // sans serif styles
  if (panose[0] == 2 && panose[1] >= 2 && panose[1] <= 10) return FF_ROMAN;   // serif styles
  if (panose[0] == 3) return FF_SCRIPT;
  if (panose[0] == 4 || panose[0] == 5) return FF_DECORATIVE;
  switch (FTables.FamilyClass >> 8) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
      return FF_ROMAN;
    case 8:
      return FF_SWISS;
    case 9:
    case 12:
      return FF_DECORATIVE;
    case 10:
      return FF_SCRIPT;
    default:
      return FF_DONTCARE;
  }
}

std::vector<uint8_t> TTypeface::CharSets() const {
  std::vector<uint8_t> charSets;
  for (const TCodePageCharSet& c : CodePageCharSets)
    if (FTables.CodePageRange1 & (uint32_t{1} << c.Bit)) charSets.push_back(c.CharSet);
  return charSets;
}

QRawFont TTypeface::CreateRawFont(double PixelSize) const {
  if (FFontData.isEmpty()) return QRawFont();
  return QRawFont(FFontData, PixelSize, QFont::PreferNoHinting);
}
