// The filer's job and page cycle: the bytes of the header and page records, the page chain
// with page selection and aborted pages, the stream modes and the 16-bit page count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilerRun.h"
#include "engine/VXDefine.h"
#include "platform/FileUtils.h"

namespace {

TEST(FilerJobTest, AOnePageStreamBeginsWithTheDocumentedBytes) {
  TFilerRun run;
  run.Run([](TReportFiler&) {});
  const std::vector<uint8_t> bytes = run.Bytes();
  // "Z", version 2017, empty title, PageCount 1, FirstPage 1, LastPage 9999, 8.5 x 11 in,
  // four zero margins, portrait, bin 265, no collate, simplex, 1 copy, paper 1, no custom
  // size, no output file name.
  std::vector<uint8_t> header = {0x5A, 0xE1, 0x07, 0x00, 0x01, 0x00, 0x01, 0x00, 0x0F,
                                 0x27, 0x00, 0x00, 0x08, 0x41, 0x00, 0x00, 0x30, 0x41};
  header.insert(header.end(), 16, 0x00);
  const std::vector<uint8_t> printer = {0x00, 0x09, 0x01, 0x00, 0x00, 0x01, 0x00,
                                        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  header.insert(header.end(), printer.begin(), printer.end());
  ASSERT_EQ(header.size(), 48u);
  ASSERT_GT(bytes.size(), 48u + 19u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 48), header);
  const std::vector<uint8_t> page = {0x50, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
                                     0x00, 0x00, 0x00, 0x08, 0x41, 0x00, 0x00, 0x30, 0x41};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 48, bytes.begin() + 48 + 19), page);
  EXPECT_EQ(bytes.back(), pcPageEnd) << "nothing follows the last page";
  EXPECT_EQ(run.Stream.Position(), run.Stream.Size()) << "a user stream is left after the last byte";
}

TEST(FilerJobTest, EveryPageStartsWithTheWholeState) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) { F.NewPage(); });
  const std::vector<uint8_t> state = {41, 42, 43, 51, 52, 53, 63, 55, 57, 56, 58, 59, 60,
                                      61, 62, 54, 71, 72, 73, 74, 28, 29, 26, 27, 82};
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(CodesOf(pages[0]), state);
  EXPECT_EQ(CodesOf(pages[1]), state);
  EXPECT_EQ(pages[1][3].Text, "Arial");
  EXPECT_FLOAT_EQ(pages[1][20].Singles[0], 100.0f);
}

// Each page prints its own name; FirstPage, LastPage and PageSelection decide what is kept.
std::vector<std::string> PrintNamedPages(TFilerRun& Run, int Pages) {
  const auto pages = Run.Run([Pages](TReportFiler& F) {
    for (int page = 1; page <= Pages; ++page) {
      if (page > 1) F.NewPage();
      F.PrintXY(1, 1, "page " + std::to_string(page));
    }
  });
  std::vector<std::string> texts;
  for (const auto& page : pages) {
    const auto pageTexts = TextsOf(page);
    texts.push_back(pageTexts.empty() ? "" : pageTexts.front());
  }
  return texts;
}

TEST(FilerJobTest, APageOutsideTheSelectionLeavesNoBytesAndTheChainSkipsIt) {
  TFilerRun run;
  run.Filer.SetPageSelection("1,3");
  EXPECT_EQ(PrintNamedPages(run, 3), (std::vector<std::string>{"page 1", "page 3"}));
  EXPECT_EQ(run.Text().find("page 2"), std::string::npos);
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 2);
  const TPageHeader first = reader.GotoPage(1);
  const TPageHeader second = reader.GotoPage(2);
  EXPECT_EQ(first.NextPage, second.Offset);
  EXPECT_EQ(second.PrevPage, first.Offset);
  EXPECT_EQ(second.NextPage, 0);
  EXPECT_EQ(second.PageNumber, 2) << "page numbers count the pages in the stream";
  EXPECT_EQ(TextsOf(ReadPageRecords(reader)), (std::vector<std::string>{"page 3"}));
}

TEST(FilerJobTest, ALastPageOutsideTheRangeEndsTheChainEarlier) {
  TFilerRun run;
  run.Filer.SetLastPage(2);
  EXPECT_EQ(PrintNamedPages(run, 3), (std::vector<std::string>{"page 1", "page 2"}));
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().LastPage, 2);
  EXPECT_EQ(reader.GotoPage(2).NextPage, 0);
}

TEST(FilerJobTest, AnAbortedPageIsDiscardedAndNotCounted) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.PrintXY(1, 1, "one");
    F.NewPage();
    F.PrintXY(1, 1, "gone");
    F.AbortPage();
    F.PrintXY(1, 2, "also gone");
    F.NewPage();
    F.PrintXY(1, 1, "two");
  });
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextsOf(pages[1]), (std::vector<std::string>{"two"}));
  EXPECT_EQ(run.Text().find("gone"), std::string::npos);
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 2);
  const TPageHeader second = reader.GotoPage(2);
  EXPECT_EQ(second.PageNumber, 2);
  EXPECT_EQ(reader.GotoPage(1).NextPage, second.Offset);
}

TEST(FilerJobTest, AnAbortedLastPageEndsTheChainAtThePageBefore) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.PrintXY(1, 1, "one");
    F.NewPage();
    F.PrintXY(1, 1, "gone");
    F.AbortPage();
  });
  ASSERT_EQ(pages.size(), 1u);
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 1);
  EXPECT_EQ(reader.GotoPage(1).NextPage, 0);
  EXPECT_EQ(run.Text().find("gone"), std::string::npos);
}

TEST(FilerJobTest, AnAbortedReportStillEndsItsLastPage) {
  TFilerRun run;
  EXPECT_THROW(run.Run([](TReportFiler& F) {
    F.PrintXY(1, 1, "one");
    F.NewPage();
    F.PrintXY(1, 1, "two");
    F.AbortReport();
    F.PrintXY(1, 2, "never");
  }),
               EAbort);
  EXPECT_FALSE(run.Filer.Printing());
  const auto pages = ReadAllPages(&run.Stream);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[1].back().Code, pcPageEnd);
  EXPECT_EQ(TextsOf(pages[1]), (std::vector<std::string>{"two"}));
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 2);
  EXPECT_EQ(reader.GotoPage(2).NextPage, 0);
}

TEST(FilerJobTest, TooManyPagesRaiseInsteadOfWrapping) {
  TFilerRun run;
  run.Filer.SetLastPage(40000);
  int pages = 0;
  try {
    run.Run([&pages](TReportFiler& F) {
      for (pages = 1; pages <= 32768; ++pages) F.NewPage();
    });
    FAIL() << "no failure";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Too many pages for a page stream.");
  }
  EXPECT_EQ(pages, 32767) << "page 32768 is the first that does not fit";
  EXPECT_FALSE(run.Filer.Printing());
  TPageStreamReader reader(&run.Stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 32767);
  EXPECT_EQ(reader.GotoPage(40000).PageNumber, 32767);
}

// ===== Stream modes =====

// The same small report in every mode gives the same bytes.
void SmallReport(TReportFiler& Filer) {
  Filer.SetTitle("Modes");
  Filer.OnPrint = [&Filer](TObject*) {
    Filer.PrintXY(1, 1, "first");
    Filer.NewPage();
    Filer.PrintXY(1, 1, "second");
  };
}

std::vector<uint8_t> FileBytes(const std::string& FileName) {
  TMemoryStream stream;
  stream.LoadFromFile(FileName);
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

TEST(FilerJobTest, AllFourStreamModesWriteTheSameStream) {
  TMemoryStream user;
  user.WriteBuffer("stale bytes of an earlier use", 29);
  TReportFiler userFiler;
  SmallReport(userFiler);
  userFiler.SetStreamMode(smUser);
  userFiler.SetStream(&user);
  userFiler.Execute();
  EXPECT_EQ(user.Position(), user.Size());
  const std::vector<uint8_t> expected(user.Memory(), user.Memory() + user.Size());
  ASSERT_EQ(ReadAllPages(&user).size(), 2u);

  const std::string folder = GetTempPath();
  for (TStreamMode mode : {smMemory, smFile, smTempFile}) {
    TReportFiler filer;
    SmallReport(filer);
    filer.SetStreamMode(mode);
    filer.SetFileName(mode == smTempFile ? "" : folder + "filer-mode-" + std::to_string(mode) + ".vsn");
    filer.Execute();
    const std::string name = filer.FileName();
    ASSERT_TRUE(FileExists(name)) << "mode " << mode;
    if (mode == smTempFile) {
      EXPECT_EQ(ExtractFilePath(name), folder);
      EXPECT_EQ(ExtractFileName(name).substr(0, 2), "VX");
    }
    EXPECT_EQ(FileBytes(name), expected) << "mode " << mode;
    DeleteFile(name);
  }
}

TEST(FilerJobTest, AMemoryStreamWithoutFileNameFailsAtTheEndAndStillFiresOnAfterPrint) {
  TReportFiler filer;
  filer.SetStreamMode(smMemory);
  bool afterPrint = false;
  bool recorded = false;
  filer.OnPrint = [&filer, &recorded](TObject*) {
    filer.PrintXY(1, 1, "built");
    recorded = true;
  };
  filer.OnAfterPrint = [&afterPrint](TObject*) { afterPrint = true; };
  EXPECT_THROW(filer.Execute(), EStreamError);
  EXPECT_TRUE(recorded);
  EXPECT_TRUE(afterPrint);
  EXPECT_FALSE(filer.Printing());
}

TEST(FilerJobTest, UserModeWithoutAStreamIsRefused) {
  TReportFiler filer;
  filer.SetStreamMode(smUser);
  try {
    filer.Execute();
    FAIL() << "no failure";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "StreamMode is smUser but Stream is nil");
  }
  EXPECT_FALSE(filer.Printing());
}

TEST(FilerJobTest, AFileThatCannotBeCreatedStopsTheJobBeforeItStarts) {
  TReportFiler filer;
  filer.SetStreamMode(smFile);
  filer.SetFileName(GetTempPath() + "no-such-folder/x/report.vsn");
  bool printed = false;
  filer.OnPrint = [&printed](TObject*) { printed = true; };
  EXPECT_THROW(filer.Execute(), EFCreateError);
  EXPECT_FALSE(printed);
  EXPECT_FALSE(filer.Printing());
  // The filer is usable again afterwards.
  TMemoryStream stream;
  filer.SetStreamMode(smUser);
  filer.SetStream(&stream);
  filer.Execute();
  EXPECT_TRUE(printed);
}

TEST(FilerJobTest, DrawingOutsideAJobIsRefused) {
  TReportFiler filer;
  try {
    filer.Rectangle(0, 0, 1, 1);
    FAIL() << "no failure";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Invalid method call.  PagePress is not printing.");
  }
}

}  // namespace
