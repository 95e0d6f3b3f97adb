#include "writers/LxPdfContent.h"

#include <cmath>
#include <numbers>

#include "writers/LxPdfFonts.h"
#include "writers/LxPdfSyntax.h"

namespace {

const std::string Eol = PdfEol;

// 4/3 x (sqrt 2 - 1): the handle length of a quarter ellipse drawn as one cubic curve.
constexpr double EllipseHandle = 0.5522847498307935;

std::string N(double Value) {
  return PdfNumber(Value);
}

double PixelsToPoints(double Pixels) {
  return Pixels / 96.0 * 72.0;
}

double Radians(double Degrees) {
  return Degrees * std::numbers::pi / 180.0;
}

std::string Move(double X, double Y) {
  return N(X) + " " + N(Y) + " m";
}

std::string LineSegment(double X, double Y) {
  return N(X) + " " + N(Y) + " l";
}

// The control values of an ellipse in a box, on both axes (PDF coordinates, y upwards).
struct TEllipseBox {
  double MinX, MaxX, MidX, LeftHandle, RightHandle;
  double MinY, MaxY, MidY, UpperHandle, LowerHandle;

  TEllipseBox(double Xa, double Ya, double Xb, double Yb) {
    MinX = std::min(Xa, Xb);
    MaxX = std::max(Xa, Xb);
    MidX = (MinX + MaxX) / 2;
    LeftHandle = MidX - (MidX - MinX) * EllipseHandle;
    RightHandle = MidX + (MidX - MinX) * EllipseHandle;
    MinY = std::min(Ya, Yb);
    MaxY = std::max(Ya, Yb);
    MidY = (MinY + MaxY) / 2;
    UpperHandle = MidY + (MaxY - MidY) * EllipseHandle;
    LowerHandle = MidY - (MaxY - MidY) * EllipseHandle;
  }
};

// The direction of (Px, Py) seen from (Cx, Cy) in degrees, 0 to 360.
double PointAngle(double Cx, double Cy, double Px, double Py) {
  if (Px > Cx) {
    double angle = std::atan((Py - Cy) / (Px - Cx)) * 180.0 / std::numbers::pi + 360.0;
    if (angle >= 360.0) angle -= 360.0;
    return angle;
  }
  if (Px < Cx) return std::atan((Py - Cy) / (Px - Cx)) * 180.0 / std::numbers::pi + 180.0;
  return Py > Cy ? 90.0 : 270.0;
}

// One circular segment from A0 to A1 degrees (at most 90) as a cubic curve.
std::string ArcSegment(double Cx, double Cy, double R, double A0, double A1) {
  const double t = Radians(A1 - A0) / 2;
  const double k = (1 - std::cos(t)) * 4 / 3 / std::sin(t);
  const double a0 = Radians(A0);
  const double a1 = Radians(A1);
  return TLxPdfContent::CurvePiece(
      Cx - R * (std::cos(a0) - k * std::sin(a0)), Cy - R * (std::sin(a0) + k * std::cos(a0)),
      Cx - R * (std::cos(a1) + k * std::sin(a1)), Cy - R * (std::sin(a1) - k * std::cos(a1)),
      Cx - R * std::cos(a1), Cy - R * std::sin(a1));
}

}  // namespace

void TLxPdfContent::BeginPage(double PageWidth, double PageHeight) {
  FContent.clear();
  FPageWidth = PageWidth * 72.0;
  FPageHeight = PageHeight * 72.0;
  FCharSpacing = 0;
}

// ---- Pieces -------------------------------------------------------------------------------

std::string TLxPdfContent::DashPiece(TPenStyle Style) {
  switch (Style) {
    case psSolid:
      return "[]0";
    case psDash:
      return "[5 2]0";
    case psDot:
      return "[2 2]0";
    case psDashDot:
      return "[5 2 2 2]0";
    case psDashDotDot:
      return "[5 2 2 2 2 2]0";
    default:
      return "";
  }
}

std::string TLxPdfContent::PenPiece(const TLxPdfPen& Pen) {
  std::string dash = DashPiece(Pen.Style);
  if (!dash.empty()) dash += " d" + Eol;
  return dash + N(PixelsToPoints(Pen.Width)) + " w" + Eol + PdfColor(Pen.Color) + " RG";
}

std::string TLxPdfContent::FillPiece(const TLxPdfBrush& Brush) {
  if (Brush.Clear) return "";
  return Eol + "0 w" + Eol + PdfColor(Brush.Color) + " rg";
}

std::string TLxPdfContent::PaintPiece(const TLxPdfPen& Pen, const TLxPdfBrush& Brush) {
  const bool stroke = Pen.Style != psClear;
  if (stroke && !Brush.Clear) return "b";
  if (!Brush.Clear) return "f";
  if (stroke) return "h" + Eol + "S";
  return "";
}

std::string TLxPdfContent::CurvePiece(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
  if (X2 == X3 && Y2 == Y3) return N(X1) + " " + N(Y1) + " " + N(X3) + " " + N(Y3) + " y";
  return N(X1) + " " + N(Y1) + " " + N(X2) + " " + N(Y2) + " " + N(X3) + " " + N(Y3) + " c";
}

// ---- Background ---------------------------------------------------------------------------

void TLxPdfContent::Background(TColor Color) {
  FContent += "q" + Eol + "0 w" + Eol + PdfColor(Color) + " rg" + Eol + N(0) + " " + N(0) + " " +
              N(FPageWidth) + " " + N(FPageHeight) + " re" + Eol + "f" + Eol + "Q" + Eol;
}

void TLxPdfContent::BackgroundPattern(double Left, double Top, double Width, double Height) {
  FContent += "/Pattern cs " + Eol + "/P1 scn" + Eol + N(Left) + " " + N(Top - Height) + " " + N(Width) +
              " " + N(Height) + " re" + Eol + "f" + Eol;
}

// ---- Text ---------------------------------------------------------------------------------

std::string TLxPdfContent::SpacingOperator(double Spacing) {
  // Tc stays in force until changed, so a run without spacing after one with spacing must
  // set it back to 0 explicitly.
  if (Spacing == 0 && FCharSpacing == 0) return "";
  FCharSpacing = Spacing;
  return N(Spacing) + " Tc" + Eol;
}

void TLxPdfContent::TextRun(const TLxPdfTextRun& Run, const TLxFontInfo& Font) {
  double x = PixelsToPoints(Run.X);
  double y = Y(Run.Y / 96.0);
  double width = PixelsToPoints(Run.Width);
  double rise = 0;

  double spacing = 0;
  if (!Run.Text.empty()) {
    spacing = width - Font.TextWidth(Run.Text, Run.FontSize);
    if (spacing != 0) spacing /= static_cast<double>(Run.Text.size());
  }
  const std::string text = PdfEscapeText(Run.Text);

  std::string show;
  if (Run.Angle == 0) {
    show = N(x) + " " + N(y) + " Td (" + text + ") Tj";
  } else {
    const double c = std::cos(Radians(Run.Angle));
    const double s = std::sin(Radians(Run.Angle));
    // The anchor stays where the alignment put it; the run turns about it.
    const double offset = Run.Alignment == 1 ? Run.Width : Run.Alignment == 2 ? Run.Width / 2 : 0;
    y = Y((offset * s + Run.Y) / 96.0);
    x = PixelsToPoints((1 - c) * offset + Run.X);
    width = PixelsToPoints(c * Run.Width);
    rise = PixelsToPoints(s * Run.Width);
    show = N(c) + " " + N(s) + " " + N(-s) + " " + N(c) + " " + N(x) + " " + N(y) + " Tm (" + text + ") Tj";
  }
  show += Eol + "ET";

  const std::string color = PdfColor(Run.Color);
  FContent += "BT" + Eol + color + " rg" + Eol + "/F" + std::to_string(Run.FontIndex) + " " +
              std::to_string(Run.FontSize) + " Tf" + Eol + SpacingOperator(spacing) + show;

  auto decoration = [&](int Size, int Position) {
    FContent += Eol + color + " RG" + Eol + std::to_string(Size) + " w" + Eol + N(x) + " " + N(y + Position) +
                " m" + Eol + N(x + width) + " " + N(y + Position + rise) + " l" + Eol + "S";
  };
  if (Run.Underline) decoration(Font.UnderlineSize, Font.UnderlinePosition);
  if (Run.StrikeOut) decoration(Font.StrikeoutSize, Font.StrikeoutPosition);
  FContent += Eol;
}

void TLxPdfContent::TextRect(const TRect& Rect, bool ClipToRect, const TLxPdfPen& Pen,
                             const TLxPdfBrush& Brush, const TLxPdfTextRun& Run, const TLxFontInfo& Font) {
  FContent += "q" + Eol;
  if (ClipToRect)
    FContent += RectanglePath(Pen, Brush, Rect.Left / 72.0, Rect.Top / 72.0, (Rect.Right - Rect.Left) / 72.0,
                              (Rect.Bottom - Rect.Top) / 72.0) +
                Eol + "W n" + Eol;
  // Q restores the spacing in force before q.
  const double spacingBefore = FCharSpacing;
  TextRun(Run, Font);
  FCharSpacing = spacingBefore;
  FContent += "Q" + Eol;
}

// ---- Lines and rectangles -----------------------------------------------------------------

void TLxPdfContent::Line(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X0, double Y0, double X1,
                         double Y1) {
  FContent += "q" + Eol + PenPiece(Pen) + Eol + N(X(X0)) + " " + N(Y(Y0)) + " m" + Eol + N(X(X1)) + " " +
              N(Y(Y1)) + " l" + Eol + PaintPiece(Pen, Brush) + Eol + "Q" + Eol;
}

std::string TLxPdfContent::RectanglePath(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double Left,
                                         double Top, double Width, double Height) const {
  return PenPiece(Pen) + Eol + N(X(Left)) + " " + N(Y(Top)) + " " + N(Width * 72.0) + " " +
         N(-Height * 72.0) + " re" + FillPiece(Brush);
}

void TLxPdfContent::Rectangle(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double Left, double Top,
                              double Width, double Height) {
  FContent += "q" + Eol + RectanglePath(Pen, Brush, Left, Top, Width, Height) + Eol + PaintPiece(Pen, Brush) +
              Eol + "Q" + Eol;
}

void TLxPdfContent::RoundRect(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2,
                              double Y2, double CornerWidth, double CornerHeight) {
  // The corner ellipse at the top-left corner, carried to the other corners by dx and dy.
  const TEllipseBox e(X(X1), Y(Y1), X(X1 + CornerWidth), Y(Y1 + CornerHeight));
  const double dx = (X2 - X1 - CornerWidth) * 72.0;
  const double dy = (Y2 - Y1 - CornerHeight) * 72.0;
  std::string path = PenPiece(Pen);
  path += Eol + Move(e.MidX, e.MaxY);
  path += Eol + LineSegment(e.MidX + dx, e.MaxY);
  path += Eol + CurvePiece(e.RightHandle + dx, e.MaxY, e.MaxX + dx, e.UpperHandle, e.MaxX + dx, e.MidY);
  path += Eol + LineSegment(e.MaxX + dx, e.MidY - dy);
  path += Eol + CurvePiece(e.MaxX + dx, e.LowerHandle - dy, e.RightHandle + dx, e.MinY - dy, e.MidX + dx,
                           e.MinY - dy);
  path += Eol + LineSegment(e.MidX, e.MinY - dy);
  path += Eol + CurvePiece(e.LeftHandle, e.MinY - dy, e.MinX, e.LowerHandle - dy, e.MinX, e.MidY - dy);
  path += Eol + LineSegment(e.MinX, e.MidY);
  path += Eol + CurvePiece(e.MinX, e.UpperHandle, e.LeftHandle, e.MaxY, e.MidX, e.MaxY);
  FContent += "q" + Eol + path + FillPiece(Brush) + Eol + PaintPiece(Pen, Brush) + Eol + "Q" + Eol;
}

// ---- Curved shapes ------------------------------------------------------------------------

void TLxPdfContent::Ellipse(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2,
                            double Y2) {
  const TEllipseBox e(X(X1), Y(Y1), X(X2), Y(Y2));
  std::string path = PenPiece(Pen) + FillPiece(Brush) + Eol + Move(e.MidX, e.MaxY);
  // Clockwise from the top.
  path += Eol + CurvePiece(e.RightHandle, e.MaxY, e.MaxX, e.UpperHandle, e.MaxX, e.MidY);
  path += Eol + CurvePiece(e.MaxX, e.LowerHandle, e.RightHandle, e.MinY, e.MidX, e.MinY);
  path += Eol + CurvePiece(e.LeftHandle, e.MinY, e.MinX, e.LowerHandle, e.MinX, e.MidY);
  path += Eol + CurvePiece(e.MinX, e.UpperHandle, e.LeftHandle, e.MaxY, e.MidX, e.MaxY);
  FContent += "q" + Eol + path + Eol + PaintPiece(Pen, Brush) + Eol + "Q" + Eol;
}

std::string TLxPdfContent::ArcPath(const TLxPdfPen& Pen, double X1, double Y1, double X2, double Y2,
                                   double X3, double Y3, double X4, double Y4, double& CenterX,
                                   double& CenterY) const {
  const double left = X(X1), top = Y(Y1), right = X(X2), bottom = Y(Y2);
  CenterX = (left + right) / 2;
  CenterY = (top + bottom) / 2;
  // The arc is circular: the box height plays no part.
  const double r = std::abs(right - left) / 2;
  double start = PointAngle(CenterX, CenterY, X(X3), Y(Y3)) + 180.0;
  double end = PointAngle(CenterX, CenterY, X(X4), Y(Y4)) + 180.0;
  while (end < start) end += 360.0;

  std::string path = PenPiece(Pen) + Eol + N(CenterX - std::cos(Radians(start)) * r) + " " +
                     N(CenterY - std::sin(Radians(start)) * r) + " m";
  while (end - start > 90.0) {
    path += Eol + ArcSegment(CenterX, CenterY, r, start, start + 90.0);
    start += 90.0;
  }
  if (start != end) path += Eol + ArcSegment(CenterX, CenterY, r, start, end);
  return path;
}

// "q" gets its own line: with a clear pen the path would start with a number, and "q" and
// that number would run together into one token.
void TLxPdfContent::Arc(const TLxPdfPen& Pen, double X1, double Y1, double X2, double Y2, double X3,
                        double Y3, double X4, double Y4) {
  double cx = 0, cy = 0;
  FContent += "q" + Eol + ArcPath(Pen, X1, Y1, X2, Y2, X3, Y3, X4, Y4, cx, cy) + Eol + "S" + Eol + "Q" + Eol;
}

void TLxPdfContent::Chord(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2,
                          double Y2, double X3, double Y3, double X4, double Y4) {
  double cx = 0, cy = 0;
  FContent += "q" + Eol + ArcPath(Pen, X1, Y1, X2, Y2, X3, Y3, X4, Y4, cx, cy) + FillPiece(Brush) + Eol +
              PaintPiece(Pen, Brush) + Eol + "Q" + Eol;
}

void TLxPdfContent::Pie(const TLxPdfPen& Pen, const TLxPdfBrush& Brush, double X1, double Y1, double X2,
                        double Y2, double X3, double Y3, double X4, double Y4) {
  double cx = 0, cy = 0;
  const std::string arc = ArcPath(Pen, X1, Y1, X2, Y2, X3, Y3, X4, Y4, cx, cy);  // sets the centre
  FContent += "q" + Eol + arc + Eol + N(PixelsToPoints(Pen.Width)) + " w" + Eol + PdfColor(Pen.Color) +
              " RG" + FillPiece(Brush) + Eol + LineSegment(cx, cy) + Eol + PaintPiece(Pen, Brush) + Eol +
              "Q" + Eol;
}

// ---- Images -------------------------------------------------------------------------------

void TLxPdfContent::PlaceImage(int ImageNumber, double X0, double Y0, double Width, double Height) {
  const double w = Width * 72.0;
  const double h = Height * 72.0;
  FContent += "q" + Eol + N(w) + " 0 0 " + N(h) + " " + N(X(X0)) + " " + N(Y(Y0) - h) + " cm" + Eol + "/Img" +
              std::to_string(ImageNumber) + " Do" + Eol + "Q" + Eol;
}
