// The render bridge: the order of the render's operations, their arguments and units, the
// font, brush and pen the converter keeps, macro and variable placeholders, texts with
// formatting codes, page selection, streams without pages, damaged streams, and the registry.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "RenderLog.h"
#include "engine/VXDefine.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/FontMetrics.h"
#include "platform/Pen.h"
#include "platform/StringList.h"
#include "stream/VXFiler.h"

namespace {

using TLog = std::vector<std::string>;
const std::string M = std::string(1, '\xFD') + "$VXCM";
const std::string V = std::string(1, '\xFD') + "$VXCV";

// Record builders (operands in stream order).
TStreamBytes& LeftText(TStreamBytes& Page, const std::string& Text, float X, float Y) {
  return Page.Byte(24).Single(Y).ShortString(Text).Single(X);
}

std::vector<uint8_t> BitmapBytes(int Width, int Height) {
  TBitmap bitmap(Width, Height);
  TMemoryStream data;
  bitmap.SaveToStream(&data);
  return std::vector<uint8_t>(data.Memory(), data.Memory() + data.Size());
}

TStreamBytes& Graphic(TStreamBytes& Page, const std::vector<uint8_t>& Data) {
  Page.Byte(1).Int32(static_cast<int64_t>(Data.size()));
  Page.Bytes.insert(Page.Bytes.end(), Data.begin(), Data.end());
  return Page;
}

TLog ConvertLog(const TPagedStream& Paged, int PageNo = 0, int PageCount = 0) {
  TMemoryStream stream;
  Paged.SaveTo(stream);
  TLogRender render;
  Convert(stream, render, PageNo, PageCount);
  return render.Log;
}

// ===== Order and pages =====

TEST(RenderBridgeTest, ThreePagesArriveBetweenDocBeginAndDocEndInOrder) {
  TPagedStream paged;
  for (int page = 1; page <= 3; ++page) LeftText(paged.AddPage(), "P" + std::to_string(page), page, 2);
  EXPECT_EQ(ConvertLog(paged), (TLog{"DocBegin()", "PageBegin(1)", "LeftText(P1,1,2)", "PageEnd()",
                                     "PageBegin(2)", "LeftText(P2,2,2)", "PageEnd()", "PageBegin(3)",
                                     "LeftText(P3,3,2)", "PageEnd()", "DocEnd()"}));
}

TEST(RenderBridgeTest, OnePageIsChosenByNumberAndNumbersBeyondTheStreamLandOnItsEnds) {
  TPagedStream paged;
  for (int page = 1; page <= 3; ++page) LeftText(paged.AddPage(), "P" + std::to_string(page), 1, 1);
  const struct {
    int PageNo;
    std::string Text;
  } cases[] = {
      {2, "LeftText(P2,1,1)"}, {7, "LeftText(P3,1,1)"}, {1, "LeftText(P1,1,1)"}, {3, "LeftText(P3,1,1)"}};
  for (const auto& c : cases) {
    const TLog log = ConvertLog(paged, c.PageNo);
    ASSERT_EQ(log.size(), 5u) << c.PageNo;
    EXPECT_EQ(log[2], c.Text) << c.PageNo;
  }
}

TEST(RenderBridgeTest, APageCountGivenWithAPageReplacesTheHeadersCount) {
  TPagedStream paged;
  for (int page = 1; page <= 3; ++page) LeftText(paged.AddPage(), M + "11/" + M + "10", 1, 1);
  EXPECT_EQ(ConvertLog(paged, 2, 40)[2], "LeftText(2/40,1,1)");
  EXPECT_EQ(ConvertLog(paged, 2, 0)[2], "LeftText(2/3,1,1)");
}

TEST(RenderBridgeTest, AStreamWithoutPagesConvertsNothing) {
  TPagedStream empty;
  EXPECT_EQ(ConvertLog(empty), (TLog{"DocBegin()", "DocEnd()"}));
  EXPECT_EQ(ConvertLog(empty, 3), (TLog{"DocBegin()", "DocEnd()"}));
  // A page count never patched (a recording that did not end): the page is not read.
  TPagedStream unpatched;
  LeftText(unpatched.AddPage(), "x", 1, 1);
  unpatched.PageCount = 0;
  EXPECT_EQ(ConvertLog(unpatched), (TLog{"DocBegin()", "DocEnd()"}));
}

// ===== Arguments and units =====

TEST(RenderBridgeTest, LinesArriveAsMoveToFromThePreviousPenPositionThenLineTo) {
  TPagedStream paged;
  paged.AddPage().Byte(12).Single(1).Single(1).Byte(11).Single(2).Single(1).Byte(11).Single(2).Single(2);
  const TLog log = ConvertLog(paged);
  EXPECT_EQ(TLog(log.begin() + 2, log.end() - 2),
            (TLog{"MoveTo(1,1)", "LineTo(2,1)", "MoveTo(2,1)", "LineTo(2,2)"}));
}

TEST(RenderBridgeTest, IntegerRectanglesAreWholePointsRoundedHalfToEven) {
  TPagedStream paged;
  // 22.5 points goes down to 22, 49.5 up to 50.
  paged.AddPage().Byte(8).Single(1.0f).Single(0.3125f).Single(0.6875f).Single(0.5625f);
  EXPECT_EQ(ConvertLog(paged)[2], "FillRect(72,22,50,40)");
}

TEST(RenderBridgeTest, ShapesTextsAndPicturesKeepTheirStreamOrderAndValues) {
  TPagedStream paged;
  TStreamBytes& page = paged.AddPage();
  page.Byte(1);
  for (int i = 1; i <= 8; ++i) page.Single(static_cast<float>(i));
  page.Byte(7).Single(1).Single(2).Single(3).Single(4);
  page.Byte(19).Single(1).Single(1).Single(2).Single(2);
  page.Byte(20).Single(1).Single(1).Single(3).Single(2).Single(0.25f).Single(0.5f);
  page.Byte(23).Single(5).ShortString("mid").Single(4.25f);
  page.Byte(25).Single(5).ShortString("end").Single(7.5f);
  page.Byte(33).Single(6).ShortString("a b").Single(1).Single(3);
  page.Byte(22).Single(1).Single(1).Single(2).Single(2).Single(1.5f).Single(1.75f).ShortString(
      "in\x01"
      "B1\x04"
      "box");
  page.Byte(36).Int32(8).Raw("JPEGDATA").ShortString("JPG").Single(1).Single(2).Single(3).Single(4);
  Graphic(page.Byte(17), BitmapBytes(4, 3)).Single(1).Single(1).Single(2).Single(2);
  const TLog log = ConvertLog(paged);
  EXPECT_EQ(
      TLog(log.begin() + 2, log.end() - 2),
      (TLog{"Arc(1,2,3,4,5,6,7,8)", "Ellipse(1,2,3,4)", "Rectangle(1,1,2,2)", "RoundRect(1,1,3,2,0.25,0.5)",
            "CenterText(mid,4.25,5)", "RightText(end,7.5,5)", "PrintSpaces(a b,1,6,3)",
            "TextRect(in\x01"
            "B1\x04"
            "box,72,72,144,144,1.5,1.75)",
            "PrintImageRect(JPG,8,1,2,3,4)", "PrintBitmapRect(1,1,2,2)"}));
}

TEST(RenderBridgeTest, PolygonsAndPrinterRecordsAreConsumedWithoutACall) {
  TPagedStream paged;
  TStreamBytes& page = paged.AddPage();
  page.Byte(14).Int16(2);
  for (int i = 0; i < 6; ++i) page.Single(static_cast<float>(i));
  page.Byte(30).ShortString("raw").Byte(31).Int32(3).Raw("abc").Byte(83).Single(1).Single(1).Single(1);
  page.Byte(8).Single(1).Single(1).Single(2).Single(2);
  EXPECT_EQ(ConvertLog(paged),
            (TLog{"DocBegin()", "PageBegin(1)", "FillRect(72,72,144,144)", "PageEnd()", "DocEnd()"}));
}

// ===== Font, brush and pen =====

TEST(RenderBridgeTest, AFontHeightRecordSetsTheExactHeightAndAWholePointSize) {
  TPagedStream paged;
  paged.AddPage().Byte(54).Single(0.1389f).Single(1.5f);
  TMemoryStream stream;
  paged.SaveTo(stream);
  TLogRender render;
  double height = 0;
  int size = 0;
  render.OnFont = [&](TVXConverter* C) {
    height = C->FontHeight();
    size = C->Font()->Size();
  };
  Convert(stream, render);
  EXPECT_NEAR(height, 0.1389, 1e-6);
  EXPECT_EQ(size, 10);
}

TEST(RenderBridgeTest, AWholeFontRecordSetsEveryAttribute) {
  TPagedStream paged;
  // Name, colour, pitch, charset (2018 streams only: this one is 2017), height, bold, italic,
  // underline, strike-out, rotation.
  paged.AddPage()
      .Byte(50)
      .ShortString("Times New Roman")
      .Int32(clRed)
      .Byte(2)
      .Single(0.25f)
      .Byte(1)
      .Byte(0)
      .Byte(1)
      .Byte(1)
      .Int16(-90);
  TMemoryStream stream;
  paged.SaveTo(stream);
  TLogRender render;
  render.OnFont = [&](TVXConverter* C) {
    EXPECT_EQ(C->Font()->Name(), "Times New Roman");
    EXPECT_EQ(C->Font()->Color(), clRed);
    EXPECT_EQ(C->Font()->Pitch(), fpFixed);
    EXPECT_EQ(C->Font()->Charset(), 1);
    EXPECT_EQ(C->Font()->Size(), 18);
    EXPECT_EQ(C->Font()->Style(), (TFontStyles{fsBold, fsUnderline, fsStrikeOut}));
    EXPECT_EQ(C->FontRotation(), -90);
  };
  Convert(stream, render);
  EXPECT_EQ(render.Only("FontChanged").size(), 1u);
}

// Notes the brush as each text arrives.
class TBrushLogRender : public TLogRender {
public:
  void LeftText(const std::string& Text, double, double) override {
    TBrush* b = Converter()->Brush();
    Log.push_back(Text + ":" + std::to_string(b->Color()) + "," + std::to_string(b->Style()) + "," +
                  (b->Bitmap()
                       ? std::to_string(b->Bitmap()->Width()) + "x" + std::to_string(b->Bitmap()->Height())
                       : "none"));
  }
};

TEST(RenderBridgeTest, WholeBrushAndPatternRecordsAreAppliedLikeTheReplayEngine) {
  TPagedStream paged;
  TStreamBytes& page = paged.AddPage();
  Graphic(page.Byte(40).Int32(clRed).Byte(bsCross).Byte(1), BitmapBytes(4, 3));
  LeftText(page, "a", 1, 1);
  page.Byte(41).Int32(clBlue);  // a colour keeps the style and drops the pattern
  LeftText(page, "b", 1, 1);
  Graphic(page.Byte(43).Byte(1), BitmapBytes(2, 5));
  LeftText(page, "c", 1, 1);
  page.Byte(43).Byte(0);
  LeftText(page, "d", 1, 1);
  page.Byte(40).Int32(clLime).Byte(bsClear).Byte(0);
  LeftText(page, "e", 1, 1);
  TMemoryStream stream;
  paged.SaveTo(stream);
  TBrushLogRender render;
  Convert(stream, render);
  const auto entry = [](const char* Text, TColor Color, TBrushStyle Style, const char* Bitmap) {
    return std::string(Text) + ":" + std::to_string(Color) + "," + std::to_string(Style) + "," + Bitmap;
  };
  EXPECT_EQ(TLog(render.Log.begin() + 2, render.Log.end() - 2),
            (TLog{entry("a", clRed, bsCross, "4x3"), entry("b", clBlue, bsCross, "none"),
                  entry("c", clBlue, bsCross, "2x5"), entry("d", clBlue, bsCross, "none"),
                  entry("e", clLime, bsClear, "none")}));
}

TEST(RenderBridgeTest, PenRecordsSetThePenAndTheRendersPenWidthAndFrameMode) {
  TPagedStream paged;
  paged.AddPage()
      .Byte(70)
      .Int32(clGreen)
      .Byte(pmXor)
      .Byte(psDash)
      .Single(0.02f)
      .Byte(35)
      .Byte(2)
      .Byte(8)
      .Single(0)
      .Single(0)
      .Single(1)
      .Single(1);
  TMemoryStream stream;
  paged.SaveTo(stream);
  struct TPenRender : TLogRender {
    void FillRect(const TRect&) override {
      TPen* p = Converter()->Pen();
      EXPECT_EQ(p->Color(), clGreen);
      EXPECT_EQ(p->Mode(), pmXor);
      EXPECT_EQ(p->Style(), psDash);
      EXPECT_NEAR(PenWidth(), 0.02, 1e-7);
      EXPECT_EQ(FrameMode(), 2);
      Log.push_back("checked");
    }
  } render;
  Convert(stream, render);
  EXPECT_EQ(render.Log[2], "checked");
}

// ===== Texts =====

TEST(RenderBridgeTest, PageMacrosShowTheRecordedPageAndTheStreamsPageCount) {
  TPagedStream paged;
  for (int page = 1; page <= 12; ++page)
    paged.AddPage().Byte(23).Single(10.5f).ShortString("Page " + M + "11 of " + M + "10").Single(4.25f);
  const TLog log = ConvertLog(paged);
  TLog texts;
  for (const std::string& entry : log) {
    if (entry.rfind("CenterText(", 0) == 0) texts.push_back(entry);
  }
  ASSERT_EQ(texts.size(), 12u);
  EXPECT_EQ(texts[2], "CenterText(Page 3 of 12,4.25,10.5)");
  EXPECT_EQ(texts[11], "CenterText(Page 12 of 12,4.25,10.5)");
}

TEST(RenderBridgeTest, MalformedPlaceholdersExpandToNothingAndNeverHang) {
  TMemoryStream none;
  TLogRender render;
  TVXConverter converter(&none, &render);
  const struct {
    std::string Text;
    std::string Expanded;
  } cases[] = {
      {"a" + M + "xyb", "ab"},        // a code that is not two digits
      {"a" + M + "1", "a"},           // cut off
      {"a" + M, "a"},                 // nothing after the marker
      {"a" + M + "99b", "ab"},        // a code without a value
      {"a" + M + "16b", "ab"},        // application texts are not in the stream
      {"a" + V + "Xb", "ab"},         // no 252: the marker and one character go
      {"a" + V, "a"},                 // nothing after the marker
      {"a" + V + "\xFCName", "a"},    // no 251: the name runs to the end
      {"a" + M + "13b", "aRenderb"},  // device name
      {"<" + V +
           "\xFC"
           "Unknown\xFB>",
       "<>"},  // a variable the stream never recorded
  };
  for (const auto& c : cases) EXPECT_EQ(converter.ExpandMacros(c.Text), c.Expanded) << c.Text;
}

TEST(RenderBridgeTest, ReportVariablesRecordedByTheFilerExpandToTheirFinalValues) {
  TMemoryStream stream;
  TReportFiler filer;
  filer.SetStreamMode(smUser);
  filer.SetStream(&stream);
  filer.OnPrint = [&](TObject*) {
    filer.PrintXY(1, 1, "Total " + filer.VariableCode("Total"));
    filer.NewPage();
    filer.PrintXY(1, 1, "Count " + filer.VariableCode("Count"));
    filer.SetVariable("Count", "7");
    filer.NewPage();
    filer.SetVariable("Total", "42");
    filer.PrintXY(1, 1, "Total " + filer.VariableCode("Total") + " " + filer.VariableCode("Never"));
  };
  filer.Execute();
  TLogRender render;
  Convert(stream, render);
  TLog texts;
  for (const std::string& entry : render.Log) {
    if (entry.rfind("LeftText(", 0) == 0) texts.push_back(entry.substr(0, entry.find(',')));
  }
  EXPECT_EQ(texts, (TLog{"LeftText(Total 42", "LeftText(Count 7", "LeftText(Total 42 "}));
}

// Width in inches of Text in a font, measured directly from the font at a high resolution.
double InchWidth(const std::string& Name, double Points, bool Bold, const std::string& Text) {
  TLogFont logFont;
  logFont.lfFaceName = Name;
  logFont.lfHeight = -static_cast<int>(std::lround(Points * 100));  // 7200 pixels per inch
  logFont.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
  return CreateFontIndirect(logFont)->TextExtent(Text).cx / 7200.0;
}

double TextX(const std::string& Entry) {
  const size_t comma = Entry.find(',');
  return std::stod(Entry.substr(comma + 1));
}

TEST(RenderBridgeTest, SegmentsOfCodedTextFollowEachOtherByTheirOwnWidths) {
  const std::string text =
      "Plain \x01"
      "B1\x02Z20\x04"
      "Bold \x01r\x04"
      "end";
  // The page's font: Arial, 10 points.
  const double plain = InchWidth("Arial", 10, false, "Plain ");
  const double bold = InchWidth("Arial", 20, true, "Bold ");
  const double end = InchWidth("Arial", 20, false, "end");
  const double total = plain + bold + end;
  const struct {
    uint8_t Code;
    const char* Operation;
    double Starts[3];
  } cases[] = {
      {24, "LeftText", {2, 2 + plain, 2 + plain + bold}},
      {25, "RightText", {2 - bold - end, 2 - end, 2}},
      {23,
       "CenterText",
       {2 - total / 2 + plain / 2, 2 - total / 2 + plain + bold / 2, 2 + total / 2 - end / 2}},
  };
  for (const auto& c : cases) {
    TPagedStream paged;
    paged.AddPage()
        .Byte(51)
        .ShortString("Arial")
        .Byte(54)
        .Single(10.0f / 72)
        .Single(0)
        .Byte(c.Code)
        .Single(3)
        .ShortString(text)
        .Single(2);
    TMemoryStream stream;
    paged.SaveTo(stream);
    TLogRender render;
    std::vector<int> sizes;
    render.OnFont = [&](TVXConverter* C) { sizes.push_back(C->Font()->Size()); };
    Convert(stream, render);
    const TLog texts = render.Only(c.Operation);
    ASSERT_EQ(texts.size(), 3u) << c.Operation;
    EXPECT_EQ(texts[0].substr(0, texts[0].find(',')), std::string(c.Operation) + "(Plain ");
    EXPECT_EQ(texts[1].substr(0, texts[1].find(',')), std::string(c.Operation) + "(Bold ");
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(TextX(texts[i]), c.Starts[i], 0.002) << c.Operation << " " << i;
    // The codes reach the font: 20 points from the first code on ("r" keeps the size).
    EXPECT_EQ(sizes, (std::vector<int>{10, 10, 20, 20})) << c.Operation;
  }
}

// ===== Failures =====

TEST(RenderBridgeTest, ADamagedPageEndsTheDocumentAsFailedAndTheErrorReachesTheCaller) {
  TPagedStream unknownCode;
  LeftText(unknownCode.AddPage(), "x", 1, 1).Byte(99);
  TPagedStream missingPages;  // the header promises three
  LeftText(missingPages.AddPage(), "x", 1, 1);
  missingPages.PageCount = 3;
  for (const TPagedStream* paged : {&unknownCode, &missingPages}) {
    TMemoryStream stream;
    paged->SaveTo(stream);
    TLogRender render;
    EXPECT_THROW(Convert(stream, render), Exception);
    ASSERT_GE(render.Log.size(), 2u);
    EXPECT_EQ(TLog(render.Log.end() - 2, render.Log.end()), (TLog{"GenerationFailed()", "DocEnd.Failed()"}));
    EXPECT_EQ(render.Only("DocEnd.Failed").size(), 1u);
  }
}

TEST(RenderBridgeTest, AnUnknownSignatureFailsBeforeTheDocumentBegins) {
  TMemoryStream stream;
  TStreamBytes().Byte('X').Int16(2017).SaveTo(stream);
  TLogRender render;
  try {
    Convert(stream, render);
    FAIL() << "no error";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Unexpected header code found in report file.");
  }
  EXPECT_TRUE(render.Log.empty());
}

// ===== Registry and stream output =====

TEST(RenderRegistryTest, ListsActiveRendersInOrderOfRegistrationAndForgetsDestroyedOnes) {
  {
    TVXRender a, b, c;
    a.SetDisplayName("Alpha (*.a)");
    a.SetFileExtension("*.a");
    b.SetDisplayName("Beta (*.b)");
    b.SetFileExtension("*.b;*.bb");
    c.SetDisplayName("Gamma");
    c.SetActive(false);
    EXPECT_EQ(GetRenderFilter(), "Alpha (*.a)|*.a|Beta (*.b)|*.b;*.bb");
    TStringList list;
    list.Add("stale");
    GetRenderList(&list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], "Alpha (*.a)");
    EXPECT_EQ(list.Objects(1), &b);
    // A new name moves the render to the end.
    a.SetDisplayName("Alpha again");
    EXPECT_EQ(GetRenderFilter(), "Beta (*.b)|*.b;*.bb|Alpha again|*.a");
    {
      TVXRender d;
      EXPECT_EQ(GetRenderFilter(), "Beta (*.b)|*.b;*.bb|Alpha again|*.a|VXRender|");
    }
    EXPECT_EQ(GetRenderFilter(), "Beta (*.b)|*.b;*.bb|Alpha again|*.a");
  }
  EXPECT_EQ(GetRenderFilter(), "");
}

TEST(RenderStreamTest, PrintHelpersWriteBytesAndCloseIsHarmlessTwice) {
  TMemoryStream output;
  TVXRenderStream render;
  render.OutputToStream(&output);
  render.Print("");
  render.PrintLn("one");
  render.PrintF("%d-%s", {2, "two"});
  render.PrintLnF("|%.2f", {3.0});
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(output.Memory()), output.Size()),
            "one\r\n2-two|3.00\r\n");
  render.CloseOutput();
  render.CloseOutput();
  render.Print("ignored");
  EXPECT_EQ(output.Size(), 17);
}

}  // namespace
