// The render base: the page filter, output names, the generation sequence with its events,
// e-mail and open requests, setup dialogs, progress, and aborting (Cancel, failed file
// creation, damaged streams) without touching files the generation did not create.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/ScriptedDialogService.h"
#include "render/LxRender_Main.h"

namespace {

using TLog = std::vector<std::string>;

const std::string FileMessage =
    "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application.\r\n\r\n"
    "Solution: Re-try the failed operation after closing the other application or specify another file name.";

// A minimal writer in the usual shape: the base names the files, the writer opens the first
// one, runs the converter and writes one line per page at its end.
class TTestWriter : public TLxRender {
public:
  TLog Log;
  // Whether the output was still open after the base PageBegin of page WatchPage returned.
  int WatchPage = 0;
  bool OutputOpenAfterPageBegin = false;

  TTestWriter() {
    SetDisplayName("Test (*.tst)");
    SetFileExtension("*.tst");
    SetShowSetupDialog(false);
    OnDocBegin = [this](TVXRender*) { Log.push_back("OnDocBegin"); };
    OnDocEnd = [this](TVXRender*) { Log.push_back("OnDocEnd"); };
    OnPageBegin = [this](TVXRender*) { Log.push_back("OnPageBegin:" + Page()); };
    OnPageEnd = [this](TVXRender*) { Log.push_back("OnPageEnd:" + Page()); };
  }
  std::string ClassName() const override { return "TTestWriter"; }
  std::string Page() const { return std::to_string(Converter()->CurrentPage()); }

  void PrintRender(TStream* Stream, const std::string& OutputFileName) override {
    TLxRender::PrintRender(Stream, OutputFileName);
    if (Cancelled()) return;
    if (!OpenOutputFile(OutputFiles()->Strings(0))) return;
    RunConverter(Stream);
  }
  void PageBegin() override {
    TLxRender::PageBegin();
    if (Converter()->CurrentPage() == WatchPage) OutputOpenAfterPageBegin = OutputStream() != nullptr;
  }
  void PageEnd() override {
    if (CurrentPageInRange()) PrintLn("page " + Page() + " as number " + std::to_string(RenderedPageNo()));
    TLxRender::PageEnd();
  }
  void PrintBitmapRect(TBitmap* Bitmap, double, double, double, double) override {
    Log.push_back("Bitmap:" + std::to_string(Bitmap->Width()) + "x" + std::to_string(Bitmap->Height()));
  }
};

std::vector<int> RenderedPages(const std::string& Pages, int PageCount) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, PageCount);
  TTestWriter writer;
  writer.SetPages(Pages);
  std::vector<int> pages;
  writer.OnPageBegin = [&](TVXRender*) {
    pages.push_back(writer.Converter()->CurrentPage());
    EXPECT_EQ(writer.RenderedPageNo(), static_cast<int>(pages.size()));
  };
  writer.PrintRender(&stream, folder.File("out.tst"));
  return pages;
}

std::vector<int> Range(int First, int Last) {
  std::vector<int> pages;
  for (int page = First; page <= Last; ++page) pages.push_back(page);
  return pages;
}

// ===== Pages =====

TEST(RenderPagesTest, TheFilterSelectsNumbersAndRanges) {
  std::vector<int> tenOfTwenty{1, 3, 5, 6, 7, 8, 9, 10, 11, 12};
  const struct {
    std::string Pages;
    int PageCount;
    std::vector<int> Rendered;
  } cases[] = {
      {"", 4, Range(1, 4)},   {"3", 5, {3}},          {"1,3,5-12", 20, tenOfTwenty},
      {"5-", 7, {5, 6, 7}},   {"-2", 7, {1, 2}},      {"9-4", 10, {}},
      {"0", 5, {}},           {"3,", 5, {3}},         {"300-302", 400, {300, 301, 302}},
      {"2,2,4-4", 5, {2, 4}}, {"99999999999", 3, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RenderedPages(c.Pages, c.PageCount), c.Rendered) << "Pages " << c.Pages;
}

TEST(RenderPagesTest, ARefusedValueIsReportedAndThePreviousValueStays) {
  TScriptedDialogService dialogs;
  TLxRender render;
  render.SetPages("4-6");
  const char* refused[] = {",3", "1,,2", "1-,2", "a", "-", "1;2", "3 4"};
  for (const char* value : refused) {
    dialogs.ClearCalls();
    render.SetPages(value);
    EXPECT_EQ(render.Pages(), "4-6") << value;
    ASSERT_EQ(dialogs.Count(dkShowError), 1) << value;
    EXPECT_EQ(
        dialogs.Last(dkShowError).Text,
        "Pages should contain page numbers and/or page ranges\r\nseparated by commas. For example, 1,3,5-12");
  }
  dialogs.ClearCalls();
  render.SetPages("  2 ");
  EXPECT_EQ(render.Pages(), "2");
  render.SetPages(" ");
  EXPECT_EQ(render.Pages(), "");
  EXPECT_EQ(dialogs.Count(dkShowError), 0);
}

// ===== Names =====

TEST(RenderNamesTest, TheFirstOutputNameTakesTheGivenExtensionOrTheRendersOwn) {
  TTempFolder folder;
  TMemoryStream stream;
  const struct {
    std::string Given;
    std::string Expected;
  } cases[] = {{"report", "report.html"},
               {"report.dat", "report.dat"},
               {"report.", "report.html"},
               {"a.b/report", "report.html"}};
  for (const auto& c : cases) {
    TLxRender render;
    render.SetShowSetupDialog(false);
    render.SetFileExtension("*.html;*.htm");
    render.PrintRender(&stream, folder.File(c.Given));
    ASSERT_EQ(render.OutputFiles()->Count(), 1) << c.Given;
    EXPECT_EQ(render.OutputFiles()->Strings(0),
              folder.File(c.Given.substr(0, c.Given.rfind('/') + 1) + c.Expected))
        << c.Given;
    EXPECT_EQ(render.OutputFileName(), folder.File(c.Given));
  }
  // The base names files but creates none.
  EXPECT_TRUE(folder.Files().empty());
}

TEST(RenderNamesTest, TheApplicationMayRenameTheFirstFileWhichIsAlwaysPageOne) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  TTestWriter writer;
  writer.SetPages("2-3");
  std::vector<int> pageNumbers;
  writer.OnMakeReportFileName = [&](TVXRender*, std::string& FileName, int PageNo) {
    pageNumbers.push_back(PageNo);
    FileName = folder.File("renamed.out");
  };
  writer.PrintRender(&stream, folder.File("report.tst"));
  EXPECT_EQ(pageNumbers, std::vector<int>{1});
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"renamed.out"});
  EXPECT_EQ(ReadFileBytes(folder.File("renamed.out")), "page 2 as number 1\r\npage 3 as number 2\r\n");
}

// ===== The generation =====

TEST(RenderGenerationTest, EventsFireInOrderAndOnlyForPagesInTheFilter) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  TTestWriter writer;
  writer.SetPages("1,3");
  writer.PrintRender(&stream, folder.File("out.tst"));
  EXPECT_EQ(writer.Log,
            (TLog{"OnDocBegin", "OnPageBegin:1", "OnPageEnd:1", "OnPageBegin:3", "OnPageEnd:3", "OnDocEnd"}));
  EXPECT_EQ(writer.PagesInRange(), 2);
  EXPECT_EQ(ReadFileBytes(folder.File("out.tst")), "page 1 as number 1\r\npage 3 as number 2\r\n");
}

TEST(RenderGenerationTest, AFilterWithoutPagesStillMakesTheFileAndTheDocumentEvents) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  TTestWriter writer;
  writer.SetPages("7-9");
  writer.PrintRender(&stream, folder.File("out.tst"));
  EXPECT_EQ(writer.Log, (TLog{"OnDocBegin", "OnDocEnd"}));
  EXPECT_TRUE(FileExists(folder.File("out.tst")));
  EXPECT_EQ(FileSize(folder.File("out.tst")), 0);
}

TEST(RenderGenerationTest, EMailRequestsRepeatWhileTheHandlerAsksAndOpenUsesTheFirstFile) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  TScriptedDialogService dialogs;
  TTestWriter writer;
  writer.SetEMailAfterGenerate(true);
  writer.SetOpenAfterGenerate(true);
  std::vector<TLxEMailInfo*> requests;
  writer.OnEMail = [&](TVXRender*, TLxEMailInfo* Info, bool& Continue) {
    EXPECT_FALSE(Continue);
    requests.push_back(Info);
    Continue = requests.size() < 3;
  };
  writer.PrintRender(&stream, folder.File("out.tst"));
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0], requests[2]);
  ASSERT_EQ(writer.EMailInfo(), requests[0]);
  ASSERT_EQ(writer.EMailInfo()->Attachments->Count(), 1);
  EXPECT_EQ(writer.EMailInfo()->Attachments->Strings(0), folder.File("out.tst"));
  EXPECT_GT(writer.EMailInfo()->SentDate, 0);
  EXPECT_TRUE(writer.EMailInfo()->ToList->Count() == 0 && writer.EMailInfo()->Subject.empty());
  ASSERT_EQ(dialogs.Count(dkShellOpen), 1);
  EXPECT_EQ(dialogs.Last(dkShellOpen).Text, folder.File("out.tst"));
}

TEST(RenderGenerationTest, ACancelledSetupDialogCreatesNothingAndFiresNothing) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  for (TModalResult answer : {mrCancel, mrOk}) {
    int shown = 0;
    SetRenderSetupDialogHook("TTestWriter", [&](TLxRender* Render) {
      EXPECT_EQ(Render->ClassName(), "TTestWriter");
      ++shown;
      return answer;
    });
    TTestWriter writer;
    writer.SetShowSetupDialog(true);
    writer.PrintRender(&stream, folder.File("out.tst"));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(writer.Cancelled(), answer == mrCancel);
    EXPECT_EQ(writer.Log.empty(), answer == mrCancel);
    EXPECT_EQ(FileExists(folder.File("out.tst")), answer == mrOk);
  }
  SetRenderSetupDialogHook("TTestWriter", nullptr);
  // Without a dialog for its class a render generates at once.
  TTestWriter writer;
  writer.SetShowSetupDialog(true);
  EXPECT_EQ(writer.ExecuteSetupDialog(), mrOk);
}

TEST(RenderGenerationTest, EncodedImagesReachTheWriterOnlyThroughTheDecodeHandler) {
  TMemoryStream stream;
  TMemoryStream jpeg;
  jpeg.WriteBuffer("ENCODED", 7);
  RecordReport(stream, [&](TReportFiler& R) {
    jpeg.SetPosition(0);
    R.PrintImageRect(1, 1, 2, 2, &jpeg, "JPG");
  });
  TTempFolder folder;
  TTestWriter writer;
  writer.PrintRender(&stream, folder.File("a.tst"));
  EXPECT_EQ(writer.Log, (TLog{"OnDocBegin", "OnPageBegin:1", "OnPageEnd:1", "OnDocEnd"}));
  writer.Log.clear();
  writer.OnDecodeImage = [](TObject*, TStream* Image, const std::string& Type, TBitmap* Bitmap) {
    EXPECT_EQ(Type, "JPG");
    EXPECT_EQ(Image->Size(), 7);
    Bitmap->SetSize(5, 2);
  };
  stream.SetPosition(0);
  writer.PrintRender(&stream, folder.File("b.tst"));
  EXPECT_EQ(writer.Log, (TLog{"OnDocBegin", "OnPageBegin:1", "Bitmap:5x2", "OnPageEnd:1", "OnDocEnd"}));
}

TEST(RenderGenerationTest, TheLibraryVersionCannotBeChanged) {
  TLxRender render;
  EXPECT_EQ(render.Version().rfind("1.0 [4.05", 0), 0u) << render.Version();
  const std::string before = render.Version();
  render.SetVersion("9.9");
  EXPECT_EQ(render.Version(), before);
}

// ===== Aborting =====

TEST(RenderAbortTest, CancelOnlyRequestsAndTheFilesGoWhenTheOperationHasReturned) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 3);
  TScriptedDialogService dialogs;
  TTestWriter writer;
  writer.SetEMailAfterGenerate(true);
  writer.SetOpenAfterGenerate(true);
  int emails = 0;
  writer.OnEMail = [&](TVXRender*, TLxEMailInfo*, bool&) { ++emails; };
  bool openDuringCancel = false;
  writer.WatchPage = 2;
  writer.OnPageBegin = [&](TVXRender*) {
    writer.Log.push_back("OnPageBegin:" + writer.Page());
    if (writer.Converter()->CurrentPage() != 2) return;
    writer.AbortRender();
    writer.AbortRender();  // a second press changes nothing
    openDuringCancel = writer.OutputStream() != nullptr;
  };
  writer.PrintRender(&stream, folder.File("out.tst"));
  EXPECT_TRUE(openDuringCancel);
  EXPECT_TRUE(writer.OutputOpenAfterPageBegin) << "the file went while the writer's PageBegin still ran";
  EXPECT_TRUE(writer.Cancelled());
  EXPECT_EQ(writer.Log, (TLog{"OnDocBegin", "OnPageBegin:1", "OnPageEnd:1", "OnPageBegin:2"}));
  EXPECT_TRUE(folder.Files().empty());
  EXPECT_EQ(emails, 0);
  EXPECT_EQ(dialogs.Count(dkShellOpen), 0);
  EXPECT_EQ(writer.OutputStream(), nullptr);
}

// A progress window that presses Cancel when a given page is shown.
class TFakeProgress : public TLxRenderProgress {
public:
  TFakeProgress(TLxRender* Render, TLog& Log, int CancelAt)
      : FRender(Render), FLog(Log), FCancelAt(CancelAt) {}
  ~TFakeProgress() override { FLog.push_back("closed"); }
  void SetTotal(int Value) override { FLog.push_back("total " + std::to_string(Value)); }
  void SetCurrent(int Value) override {
    FLog.push_back("current " + std::to_string(Value));
    if (Value == FCancelAt) FRender->AbortRender();
  }
  void Show() override { FLog.push_back("show"); }

private:
  TLxRender* FRender;
  TLog& FLog;
  int FCancelAt;
};

TEST(RenderAbortTest, TheProgressWindowCountsRenderedPagesAndItsCancelStopsTheRun) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 4);
  for (int cancelAt : {-1, 2}) {
    TLog progress;
    SetRenderProgressHook(
        [&](TLxRender* Render) { return std::make_unique<TFakeProgress>(Render, progress, cancelAt); });
    TTestWriter writer;
    writer.SetPages("2-4");
    writer.PrintRender(&stream, folder.File("out.tst"));
    SetRenderProgressHook(nullptr);
    if (cancelAt < 0) {
      EXPECT_EQ(progress, (TLog{"total 3", "current 0", "show", "total 3", "current 1", "total 3",
                                "current 2", "total 3", "current 3", "closed"}));
      EXPECT_TRUE(FileExists(folder.File("out.tst")));
    } else {
      EXPECT_EQ(progress, (TLog{"total 3", "current 0", "show", "total 3", "current 1", "total 3",
                                "current 2", "closed"}));
      EXPECT_TRUE(folder.Files().empty());
      EXPECT_EQ(std::count(writer.Log.begin(), writer.Log.end(), "OnDocEnd"), 0);
    }
  }
  // Without ShowProgress no window is asked for.
  TLog progress;
  SetRenderProgressHook(
      [&](TLxRender* Render) { return std::make_unique<TFakeProgress>(Render, progress, -1); });
  TTestWriter quiet;
  quiet.SetShowProgress(false);
  quiet.PrintRender(&stream, folder.File("quiet.tst"));
  SetRenderProgressHook(nullptr);
  EXPECT_TRUE(progress.empty());
}

TEST(RenderAbortTest, AnOutputThatCannotBeCreatedIsReportedAndLeavesNoFile) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  TScriptedDialogService dialogs;
  TTestWriter writer;
  writer.PrintRender(&stream, folder.File("missing/out.tst"));
  ASSERT_EQ(dialogs.Count(dkShowError), 1);
  EXPECT_EQ(dialogs.Last(dkShowError).Text, FileMessage);
  EXPECT_TRUE(writer.Cancelled());
  EXPECT_TRUE(writer.Log.empty());
  EXPECT_FALSE(DirectoryExists(folder.File("missing")));
}

TEST(RenderAbortTest, ADamagedStreamRaisesToTheCallerAndRemovesOnlyThisRunsFiles) {
  TTempFolder folder;
  TMemoryStream good;
  RecordPages(good, 3);
  // The same report cut in the middle of its last page, and one with a bad signature.
  TMemoryStream cut;
  cut.WriteBuffer(good.Memory(), good.Size() - 6);
  TMemoryStream badHeader;
  badHeader.WriteBuffer("X", 1);
  badHeader.WriteBuffer(good.Memory() + 1, good.Size() - 1);
  WriteFileBytes(folder.File("keep.tst"), "earlier");
  for (TMemoryStream* stream : {&cut, &badHeader}) {
    TScriptedDialogService dialogs;
    TTestWriter writer;
    writer.SetEMailAfterGenerate(true);
    writer.SetOpenAfterGenerate(true);
    writer.OnEMail = [](TVXRender*, TLxEMailInfo*, bool&) { ADD_FAILURE() << "e-mail after a failure"; };
    stream->SetPosition(0);
    EXPECT_THROW(writer.PrintRender(stream, folder.File("out.tst")), Exception);
    EXPECT_EQ(std::count(writer.Log.begin(), writer.Log.end(), "OnDocEnd"), 0);
    EXPECT_EQ(dialogs.Count(dkShellOpen), 0);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"keep.tst"});
  }
  EXPECT_EQ(ReadFileBytes(folder.File("keep.tst")), "earlier");
}

TEST(RenderAbortTest, ARenderRunTwiceKeepsTheFirstRunsFilesWhenTheSecondIsAborted) {
  TTempFolder folder;
  TMemoryStream stream;
  RecordPages(stream, 2);
  TTestWriter writer;
  writer.PrintRender(&stream, folder.File("first.tst"));
  const std::string first = ReadFileBytes(folder.File("first.tst"));
  EXPECT_EQ(first, "page 1 as number 1\r\npage 2 as number 2\r\n");
  writer.OnPageBegin = [&](TVXRender*) { writer.AbortRender(); };
  stream.SetPosition(0);
  writer.PrintRender(&stream, folder.File("second.tst"));
  ASSERT_EQ(writer.OutputFiles()->Count(), 1);
  EXPECT_EQ(writer.OutputFiles()->Strings(0), folder.File("second.tst"));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"first.tst"});
  // Aborting after a run has ended touches nothing.
  writer.OnPageBegin = nullptr;
  stream.SetPosition(0);
  writer.PrintRender(&stream, folder.File("third.tst"));
  writer.AbortRender();
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"first.tst", "third.tst"}));
  EXPECT_EQ(ReadFileBytes(folder.File("first.tst")), first);
}

}  // namespace
