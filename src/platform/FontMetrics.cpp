#include "platform/FontMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/FontFile.h"
#include "platform/FontSubstitution.h"
#include "platform/Typeface.h"

// Pixel values are design units scaled to the em size and rounded half away from zero, as the
// platform's rasteriser reports its unhinted metrics. Widths come from the design advances
// (no hinting), so a text measures the same at every size up to scaling.

namespace {

// lfHeight 0 asks for the platform's default size: 12 points at 96 pixels per inch.
constexpr double DefaultPixelSize = 16;
constexpr size_t MaxFaceNameLength = 31;

int Scaled(double DesignUnits, double Scale) {
  return static_cast<int>(std::lround(DesignUnits * Scale));
}

// lfHeight < 0: the em height; lfHeight > 0: the cell height (win ascent + win descent).
double PixelSizeFor(int lfHeight, const TSfntTables& t) {
  if (lfHeight < 0) return -static_cast<double>(lfHeight);
  const int cell = t.WinAscent + t.WinDescent;
  if (lfHeight > 0 && cell > 0) return static_cast<double>(lfHeight) * t.UnitsPerEm / cell;
  return lfHeight > 0 ? lfHeight : DefaultPixelSize;
}

int RequestedWeight(const TLogFont& lf) {
  return lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
}

std::string RealisedFaceName(const TLogFont& lf, const TTypeface& face) {
  return lf.lfFaceName.empty() ? face.Family() : lf.lfFaceName;
}

// The character set the font is realised in: the one asked for when the file covers it,
// ANSI for DEFAULT_CHARSET and for sets the file lacks.
uint8_t RealisedCharSet(uint8_t Requested, const TTypeface& face) {
  const std::vector<uint8_t> sets = face.CharSets();
  if (std::find(sets.begin(), sets.end(), Requested) != sets.end()) return Requested;
  return 0;
}

std::shared_ptr<const TTypeface> TypefaceFor(const TLogFont& lf) {
  const TFontSubstitute substitute = FindFontSubstitute(lf.lfFaceName, lf.lfPitchAndFamily);
  const bool bold = substitute.ForceBold || RequestedWeight(lf) >= 600;
  return TTypeface::Load(substitute.Family, bold, lf.lfItalic);
}

}  // namespace

namespace {

// The scales from design units to pixels of one realisation.
struct TScales {
  double Y = 1;        // pixels per design unit
  double X = 1;        // the same, horizontally (lfWidth stretches it)
  double Stretch = 1;  // X / Y
};

// lfWidth stretches the font horizontally so that its average width becomes lfWidth.
TScales ScalesFor(const TLogFont& lf, const TSfntTables& t, double PixelSize) {
  TScales s;
  s.Y = PixelSize / t.UnitsPerEm;
  const int naturalAverage = Scaled(t.XAvgCharWidth, s.Y);
  const int requestedAverage = std::abs(lf.lfWidth);
  if (requestedAverage > 0 && naturalAverage > 0)
    s.Stretch = static_cast<double>(requestedAverage) / naturalAverage;
  s.X = s.Y * s.Stretch;
  return s;
}

void SetVerticalMetrics(const TSfntTables& t, double PixelSize, double Scale, TTextMetric& tm) {
  tm.tmAscent = Scaled(t.WinAscent, Scale);
  tm.tmDescent = Scaled(t.WinDescent, Scale);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = tm.tmHeight - static_cast<int>(std::lround(PixelSize));
  // The line gap beyond what the win ascent and descent already cover.
  const int extraGap = t.LineGap - ((t.WinAscent + t.WinDescent) - (t.Ascender - t.Descender));
  tm.tmExternalLeading = std::max(0, Scaled(extraGap, Scale));
}

TTextMetric MakeTextMetric(const TLogFont& lf, const TTypeface& face, double PixelSize, const TScales& s) {
  const TSfntTables& t = face.Tables();
  TTextMetric tm;
  SetVerticalMetrics(t, PixelSize, s.Y, tm);
  tm.tmAveCharWidth = lf.lfWidth != 0 ? std::abs(lf.lfWidth) : Scaled(t.XAvgCharWidth, s.Y);
  tm.tmMaxCharWidth = Scaled(t.AdvanceWidthMax, s.X);
  tm.tmWeight = face.Bold() ? std::max(RequestedWeight(lf), FW_BOLD) : RequestedWeight(lf);
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  // TMPF_FIXED_PITCH set means variable pitch: the platform's historical inversion.
  const uint8_t pitch = face.FixedPitch() ? 0 : TMPF_FIXED_PITCH;
  tm.tmPitchAndFamily = static_cast<uint8_t>(pitch | TMPF_VECTOR | TMPF_TRUETYPE | face.FontFamily());
  tm.tmCharSet = RealisedCharSet(lf.lfCharSet, face);
  return tm;
}

unsigned ScaledSize(int DesignUnits, double Scale, int Minimum) {
  return static_cast<unsigned>(std::max(Minimum, Scaled(DesignUnits, Scale)));
}

void SetOutlineMetrics(const TSfntTables& t, const TScales& s, TOutlineTextMetric& otm) {
  otm.otmEMSquare = static_cast<unsigned>(t.UnitsPerEm);
  otm.otmAscent = Scaled(t.TypoAscender, s.Y);
  otm.otmDescent = Scaled(t.TypoDescender, s.Y);
  otm.otmLineGap = ScaledSize(t.TypoLineGap, s.Y, 0);
  otm.otmsCapEmHeight = ScaledSize(t.CapHeight, s.Y, 0);
  otm.otmsXHeight = ScaledSize(t.XHeight, s.Y, 0);
  otm.otmrcFontBox =
      TRect{Scaled(t.XMin, s.X), Scaled(t.YMax, s.Y), Scaled(t.XMax, s.X), Scaled(t.YMin, s.Y)};
  otm.otmMacAscent = Scaled(t.Ascender, s.Y);
  otm.otmMacDescent = Scaled(t.Descender, s.Y);
  otm.otmMacLineGap = ScaledSize(t.LineGap, s.Y, 0);
  otm.otmItalicAngle = static_cast<int>(std::lround(t.ItalicAngle / 65536.0 * 10));  // 16.16 degrees
  otm.otmsStrikeoutSize = ScaledSize(t.StrikeoutSize, s.Y, 1);
  otm.otmsStrikeoutPosition = Scaled(t.StrikeoutPosition, s.Y);
  otm.otmsUnderscoreSize = static_cast<int>(ScaledSize(t.UnderlineThickness, s.Y, 1));
  otm.otmsUnderscorePosition = Scaled(t.UnderlinePosition, s.Y);
  otm.fsSelection = t.FsSelection;
  otm.fsType = t.FsType;
}

// The font stands in for the face asked for, so it answers to that name; the style is the file's.
void SetNames(const TLogFont& lf, const TTypeface& face, TOutlineTextMetric& otm) {
  const std::string faceName = RealisedFaceName(lf, face);
  otm.otmpFamilyName = faceName;
  otm.otmpFaceName = faceName;
  otm.otmpStyleName = face.Tables().StyleName.empty() ? "Regular" : face.Tables().StyleName;
  otm.otmpFullName = otm.otmpStyleName == "Regular" ? faceName : faceName + " " + otm.otmpStyleName;
}

std::array<int, 256> MakeAdvances(const TTypeface& face, double XScale) {
  std::array<int, 256> advances{};
  for (int code = 0; code < 256; ++code)
    advances[code] = Scaled(face.DesignAdvance(static_cast<uint8_t>(code)), XScale);
  return advances;
}

}  // namespace

TLogicalFont::TLogicalFont(const TLogFont& LogFont) : FLogFont(LogFont) {
  if (FLogFont.lfFaceName.size() > MaxFaceNameLength) FLogFont.lfFaceName.resize(MaxFaceNameLength);
  std::shared_ptr<const TTypeface> face = TypefaceFor(FLogFont);
  FPixelSize = PixelSizeFor(FLogFont.lfHeight, face->Tables());
  const TScales scales = ScalesFor(FLogFont, face->Tables(), FPixelSize);
  FTextMetric = MakeTextMetric(FLogFont, *face, FPixelSize, scales);
  FOutlineTextMetric.otmTextMetrics = FTextMetric;
  SetOutlineMetrics(face->Tables(), scales, FOutlineTextMetric);
  SetNames(FLogFont, *face, FOutlineTextMetric);
  const std::array<int, 256> advances = MakeAdvances(*face, scales.X);
  FAdvances.assign(advances.begin(), advances.end());
  FFile = std::make_unique<TFontFile>(face, FPixelSize, scales.Stretch, advances);
}

TLogicalFont::~TLogicalFont() = default;

int TLogicalFont::CharWidth(uint8_t Code) const {
  return FAdvances[Code];
}

TABC TLogicalFont::CharABCWidths(uint8_t Code) const {
  const TTypeface& face = FFile->Typeface();
  const TGlyphBox box = face.Tables().Box(face.GlyphIndex(Code));
  const int advance = FAdvances[Code];
  if (box.Empty) return TABC{0, 0, advance};
  const double xScale = FPixelSize / face.Tables().UnitsPerEm * FFile->HorizontalScale();
  TABC abc;
  abc.abcA = Scaled(box.XMin, xScale);
  abc.abcB = static_cast<unsigned>(std::max(0, Scaled(box.XMax - box.XMin, xScale)));
  abc.abcC = advance - abc.abcA - static_cast<int>(abc.abcB);
  return abc;
}

TSize TLogicalFont::TextExtent(const std::string& Text) const {
  if (Text.empty()) return TSize{0, 0};
  int width = 0;
  for (char c : Text) width += FAdvances[static_cast<uint8_t>(c)];
  return TSize{width, FTextMetric.tmHeight};
}

namespace {

auto LogFontKey(const TLogFont& lf) {
  return std::make_tuple(lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight, lf.lfItalic,
                         lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision, lf.lfClipPrecision,
                         lf.lfQuality, lf.lfPitchAndFamily, lf.lfFaceName.substr(0, MaxFaceNameLength));
}
using TLogFontKey = decltype(LogFontKey(TLogFont{}));

// Realised fonts are immutable, so identical requests share one. Fonts nobody holds any
// more are dropped once the cache grows past a few hundred entries.
constexpr size_t MaxCachedFonts = 256;

void DropUnusedFonts(std::map<TLogFontKey, std::shared_ptr<TLogicalFont>>& cache) {
  for (auto it = cache.begin(); it != cache.end();)
    it = it->second.use_count() == 1 ? cache.erase(it) : std::next(it);
}

}  // namespace

std::shared_ptr<TLogicalFont> CreateFontIndirect(const TLogFont& LogFont) {
  static std::mutex mutex;
  static std::map<TLogFontKey, std::shared_ptr<TLogicalFont>> cache;
  std::lock_guard lock(mutex);
  auto& entry = cache[LogFontKey(LogFont)];
  if (entry) return entry;
  entry = std::make_shared<TLogicalFont>(LogFont);
  std::shared_ptr<TLogicalFont> font = entry;
  if (cache.size() > MaxCachedFonts) DropUnusedFonts(cache);
  return font;
}

std::vector<TFontFace> EnumFontFaces(const std::string& FamilyName) {
  const TFontSubstitute substitute = FindFontSubstitute(FamilyName, DEFAULT_PITCH);
  std::vector<TFontFace> faces;
  for (int style = 0; style < 4; ++style) {
    const bool bold = (style & 1) != 0;
    const bool italic = (style & 2) != 0;
    std::shared_ptr<const TTypeface> face = TTypeface::Load(substitute.Family, bold, italic);
    // A family without a bold or italic file has no such face to report.
    if (face->Bold() != bold || face->Italic() != italic) continue;
    const uint8_t pitch = face->FixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    for (uint8_t charSet : face->CharSets())
      faces.push_back(
          TFontFace{FamilyName, charSet, static_cast<uint8_t>(pitch | face->FontFamily()), bold, italic});
  }
  return faces;
}

std::vector<std::string> EnumFontFamilies() {
  std::vector<std::string> names = InstalledFontFamilies();
  const std::vector<std::string> classic = ClassicFontNames();
  names.insert(names.end(), classic.begin(), classic.end());
  return SortedUniqueFontNames(std::move(names));
}
