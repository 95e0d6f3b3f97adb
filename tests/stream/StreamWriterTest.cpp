// The writer's primitives: byte layout of strings and records, the write buffer, and where
// over-long text is cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Stream.h"
#include "stream/VXStreamReader.h"
#include "stream/VXStreamWriter.h"

namespace {

std::vector<uint8_t> Written(TMemoryStream& Stream) {
  return std::vector<uint8_t>(Stream.Memory(), Stream.Memory() + Stream.Size());
}

struct TPrefixCase {
  size_t Length;
  std::vector<uint8_t> Prefix;
  friend void PrintTo(const TPrefixCase& Case, std::ostream* Out) { *Out << Case.Length << " bytes"; }
};

class StringPrefixTest : public ::testing::TestWithParam<TPrefixCase> {};

TEST_P(StringPrefixTest, WritesThePrefixAndReadsTheTextBack) {
  const TPrefixCase& c = GetParam();
  std::string text(c.Length, 'x');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  TMemoryStream stream;
  TPageStreamWriter writer(&stream);
  writer.WriteString(text);
  writer.WriteByte(0x55);  // a marker right after the string
  writer.Flush();
  const std::vector<uint8_t> bytes = Written(stream);
  ASSERT_EQ(bytes.size(), c.Prefix.size() + c.Length + 1);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.Prefix.size()), c.Prefix);

  TPageStreamReader reader(&stream);  // a reader before any header reads current streams
  reader.Seek(0);
  EXPECT_EQ(reader.ReadString(), text);
  EXPECT_EQ(reader.ReadByte(), 0x55);
}

INSTANTIATE_TEST_SUITE_P(Lengths, StringPrefixTest,
                         ::testing::Values(TPrefixCase{0, {0x00}}, TPrefixCase{191, {0xBF}},
                                           TPrefixCase{192, {0xC0, 0xC0}}, TPrefixCase{300, {0xC1, 0x2C}},
                                           TPrefixCase{16383, {0xFF, 0xFF}}));

TEST(StreamWriterTest, NumbersAreLittleEndian) {
  TMemoryStream stream;
  TPageStreamWriter writer(&stream);
  writer.WriteInt16(2017);
  writer.WriteInt32(-2);
  writer.WriteSingle(8.5f);
  writer.Flush();
  const std::vector<uint8_t> expected = {0xE1, 0x07, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0x41};
  EXPECT_EQ(Written(stream), expected);
}

TEST(StreamWriterTest, BuffersSmallWritesAndPassesLargeBlocksStraightOn) {
  TMemoryStream stream;
  TPageStreamWriter writer(&stream, 16);
  writer.WriteInt32(1);
  EXPECT_EQ(stream.Size(), 0) << "small writes wait in the buffer";
  EXPECT_EQ(writer.WritePosition(), 4);
  const std::vector<uint8_t> block(40, 7);
  writer.WriteBytes(block.data(), block.size());
  EXPECT_EQ(stream.Size(), 44) << "the buffer goes first, then the large block directly";
  EXPECT_EQ(writer.Buffered(), 0u);
  writer.WriteByte(9);
  EXPECT_EQ(writer.Position(), 45) << "a position query flushes";
  writer.SetMuted(true);
  writer.WriteInt32(5);
  writer.SetMuted(false);
  EXPECT_EQ(writer.WritePosition(), 45) << "muted writes are dropped";
}

TEST(StreamWriterTest, ImmediateValuesStopShortOfTheIndirectMarkers) {
  TMemoryStream stream;
  TPageStreamWriter writer(&stream);
  writer.WriteImmediateValue(std::string(300, 'v'));
  writer.Flush();
  const std::vector<uint8_t> bytes = Written(stream);
  ASSERT_EQ(bytes.size(), 2u + 253u);
  EXPECT_EQ(bytes[0], 253);
  EXPECT_EQ(bytes[1], 253);
  TPageStreamReader reader(&stream);
  reader.Seek(0);
  EXPECT_EQ(reader.ReadValue().Value, std::string(253, 'v'));
}

struct TCutCase {
  const char* Name;
  std::string Text;
  size_t Limit;
  std::string Expected;
};

class LimitStreamTextTest : public ::testing::TestWithParam<TCutCase> {};

TEST_P(LimitStreamTextTest, CutsOutsidePlaceholdersAndCodes) {
  EXPECT_EQ(LimitStreamText(GetParam().Text, GetParam().Limit), GetParam().Expected);
}

const std::string Macro = "\xFD$VXCM10";
const std::string Variable = "\xFD$VXCV\xFCTotal\xFB";
const std::string Code =
    "\x01"
    "B1\x04";

INSTANTIATE_TEST_SUITE_P(
    Cases, LimitStreamTextTest,
    ::testing::Values(TCutCase{"Short", "abc", 5, "abc"}, TCutCase{"Plain", "abcdef", 4, "abcd"},
                      TCutCase{"BeforeMacro", "ab" + Macro + "cd", 6, "ab"},
                      TCutCase{"AfterMacro", "ab" + Macro + "cd", 11, "ab" + Macro + "c"},
                      TCutCase{"BeforeVariable", "a" + Variable + "z", 8, "a"},
                      TCutCase{"WholeVariable", "a" + Variable + "z", 14, "a" + Variable},
                      TCutCase{"BeforeCode", "abc" + Code + "de", 5, "abc"},
                      TCutCase{"AfterCode", "abc" + Code + "de", 7, "abc" + Code},
                      TCutCase{"LoneMarkerByte", "ab\xFDxyz", 4, "ab\xFDx"}),
    [](const ::testing::TestParamInfo<TCutCase>& Info) { return std::string(Info.param.Name); });

}  // namespace
