// pagepress sample: draws a small sample page with the platform canvas and saves it as
// a bitmap and a JPEG picture.
#include <cstdio>

#include "Commands.h"
#include "platform/Bitmap.h"
#include "platform/JPEGImage.h"
#include "platform/RasterCanvas.h"

namespace {

constexpr int PageWidth = 816;   // 8.5 in at 96 pixels per inch
constexpr int PageHeight = 1056; // 11 in

void DrawHeading(TCanvas* c) {
  c->Font()->SetName("Arial");
  c->Font()->SetSize(20);
  c->Font()->SetStyle({fsBold});
  c->Font()->SetColor(clNavy);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(96, 80, "PagePress sample page");
  c->Pen()->SetColor(clNavy);
  c->Pen()->SetWidth(2);
  c->MoveTo(96, 122);
  c->LineTo(PageWidth - 96, 122);
}

void DrawBody(TCanvas* c) {
  c->Font()->SetName("Times New Roman");
  c->Font()->SetSize(12);
  c->Font()->SetStyle({});
  c->Font()->SetColor(clBlack);
  const char* lines[] = {
      "Reports are composed page by page: a cursor with margins and columns,",
      "fonts, tab stops with boxes and shading, lines, shapes and pictures.",
      "Every page is recorded as a page stream, then printed, previewed or rendered.",
  };
  int y = 150;
  for (const char* line : lines) {
    c->TextOut(96, y, line);
    y += c->TextHeight(line) + 4;
  }
}

void DrawShapes(TCanvas* c) {
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(RGB(204, 204, 204));
  c->Rectangle(96, 260, 360, 380);
  c->Brush()->SetColor(clYellow);
  c->Ellipse(400, 260, 720, 380);
  c->Brush()->SetStyle(bsDiagCross);
  c->Brush()->SetColor(clRed);
  c->Rectangle(96, 400, 720, 460);
  c->Font()->SetName("Courier New");
  c->Font()->SetSize(10);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(110, 300, "Shaded box");
  c->TextOut(500, 310, "Ellipse");
}

}  // namespace

int SampleCommand(const TArguments& Args) {
  if (Args.size() != 1) {
    std::fprintf(stderr, "usage: pagepress sample OUTPUT\n");
    return 2;
  }
  TBitmap page(PageWidth, PageHeight);
  TCanvas* canvas = page.Canvas();
  DrawHeading(canvas);
  DrawBody(canvas);
  DrawShapes(canvas);

  const std::string bmpName = Args[0] + ".bmp";
  const std::string jpgName = Args[0] + ".jpg";
  page.SaveToFile(bmpName);
  TJPEGImage jpeg;
  jpeg.Assign(&page);
  jpeg.SetCompressionQuality(85);
  jpeg.SaveToFile(jpgName);
  std::printf("wrote %s and %s\n", bmpName.c_str(), jpgName.c_str());
  return 0;
}
