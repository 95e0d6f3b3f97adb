// `pagepress dump` on streams a test report writes: every record it holds appears, one per
// line, with its offset; texts are shown safely; damage ends with an error.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FilerRun.h"
#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "stream/VXStreamDump.h"

namespace {

struct TToolResult {
  int ExitCode = -1;
  std::string Output;
};

TToolResult RunTool(const std::string& Arguments) {
  TToolResult result;
  const std::string command = std::string(PAGEPRESS_TOOL) + " " + Arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.Output.append(buffer.data(), count);
  const int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = Text.find('\n'); end != std::string::npos; end = Text.find('\n', start)) {
    lines.push_back(Text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// A report that uses most kinds of records, saved as a snapshot file.
std::string WriteSampleSnapshot() {
  // One name per process: ctest runs the tests of this file side by side.
  const std::string name = GetTempPath() + "dump-tool-sample-" + std::to_string(::getpid()) + ".vsn";
  TReportFiler filer;
  filer.SetStreamMode(smFile);
  filer.SetFileName(name);
  filer.SetTitle("Dump \xE9t\xE9");
  TBitmap logo(6, 4);
  TMemoryStream image;
  image.WriteBuffer("not really a JPEG", 17);
  filer.OnPrint = [&](TObject*) {
    filer.SetFontName("Times New Roman");
    filer.SetBold(true);
    filer.PrintXY(1, 1,
                  "Caf\xE9 \x01"
                  "B1\x04 total " +
                      filer.VariableCode("Total"));
    filer.Rectangle(1, 2, 3, 3);
    filer.Ellipse(1, 2, 3, 3);
    filer.Arc(1, 1, 2, 2, 1, 1, 2, 2);
    filer.Polygon({TPoint{10, 10}, TPoint{20, 10}, TPoint{20, 20}});
    filer.SetPen(clRed, psDash, 3, pmCopy);
    filer.SetBrush(clYellow, bsCross, nullptr);
    filer.Draw(4, 4, &logo);
    filer.RegisterGraphic(1);
    filer.PrintData("raw\x1B");
    filer.TextRect(TRect{0, 0, 600, 600}, 0.5, 0.5, "boxed");
    filer.PreviewOnly();
    filer.AllDestinations();
    filer.SetOrientation(poLandScape);
    filer.NewPage();
    filer.ReuseGraphic(1);
    filer.Draw(4, 4, &logo);
    image.SetPosition(0);
    filer.PrintImageRect(1, 1, 2, 2, &image, "JPG");
    filer.PrintBlock("spread out", 1, 3);
    filer.SetVariable("Total", "12");
  };
  filer.Execute();
  return name;
}

TEST(DumpToolTest, PrintsEveryRecordOfTheStream) {
  const std::string name = WriteSampleSnapshot();
  const TToolResult result = RunTool("dump " + name);
  ASSERT_EQ(result.ExitCode, 0) << result.Output;
  const std::vector<std::string> lines = Lines(result.Output);

  // The reader's own walk: each record's line is there, in order.
  TFileStream stream(name, fmOpenRead);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  size_t line = 0;
  size_t records = 0;
  while (!reader.AtEnd()) {
    const TPageHeader& page = reader.ReadPageHeader();
    const std::string pageLine = FormatPageHeader(page);
    while (line < lines.size() && lines[line] != pageLine) ++line;
    ASSERT_LT(line, lines.size()) << "no line " << pageLine;
    for (const TStreamRecord& record : ReadPageRecords(reader)) {
      ++line;
      ASSERT_LT(line, lines.size());
      EXPECT_EQ(lines[line], "  @" + std::to_string(record.Offset) + " " + FormatStreamRecord(record));
      ++records;
    }
  }
  size_t recordLines = 0;
  for (const std::string& l : lines) recordLines += l.rfind("  @", 0) == 0 ? 1 : 0;
  EXPECT_EQ(recordLines, records);
  EXPECT_GT(records, 60u);

  // Opcodes by name, operands, and text shown safely.
  EXPECT_NE(result.Output.find("Title \"Dump \xC3\xA9t\xC3\xA9\""), std::string::npos);
  EXPECT_NE(result.Output.find("pcPrintLeft Y="), std::string::npos);
  EXPECT_NE(result.Output.find("Text=\"Caf\xC3\xA9 \\x01"
                               "B1\\x04 total \\xFD$VXCV\\xFCTotal\\xFB\""),
            std::string::npos);
  EXPECT_NE(result.Output.find("pcVariable Name=\"Total\" Value=\"12\""), std::string::npos);
  EXPECT_NE(result.Output.find("pcPrintData Text=\"raw\\x1B\""), std::string::npos);
  EXPECT_NE(result.Output.find("Graphic=reference to bitmap("), std::string::npos);
  EXPECT_NE(result.Output.find("pcPenColor Color=$000000FF"), std::string::npos);
  EXPECT_NE(result.Output.find("pcPrintImageRect Image=17 bytes ImageType=\"JPG\""), std::string::npos);
  EXPECT_NE(result.Output.find("pcPolygon Points=3["), std::string::npos);
  DeleteFile(name);
}

TEST(DumpToolTest, ShowsOnePageWhenAsked) {
  const std::string name = WriteSampleSnapshot();
  const TToolResult result = RunTool("dump " + name + " --page 2");
  ASSERT_EQ(result.ExitCode, 0) << result.Output;
  EXPECT_EQ(result.Output.find("\nPage 1 "), std::string::npos);
  EXPECT_NE(result.Output.find("\nPage 2 "), std::string::npos);
  EXPECT_NE(result.Output.find("pcPrintBlock"), std::string::npos);
  EXPECT_EQ(result.Output.find("pcRectangle"), std::string::npos) << "a record of page 1";
  DeleteFile(name);
}

TEST(DumpToolTest, ADamagedStreamEndsWithTheReadersError) {
  const std::string name = WriteSampleSnapshot();
  TMemoryStream stream;
  stream.LoadFromFile(name);
  // Page 1's first record gets an opcode no stream holds.
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  const int64_t firstRecord = reader.ReadPageHeader().Offset + 19;
  stream.Memory()[firstRecord] = 39;
  stream.SaveToFile(name);
  const TToolResult result = RunTool("dump " + name);
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_NE(result.Output.find("Page 1 @"), std::string::npos) << "what was read is shown first";
  EXPECT_NE(result.Output.find("pagepress dump: Unexpected code found in report file."), std::string::npos);
  DeleteFile(name);
}

TEST(DumpToolTest, RefusesBadArguments) {
  EXPECT_EQ(RunTool("dump").ExitCode, 2);
  EXPECT_EQ(RunTool("dump a.vsn --page x").ExitCode, 2);
  const TToolResult missing = RunTool("dump " + GetTempPath() + "no-such-snapshot.vsn");
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_NE(missing.Output.find("no-such-snapshot.vsn"), std::string::npos);
}

}  // namespace
