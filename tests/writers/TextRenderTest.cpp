// The plain-text writer: the character grid, line spacing, page ends, one file or one file
// per page, page ranges, and what a failed or cancelled run leaves behind. Expected files are
// laid out by hand from the grid rules (a cell of 8 by CellHeight pixels, 102 columns for a
// page 8.5 inches wide).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "platform/FontMetrics.h"
#include "platform/ScriptedDialogService.h"
#include "render/RenderTestSupport.h"
#include "stream/RenderLog.h"
#include "writers/LxRender_Text.h"

extern char** environ;

namespace {

const std::string FileMessage =
    "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application.\r\n\r\n"
    "Solution: Re-try the failed operation after closing the other application or specify another file name.";
constexpr int Columns = 102;  // 8.5 in × 96 ÷ 8

// The height of "W" in 10-point Courier New on a 96 pixels-per-inch screen.
int CellHeightOfTheScreenFont() {
  TLogFont logFont;
  logFont.lfFaceName = "Courier New";
  logFont.lfHeight = -13;
  return CreateFontIndirect(logFont)->TextExtent("W").cy;
}

// Lines of one page built by hand.
class TPageText {
public:
  std::vector<std::string> Lines;

  // Text at a 1-based line and column.
  TPageText& Put(size_t Line, size_t Column, const std::string& Text) {
    while (Lines.size() < Line) Lines.push_back(std::string(Columns, ' '));
    Lines[Line - 1].replace(Column - 1, Text.size(), Text);
    return *this;
  }
  TPageText& Blank(size_t Count = 1) {
    for (size_t i = 0; i < Count; ++i) Lines.push_back(std::string(Columns, ' '));
    return *this;
  }
  std::string Bytes(bool EndLine = true, bool FormFeed = true) const {
    std::string bytes;
    for (const std::string& line : Lines) bytes += line + "\r\n";
    if (EndLine) bytes += std::string(Columns, '-') + "\r\n";
    if (FormFeed) bytes += "\f\r\n";
    return bytes;
  }
};

// Renders Stream with Render into Folder/Name and returns the file's bytes.
std::string RenderText(TLxRenderText& Render, TMemoryStream& Stream, const TTempFolder& Folder,
                       const std::string& Name = "report.txt") {
  Render.SetShowSetupDialog(false);
  Stream.SetPosition(0);
  Render.PrintRender(&Stream, Folder.File(Name));
  return ReadFileBytes(Folder.File(Name));
}

// A 12-page report: two texts on one line, one on a line below, and a "Page x of y" footer
// whose numbers only the converter knows.
void RecordFooterReport(TMemoryStream& Stream) {
  RecordReport(Stream, [](TReportFiler& R) {
    for (int page = 1; page <= 12; ++page) {
      if (page > 1) R.NewPage();
      R.PrintXY(1, 1, "Report line A");
      R.PrintXY(3, 1, "col2");
      R.PrintXY(1.5, 2, "Second row");
      R.SetYPos(10.5);
      R.PrintCenter("Page " + R.Macro(11) + " of " + R.Macro(10), 4.25);
    }
  });
}

TEST(TextRenderTest, ARecordedReportBecomesTheExpectedTextByteForByte) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordFooterReport(stream);
  TLxRenderText render;
  const std::string text = RenderText(render, stream, folder);
  ASSERT_EQ(render.CellWidth(), 8) << "10-point Courier New is 8 pixels wide on the screen";
  std::string expected;
  for (int page = 1; page <= 12; ++page) {
    const std::string footer = "Page " + std::to_string(page) + " of 12";
    // One blank line between distinct rows; the footer is centred on column 51.
    expected += TPageText()
                    .Put(2, 12, "Report line A")
                    .Put(2, 36, "col2")
                    .Put(4, 18, "Second row")
                    .Put(6, 51 - footer.size() / 2 + 1, footer)
                    .Blank()
                    .Bytes();
  }
  EXPECT_EQ(text, expected);
  EXPECT_NE(text.find("Page 3 of 12"), std::string::npos);
}

TEST(TextRenderTest, PageEndsCarryTheDashedLineAndTheFormFeedAsSet) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  for (bool endLines : {false, true}) {
    for (bool breaks : {false, true}) {
      TLxRenderText render;
      render.SetPageEndLines(endLines);
      render.SetPageBreaks(breaks);
      std::string expected;
      for (int page = 1; page <= 2; ++page)
        expected += TPageText().Put(2, 12, "Page " + std::to_string(page)).Blank().Bytes(endLines, breaks);
      EXPECT_EQ(RenderText(render, stream, folder), expected) << endLines << breaks;
    }
  }
}

// A one-page stream with texts at exact inch positions (op 24 left, 23 centre, 25 right).
void TextStream(TMemoryStream& Stream,
                const std::vector<std::tuple<uint8_t, std::string, float, float>>& Texts) {
  TPagedStream paged;
  TStreamBytes& page = paged.AddPage();
  for (const auto& [code, text, x, y] : Texts) page.Byte(code).Single(y).ShortString(text).Single(x);
  paged.SaveTo(Stream);
}

TEST(TextRenderTest, LineSpacingKeepsRowsOrClosesThemToFixedGaps) {
  const int cell = CellHeightOfTheScreenFont();
  ASSERT_GT(cell, 0);
  const float row6 = 6.0f * cell / 96;  // Y on the sixth grid row exactly
  const float row7 = 7.0f * cell / 96;
  TTempFolder folder;
  TMemoryStream stream;
  TextStream(stream, {{24, "A", 1, row6}, {24, "B", 3, row6}, {24, "C", 1, row7}});
  const struct {
    TTextLineSpacing Spacing;
    std::string Expected;
  } cases[] = {
      {lsNoBlank, TPageText().Put(1, 12, "A").Put(1, 36, "B").Put(2, 12, "C").Bytes()},
      {lsOneBlank, TPageText().Put(2, 12, "A").Put(2, 36, "B").Put(4, 12, "C").Blank().Bytes()},
      {lsTwoBlank, TPageText().Put(3, 12, "A").Put(3, 36, "B").Put(6, 12, "C").Blank(2).Bytes()},
      {lsFiveBlank, TPageText().Put(6, 12, "A").Put(6, 36, "B").Put(12, 12, "C").Blank(5).Bytes()},
      // Real rows, and the page filled to 11 in of rows.
      {lsActual, TPageText()
                     .Put(6, 12, "A")
                     .Put(6, 36, "B")
                     .Put(7, 12, "C")
                     .Blank(static_cast<size_t>(std::nearbyint(11.0 * 96 / cell)) - 7)
                     .Bytes()},
  };
  for (const auto& c : cases) {
    TLxRenderText render;
    render.SetLineSpacing(c.Spacing);
    EXPECT_EQ(RenderText(render, stream, folder), c.Expected) << c.Spacing;
    EXPECT_EQ(render.CellHeight(), cell);
  }
}

TEST(TextRenderTest, RightAndCentredTextsLandOnTheColumnsTheirEdgesGive) {
  TTempFolder folder;
  TMemoryStream stream;
  // The right edge and the centre at 400 pixels: columns 50 - 3 = 47 and 50 - 2 + 1 = 49.
  TextStream(stream, {{25, "123", 400.0f / 96, 1}, {23, "abcd", 400.0f / 96, 2}, {24, "left", 0, 3}});
  TLxRenderText render;
  EXPECT_EQ(RenderText(render, stream, folder),
            TPageText().Put(2, 47, "123").Put(4, 49, "abcd").Put(6, 1, "left").Blank().Bytes());
}

TEST(TextRenderTest, TextRectIsCutToItsRectangleAndShapesOnlyEndBlocks) {
  TTempFolder folder;
  TMemoryStream stream;
  TPagedStream paged;
  // A 0.5-inch box (48 pixels) at 2 in, then a text, a rectangle and a text below it.
  paged.AddPage()
      .Byte(22)
      .Single(2)
      .Single(0.8f)
      .Single(2.5f)
      .Single(1)
      .Single(2)
      .Single(1)
      .ShortString("ABCDEFGHIJ")
      .Byte(24)
      .Single(2)
      .ShortString("one")
      .Single(1)
      .Byte(18)
      .Single(1)
      .Single(1)
      .Single(3)
      .Single(3)
      .Byte(24)
      .Single(2.2f)
      .ShortString("two")
      .Single(1);
  paged.SaveTo(stream);
  TLogFont logFont;
  logFont.lfFaceName = "Arial";
  logFont.lfHeight = -13;
  const double measured = CreateFontIndirect(logFont)->TextExtent("ABCDEFGHIJ").cx;
  const size_t kept = static_cast<size_t>(std::ceil(48 * 10 / measured));
  ASSERT_LT(kept, 10u);
  struct TCountingText : TLxRenderText {
    int Flushes = 0;
    void FlushText() override {
      ++Flushes;
      TLxRenderText::FlushText();
    }
  } render;
  EXPECT_EQ(RenderText(render, stream, folder), TPageText()
                                                    .Put(2, 24, std::string("ABCDEFGHIJ").substr(0, kept))
                                                    .Put(4, 12, "one")
                                                    .Put(6, 12, "two")
                                                    .Blank()
                                                    .Bytes());
  EXPECT_EQ(render.Flushes, 2);  // the rectangle ended the first block
}

TEST(TextRenderTest, APageWithoutTextStillHasItsBlankAndEndLines) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordReport(stream, [](TReportFiler& R) { R.Rectangle(1, 1, 2, 2); });
  TLxRenderText render;
  EXPECT_EQ(RenderText(render, stream, folder), TPageText().Blank().Bytes());
}

// ===== Files =====

TEST(TextRenderTest, SeparateFilesAreNamedByTheRenderedPagesOrdinal) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  const struct {
    std::string Pages;
    std::vector<std::string> Files;
    std::vector<int> Contents;  // the report page each file holds
    std::vector<int> Named;     // page numbers OnMakeReportFileName saw
  } cases[] = {
      {"", {"report.txt", "report0002.txt", "report0003.txt"}, {1, 2, 3}, {1, 2, 3}},
      {"2-3", {"report.txt", "report0002.txt"}, {2, 3}, {1, 3}},
  };
  for (const auto& c : cases) {
    TTempFolder out;
    TLxRenderText render;
    render.SetSeparateFilePerPage(true);
    render.SetPages(c.Pages);
    std::vector<int> named;
    render.OnMakeReportFileName = [&](TVXRender*, std::string&, int PageNo) { named.push_back(PageNo); };
    RenderText(render, stream, out);
    EXPECT_EQ(out.Files(), c.Files) << c.Pages;
    EXPECT_EQ(named, c.Named) << c.Pages;
    ASSERT_EQ(render.OutputFiles()->Count(), static_cast<int>(c.Files.size()));
    for (size_t i = 0; i < c.Files.size(); ++i) {
      EXPECT_EQ(render.OutputFiles()->Strings(static_cast<int>(i)), out.File(c.Files[i]));
      EXPECT_EQ(ReadFileBytes(out.File(c.Files[i])),
                TPageText().Put(2, 12, "Page " + std::to_string(c.Contents[i])).Blank().Bytes())
          << c.Files[i];
    }
  }
}

TEST(TextRenderTest, ARenderRunTwiceGivesTheSameFilesAsTwoRenders) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordFooterReport(stream);
  TLxRenderText reused;
  const std::string all = RenderText(reused, stream, folder, "all.txt");
  reused.SetPages("3");
  reused.SetLineSpacing(lsNoBlank);
  const std::string third = RenderText(reused, stream, folder, "third.txt");
  TLxRenderText fresh;
  fresh.SetPages("3");
  fresh.SetLineSpacing(lsNoBlank);
  EXPECT_EQ(third, RenderText(fresh, stream, folder, "fresh.txt"));
  EXPECT_NE(third.find("Page 3 of 12"), std::string::npos);
  EXPECT_EQ(third.find("Page 2 of 12"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(folder.File("all.txt")), all);
}

TEST(TextRenderTest, AnOutputThatCannotBeCreatedIsReportedAndLeavesNoFile) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  TScriptedDialogService dialogs;
  TLxRenderText render;
  int docEnds = 0;
  render.OnDocEnd = [&](TVXRender*) { ++docEnds; };
  RenderText(render, stream, folder, "missing/report.txt");
  ASSERT_EQ(dialogs.Count(dkShowError), 1);
  EXPECT_EQ(dialogs.Last(dkShowError).Text, FileMessage);
  EXPECT_TRUE(render.Cancelled());
  EXPECT_EQ(docEnds, 0);
  EXPECT_TRUE(folder.Files().empty());
}

// A file that exists and cannot be opened for writing, whoever runs the test: a program
// that is running. The system refuses to write to it ("text file busy").
class TBusyFile {
public:
  explicit TBusyFile(const std::string& FileName) {
    std::error_code error;
    std::filesystem::copy_file("/bin/sleep", FileName, error);
    if (error || chmod(FileName.c_str(), 0755) != 0) return;
    std::string program = FileName;
    std::string seconds = "60";
    char* argv[] = {program.data(), seconds.data(), nullptr};
    if (posix_spawn(&FPid, FileName.c_str(), nullptr, nullptr, argv, environ) != 0) {
      FPid = -1;
      return;
    }
    // Wait until the program runs (the file is busy once it is being executed).
    for (int i = 0; i < 500 && !Busy(FileName); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~TBusyFile() {
    if (FPid <= 0) return;
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
  static bool Busy(const std::string& FileName) {
    const int handle = open(FileName.c_str(), O_WRONLY);
    if (handle >= 0) close(handle);
    return handle < 0 && errno == ETXTBSY;
  }

private:
  pid_t FPid = -1;
};

TEST(TextRenderTest, ALaterFileThatCannotBeCreatedRemovesThisRunsFilesAndLeavesTheExistingOne) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  TBusyFile busy(folder.File("report0002.txt"));
  if (!TBusyFile::Busy(folder.File("report0002.txt"))) GTEST_SKIP() << "cannot make a busy file here";
  const std::string before = ReadFileBytes(folder.File("report0002.txt"));
  TScriptedDialogService dialogs;
  TLxRenderText render;
  render.SetSeparateFilePerPage(true);
  RenderText(render, stream, folder);
  ASSERT_EQ(dialogs.Count(dkShowError), 1);
  EXPECT_EQ(dialogs.Last(dkShowError).Text, FileMessage);
  // Page 1's file is gone, page 3 was never written, the busy file is as it was.
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"report0002.txt"});
  EXPECT_EQ(ReadFileBytes(folder.File("report0002.txt")), before);
}

TEST(TextRenderTest, CancelDuringTheRunLeavesNoFileOfTheRunAndKeepsEarlierFiles) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 4);
  WriteFileBytes(folder.File("report0003.txt"), "an earlier page three");
  WriteFileBytes(folder.File("other.txt"), "not ours");
  for (bool separate : {true, false}) {
    TScriptedDialogService dialogs;
    TLxRenderText render;
    render.SetSeparateFilePerPage(separate);
    render.SetOpenAfterGenerate(true);
    int docEnds = 0;
    render.OnDocEnd = [&](TVXRender*) { ++docEnds; };
    render.OnPageBegin = [&](TVXRender*) {
      if (render.Converter()->CurrentPage() == 3) render.AbortRender();
    };
    RenderText(render, stream, folder);
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"other.txt", "report0003.txt"})) << separate;
    EXPECT_EQ(ReadFileBytes(folder.File("report0003.txt")), "an earlier page three");
    EXPECT_EQ(docEnds, 0);
    EXPECT_EQ(dialogs.Count(dkShellOpen), 0);
  }
}

}  // namespace
