// Shared helpers of the render library.
#include "render/LxRender_Utils.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/FileUtils.h"
#include "platform/Font.h"
#include "platform/MathUtils.h"
#include "platform/RasterCanvas.h"
#include "platform/StringUtils.h"

namespace {

// Output precision that asks for outline fonts only: only they turn.
constexpr uint8_t OUT_TT_ONLY_PRECIS = 7;

bool IsSeparator(char C) {
  return C == '/' || C == '\\';
}

std::string FourDigits(int Number) {
  char digits[16];
  std::snprintf(digits, sizeof(digits), "%.4d", Number);
  return digits;
}

}  // namespace

TSize TextExtent(TFont* Font, const std::string& Text) {
  if (Text.empty()) return TSize{0, 0};
  // The screen is taken to have 96 pixels per inch.
  TFont screenFont;
  screenFont.Assign(Font);
  screenFont.SetPixelsPerInch(96);
  screenFont.SetSize(Font->Size());
  return screenFont.Handle()->TextExtent(Text);
}

std::string ClipText(const std::string& Text, double Width, double TextWidth) {
  if (Width >= TextWidth || TextWidth <= 0) return Text;
  const double keep = std::ceil(Width * static_cast<double>(Text.size()) / TextWidth);
  if (keep <= 0) return std::string();
  return Text.substr(0, static_cast<size_t>(keep));
}

std::string JustifyText(const std::string& Text, double Width, TFont* Font) {
  std::string t = Trim(Text);
  std::string gap = " ";
  const auto width = [Font](const std::string& S) { return static_cast<double>(TextExtent(Font, S).cx); };
  if (!(width(t) < Width) || t.find(gap) == std::string::npos) return t;
  // Each round widens every gap by one space, until the text is at least Width wide.
  while (width(t) < Width) {
    const double before = width(t);
    t = StringReplace(t, gap, gap + " ", {rfReplaceAll});
    gap += " ";
    if (!(width(t) > before)) return t;  // a font whose space has no width never gets there
  }
  const double excess = width(t) - Width;
  const double space = width(" ");
  const int remove = space > 0 ? static_cast<int>(std::ceil(excess / space)) : 0;
  gap.pop_back();
  // The leftmost full-width gaps give back one space each.
  for (int i = 0; i < remove; ++i) {
    const size_t at = t.find(gap + " ");
    if (at == std::string::npos) break;
    t.erase(at + gap.size(), 1);
  }
  return t;
}

std::string ColorToHex(TColor Color) {
  const TColor rgb = ColorToRGB(Color);
  char text[8];
  std::snprintf(text, sizeof(text), "%.2X%.2X%.2X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
  return text;
}

std::string MakePageFileName(const std::string& FileName, const std::string& Extension, int Number) {
  const std::string base = ChangeFileExt(ExtractFileName(FileName), "");
  const std::string ext = Extension.find('.') == std::string::npos ? "." + Extension : Extension;
  if (Number < 0) return base + ext;
  return base + FourDigits(Number) + ext;
}

std::string MakeImageFileName(const std::string& FileName, const std::string& Extension, int Number) {
  return ChangeFileExt(ExtractFileName(FileName), "") + "_I" + FourDigits(Number) + "." + Extension;
}

std::string IncludeTrailingSeparator(const std::string& Folder) {
  if (!Folder.empty() && IsSeparator(Folder.back())) return Folder;
  return Folder + PathDelim;
}

std::string ResolveFolder(const std::string& Name, const std::string& BaseFolder) {
  if (Name.empty()) return BaseFolder;
  std::string folder = ExtractFilePath(Name);
  if (folder.empty() || !IsSeparator(folder.front())) folder = IncludeTrailingSeparator(BaseFolder) + folder;
  folder = IncludeTrailingSeparator(ExpandFileName(folder));
  ForceDirectories(folder);
  return folder;
}

std::string ReplaceAllIgnoreCase(const std::string& Text, const std::string& Old, const std::string& New) {
  if (Old.empty()) return Text;
  // Windows-1252 is one byte per character, so upper-cased copies keep every position.
  const std::string upperText = AnsiUpperCase(Text);
  const std::string upperOld = AnsiUpperCase(Old);
  std::string result;
  size_t from = 0;
  for (size_t at = upperText.find(upperOld); at != std::string::npos; at = upperText.find(upperOld, from)) {
    result.append(Text, from, at - from);
    result += New;
    from = at + Old.size();
  }
  result.append(Text, from, std::string::npos);
  return result;
}

void DeleteFileQuietly(const std::string& FileName) {
  try {
    if (FileExists(FileName)) DeleteFile(FileName);
  } catch (...) {
    // Removing what could not be finished must never fail visibly.
  }
}

void StretchGraphic(TGraphic* Graphic, TBitmap* Target) {
  TBitmap own(Graphic->Width(), Graphic->Height());
  own.Canvas()->Draw(0, 0, Graphic);
  Target->Canvas()->StretchDraw(TRect{0, 0, Target->Width(), Target->Height()}, &own);
}

void SetRotatedFont(TCanvas* Canvas, int Angle) {
  TLogFont logFont = Canvas->Font()->LogFont();
  logFont.lfEscapement = Angle * 10;
  logFont.lfOrientation = Angle * 10;
  logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  Canvas->SelectFont(CreateFontIndirect(logFont));
}

TLxRotatedGeometry RotatedTextGeometry(TCanvas* Canvas, int Angle, const std::string& Text) {
  // The angle folded into a quarter turn.
  int folded;
  if (Angle < 90) {
    folded = 90 - Angle;
  } else if (Angle < 180) {
    folded = Angle - 90;
  } else if (Angle < 270) {
    folded = 270 - Angle;
  } else {
    folded = Angle - 270;
  }
  const double c = folded * std::numbers::pi / 180.0;
  const TSize extent = Canvas->TextExtent(Text);
  const double w = extent.cx;
  const double h = extent.cy;
  const int a = static_cast<int>(Round(std::sin(c) * w));
  const int b = static_cast<int>(Round(std::cos(c) * h));
  const int d = static_cast<int>(Round(w * std::cos(c)));
  const int e = static_cast<int>(Round(h * std::sin(c)));
  TLxRotatedGeometry geometry;
  geometry.Width = a + b;
  geometry.Height = d + e;
  if (Angle < 90) {
    geometry.Origin = TPoint{0, d};
  } else if (Angle < 180) {
    geometry.Origin = TPoint{a, d + e};
  } else if (Angle < 270) {
    geometry.Origin = TPoint{a + b, e};
  } else {
    geometry.Origin = TPoint{b, 0};
  }
  return geometry;
}

void DrawRotatedText(const std::string& Text, int Angle, TBitmap* Bitmap, int& X, int& Y) {
  TCanvas* canvas = Bitmap->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  SetRotatedFont(canvas, Angle);
  const TLxRotatedGeometry geometry = RotatedTextGeometry(canvas, Angle, Text);
  Bitmap->SetSize(geometry.Width, geometry.Height);
  Bitmap->SetTransparent(true);
  canvas->SetBkMode(TRANSPARENT);
  canvas->TextOut(geometry.Origin.X, geometry.Origin.Y, Text);
  X -= geometry.Origin.X;
  Y -= geometry.Origin.Y;
}
