// A program outside the source tree, built against the installed package.
#include <pagepress/PagePress.h>

#include <cstdio>

int main() {
  TBitmap page(200, 100);
  TCanvas* canvas = page.Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(Rect(0, 0, 200, 100));
  canvas->Pen()->SetColor(clBlack);
  canvas->Rectangle(10, 10, 20, 20);
  if (page.Pixel(10, 10) != clBlack || page.Pixel(19, 19) != clBlack || page.Pixel(20, 20) != clWhite) {
    std::printf("unexpected rectangle pixels\n");
    return 1;
  }
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetSize(12);
  const int width = canvas->TextWidth("PagePress");
  if (width <= 0) {
    std::printf("text measured %d pixels\n", width);
    return 1;
  }
  TStringList lines;
  lines.SetText("one\r\ntwo\nthree");
  if (lines.Count() != 3) return 1;
  std::printf("%s\n", Format("consumer ok: %d lines, text %d pixels wide", {lines.Count(), width}).c_str());
  return 0;
}
