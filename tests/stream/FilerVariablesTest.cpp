// Report variables: placeholders printed before their values are known, values patched into
// earlier pages, and the values every page restates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilerRun.h"
#include "engine/VXDefine.h"

namespace {

// What a reader shows for Name after reading page Page from its header on.
std::string ValueOnPage(TMemoryStream& Stream, int Page, const std::string& Name) {
  TPageStreamReader reader(&Stream);
  reader.ReadHeader();
  reader.GotoPage(Page);
  ReadPageRecords(reader);
  return reader.VariableValue(Name);
}

TEST(FilerVariablesTest, AValueSetOnPageThreeIsReadOnPageOne) {
  TFilerRun run;
  std::string placeholder;
  run.Run([&placeholder](TReportFiler& F) {
    placeholder = F.VariableCode("Total");
    F.PrintXY(1, 1, "Total: " + placeholder);
    F.NewPage();
    F.NewPage();
    F.SetVariable("Total", "42");
  });
  EXPECT_EQ(placeholder, "\xFD$VXCV\xFCTotal\xFB");
  for (int page = 1; page <= 3; ++page) EXPECT_EQ(ValueOnPage(run.Stream, page, "total"), "42") << page;
  const auto pages = ReadAllPages(&run.Stream);
  EXPECT_EQ(TextsOf(pages[0]), (std::vector<std::string>{"Total: " + placeholder}));
}

TEST(FilerVariablesTest, AValueNeverGivenReadsAsEmpty) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    F.PrintXY(1, 1, F.VariableCode("Missing"));
    F.NewPage();
  });
  EXPECT_EQ(ValueOnPage(run.Stream, 1, "Missing"), "");
  EXPECT_EQ(ValueOnPage(run.Stream, 2, "Missing"), "");
}

TEST(FilerVariablesTest, ASecondPlaceholderShowsTheEarlierValueUntilItGetsItsOwn) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    F.VariableCode("Sum");
    F.SetVariable("Sum", "first");
    F.NewPage();
    F.VariableCode("Sum");
    F.NewPage();
    F.NewPage();
    F.SetVariable("Sum", "second");
  });
  EXPECT_EQ(ValueOnPage(run.Stream, 1, "Sum"), "first");
  EXPECT_EQ(ValueOnPage(run.Stream, 2, "Sum"), "second");
  EXPECT_EQ(ValueOnPage(run.Stream, 4, "Sum"), "second");
}

TEST(FilerVariablesTest, ImmediateValuesAreReplacedByNewRecordsNotOverwritten) {
  TFilerRun run;
  const std::string longValue(300, 'L');
  const auto pages = run.Run([&longValue](TReportFiler& F) {
    F.PrintXY(1, 0.5, "before");
    F.SetVariable("Name", "short");
    F.PrintXY(1, 1, "after the first value");
    F.SetVariable("name", longValue);
    F.PrintXY(1, 2, "after the second value");
    F.NewPage();
  });
  const auto body = AfterStateBlock(pages[0]);
  std::vector<std::string> values;
  for (const TStreamRecord& r : body) {
    if (r.Code == pcVariable) values.push_back(r.Value.Value);
  }
  EXPECT_EQ(values, (std::vector<std::string>{"short", std::string(253, 'L')}))
      << "values stop at 253 bytes, before the indirect markers";
  EXPECT_EQ(TextsOf(body),
            (std::vector<std::string>{"before", "after the first value", "after the second value"}));
  EXPECT_EQ(ValueOnPage(run.Stream, 2, "NAME"), std::string(253, 'L'));
}

TEST(FilerVariablesTest, AReservedRecordKeeps128Bytes) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    F.VariableCode("Long");
    F.SetVariable("Long", std::string(200, 'x'));
  });
  EXPECT_EQ(ValueOnPage(run.Stream, 1, "Long"), std::string(128, 'x'));
}

TEST(FilerVariablesTest, AValueGivenOnAPageLeftOutReachesTheNextPage) {
  TFilerRun run;
  run.Filer.SetPageSelection("1,3");
  run.Run([](TReportFiler& F) {
    F.NewPage();
    F.SetVariable("Late", "from page 2");
    F.NewPage();
  });
  EXPECT_EQ(ValueOnPage(run.Stream, 1, "Late"), "");
  EXPECT_EQ(ValueOnPage(run.Stream, 2, "Late"), "from page 2");
}

TEST(FilerVariablesTest, VariablesOfAnAbortedPageDoNotPointIntoLaterPages) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    F.VariableCode("Kept");
    F.NewPage();
    F.VariableCode("Dropped");
    F.SetVariable("Kept", "kept value");
    F.AbortPage();
    F.NewPage();
    F.PrintXY(1, 1, std::string(300, 'p'));  // bytes where the aborted page's records were
    F.SetVariable("Dropped", "new value");
  });
  EXPECT_EQ(ValueOnPage(run.Stream, 1, "Kept"), "kept value");
  EXPECT_EQ(ValueOnPage(run.Stream, 2, "Dropped"), "new value");
  const auto pages = ReadAllPages(&run.Stream);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(TextsOf(pages[1]), (std::vector<std::string>{std::string(300, 'p')}));
}

}  // namespace
