// Rich text imported into plain text with formatted-text codes, and damaged rich text that
// must neither fail nor run away.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/VXFormatCodes.h"
#include "engine/ReadableCode.h"
#include "engine/VXImportRTF.h"
#include "platform/Stream.h"

namespace {


std::string Import(const std::string& RichText, int Length) {
  TMemoryStream stream;
  ImportRTF(RichText, Length, &stream);
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string Import(const std::string& RichText) {
  return Import(RichText, static_cast<int>(RichText.size()));
}

TEST(ImportRTFTest, TheHelloBoldWorldDocument) {
  EXPECT_EQ(Import(R"({\rtf1 Hello {\b bold} world\par})"), Code("[R]Hello [B1]bold[R] world") + "\r\n");
}

struct TCase {
  const char* Name;
  std::string RichText;
  std::string Expected;
};

class ImportRTFCaseTest : public testing::TestWithParam<TCase> {};

TEST_P(ImportRTFCaseTest, ProducesTheCodedText) {
  EXPECT_EQ(Import(GetParam().RichText), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportRTFCaseTest,
    testing::Values(
        TCase{
            "IgnorableGroups",
            R"({\rtf1{\*\generator Riched20 10.0;}{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}Text})",
            Code("[R]Text")},
        TCase{"HexCharacters", R"({\rtf1 caf\'e9 \'E9t\'c3})", Code("[R]caf\xE9 \xE9t\xC3")},
        TCase{"BoldParameter", R"({\rtf1\b a\b0 b\b1 c})", Code("[R|B1]a[R]b[B1]c")},
        TCase{"ColourBeyondTheTableIsBlack",
              R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}\cf5 x\cf1 y\cf2 z})",
              Code("[R]x[C255]y[C16711680]z")},
        TCase{"LineBreaksAloneProduceNothing", "{\\rtf1\\b\r\n\\i\r\n\r\n}", ""},
        TCase{
            "FontTableAndDefaultFont",
            R"({\rtf1\deff1{\fonttbl{\f0\fswiss Arial;}{\f1\froman{\*\panose 02020603050405020304}Times New Roman{\*\falt Times};}}Hi\f0  there})",
            Code("[R|NTimes New Roman]Hi[R] there")},
        TCase{"SpecialCharacters", R"({\rtf1\bullet\endash\emdash\lquote\rquote\ldblquote\rdblquote\tab x})",
              Code("[R]\x95\x96\x97\x91\x92\x93\x94\tx")},
        TCase{"EscapedCharacters", R"({\rtf1 a\\b\{c\}})", Code("[R]a\\b{c}")},
        TCase{"ParagraphFormatting", R"({\rtf1\qc\li1440\fi-720\fs21 x\par\pard y})",
              Code("[R|F-0.5|L1|Z10.5|JC]x\r\n[R|Z10.5]y")},
        TCase{"PlainTakesTheFirstFont", R"({\rtf1{\fonttbl{\f0 Times;}}\b\fs30 a\plain b})",
              Code("[R|NTimes|Z15|B1]a[Z12|B0]b")},
        TCase{"ScriptsAndStyles", R"({\rtf1\super a\nosupersub\sub b\ul\i\strike c\ulnone d})",
              Code("[R|P1]a[R|S1]b[I1|U1|K1]c[U0]d")},
        TCase{"UnknownWordsAndSymbolsAreIgnored", R"({\rtf1\foo12\~\-\bar x})", Code("[R]x")}),
    [](const testing::TestParamInfo<TCase>& Info) { return std::string(Info.param.Name); });

TEST(ImportRTFTest, OnlyTheGivenLengthIsRead) {
  const std::string text = R"({\rtf1 Hello})";
  EXPECT_EQ(Import(text, 10), Code("[R]Hel"));
  EXPECT_EQ(Import(text, 0), "");
  EXPECT_EQ(Import(text, -5), "");
  EXPECT_EQ(Import(text, 1000), Code("[R]Hello"));
  // A zero byte ends the text as its end does.
  EXPECT_EQ(Import(std::string("{\\rtf1 He\0llo}", 14)), Code("[R]He"));
}

TEST(ImportRTFTest, AppendsToTheStream) {
  TMemoryStream stream;
  stream.WriteBuffer("X", 1);
  ImportRTF(R"({\rtf1 a})", 9, &stream);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())),
            "X" + Code("[R]a"));
}

// Font and colour indices that are negative or huge are ignored; an index beyond the list
// takes the first font; extra closing braces are ignored.
TEST(ImportRTFTest, DamagedIndicesAndBracesAreTolerated) {
  EXPECT_EQ(Import(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}\f1 a\f7 b\f-1 c\f99999 d}}}})"),
            Code("[R|NCourier New]a[R]bcd"));
  EXPECT_EQ(Import(R"({\rtf1{\colortbl;\red0\green128\blue0;}\cf1 a\cf-2 b\cf40000 c\cf2 d})"),
            Code("[R|C32768]abc[R]d"));
  // An index far beyond 32767 in the font table would otherwise grow the list without end.
  EXPECT_EQ(Import(R"({\rtf1{\fonttbl{\f2000000000 Huge;}{\f0 Tahoma;}}x})"), Code("[R|NTahoma]x"));
  // Parameters saturate instead of overflowing.
  EXPECT_EQ(Import(R"({\rtf1\fs99999999999999999999999 x})"), Code("[R|Z500000000]x"));
  EXPECT_EQ(Import(R"(}}}{\rtf1 a}}})"), Code("[R]a"));
}

TEST(ImportRTFTest, DeepNestingAndRunawayGroupsEnd) {
  std::string deep(200000, '{');
  deep += R"(\b x)";
  EXPECT_EQ(Import(deep), Code("[R|B1]x"));
  // Unfinished: an ignorable group, a hex character and a control word at the very end.
  EXPECT_EQ(Import(R"({\rtf1 a{\*\skip )"), Code("[R]a"));
  EXPECT_EQ(Import(R"({\rtf1 a\')"), Code("[R]a"));
  EXPECT_EQ(Import(R"({\rtf1 a\'g1)"), Code("[R]ag1"));
  EXPECT_EQ(Import(R"({\rtf1 a\)"), Code("[R]a"));
}

// Every file in tests/data/rtf (damaged documents, inputs that once failed) imports without
// failing, stays bounded in size, and gives codes that read back.
TEST(ImportRTFTest, RegressionInputsImportCleanly) {
  const std::filesystem::path folder = std::filesystem::path(PAGEPRESS_TEST_DATA) / "rtf";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string output;
    ASSERT_NO_THROW(output = Import(input)) << entry.path();
    // A code is at most a few hundred bytes per run of at least one input character.
    EXPECT_LE(output.size(), 400 * input.size() + 16) << entry.path();
    TFormatState state = DefaultFormatState();
    size_t pos = 0;
    std::string codes;
    std::string plain;
    while (SplitFormatSegment(output, pos, codes, plain)) ApplyStateCodes(state, codes);
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
