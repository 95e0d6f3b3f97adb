#pragma once
// Helpers of the PDF writer tests: running the independent PDF readers (qpdf and the
// poppler tools) on a written file, and reading a PDF's bytes back.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "../platform/TempDir.h"
#include "platform/Font.h"
#include "writers/LxPdfDocument.h"

namespace pdftest {

struct TCommandResult {
  std::string Output;  // standard output and standard error together
  int ExitCode = -1;
};

inline TCommandResult RunCommand(const std::string& Command) {
  TCommandResult result;
  FILE* pipe = popen((Command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.Output.append(buffer.data(), count);
  const int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline bool HaveTool(const std::string& Name) {
  return std::system(("command -v " + Name + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string Quote(const std::string& Path) {
  return "'" + Path + "'";
}

inline std::string ReadFileBytes(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream out(FileName, std::ios::binary);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

// qpdf's verdict: exit code 0 and no warning means a clean file.
inline ::testing::AssertionResult QpdfAccepts(const std::string& FileName) {
  const TCommandResult r = RunCommand("qpdf --check " + Quote(FileName));
  if (r.ExitCode != 0 || r.Output.find("WARNING") != std::string::npos ||
      r.Output.find("No syntax or stream encoding errors found") == std::string::npos)
    return ::testing::AssertionFailure() << "qpdf --check (exit " << r.ExitCode << "):\n" << r.Output;
  return ::testing::AssertionSuccess();
}

inline std::string PdfToText(const std::string& FileName, bool Layout = true) {
  return RunCommand(std::string("pdftotext ") + (Layout ? "-layout " : "") + "-enc UTF-8 " + Quote(FileName) +
                    " -")
      .Output;
}

// The number of times Needle occurs in Haystack.
inline int CountOf(const std::string& Haystack, const std::string& Needle) {
  int count = 0;
  for (size_t at = Haystack.find(Needle); at != std::string::npos; at = Haystack.find(Needle, at + 1))
    ++count;
  return count;
}

inline std::unique_ptr<TFont> NewFont(const std::string& Name, int Size, TFontStyles Style = {}) {
  auto font = std::make_unique<TFont>();
  font->SetName(Name);
  font->SetSize(Size);
  font->SetStyle(Style);
  return font;
}

// A left-aligned run of Text at (X, Y) inches in Font, as wide as the font's own widths.
inline void AddText(TLxPdfDocument& Doc, const TFont& Font, const std::string& Text, double X, double Y,
                    TFontStyles Decoration = {}) {
  const int index = Doc.FontIndex(Font);
  TLxPdfTextRun run;
  run.Text = Text;
  run.FontIndex = index;
  run.FontSize = Font.Size();
  run.Color = Font.Color();
  run.Underline = Decoration.Contains(fsUnderline);
  run.StrikeOut = Decoration.Contains(fsStrikeOut);
  run.X = X * 96;
  run.Y = Y * 96;
  run.Width = Doc.FontInfo(index).TextWidth(Text, Font.Size()) / 72 * 96;
  Doc.Content().TextRun(run, Doc.FontInfo(index));
}

}  // namespace pdftest
