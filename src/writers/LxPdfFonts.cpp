#include "writers/LxPdfFonts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/FontMetrics.h"
#include "platform/StringUtils.h"
#include "writers/LxPdfObjects.h"
#include "writers/LxPdfSyntax.h"

namespace {

// Fonts are measured at 1000 points on a screen of 96 pixels per inch.
constexpr int MeasureSize = 1000;
constexpr double ScreenPixelsPerInch = 96.0;

// Descriptor flags.
constexpr int pfFixedPitch = 1;
constexpr int pfSerif = 2;
constexpr int pfSymbolic = 4;
constexpr int pfScript = 8;
constexpr int pfNonSymbolic = 32;
constexpr int pfItalic = 64;

// Pixels at 96 per inch to points, whole pixels first: the results are multiples of 72.
int WholeInchPoints(int Pixels) {
  return Pixels / 96 * 72;
}

// A line metric of the 1000-point font scaled to a run of Size points, rounded up.
int ScaledLineMetric(double Pixels, int Size) {
  return static_cast<int>(std::ceil(Pixels / ScreenPixelsPerInch * 72.0 * Size / MeasureSize));
}

int DescriptorFlags(const TTextMetric& tm) {
  int flags = 0;
  // A clear lowest bit of the pitch-and-family byte means fixed pitch.
  if ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0) flags += pfFixedPitch;
  if (tm.tmPitchAndFamily & 0x10) flags += pfSerif;
  if (tm.tmCharSet == SYMBOL_CHARSET)
    flags += pfSymbolic;
  else
    flags += pfNonSymbolic;
  if (tm.tmPitchAndFamily & 0x40) flags += pfScript;
  if (tm.tmItalic) flags += pfItalic;
  return flags;
}

void MeasureWidths(const TLogicalFont& Font, TLxFontInfo& Info) {
  for (int code = PdfFirstChar; code <= PdfLastChar; ++code) {
    const int extent = Font.TextExtent(std::string(1, static_cast<char>(code))).cx;
    Info.Widths[static_cast<size_t>(code - PdfFirstChar)] =
        static_cast<int>(std::nearbyint(extent / ScreenPixelsPerInch * 72.0));
  }
}

void TakeTextMetrics(const TTextMetric& tm, TLxFontInfo& Info) {
  Info.Flags = DescriptorFlags(tm);
  Info.Ascent = WholeInchPoints(tm.tmAscent);
  Info.Descent = WholeInchPoints(-std::abs(tm.tmDescent));
  Info.CapHeight = Info.Ascent;
  Info.AvgWidth = WholeInchPoints(tm.tmAveCharWidth);
  Info.MaxWidth = WholeInchPoints(tm.tmMaxCharWidth);
  Info.Leading = WholeInchPoints(tm.tmExternalLeading);
  Info.FontBBox.Top = Info.Ascent;
  Info.FontBBox.Right = Info.MaxWidth;
  Info.FontBBox.Bottom = Info.Descent;
}

void TakeOutlineMetrics(const TOutlineTextMetric& otm, int Size, TLxFontInfo& Info) {
  Info.ItalicAngle = otm.otmItalicAngle / 10;
  Info.StrikeoutSize = ScaledLineMetric(otm.otmsStrikeoutSize, Size);
  Info.StrikeoutPosition = ScaledLineMetric(otm.otmsStrikeoutPosition, Size);
  Info.UnderlineSize = ScaledLineMetric(otm.otmsUnderscoreSize, Size);
  Info.UnderlinePosition = ScaledLineMetric(otm.otmsUnderscorePosition, Size) - 1;
}

std::string JoinWidths(const TLxFontInfo& Info) {
  std::string text;
  text.reserve(PdfWidthCount * 4);
  for (size_t i = 0; i < Info.Widths.size(); ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(Info.Widths[i]);
  }
  return text;
}

}  // namespace

std::string PdfEncodingName(TPDFFontEncoding Encoding) {
  switch (Encoding) {
    case feMacRomanEncoding:
      return "MacRomanEncoding";
    case feMacExpertEncoding:
      return "MacExpertEncoding";
    case feStandardEncoding:
      return "StandardEncoding";
    case fePDFDocEncoding:
      return "PDFDocEncoding";
    case feWinAnsiEncoding:
    default:
      return "WinAnsiEncoding";
  }
}

double TLxFontInfo::TextWidth(const std::string& Text, int Size) const {
  long long sum = 0;
  for (char c : Text) sum += CharWidth(static_cast<unsigned char>(c));
  return static_cast<double>(sum) * Size / 1000.0;
}

std::string PdfFontKey(const std::string& Name, TFontStyles Style) {
  std::string key;
  key.reserve(Name.size() + 12);
  for (char c : Name)
    if (c != ' ') key += c;
  const bool bold = Style.Contains(fsBold);
  const bool italic = Style.Contains(fsItalic);
  if (bold || italic) {
    key += ',';
    if (bold) key += "Bold";
    if (italic) key += "Italic";
  }
  return key;
}

std::unique_ptr<TLxFontInfo> CreateFontInfo(const TFont& Font, int FontObject, int DescriptorObject) {
  auto info = std::make_unique<TLxFontInfo>();
  info->FontObject = FontObject;
  info->DescriptorObject = DescriptorObject;
  const int size = Font.Size();
  info->StrikeoutSize = size / 20;
  info->StrikeoutPosition = std::abs(Font.Height()) / 5;
  info->UnderlineSize = size / 10;

  // The same face at 1000 points on the 96-pixels-per-inch screen.
  TFont measure;
  measure.SetPixelsPerInch(static_cast<int>(ScreenPixelsPerInch));
  measure.SetName(Font.Name());
  measure.SetCharset(Font.Charset());
  measure.SetPitch(Font.Pitch());
  measure.SetStyle(Font.Style());
  measure.SetSize(MeasureSize);
  const std::shared_ptr<TLogicalFont> handle = measure.Handle();

  MeasureWidths(*handle, *info);
  const TTextMetric& tm = handle->TextMetrics();
  TakeTextMetrics(tm, *info);
  if (tm.tmPitchAndFamily & TMPF_TRUETYPE) TakeOutlineMetrics(handle->OutlineTextMetrics(), size, *info);
  return info;
}

std::string PdfFontObjectBody(const std::string& Key, int Index, const TLxFontInfo& Info,
                              TPDFFontEncoding Encoding) {
  const std::string eol = PdfEol;
  return "/Type /Font" + eol + "/Subtype /TrueType" + eol + "/Name /F" + std::to_string(Index) + eol +
         "/BaseFont /" + PdfEscapeName(Key) + eol + "/Encoding /" + PdfEncodingName(Encoding) + eol +
         "/FirstChar " + std::to_string(PdfFirstChar) + eol + "/LastChar " + std::to_string(PdfLastChar) +
         eol + "/Widths [" + JoinWidths(Info) + "]" + eol + "/FontDescriptor " +
         PdfReference(Info.DescriptorObject);
}

std::string PdfFontDescriptorBody(const std::string& Key, const TLxFontInfo& Info) {
  const std::string eol = PdfEol;
  char bbox[96];
  std::snprintf(bbox, sizeof bbox, "/FontBBox [%d %d %d %d]", Info.FontBBox.Left, Info.FontBBox.Bottom,
                Info.FontBBox.Right, Info.FontBBox.Top);
  // Every line ends with CR LF, the last one too.
  return "/Type /FontDescriptor" + eol + "/FontName /" + PdfEscapeName(Key) + eol + "/Flags " +
         std::to_string(Info.Flags) + eol + bbox + eol + "/Ascent " + std::to_string(Info.Ascent) + eol +
         "/Descent " + std::to_string(Info.Descent) + eol + "/CapHeight " + std::to_string(Info.CapHeight) +
         eol + "/AvgWidth " + std::to_string(Info.AvgWidth) + eol + "/MaxWidth " +
         std::to_string(Info.MaxWidth) + eol + "/StemV " + std::to_string(Info.StemV) + eol +
         "/ItalicAngle " + std::to_string(Info.ItalicAngle) + eol;
}

int TLxPdfFontList::IndexOf(const std::string& Key) const {
  const auto it = FIndex.find(AnsiUpperCase(Key));
  return it == FIndex.end() ? -1 : it->second;
}

int TLxPdfFontList::FontIndex(const TFont& Font, TLxPdfFile& File) {
  const std::string key = PdfFontKey(Font.Name(), Font.Style());
  const int index = IndexOf(key);
  if (index >= 0) return index;
  const int fontObject = File.NewObject();
  const int descriptorObject = File.NewObject();
  return Add(key, CreateFontInfo(Font, fontObject, descriptorObject));
}

int TLxPdfFontList::Add(const std::string& Key, std::unique_ptr<TLxFontInfo> Info) {
  const int index = Count();
  FEntries.push_back({Key, std::move(Info)});
  FIndex.emplace(AnsiUpperCase(Key), index);
  return index;
}

std::string TLxPdfFontList::ResourceEntries() const {
  std::string text;
  for (int i = 0; i < Count(); ++i)
    text += "/F" + std::to_string(i) + " " + PdfReference(Info(i).FontObject) + PdfEol;
  return text;
}

void TLxPdfFontList::WriteObjects(TLxPdfFile& File, TPDFFontEncoding Encoding) {
  for (int i = 0; i < Count(); ++i) {
    const TLxFontInfo& info = Info(i);
    File.WriteObject(info.FontObject, PdfFontObjectBody(Key(i), i, info, Encoding), true);
    File.WriteObject(info.DescriptorObject, PdfFontDescriptorBody(Key(i), info), true);
  }
  Clear();
}

void TLxPdfFontList::Clear() {
  FEntries.clear();
  FIndex.clear();
}
