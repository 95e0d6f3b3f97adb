// A long text report recorded with the report filer and rendered to PDF: pages per second
// for each step, and the memory each step needs. The page stream lives in a temporary
// file, so the render's memory is what the PDF writer itself keeps: it must stay flat
// whatever the number of pages (only the page list and the cross-reference offsets grow,
// a few bytes a page).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "stream/VXFiler.h"
#include "writers/LxRender_PDF.h"

namespace {

constexpr int LinesPerPage = 50;

const char* const Words[] = {"invoice", "customer", "quantity", "amount", "delivery", "order",
                             "balance", "account",  "payment",  "total",  "period",   "item"};

std::string BenchFile(const std::string& Name) {
  return GetTempPath() + "pagepress-bench-" + std::to_string(::getpid()) + "-" + Name;
}

// Peak resident memory of the process so far (getrusage), in megabytes.
double PeakRssMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Resets the kernel's high-water mark of resident memory, so that a step's own peak can be
// read afterwards; false where the kernel does not allow it.
bool ResetPeakRss() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear);
}

// The resident high-water mark since the last reset (VmHWM), in megabytes.
double HighWaterMB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

double CurrentRssMB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// Pages of fifty text lines in two fonts: a heading, numbered lines of words and a
// right-aligned amount on each line.
void PrintTextReport(TReportFiler& R, int Pages) {
  for (int page = 1; page <= Pages; ++page) {
    if (page > 1) R.NewPage();
    R.SetFontName("Arial");
    R.SetFontSize(12);
    R.SetBold(true);
    R.SetYPos(0.75);
    R.PrintLeft("Account statement, page " + std::to_string(page), 0.75);
    R.SetBold(false);
    R.SetFontName("Times New Roman");
    R.SetFontSize(10);
    for (int line = 0; line < LinesPerPage; ++line) {
      R.SetYPos(1.1 + line * 0.18);
      std::string text = std::to_string(page * 100 + line) + " ";
      for (int w = 0; w < 8; ++w) text += std::string(Words[(page + line + w) % 12]) + " ";
      R.PrintLeft(text, 0.75);
      R.PrintRight(std::to_string((page * 37 + line * 11) % 1000) + ".00", 7.75);
    }
  }
}

// Records a report of Pages pages into FileName.
void Record(const std::string& FileName, int Pages) {
  TReportFiler filer;
  filer.SetStreamMode(smFile);
  filer.SetFileName(FileName);
  filer.SetTitle("Benchmark statement");
  filer.OnPrint = [&filer, Pages](TObject*) { PrintTextReport(filer, Pages); };
  filer.Execute();
}

void BM_RecordTextReport(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  const std::string file = BenchFile("record.vsn");
  const bool reset = ResetPeakRss();
  const double before = CurrentRssMB();
  for (auto _ : state) Record(file, pages);
  state.counters["pages_per_s"] =
      benchmark::Counter(static_cast<double>(pages) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["stream_MB"] = FileSize(file) / 1048576.0;
  if (reset) state.counters["step_peak_growth_MB"] = HighWaterMB() - before;
  state.counters["process_peak_rss_MB"] = PeakRssMB();
  DeleteFile(file);
}
BENCHMARK(BM_RecordTextReport)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RenderTextReportToPdf(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  const std::string stream = BenchFile("render.vsn");
  const std::string pdf = BenchFile("render.pdf");
  Record(stream, pages);
  TLxRenderPDF render;
  render.SetShowSetupDialog(false);
  render.SetShowProgress(false);
  const bool reset = ResetPeakRss();
  const double before = CurrentRssMB();
  for (auto _ : state) {
    TFileStream input(stream, fmOpenRead);
    render.PrintRender(&input, pdf);
  }
  state.counters["pages_per_s"] =
      benchmark::Counter(static_cast<double>(pages) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["pdf_MB"] = FileSize(pdf) / 1048576.0;
  // What rendering needed above the memory in use before it: flat in the page count.
  if (reset) state.counters["step_peak_growth_MB"] = HighWaterMB() - before;
  state.counters["process_peak_rss_MB"] = PeakRssMB();
  DeleteFile(stream);
  DeleteFile(pdf);
}
BENCHMARK(BM_RenderTextReportToPdf)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
