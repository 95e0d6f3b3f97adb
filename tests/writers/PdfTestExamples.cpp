// The example reports and a recorded snapshot rendered through the command-line tool:
// `pagepress sample NAME out.pdf` and `pagepress convert X.vsn out.pdf`.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <regex>

#include "PdfTestTools.h"
#include "platform/FileUtils.h"
#include "stream/VXFiler.h"

namespace {

using pdftest::HaveTool;
using pdftest::Quote;
using pdftest::RunCommand;

// The tool of this build: named by the build when it says so, else beside the tests.
std::string ToolPath() {
#ifdef PAGEPRESS_TOOL
  return PAGEPRESS_TOOL;
#else
  char self[PATH_MAX] = {};
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return std::string();
  const std::filesystem::path tool =
      std::filesystem::path(std::string(self, static_cast<size_t>(length))).parent_path().parent_path() /
      "tools" / "pagepress";
  return tool.string();
#endif
}

class PdfTestExamples : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveTool("qpdf") || !HaveTool("pdftotext") || !HaveTool("pdffonts") || !HaveTool("pdfinfo"))
      GTEST_SKIP() << "qpdf or poppler-utils is not installed";
    FTool = ToolPath();
    if (FTool.empty() || !FileExists(FTool)) GTEST_SKIP() << "the pagepress tool is not built";
    const std::string formats = RunCommand(Quote(FTool) + " formats").Output;
    if (formats.find("pdf") == std::string::npos)
      GTEST_SKIP() << "the tool does not offer the PDF render yet:\n" << formats;
  }
  std::string FTool;
  TTempDir FDir;
};

// The example names the tool lists.
std::vector<std::string> ExampleNames(const std::string& Tool) {
  std::vector<std::string> names;
  const std::string listing = RunCommand(Quote(Tool) + " sample").Output;
  const std::regex entry(R"(\n  (\S+) )");
  for (std::sregex_iterator it(listing.begin(), listing.end(), entry), end; it != end; ++it)
    names.push_back((*it)[1]);
  return names;
}

TEST_F(PdfTestExamples, EveryExampleRendersToACleanPdf) {
  const std::vector<std::string> names = ExampleNames(FTool);
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string file = FDir.File(name + ".pdf");
    const auto run = RunCommand(Quote(FTool) + " sample " + name + " " + Quote(file));
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_TRUE(pdftest::QpdfAccepts(file));
    const std::string text = pdftest::PdfToText(file);
    EXPECT_GT(text.size(), 50u) << text;
    const std::string fonts = RunCommand("pdffonts " + Quote(file)).Output;
    EXPECT_NE(fonts.find("TrueType"), std::string::npos) << fonts;
    const std::string info = RunCommand("pdfinfo " + Quote(file)).Output;
    EXPECT_NE(info.find("Creator:         Vellum Reports"), std::string::npos) << info;
    EXPECT_NE(info.find("PDF version:     1.3"), std::string::npos) << info;
  }
}

TEST_F(PdfTestExamples, TheTextLinesExampleReadsInOrder) {
  const std::string file = FDir.File("lines.pdf");
  ASSERT_EQ(RunCommand(Quote(FTool) + " sample lines " + Quote(file)).ExitCode, 0);
  const std::string text = pdftest::PdfToText(file);
  size_t at = 0;
  for (const char* piece :
       {"PagePress text lines", "Reports are composed page by page", "Fixed pitch: 0123456789",
        "Centred between the margins", "Right-aligned at the right margin"}) {
    const size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece << "\n" << text;
    at = found;
  }
  const std::string fonts = RunCommand("pdffonts " + Quote(file)).Output;
  for (const char* name : {"Arial,Bold ", "TimesNewRoman ", "CourierNew ", "Arial,Italic "})
    EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
}

TEST_F(PdfTestExamples, ConvertRendersASnapshotFile) {
  const std::string snapshot = FDir.File("report.vsn");
  {
    TReportFiler filer;
    filer.SetStreamMode(smFile);
    filer.SetFileName(snapshot);
    filer.SetTitle("Converted snapshot");
    filer.OnPrint = [&filer](TObject*) {
      filer.SetFontName("Arial");
      filer.SetFontSize(12);
      filer.SetYPos(1);
      filer.PrintLeft("Snapshot page one (100%)", 1);
      filer.NewPage();
      filer.SetYPos(1);
      filer.PrintLeft("Snapshot page two \\ end", 1);
    };
    filer.Execute();
  }
  const std::string file = FDir.File("report.pdf");
  const auto run = RunCommand(Quote(FTool) + " convert " + Quote(snapshot) + " " + Quote(file));
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string text = pdftest::PdfToText(file);
  EXPECT_LT(text.find("Snapshot page one (100%)"), text.find("Snapshot page two \\ end")) << text;
  EXPECT_NE(text.find("Snapshot page two \\ end"), std::string::npos) << text;
  const std::string info = RunCommand("pdfinfo " + Quote(file)).Output;
  EXPECT_NE(info.find("Title:           Converted snapshot"), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  // A page selection through the tool.
  const std::string second = FDir.File("second.pdf");
  ASSERT_EQ(
      RunCommand(Quote(FTool) + " convert " + Quote(snapshot) + " " + Quote(second) + " --pages 2").ExitCode,
      0);
  EXPECT_NE(RunCommand("pdfinfo " + Quote(second)).Output.find("Pages:           1"), std::string::npos);
}

}  // namespace
