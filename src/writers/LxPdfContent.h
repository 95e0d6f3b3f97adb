#pragma once
// The content stream of one PDF page: the page background, text runs with their font,
// character spacing, rotation, underline and strikeout, lines, rectangles, rounded
// rectangles, ellipses, arcs, chords and pies as path operators, placed images and clipped
// text. Positions arrive in inches (shapes) or in pixels at 96 per inch (text runs), both
// from the top-left corner of the page; the PDF page has its origin at the bottom left, so a
// vertical position y becomes the page height in points minus y x 72.
#include <string>

#include "platform/Brush.h"
#include "platform/Color.h"
#include "platform/Pen.h"
#include "platform/Types.h"

class TLxFontInfo;

// The pen a shape is stroked with; Width in device pixels at 96 per inch.
struct TLxPdfPen {
  TPenStyle Style = psSolid;
  double Width = 1;
  TColor Color = clBlack;
};

// The brush a shape is filled with.
struct TLxPdfBrush {
  bool Clear = false;
  TColor Color = clWhite;
};

// One text run as the page content needs it. X (left end), Y (baseline) and Width are in
// pixels at 96 per inch from the top-left corner of the page.
struct TLxPdfTextRun {
  std::string Text;
  int FontIndex = 0;  // position in the document's font list: resource /F<index>
  int FontSize = 0;   // whole points
  TColor Color = clBlack;
  bool Underline = false;
  bool StrikeOut = false;
  int Alignment = 0;  // 0 left, 1 right, 2 centred, 3 justified
  double X = 0;
  double Y = 0;
  double Width = 0;
  int Angle = 0;  // degrees counter-clockwise, 0..359
};

class TLxPdfContent {
public:
  // Empties the content for a page of PageWidth by PageHeight inches.
  void BeginPage(double PageWidth, double PageHeight);
  const std::string& Bytes() const { return FContent; }
  // Page size in points.
  double PageWidthPoints() const { return FPageWidth; }
  double PageHeightPoints() const { return FPageHeight; }

  // Inches from the page's top-left corner to PDF points (origin bottom left); a page of
  // height 0 keeps y x 72.
  double X(double Inches) const { return Inches * 72.0; }
  double Y(double Inches) const { return FPageHeight == 0 ? Inches * 72.0 : FPageHeight - Inches * 72.0; }

  // The whole page filled with Color, inside its own q/Q pair.
  void Background(TColor Color);
  // The box Left, Top (PDF vertical position of its top edge), Width, Height in points
  // filled with the tiling pattern /P1.
  void BackgroundPattern(double Left, double Top, double Width, double Height);

  // A text object for Run in the font Font (the run's entry in the font list). The run is
  // stretched to its width by character spacing.
  void TextRun(const TLxPdfTextRun& Run, const TLxFontInfo& Font);
  // Text clipped to Rect (points from the page's top-left corner). Without ClipToRect the
  // run is written between q and Q without a clipping path.
  void TextRect(const TRect& Rect, bool ClipToRect, const TLxPdfPen& Pen, const TLxPdfBrush& Brush,
                const TLxPdfTextRun& Run, const TLxFontInfo& Font);

  // Shapes; coordinates in inches.
  void Line(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X0, double Y0, double X1, double Y1);
  void Rectangle(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double Left, double Top, double Width,
                 double Height);
  void RoundRect(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2, double Y2,
                 double CornerWidth, double CornerHeight);
  void Ellipse(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2, double Y2);
  // (X1, Y1)-(X2, Y2) bounds the circle, (X3, Y3) and (X4, Y4) fix the start and end radii.
  void Arc(const TLxPdfPen& Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
           double Y4);
  void Chord(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2, double Y2,
             double X3, double Y3, double X4, double Y4);
  void Pie(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2, double Y2,
           double X3, double Y3, double X4, double Y4);

  // Image /Img<ImageNumber> with its top-left corner at (X, Y) and Width by Height, inches.
  void PlaceImage(int ImageNumber, double X, double Y, double Width, double Height);

  // The pieces the shapes are made of (public so that their spelling can be checked).
  static std::string DashPiece(TPenStyle Style);
  static std::string PenPiece(const TLxPdfPen& Pen);
  static std::string FillPiece(const TLxPdfBrush& Brush);
  static std::string PaintPiece(const TLxPdfPen& Pen, const TLxPdfBrush& Brush);
  // A cubic Bezier segment; written with "y" when the second control point is the end.
  static std::string CurvePiece(double X1, double Y1, double X2, double Y2, double X3, double Y3);

private:
  std::string RectanglePath(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double Left, double Top,
                            double Width, double Height) const;
  std::string ArcPath(const TLxPdfPen& Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                      double X4, double Y4, double& CenterX, double& CenterY) const;
  std::string SpacingOperator(double Spacing);

  std::string FContent;
  double FPageWidth = 0;
  double FPageHeight = 0;
  // The character spacing (Tc) in force at this point of the content stream.
  double FCharSpacing = 0;
};
