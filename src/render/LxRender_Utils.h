#pragma once
// Small shared pieces of the render library: file names of multi-file output, text measured
// on the screen (96 pixels per inch), fitting and justifying text, colour text, folders,
// quiet deletion, stretching pictures and rotated text in bitmaps. Texts are Windows-1252
// byte strings; file names are UTF-8.
#include <string>

#include "platform/Color.h"
#include "platform/Types.h"

class TBitmap;
class TCanvas;
class TFont;
class TGraphic;

// Extent of Text in Font on the screen device (0 by 0 for an empty text).
TSize TextExtent(TFont* Font, const std::string& Text);
// When Width is less than TextWidth, the first ceil(Width × length ÷ TextWidth) characters;
// otherwise Text unchanged.
std::string ClipText(const std::string& Text, double Width, double TextWidth);
// Text without surrounding blanks, its gaps widened space by space until it measures Width
// pixels in Font (the leftmost gaps take the spaces that do not divide evenly). A text
// without spaces, or already as wide, comes back trimmed only.
std::string JustifyText(const std::string& Text, double Width, TFont* Font);
// Six upper-case hexadecimal digits, red first (system colours are resolved).
std::string ColorToHex(TColor Color);
// FileName without folder and extension, then Number with at least four digits (none when
// Number < 0), then Extension (a "." is put in front when it has none).
std::string MakePageFileName(const std::string& FileName, const std::string& Extension, int Number);
// "<base of FileName>_I<Number, four digits>.<Extension>".
std::string MakeImageFileName(const std::string& FileName, const std::string& Extension, int Number);
// Folder with a separator at its end.
std::string IncludeTrailingSeparator(const std::string& Folder);
// Name empty: BaseFolder. Otherwise the folder part of Name taken relative to BaseFolder (an
// absolute one stays), with a trailing separator; the folder is created with every missing
// level.
std::string ResolveFolder(const std::string& Name, const std::string& BaseFolder);
// Every occurrence of Old, compared without regard to letter case, replaced by New from left
// to right; replaced parts are not scanned again; an empty Old changes nothing.
std::string ReplaceAllIgnoreCase(const std::string& Text, const std::string& Old, const std::string& New);
// Deletes the file if it exists; every error is ignored.
void DeleteFileQuietly(const std::string& FileName);
// Draws Graphic at its own size into a temporary bitmap and stretches that over the whole
// of Target.
void StretchGraphic(TGraphic* Graphic, TBitmap* Target);

// Rotated text. Angles are whole degrees counter-clockwise, 0..359.
struct TLxRotatedGeometry {
  int Width = 0;  // the box the turned text needs
  int Height = 0;
  TPoint Origin;  // where the text's own origin lies inside the box
};
// Selects into Canvas its font turned by Angle (escapement in tenths of a degree).
void SetRotatedFont(TCanvas* Canvas, int Angle);
// The box and origin of Text turned by Angle in the canvas font.
TLxRotatedGeometry RotatedTextGeometry(TCanvas* Canvas, int Angle, const std::string& Text);
// Sizes Bitmap to the box of Text turned by Angle, draws the text into it (transparent
// background) and moves X and Y by the origin, so that (X, Y) becomes the bitmap's top-left
// corner for a text whose origin was at (X, Y).
void DrawRotatedText(const std::string& Text, int Angle, TBitmap* Bitmap, int& X, int& Y);
