#pragma once
// TCanvas: a GDI-like device context. The base class keeps the drawing state (pen, brush,
// font, pen position, text alignment and colours, background mode, clipping) and the
// drawing vocabulary; each kind of device (a raster image, a metafile, a printer page)
// implements the primitives. Pixel rules are those of the platform's device contexts:
// shapes exclude their right and bottom edge, lines exclude their last pixel.
//
// The canvas objects are coupled to the device state as in the VCL: changing Font() sets
// the text colour to the font's colour and selects Font()->Handle() again (when it is next
// needed); changing Brush() sets the background from the brush (a solid brush: OPAQUE with
// the brush colour; any other brush: TRANSPARENT). SetTextColor, SetBkColor, SetBkMode and
// SelectFont change the device state directly, until the next change of those objects.
#include <memory>
#include <string>
#include <vector>

#include "platform/Brush.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/FontMetrics.h"
#include "platform/Object.h"
#include "platform/Pen.h"
#include "platform/Types.h"

class TGraphic;
class TBitmap;

enum TFillStyle { fsSurface, fsBorder };
enum TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmBlackness, cmWhiteness };

// Text alignment flags (SetTextAlign): one horizontal and one vertical choice.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr unsigned TA_UPDATECP = 1;
// Background modes (SetBkMode).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 2;
constexpr unsigned ETO_CLIPPED = 4;

class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;
  std::string ClassName() const override { return "TCanvas"; }

  // --- Drawing objects (owned by the canvas) ---
  TFont* Font() const { return FFont.get(); }
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(const TPoint& Value) { FPenPos = Value; }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }

  // --- Device state, as on a device context ---
  // Selects a logical font for text output, returning the one selected before (never null).
  // Changing Font() selects Font()->Handle() again; so does selecting nullptr.
  std::shared_ptr<TLogicalFont> SelectFont(std::shared_ptr<TLogicalFont> Font);
  std::shared_ptr<TLogicalFont> SelectedFont();
  unsigned TextAlign() const { return FTextAlign; }
  unsigned SetTextAlign(unsigned Align);
  TColor TextColor() const { return FTextColor; }
  TColor SetTextColor(TColor Color);
  TColor BkColor() const { return FBkColor; }
  TColor SetBkColor(TColor Color);
  int BkMode() const { return FBkMode; }
  int SetBkMode(int Mode);
  TTextMetric GetTextMetrics();
  TOutlineTextMetric GetOutlineTextMetrics();
  // Device resolution and size in pixels.
  virtual int PixelsPerInchX() const = 0;
  virtual int PixelsPerInchY() const = 0;
  virtual TSize DeviceSize() const = 0;
  // Number of colours the device shows (2 for monochrome devices).
  virtual int NumColors() const { return 1 << 24; }
  // Drawing is clipped to this rectangle (device pixels); an empty rectangle clips nothing.
  // Without a clip rectangle ClipRect answers the whole device.
  TRect ClipRect() const;
  void SetClipRect(const TRect& Rect);
  void ClearClipRect();

  // --- Lines and shapes ---
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  // Arcs run counter-clockwise from the ray through (X3, Y3) to the ray through (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Fills with the brush (right and bottom edge excluded).
  void FillRect(const TRect& Rect);
  // A one-pixel frame painted with the brush.
  void FrameRect(const TRect& Rect);
  // The focus frame: every other pixel of a one-pixel frame inverted, so drawing it twice
  // removes it.
  void DrawFocusRect(const TRect& Rect);
  // fsBorder: fills with the brush from (X, Y) up to pixels of Color; fsSurface: fills the
  // pixels of Color connected to (X, Y). Pixels connect through their four neighbours.
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
  // A pixel outside the device or the clip rectangle reads as -1 (the platform's
  // CLR_INVALID, 0xFFFFFFFF) and is not written.
  TColor Pixels(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);

  // --- Pictures (each graphic draws itself through StretchBitmap or its own records) ---
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Copies Source's SourceRect into DestRect with CopyMode.
  void CopyRect(const TRect& DestRect, TCanvas* Source, const TRect& SourceRect);
  // Copies Bitmap's SourceRect into DestRect, pixels of Color replaced by the brush.
  void BrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color);
  // Stretches SourceRect of Bitmap over DestRect (nearest pixel) combining it with the
  // destination by Mode (cmSrcAnd: bitwise AND). A rectangle with Right < Left (or Bottom <
  // Top) mirrors the picture and, as on the platform, covers the pixels Right + 1 .. Left.
  void StretchBitmap(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TCopyMode Mode,
                     TColor TransparentColor = clNone);

  // --- Text ---
  // Text with the canvas Font at (X, Y) by the current alignment; the brush decides the
  // background (clear: transparent). PenPos moves to (X + TextWidth(Text), Y).
  void TextOut(int X, int Y, const std::string& Text);
  // Text clipped to Rect; Rect is filled with the background colour first unless the brush
  // is clear.
  void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
  // The device-level call: the selected logical font, text colour, background mode and
  // colour and alignment as they are. Clip is used with ETO_CLIPPED and ETO_OPAQUE. With
  // TA_UPDATECP the text starts at PenPos, and PenPos moves along the text.
  void ExtTextOut(int X, int Y, unsigned Options, const TRect* Clip, const std::string& Text);
  TSize GetTextExtentPoint(const std::string& Text);

protected:
  // Primitives a device implements. Coordinates are final device pixels.
  virtual void DoLine(const TPoint& From, const TPoint& To) = 0;
  virtual void DoPolyline(const std::vector<TPoint>& Points) = 0;
  virtual void DoPolygon(const std::vector<TPoint>& Points) = 0;
  virtual void DoRectangle(const TRect& Box) = 0;
  virtual void DoEllipse(const TRect& Box) = 0;
  virtual void DoRoundRect(const TRect& Box, int CornerWidth, int CornerHeight) = 0;
  enum TArcKind { akArc, akChord, akPie };
  virtual void DoArc(TArcKind Kind, const TRect& Box, const TPoint& Start, const TPoint& End) = 0;
  virtual void DoFillRect(const TRect& Rect, bool UseBrush, TColor Color) = 0;
  virtual void DoInvertFrame(const TRect& Rect) = 0;  // dotted XOR frame of DrawFocusRect
  virtual void DoFloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) = 0;
  virtual TColor DoGetPixel(int X, int Y) const = 0;
  virtual void DoSetPixel(int X, int Y, TColor Color) = 0;
  // TransparentColor clNone: every pixel is drawn; otherwise pixels of that colour are not.
  virtual void DoStretchBitmap(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect,
                               TCopyMode Mode, TColor TransparentColor) = 0;
  virtual void DoCopyRect(const TRect& DestRect, TCanvas* Source, const TRect& SourceRect,
                          TCopyMode Mode) = 0;
  virtual void DoBrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) = 0;
  virtual void DoTextOut(int X, int Y, unsigned Options, const TRect* Clip, const std::string& Text) = 0;
  // Called after the clip rectangle changed.
  virtual void ClipChanged() {}
  bool HasClipRect() const { return FHasClip; }

private:
  void FontChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::shared_ptr<TLogicalFont> FSelectedFont;  // null: Font()->Handle() is selected when needed
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  unsigned FTextAlign = TA_LEFT | TA_TOP;
  TColor FTextColor = clBlack;
  TColor FBkColor = clWhite;
  int FBkMode = OPAQUE;
  TRect FClipRect;
  bool FHasClip = false;
};
