// Speed of the platform operations every report leans on: measuring text without a
// printer and drawing on a page-sized raster.
#include <benchmark/benchmark.h>

#include "engine/VXFontManager.h"
#include "platform/Bitmap.h"
#include "platform/RasterCanvas.h"

namespace {

const char* const Sentence = "The quick brown fox jumps over the lazy dog 0123456789";

void BM_MeasureTextWithFontManager(benchmark::State& state) {
  TFont font;
  font.SetName("Arial");
  font.SetPixelsPerInch(600);
  font.SetSize(10);
  for (auto _ : state) benchmark::DoNotOptimize(FontManager()->MeasureText(&font, Sentence));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasureTextWithFontManager);

void BM_TextOutAt96Dpi(benchmark::State& state) {
  TBitmap page(816, 1056);
  TCanvas* canvas = page.Canvas();
  canvas->Font()->SetName("Times New Roman");
  canvas->Font()->SetSize(12);
  canvas->Brush()->SetStyle(bsClear);
  int y = 0;
  for (auto _ : state) {
    canvas->TextOut(20, y, Sentence);
    y = (y + 20) % 1000;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextOutAt96Dpi);

void BM_FillLetterPageAt600Dpi(benchmark::State& state) {
  TBitmap page(5100, 6600);
  TCanvas* canvas = page.Canvas();
  canvas->Brush()->SetColor(clWhite);
  for (auto _ : state) canvas->FillRect(Rect(0, 0, 5100, 6600));
}
BENCHMARK(BM_FillLetterPageAt600Dpi)->Unit(benchmark::kMillisecond);

}  // namespace
