// `pagepress convert`, `formats` and `sample`: snapshots rendered by the output's extension,
// the same bytes the text writer makes in-process, options and page ranges, and damaged or
// missing input reported as one line with a non-zero exit and no output file.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "render/RenderTestSupport.h"
#include "writers/LxRender_Text.h"

namespace {

struct TToolResult {
  int ExitCode = -1;
  std::string Output;  // standard output
  std::string Errors;  // standard error
};

std::string Quote(const std::string& Text) {
  return "'" + Text + "'";
}

TToolResult RunTool(const std::string& Arguments, const TTempFolder& Folder) {
  TToolResult result;
  const std::string errors = Folder.File("stderr.log");
  const std::string command = std::string(PAGEPRESS_TOOL) + " " + Arguments + " 2>" + Quote(errors);
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.Output.append(buffer.data(), count);
  const int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Errors = ReadFileBytes(errors);
  std::filesystem::remove(errors);
  return result;
}

size_t LineCount(const std::string& Text) {
  return static_cast<size_t>(std::count(Text.begin(), Text.end(), '\n'));
}

// A three-page snapshot with "Page x of y" footers.
std::string WriteSnapshot(const TTempFolder& Folder) {
  const std::string name = Folder.File("report.vsn");
  TReportFiler filer;
  filer.SetStreamMode(smFile);
  filer.SetFileName(name);
  filer.OnPrint = [&](TObject*) {
    for (int page = 1; page <= 3; ++page) {
      if (page > 1) filer.NewPage();
      filer.PrintXY(1, 1, "Body of page " + std::to_string(page));
      filer.SetYPos(10.5);
      filer.PrintCenter("Page " + filer.Macro(11) + " of " + filer.Macro(10), 4.25);
    }
  };
  filer.Execute();
  return name;
}

// What the text writer makes of the snapshot in this process.
std::string RenderInProcess(const std::string& Snapshot, const TTempFolder& Folder,
                            const std::function<void(TLxRenderText&)>& Setup = {}) {
  TMemoryStream stream;
  stream.LoadFromFile(Snapshot);
  TLxRenderText render;
  render.SetShowSetupDialog(false);
  if (Setup) Setup(render);
  render.PrintRender(&stream, Folder.File("in-process.txt"));
  const std::string bytes = ReadFileBytes(Folder.File("in-process.txt"));
  std::filesystem::remove(Folder.File("in-process.txt"));
  return bytes;
}

TEST(ConvertToolTest, ASnapshotBecomesTheSameTextAsTheWriterMakes) {
  TTempFolder folder;
  const std::string snapshot = WriteSnapshot(folder);
  const TToolResult result =
      RunTool("convert " + Quote(snapshot) + " " + Quote(folder.File("out.txt")), folder);
  ASSERT_EQ(result.ExitCode, 0) << result.Errors;
  EXPECT_EQ(result.Errors, "");
  EXPECT_EQ(result.Output, "wrote " + folder.File("out.txt") + "\n");
  const std::string text = ReadFileBytes(folder.File("out.txt"));
  EXPECT_EQ(text, RenderInProcess(snapshot, folder));
  EXPECT_NE(text.find("Page 2 of 3"), std::string::npos);
  EXPECT_NE(text.find("Body of page 3"), std::string::npos);
  EXPECT_NE(text.find("\r\n\f\r\n"), std::string::npos);
}

TEST(ConvertToolTest, FormatPagesAndOptionsReachTheRender) {
  TTempFolder folder;
  const std::string snapshot = WriteSnapshot(folder);
  const TToolResult result =
      RunTool("convert " + Quote(snapshot) + " " + Quote(folder.File("out.dat")) +
                  " --format TXT --pages 2-3 -o LineSpacing=lsNoBlank -o PageBreaks=false",
              folder);
  ASSERT_EQ(result.ExitCode, 0) << result.Errors;
  const std::string expected = RenderInProcess(snapshot, folder, [](TLxRenderText& R) {
    R.SetPages("2-3");
    R.SetLineSpacing(lsNoBlank);
    R.SetPageBreaks(false);
  });
  EXPECT_EQ(ReadFileBytes(folder.File("out.dat")), expected);
  EXPECT_EQ(expected.find("Page 1 of 3"), std::string::npos);
  EXPECT_EQ(expected.find('\f'), std::string::npos);
  // One file per page.
  const TToolResult pages = RunTool(
      "convert " + Quote(snapshot) + " " + Quote(folder.File("page.txt")) + " -o SeparateFilePerPage=true",
      folder);
  ASSERT_EQ(pages.ExitCode, 0) << pages.Errors;
  EXPECT_EQ(LineCount(pages.Output), 3u);
  EXPECT_TRUE(FileExists(folder.File("page0003.txt")));
}

TEST(ConvertToolTest, BadRequestsAreOneLineAndANonZeroExit) {
  TTempFolder folder;
  const std::string snapshot = WriteSnapshot(folder);
  const std::string s = Quote(snapshot);
  const struct {
    std::string Arguments;
    std::string Says;
  } cases[] = {
      {"convert " + s + " " + Quote(folder.File("out.xyz")), "no render writes"},
      {"convert " + s + " " + Quote(folder.File("out.txt")) + " --format pdfx", "no render writes"},
      {"convert " + s + " " + Quote(folder.File("out.txt")) + " --pages 1,,2", "Pages should contain"},
      {"convert " + s + " " + Quote(folder.File("out.txt")) + " -o Colour=red", "has no option"},
      {"convert " + s + " " + Quote(folder.File("missing/out.txt")), "File could not be created!"},
      {"convert " + Quote(folder.File("none.vsn")) + " " + Quote(folder.File("out.txt")), "none.vsn"},
      {"convert " + s, "usage"},
  };
  for (const auto& c : cases) {
    const TToolResult result = RunTool(c.Arguments, folder);
    EXPECT_NE(result.ExitCode, 0) << c.Arguments;
    EXPECT_NE(result.Errors.find(c.Says), std::string::npos) << result.Errors;
    if (c.Says != "usage") {
      EXPECT_EQ(LineCount(result.Errors), 1u) << result.Errors;
    }
    EXPECT_FALSE(FileExists(folder.File("out.txt"))) << c.Arguments;
  }
}

TEST(ConvertToolTest, DamagedSnapshotsGiveOneClearLineAndNoFile) {
  TTempFolder folder;
  const std::string data = std::string(PAGEPRESS_TEST_DATA) + "/vsn/";
  int damaged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    const std::string name = entry.path().filename();
    if (name.rfind("valid-", 0) == 0) continue;
    ++damaged;
    const TToolResult result =
        RunTool("convert " + Quote(entry.path()) + " " + Quote(folder.File("out.txt")), folder);
    EXPECT_EQ(result.ExitCode, 1) << name << ": " << result.Errors;
    EXPECT_EQ(LineCount(result.Errors), 1u) << name << ": " << result.Errors;
    EXPECT_NE(result.Errors.find("pagepress convert: "), std::string::npos) << name;
    EXPECT_FALSE(FileExists(folder.File("out.txt"))) << name;
  }
  EXPECT_GT(damaged, 5);
  // The valid ones convert.
  for (const char* name : {"valid-report.vsn", "valid-two-pages.vsn", "valid-no-pages.vsn"}) {
    const TToolResult result =
        RunTool("convert " + Quote(data + name) + " " + Quote(folder.File("ok.txt")), folder);
    EXPECT_EQ(result.ExitCode, 0) << name << ": " << result.Errors;
    EXPECT_TRUE(FileExists(folder.File("ok.txt"))) << name;
  }
}

TEST(ConvertToolTest, FormatsListsTheTextRenderAndSampleRendersAnExample) {
  TTempFolder folder;
  const TToolResult formats = RunTool("formats", folder);
  EXPECT_EQ(formats.ExitCode, 0);
  EXPECT_NE(formats.Output.find("txt"), std::string::npos);
  EXPECT_NE(formats.Output.find("Text Document (*.txt)"), std::string::npos);
  const TToolResult list = RunTool("sample", folder);
  EXPECT_EQ(list.ExitCode, 0);
  EXPECT_NE(list.Output.find("columns"), std::string::npos);
  const TToolResult sample = RunTool("sample columns " + Quote(folder.File("columns.txt")), folder);
  ASSERT_EQ(sample.ExitCode, 0) << sample.Errors;
  const std::string text = ReadFileBytes(folder.File("columns.txt"));
  EXPECT_NE(text.find("Page 1 of 3"), std::string::npos);
  EXPECT_NE(text.find("Page 3 of 3"), std::string::npos);
  EXPECT_NE(text.find("400  red"), std::string::npos);
  EXPECT_NE(RunTool("sample nosuch " + Quote(folder.File("x.txt")), folder).ExitCode, 0);
}

}  // namespace

namespace {

TEST(SampleToolTest, AVsnOutputKeepsTheRecordedSnapshot) {
  TTempFolder folder;
  const std::string snapshot = folder.File("table.vsn");
  const TToolResult sample = RunTool("sample table " + Quote(snapshot), folder);
  ASSERT_EQ(sample.ExitCode, 0) << sample.Errors;
  // A snapshot: the reader's signature byte, and it converts like any other.
  const std::string bytes = ReadFileBytes(snapshot);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes[0], 'Z');
  const TToolResult convert =
      RunTool("convert " + Quote(snapshot) + " " + Quote(folder.File("table.txt")), folder);
  ASSERT_EQ(convert.ExitCode, 0) << convert.Errors;
  EXPECT_NE(ReadFileBytes(folder.File("table.txt")).find("Office supplies"), std::string::npos);
}

}  // namespace
