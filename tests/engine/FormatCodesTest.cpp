// Formatted-text codes: reading items, applying them to a font record or a paragraph state,
// writing state differences, and the small queries on coded text.
#include <gtest/gtest.h>

#include <vector>

#include "engine/VXFormatCodes.h"
#include "engine/ReadableCode.h"

namespace {


TEST(ReadCodeItemTest, ReadsEveryItemOfConcatenatedCodes) {
  const std::string text = Code("[B1|Z1~0.5|NTimes New Roman]text[r]");
  size_t pos = 0;
  char letter = 0;
  std::string value;
  std::vector<std::pair<char, std::string>> items;
  for (;;) {
    ReadCodeItem(text, pos, letter, value);
    if (letter == ' ') break;
    items.emplace_back(letter, value);
  }
  const std::vector<std::pair<char, std::string>> expected{
      {'B', "1"}, {'Z', "10.5"}, {'N', "Times New Roman"}, {'r', ""}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(pos, text.size());
  // Pos stops on the character that ended the value.
  pos = 0;
  ReadCodeItem(text, pos, letter, value);
  EXPECT_EQ(text[pos], FormatCodeSeparator);
  EXPECT_EQ(pos, 3u);
}

TEST(ReadCodeItemTest, EmptyAndBrokenCodesEndTheScan) {
  for (const std::string& text : {std::string(), Code("plain"), Code("[]"), Code("[|]"), Code("[")}) {
    size_t pos = 0;
    char letter = 0;
    std::string value;
    ReadCodeItem(text, pos, letter, value);
    EXPECT_EQ(letter, ' ');
  }
}

TEST(ApplyFontCodesTest, ItemsSetTheFontRecord) {
  TFontRecord font;
  ApplyFontCodes(font, Code("[NCourier New|Z14|B1|I1|U1|K1|C255|HF|S1|J"
                            "C|F1|L2|G3]"));
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_DOUBLE_EQ(font.Size, 14);
  EXPECT_DOUBLE_EQ(font.Height, 14.0 / 72);
  EXPECT_TRUE(font.Bold && font.Italic && font.Underline && font.Strikeout && font.Subscript);
  EXPECT_EQ(font.Color, clRed);
  EXPECT_EQ(font.Pitch, 2);
  // Superscript switches subscript off; values other than exactly 1 switch off.
  ApplyFontCodes(font, Code("[P1|B0|I|U2|K01]"));
  EXPECT_TRUE(font.Superscript);
  EXPECT_FALSE(font.Subscript);
  EXPECT_FALSE(font.Bold || font.Italic || font.Underline || font.Strikeout);
  // A size scales with the engine's vertical scale.
  ApplyFontCodes(font, Code("[Z10]"), 0.5);
  EXPECT_DOUBLE_EQ(font.Height, 5.0 / 72);
}

TEST(ApplyFontCodesTest, ResetAndPlain) {
  TFontRecord font;
  font.Name = "Courier New";
  font.Bold = font.Superscript = true;
  font.Color = clBlue;
  font.Rotation = 90;
  font.Align = 2;
  font.Charset = 0;
  font.Pitch = 1;
  ApplyFontCodes(font, Code("[r]"));
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_FALSE(font.Bold || font.Superscript);
  EXPECT_EQ(font.Color, clBlack);
  EXPECT_EQ(font.Rotation, 0);
  EXPECT_EQ(font.Align, 0);
  EXPECT_EQ(font.Charset, 1);
  EXPECT_EQ(font.Pitch, 0);
  font.Bold = true;
  ApplyFontCodes(font, Code("[R]"));
  EXPECT_EQ(font.Name, "Arial");
  EXPECT_DOUBLE_EQ(font.Size, 12);
  EXPECT_DOUBLE_EQ(font.Height, 12.0 / 72);
  EXPECT_FALSE(font.Bold);
}

TEST(ApplyFontCodesTest, DamagedValuesAreIgnored) {
  TFontRecord font;
  ApplyFontCodes(font, Code("[Zbig|Z0|Z-4|Z1e300|Cred|HX|N" + std::string(80, 'F') + "]"));
  EXPECT_DOUBLE_EQ(font.Size, 10);
  EXPECT_EQ(font.Color, clBlack);
  EXPECT_EQ(font.Pitch, 0);
  EXPECT_EQ(font.Name, std::string(60, 'F'));
}

TEST(FormatStateTest, FullStateCodeOfTheDefaultsIsAResetOnly) {
  EXPECT_EQ(FullStateCode(DefaultFormatState()), Code("[R]"));
}

TEST(FormatStateTest, BoldAndSizeTen) {
  TFormatState state = DefaultFormatState();
  state.Bold = true;
  state.Size = 10;
  EXPECT_EQ(FullStateCode(state), Code("[R|Z10|B1]"));
}

TEST(FormatStateTest, DifferencesComeInTheirFixedOrder) {
  TFormatState old = DefaultFormatState();
  old.Bold = true;
  TFormatState changed = DefaultFormatState();
  changed.FirstIndent = 0.25;
  changed.LeftIndent = 1;
  changed.RightIndent = 0.5;
  changed.Name = "Times New Roman";
  changed.Size = 10.5;
  changed.Italic = changed.Underline = changed.Strikeout = changed.Subscript = changed.Superscript = true;
  changed.Color = 0x123456;
  changed.Justify = pjBlock;
  std::string code;
  StateDifferenceCode(code, old, changed);
  EXPECT_EQ(code, Code("[F0.25|L1|G0.5|NTimes New Roman|Z10.5|B0|I1|U1|K1|S1|P1|C1193046|JB"));
  // Appending to a code that already has items separates with character 2.
  std::string more = Code("[R");
  StateDifferenceCode(more, DefaultFormatState(), old);
  EXPECT_EQ(more, Code("[R|B1"));
  // No difference, nothing appended.
  std::string none;
  StateDifferenceCode(none, changed, changed);
  EXPECT_EQ(none, "");
}

TEST(FormatStateTest, StateCodesReadBackWhatWasWritten) {
  TFormatState state = DefaultFormatState();
  state.Name = "Courier New";
  state.Size = 9.75;
  state.Underline = true;
  state.Superscript = true;
  state.Color = clTeal;
  state.Justify = pjRight;
  state.FirstIndent = 0.125;
  state.LeftIndent = 0.3;
  TFormatState read = DefaultFormatState();
  read.Bold = true;  // the reset at the start clears it
  ApplyStateCodes(read, FullStateCode(state));
  EXPECT_EQ(read, state);
  // r resets the styles, pitch and colour only.
  ApplyStateCodes(read, Code("[HV|r]"));
  EXPECT_FALSE(read.Underline || read.Superscript);
  EXPECT_EQ(read.Color, clBlack);
  EXPECT_EQ(read.Pitch, 0);
  EXPECT_EQ(read.Name, "Courier New");
  EXPECT_EQ(read.Justify, pjRight);
  ApplyStateCodes(read, Code("[N" + std::string(50, 'n') + "]"));
  EXPECT_EQ(read.Name, std::string(40, 'n'));
}

TEST(CodeJustifyTest, FirstJustificationItemDecides) {
  struct TCase {
    std::string Code;
    TPrintJustify Expected;
  };
  const std::vector<TCase> table{
      {Code("[JR]"), pjRight},     {Code("[R]"), pjLeft},      {Code("[B1]"), pjCenter},
      {Code("[JC|JR]"), pjCenter}, {Code("[R|JB]"), pjBlock},  {Code("[JB|R]"), pjBlock},
      {Code("[JX]"), pjCenter},    {Code("[B1][JL]"), pjLeft}, {"", pjCenter},
  };
  for (const TCase& c : table) EXPECT_EQ(CodeJustify(c.Code, pjCenter), c.Expected) << c.Code;
}

TEST(VisibleLengthTest, CountsCharactersOutsideCodes) {
  EXPECT_EQ(VisibleLength(Code("[B1]abc")), 3);
  EXPECT_EQ(VisibleLength(Code("a[B1|Z12]b[r]c")), 3);
  EXPECT_EQ(VisibleLength(""), 0);
  EXPECT_EQ(VisibleLength(Code("plain")), 5);
  EXPECT_EQ(VisibleLength(Code("ab[B1")), 2);  // an unended code runs to the end
}

TEST(SegmentTest, CodesBeforeEachRun) {
  const std::string text = Code("[B1][Z9]bold[r]plain[I1]");
  size_t pos = 0;
  std::string codes;
  std::string plain;
  std::vector<std::pair<std::string, std::string>> segments;
  while (SplitFormatSegment(text, pos, codes, plain)) segments.emplace_back(codes, plain);
  const std::vector<std::pair<std::string, std::string>> expected{
      {Code("[B1][Z9]"), "bold"}, {Code("[r]"), "plain"}, {Code("[I1]"), ""}};
  EXPECT_EQ(segments, expected);
}

TEST(SegmentTest, RemoveTrailingCodes) {
  EXPECT_EQ(RemoveTrailingCodes(Code("ab[B1][r]")), "ab");
  EXPECT_EQ(RemoveTrailingCodes(Code("[B1]ab")), Code("[B1]ab"));
  EXPECT_EQ(RemoveTrailingCodes(Code("[B1]ab]")), Code("[B1]ab]"));  // a stray 4 is text
}

TEST(CodeNumberTest, GeneralFormatWithAPoint) {
  EXPECT_EQ(CodeNumber(12), "12");
  EXPECT_EQ(CodeNumber(10.5), "10.5");
  EXPECT_EQ(CodeNumber(0.25), "0.25");
  EXPECT_EQ(CodeNumber(1.0 / 3), "0.333333333333333");
}

}  // namespace
