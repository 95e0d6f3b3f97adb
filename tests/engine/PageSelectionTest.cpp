// The page-selection text and the first/last page range.
#include <gtest/gtest.h>

#include <ostream>
#include <set>

#include "engine/RecordingReport.h"

namespace {

struct TSelectionCase {
  std::string Selection;
  std::set<int> Selected;  // among pages 1..12
};

// Shows the selection text in test names and messages.
std::ostream& operator<<(std::ostream& Stream, const TSelectionCase& Case) {
  return Stream << '"' << Case.Selection << '"';
}

class PageSelectionTest : public ::testing::TestWithParam<TSelectionCase> {};

TEST_P(PageSelectionTest, SelectsExactlyTheListedPages) {
  TRecordingReport report;
  report.SetPageSelection(GetParam().Selection);
  for (int page = 1; page <= 12; ++page) {
    EXPECT_EQ(report.PageInRange(page), GetParam().Selected.count(page) == 1)
        << "selection \"" << GetParam().Selection << "\", page " << page;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageSelectionTest,
    ::testing::Values(TSelectionCase{"1,3,5-7", {1, 3, 5, 6, 7}},
                      TSelectionCase{"5-", {5, 6, 7, 8, 9, 10, 11, 12}}, TSelectionCase{"-3", {1, 2, 3}},
                      TSelectionCase{"7-5", {}}, TSelectionCase{"even", {2, 4, 6, 8, 10, 12}},
                      TSelectionCase{"E", {2, 4, 6, 8, 10, 12}}, TSelectionCase{"o", {1, 3, 5, 7, 9, 11}},
                      TSelectionCase{"Odd", {1, 3, 5, 7, 9, 11}},
                      TSelectionCase{"a", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                      TSelectionCase{"all", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}, TSelectionCase{"R", {}},
                      TSelectionCase{"R,ALL", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                      TSelectionCase{"2,10-11,even", {2, 4, 6, 8, 10, 11, 12}}, TSelectionCase{"12", {12}}));

TEST(PageSelectionErrorTest, BadTokenRaisesOnlyWhenTheScanReachesIt) {
  TRecordingReport report;
  report.SetPageSelection("3,x");
  EXPECT_TRUE(report.PageInRange(3));
  EXPECT_THROW(report.PageInRange(4), EConvertError);
  report.SetPageSelection("x-5");
  EXPECT_THROW(report.PageInRange(1), EConvertError);
}

TEST(PageSelectionErrorTest, TokensAreNotTrimmed) {
  TRecordingReport report;
  report.SetPageSelection("2, even");
  EXPECT_TRUE(report.PageInRange(2));
  EXPECT_THROW(report.PageInRange(4), EConvertError);
}

TEST(PageSelectionErrorTest, EmptySelectionUsesFirstAndLastPage) {
  TRecordingReport report;
  EXPECT_TRUE(report.PageInRange(1));
  EXPECT_TRUE(report.PageInRange(9999));
  EXPECT_FALSE(report.PageInRange(10000));
  report.SetFirstPage(2);
  report.SetLastPage(3);
  EXPECT_FALSE(report.PageInRange(1));
  EXPECT_TRUE(report.PageInRange(2));
  EXPECT_TRUE(report.PageInRange(3));
  EXPECT_FALSE(report.PageInRange(4));
}

TEST(PageSelectionErrorTest, ConversionErrorAtAPageStartReachesTheCaller) {
  TRecordingReport report;
  report.SetPageSelection("1,x");
  report.OnAfterPrint = report.Note("OnAfterPrint");
  report.OnPrint = [&](TObject*) { report.NewPage(); };
  EXPECT_THROW(report.Execute(), EConvertError);
  EXPECT_FALSE(report.Printing());
  EXPECT_EQ(report.Log.back(), "OnAfterPrint");
}

}  // namespace
