// The shared page stream reader on streams built byte by byte: the version rules, page
// navigation, graphic and value records, the state records imply, and damaged input.
#include <gtest/gtest.h>

#include <string>

#include "StreamBytes.h"
#include "engine/VXDefine.h"
#include "platform/Stream.h"
#include "stream/VXStreamReader.h"

namespace {

// ===== Version rules =====

TEST(StreamReaderTest, ReadsAYStreamAsVersion2009) {
  // "Y": no version field, no title, one-byte string lengths, page sizes present.
  TStreamBytes b;
  b.Byte('Y').Rest(2009, 1);
  const size_t page = b.Size();
  b.Page(0, 0, 1);
  const std::string text(200, 'y');  // 200 takes two bytes only from version 2016 on
  b.Byte(24).Single(1.5f).ShortString(text).Single(2.0f);
  b.Byte(54).Single(0.25f).Single(3.0f);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);

  TPageStreamReader reader(&stream);
  const TStreamHeader& header = reader.ReadHeader();
  EXPECT_EQ(header.Version, 2009);
  EXPECT_EQ(header.Title, "");
  EXPECT_EQ(header.Bin, 265);
  EXPECT_EQ(header.FirstPageOffset, static_cast<int64_t>(page));
  const TPageHeader& p = reader.ReadPageHeader();
  EXPECT_TRUE(p.HasSize);
  EXPECT_FLOAT_EQ(p.PageWidth, 8.5f);
  const std::vector<TStreamRecord> records = ReadPageRecords(reader);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Text, text);
  EXPECT_FLOAT_EQ(records[0].Singles[1], 2.0f);
  EXPECT_FLOAT_EQ(reader.State().Font.RefWidth, 3.0f);
  EXPECT_TRUE(reader.AtEnd());
}

TEST(StreamReaderTest, ReadsAQStreamAsVersion1101) {
  // "Q": no title, no bin, collate or duplex, a spare byte in page headers, no RefWidth,
  // and the whole font record without charset and rotation.
  TStreamBytes b;
  b.Byte('Q').Rest(1101, 1);
  b.Byte(80).Int32(0).Int32(0).Int16(1).Byte(0xEE);
  b.Byte(54).Single(0.5f);
  b.Byte(50)
      .ShortString("Courier New")
      .Int32(0x0000FF)
      .Byte(2)
      .Single(0.125f)
      .Byte(1)
      .Byte(0)
      .Byte(1)
      .Byte(0);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);

  TPageStreamReader reader(&stream);
  EXPECT_EQ(reader.ReadHeader().Version, 1101);
  EXPECT_EQ(reader.Header().Copies, 1);
  const TPageHeader& page = reader.ReadPageHeader();
  EXPECT_FALSE(page.HasSize);
  EXPECT_EQ(page.PageNumber, 1);
  const std::vector<TStreamRecord> records = ReadPageRecords(reader);
  ASSERT_EQ(CodesOf(records), (std::vector<uint8_t>{54, 50, 82}));
  const TStreamFontState& font = reader.State().Font;
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_EQ(font.Color, 0x0000FF);
  EXPECT_EQ(font.Pitch, 2);
  EXPECT_EQ(font.Charset, 1) << "streams before 2018 hold no charset";
  EXPECT_FLOAT_EQ(font.Height, 0.125f);
  EXPECT_TRUE(font.Bold);
  EXPECT_FALSE(font.Italic);
  EXPECT_TRUE(font.Underline);
  EXPECT_EQ(font.Rotation, 0);
  EXPECT_TRUE(reader.AtEnd());
}

TEST(StreamReaderTest, Version2018FontRecordsHoldTheCharset) {
  TStreamBytes b;
  b.Header(2018, 1, "T");
  b.Page(0, 0, 1);
  b.Byte(50).ShortString("Arial").Int32(0).Byte(0).Byte(2).Single(0.2f).Byte(0).Byte(1).Byte(0).Byte(1).Int16(
      -90);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  EXPECT_EQ(reader.ReadHeader().Title, "T");
  reader.ReadPageHeader();
  ReadPageRecords(reader);
  EXPECT_EQ(reader.State().Font.Charset, 2);
  EXPECT_TRUE(reader.State().Font.Italic);
  EXPECT_TRUE(reader.State().Font.StrikeOut);
  EXPECT_EQ(reader.State().Font.Rotation, -90);
}

TEST(StreamReaderTest, PageCountZeroHoldsNoPages) {
  TStreamBytes b;
  b.Header(2017, 0);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  EXPECT_EQ(reader.ReadHeader().PageCount, 0);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Position(), stream.Size());
}

TEST(StreamReaderTest, AnUnknownSignatureIsRefused) {
  TStreamBytes b;
  b.Byte('X').Int16(2017);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  try {
    reader.ReadHeader();
    FAIL() << "no failure";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Unexpected header code found in report file.");
  }
}

// ===== Navigation =====

// Three pages; each holds one opcode 26 whose byte is the page number.
TStreamBytes ThreePages(std::vector<size_t>& Offsets) {
  TStreamBytes b;
  b.Header(2017, 3);
  Offsets.clear();
  for (int page = 1; page <= 3; ++page) {
    Offsets.push_back(b.Size());
    b.Page(page == 1 ? 0 : static_cast<int64_t>(Offsets[page - 2]), 0, page);
    b.Byte(26).Byte(page).Byte(82);
  }
  b.PatchInt32(Offsets[0] + 5, static_cast<int64_t>(Offsets[1]));
  b.PatchInt32(Offsets[1] + 5, static_cast<int64_t>(Offsets[2]));
  return b;
}

struct TGotoCase {
  int Target;
  int Landing;
};

class GotoPageTest : public ::testing::TestWithParam<TGotoCase> {};

TEST_P(GotoPageTest, LandsOnThePageOrTheNearestEnd) {
  std::vector<size_t> offsets;
  TMemoryStream stream;
  ThreePages(offsets).SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  // From the first page and again from wherever the last walk ended.
  for (int round = 0; round < 2; ++round) {
    const TPageHeader& page = reader.GotoPage(GetParam().Target);
    EXPECT_EQ(page.PageNumber, GetParam().Landing);
    EXPECT_EQ(page.Offset, static_cast<int64_t>(offsets[GetParam().Landing - 1]));
    const std::vector<TStreamRecord> records = ReadPageRecords(reader);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Integers[0], GetParam().Landing) << "positioned at the page's first record";
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, GotoPageTest,
                         ::testing::Values(TGotoCase{1, 1}, TGotoCase{2, 2}, TGotoCase{3, 3}, TGotoCase{0, 1},
                                           TGotoCase{-5, 1}, TGotoCase{4, 3}, TGotoCase{9999, 3}));

TEST(StreamReaderTest, GoesBackAlongPrevPage) {
  std::vector<size_t> offsets;
  TMemoryStream stream;
  ThreePages(offsets).SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  EXPECT_EQ(reader.GotoPage(3).PageNumber, 3);
  EXPECT_EQ(reader.GotoPage(1).PageNumber, 1);
  EXPECT_EQ(reader.GotoPage(2).PageNumber, 2);
}

TEST(StreamReaderTest, AChainThatLoopsStopsAtARevisitedHeader) {
  std::vector<size_t> offsets;
  TStreamBytes b = ThreePages(offsets);
  // Page 3 claims page 1 follows it: asking for page 7 must not walk for ever.
  b.PatchInt32(offsets[2] + 5, static_cast<int64_t>(offsets[0]));
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  EXPECT_EQ(reader.GotoPage(7).PageNumber, 3);
}

TEST(StreamReaderTest, AChainPointingPastTheEndIsDamage) {
  std::vector<size_t> offsets;
  TStreamBytes b = ThreePages(offsets);
  b.PatchInt32(offsets[0] + 5, 1 << 30);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  EXPECT_THROW(reader.GotoPage(2), EPagePress);
}

// ===== Records =====

TEST(StreamReaderTest, AGraphicReferenceLeavesTheReaderAfterItsFiveBytes) {
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Byte(5).Byte(1);  // pcDraw with a bitmap data record of 3 bytes
  const size_t sizeField = b.Size();
  b.Int32(3).Raw("abc").Single(1).Single(2);
  b.Byte(5).Byte(129).Int32(static_cast<int64_t>(sizeField));  // the same picture again
  const size_t afterReference = b.Size();
  b.Single(3).Single(4);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  TStreamRecord first;
  reader.ReadRecord(first);
  EXPECT_FALSE(first.Graphic.Reference);
  EXPECT_EQ(first.Graphic.DataOffset, static_cast<int64_t>(sizeField));
  const size_t referenceAt = static_cast<size_t>(reader.Position());
  reader.ReadByte();  // the opcode
  const TStreamGraphic graphic = reader.ReadGraphic();
  EXPECT_EQ(static_cast<size_t>(reader.Position()), referenceAt + 1 + 5);
  EXPECT_EQ(static_cast<size_t>(reader.Position()), afterReference);
  EXPECT_TRUE(graphic.Reference);
  EXPECT_EQ(graphic.Kind, gkBitmap);
  ASSERT_EQ(graphic.Size(), 3u);
  EXPECT_EQ(std::string(graphic.Data->begin(), graphic.Data->end()), "abc");
  EXPECT_FLOAT_EQ(reader.ReadSingle(), 3.0f);
}

TEST(StreamReaderTest, TheLaterOfTwoVariableRecordsWins) {
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Byte(37).ShortString("Total").Byte(2).Byte(2).Raw("17");
  b.Byte(37).ShortString("TOTAL").Byte(2).Byte(2).Raw("42");
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  TStreamRecord record;
  reader.ReadRecord(record);
  EXPECT_EQ(reader.VariableValue("total"), "17");
  ReadPageRecords(reader);
  EXPECT_EQ(reader.VariableValue("Total"), "42");
  EXPECT_EQ(reader.VariableValue("Other"), "");
}

TEST(StreamReaderTest, IndirectValuesFollowTheirChainAndReturn) {
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Byte(37).ShortString("A");
  const size_t immediate = b.Size();
  b.Byte(3).Byte(2).Raw("xyz");  // Count 3, Code 2: "xy"
  b.Byte(37).ShortString("B").Byte(4).Byte(254).Int32(-static_cast<int64_t>(immediate));
  b.Byte(37).ShortString("C");
  const size_t reserved = b.Size();
  b.Byte(4).Byte(255).Int32(0);  // announced, never given
  b.Byte(37).ShortString("D").Byte(4).Byte(254).Int32(static_cast<int64_t>(reserved));
  b.Byte(26).Byte(1);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  const std::vector<TStreamRecord> records = ReadPageRecords(reader);
  ASSERT_EQ(CodesOf(records), (std::vector<uint8_t>{37, 37, 37, 37, 26, 82}));
  EXPECT_EQ(reader.VariableValue("A"), "xy") << "never more than the code says";
  EXPECT_EQ(reader.VariableValue("B"), "xy");
  EXPECT_EQ(records[1].Value.Chain, (std::vector<int64_t>{static_cast<int64_t>(immediate)}));
  EXPECT_EQ(reader.VariableValue("C"), "") << "offset 0 is an empty value, not the header";
  EXPECT_EQ(reader.VariableValue("D"), "");
  EXPECT_EQ(records[4].Integers[0], 1) << "the reader came back after each chain";
}

TEST(StreamReaderTest, OrientationChangesAfterThePageEnds) {
  TStreamBytes b;
  b.Header(2017, 2);
  const size_t first = b.Size();
  b.Page(0, 0, 1).Byte(87).Byte(1).Byte(26).Byte(0).Byte(82);
  const size_t second = b.Size();
  b.Page(static_cast<int64_t>(first), 0, 2).Byte(26).Byte(0).Byte(82);
  b.PatchInt32(first + 5, static_cast<int64_t>(second));
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  TStreamRecord record;
  reader.ReadRecord(record);
  reader.ReadRecord(record);
  EXPECT_EQ(reader.State().Orientation, 0) << "the page that holds opcode 87 keeps its orientation";
  EXPECT_EQ(reader.State().PendingOrientation, 1);
  EXPECT_FALSE(reader.ReadRecord(record));
  EXPECT_EQ(reader.State().Orientation, 1);
  reader.ReadPageHeader();
  ReadPageRecords(reader);
  EXPECT_EQ(reader.State().Orientation, 1);
  EXPECT_EQ(reader.State().PendingOrientation, 2);
}

TEST(StreamReaderTest, StateRecordsSetTheState) {
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Byte(41).Int32(0x00FF00).Byte(42).Byte(7).Byte(71).Int32(0x123456).Byte(72).Byte(14).Byte(73).Byte(2);
  b.Byte(74).Single(0.02f).Byte(51).ShortString("Times New Roman").Byte(61).Int16(45).Byte(59).Byte(1);
  b.Byte(35).Byte(2).Byte(84).Byte(83).Single(0.1f).Single(0.05f).Single(0.2f).Byte(12).Single(1).Single(2);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  ReadPageRecords(reader);
  const TStreamState& s = reader.State();
  EXPECT_EQ(s.BrushColor, 0x00FF00);
  EXPECT_EQ(s.BrushStyle, 7);
  EXPECT_EQ(s.PenColor, 0x123456);
  EXPECT_EQ(s.PenMode, 14);
  EXPECT_EQ(s.PenStyle, 2);
  EXPECT_FLOAT_EQ(s.PenWidth, 0.02f);
  EXPECT_EQ(s.Font.Name, "Times New Roman");
  EXPECT_EQ(s.Font.Rotation, 45);
  EXPECT_TRUE(s.Font.Superscript);
  EXPECT_EQ(s.FrameMode, 2);
  EXPECT_EQ(s.Destination, 84);
  EXPECT_FLOAT_EQ(s.LineHeight, 0.2f);
  EXPECT_FLOAT_EQ(s.PenX, 1);
  EXPECT_FLOAT_EQ(s.PenY, 2);
}

// ===== Damage =====

struct TDamageCase {
  const char* Name;
  std::vector<uint8_t> PageBytes;  // after the page header
  bool ReadError;                  // the stream's read error rather than the engine's
};

class DamagedStreamTest : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DamagedStreamTest, FailsWithTheReadersError) {
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Bytes.insert(b.Bytes.end(), GetParam().PageBytes.begin(), GetParam().PageBytes.end());
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  if (GetParam().ReadError) {
    EXPECT_THROW(ReadPageRecords(reader), EReadError);
  } else {
    try {
      ReadPageRecords(reader);
      FAIL() << "no failure";
    } catch (const EPagePress& e) {
      EXPECT_EQ(e.Message(), "Unexpected code found in report file.");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedStreamTest,
    ::testing::Values(TDamageCase{"InvalidOpcode", {39}, false},
                      TDamageCase{"PageBeginInsidePage", {80}, false},
                      TDamageCase{"NegativeDataLength", {31, 0xFF, 0xFF, 0xFF, 0xFF}, false},
                      TDamageCase{"HugeDataLength", {31, 0xFF, 0xFF, 0xFF, 0x7F}, true},
                      TDamageCase{"NegativeGraphicSize", {5, 1, 0xF0, 0xFF, 0xFF, 0xFF}, false},
                      TDamageCase{"GraphicBeyondTheEnd", {5, 1, 0x00, 0x00, 0x10, 0x00, 1, 2}, true},
                      TDamageCase{"ReferenceToTheHeader", {5, 129, 0, 0, 0, 0}, false},
                      TDamageCase{"ReferencePastTheEnd", {5, 129, 0, 0, 0, 0x40}, false},
                      TDamageCase{"PolygonIndexBelowMinusOne", {14, 0xFE, 0xFF}, false},
                      TDamageCase{"PolygonBeyondTheEnd", {14, 0xFF, 0x7F, 0, 0}, true},
                      TDamageCase{"IndirectValueTooShort", {37, 1, 'A', 2, 254, 0, 0}, false},
                      // The value record at offset 70 (48 header bytes, 19 page header bytes, 3 record
                      // bytes) names itself.
                      TDamageCase{"IndirectValueLoop", {37, 1, 'A', 4, 254, 70, 0, 0, 0}, false},
                      TDamageCase{"EndsInsideARecord", {24, 0, 0}, true},
                      TDamageCase{"NoPageEnd", {26, 1}, true}),
    [](const ::testing::TestParamInfo<TDamageCase>& Info) { return std::string(Info.param.Name); });

}  // namespace
