#include <gtest/gtest.h>
#include <unistd.h>
#include <strings.h>

#include <QPainterPath>
#include <QRawFont>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/FontFile.h"
#include "platform/FontMetrics.h"

namespace {

TLogFont MakeLogFont(const std::string& Face, int Height, bool Bold = false, bool Italic = false) {
  TLogFont lf;
  lf.lfFaceName = Face;
  lf.lfHeight = Height;
  lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Italic;
  return lf;
}

std::shared_ptr<TLogicalFont> Realise(const std::string& Face, int Height, bool Bold = false,
                                      bool Italic = false) {
  return CreateFontIndirect(MakeLogFont(Face, Height, Bold, Italic));
}

// --- The values every test relies on, from Liberation Sans's own tables ---

TEST(FontMetrics, LiberationSansAt600PixelsMatchesItsTables) {
  std::shared_ptr<TLogicalFont> font = Realise("Arial", -600);
  const TTextMetric& tm = font->TextMetrics();
  EXPECT_EQ(tm.tmAscent, 543);   // 1854 * 600 / 2048
  EXPECT_EQ(tm.tmDescent, 127);  // 434 * 600 / 2048
  EXPECT_EQ(tm.tmHeight, 670);
  EXPECT_EQ(tm.tmInternalLeading, 70);
  EXPECT_EQ(font->CharWidth('A'), 400);  // 1366 * 600 / 2048 = 400.2
  EXPECT_EQ(font->OutlineTextMetrics().otmEMSquare, 2048u);
  EXPECT_DOUBLE_EQ(font->PixelSize(), 600.0);
}

// --- An independent reading of the font files (python3, struct) ---

// Reads a font file's tables the long way and prints the metrics the platform would report
// at a pixel size: ascent, descent, average width, italic angle and per-code-point advances.
const char* const SfntReaderScript = R"PY(
import math, struct, sys
path, ppem = sys.argv[1], float(sys.argv[2])
data = open(path, 'rb').read()
tables = {}
for i in range(struct.unpack('>H', data[4:6])[0]):
    tag, _, off, length = struct.unpack('>4sIII', data[12 + 16 * i:28 + 16 * i])
    tables[tag.decode('latin-1')] = data[off:off + length]
u16 = lambda b, o: struct.unpack('>H', b[o:o + 2])[0]
def rnd(x):
    return int(math.floor(abs(x) + 0.5)) * (1 if x >= 0 else -1)
head, hhea, os2, post, hmtx, cmap = (tables[t] for t in ('head', 'hhea', 'OS/2', 'post', 'hmtx', 'cmap'))
upem = u16(head, 18)
scale = ppem / upem
print('ascent', rnd(u16(os2, 74) * scale))
print('descent', rnd(u16(os2, 76) * scale))
print('avecharwidth', rnd(struct.unpack('>h', os2[2:4])[0] * scale))
print('italicangle', rnd(struct.unpack('>i', post[4:8])[0] / 65536.0 * 10))
hmetrics = u16(hhea, 34)
def advance(glyph):
    return u16(hmtx, 4 * min(glyph, hmetrics - 1))
sub = None
for i in range(u16(cmap, 2)):
    platform, encoding, offset = struct.unpack('>HHI', cmap[4 + 8 * i:12 + 8 * i])
    if platform == 3 and encoding == 1 and u16(cmap, offset) == 4:
        sub = offset
segs = u16(cmap, sub + 6) // 2
ends, starts = sub + 14, sub + 16 + 2 * segs
deltas, ranges = starts + 2 * segs, starts + 4 * segs
def glyph_of(code):
    for s in range(segs):
        if u16(cmap, starts + 2 * s) <= code <= u16(cmap, ends + 2 * s):
            delta, rng = u16(cmap, deltas + 2 * s), u16(cmap, ranges + 2 * s)
            if rng == 0:
                return (code + delta) & 0xFFFF
            g = u16(cmap, ranges + 2 * s + rng + 2 * (code - u16(cmap, starts + 2 * s)))
            return (g + delta) & 0xFFFF if g else 0
    return 0
for arg in sys.argv[3:]:
    print('advance', arg, rnd(advance(glyph_of(int(arg, 16))) * scale))
)PY";

std::string RunCommand(const std::string& Command) {
  std::string output;
  FILE* pipe = popen(Command.c_str(), "r");
  if (!pipe) return output;
  std::array<char, 512> buffer{};
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) output += buffer.data();
  pclose(pipe);
  return output;
}

bool HaveTool(const char* Name) {
  return std::system((std::string("command -v ") + Name + " >/dev/null 2>&1").c_str()) == 0;
}

struct TReference {
  std::map<std::string, int> Values;
  std::map<unsigned, int> Advances;  // by code point
};

TReference ReadReference(const std::string& FontPattern, double PixelSize,
                         const std::vector<unsigned>& CodePoints) {
  const std::string file = RunCommand("fc-match -f '%{file}' '" + FontPattern + "'");
  // One script per process: ctest runs the tests of this file side by side.
  const auto script = std::filesystem::temp_directory_path() /
                      ("pagepress_sfnt_reader_" + std::to_string(::getpid()) + ".py");
  std::ofstream(script) << SfntReaderScript;
  std::ostringstream command;
  command << "python3 " << script << " '" << file << "' " << PixelSize;
  for (unsigned cp : CodePoints) command << ' ' << std::hex << cp << std::dec;
  std::istringstream lines(RunCommand(command.str()));
  TReference reference;
  std::string key;
  while (lines >> key) {
    if (key == "advance") {
      std::string code;
      int value = 0;
      lines >> code >> value;
      reference.Advances[std::stoul(code, nullptr, 16)] = value;
    } else {
      lines >> reference.Values[key];
    }
  }
  return reference;
}

struct TReferenceCase {
  const char* Face;
  bool Bold;
  bool Italic;
  int Height;
  const char* FontPattern;  // what fontconfig calls the file that stands in
};

class FontMetricsAgainstFile : public testing::TestWithParam<TReferenceCase> {};

// Windows-1252 bytes and their code points, including the ones outside Latin 1.
const std::vector<std::pair<uint8_t, unsigned>> SampleCharacters = {
    {'A', 0x41},  {'W', 0x57},    {'i', 0x69},    {'0', 0x30},    {' ', 0x20},
    {0xE9, 0xE9}, {0x80, 0x20AC}, {0x93, 0x201C}, {0x97, 0x2014}, {0xDF, 0xDF}};

TEST_P(FontMetricsAgainstFile, AgreesWithAnIndependentReader) {
  if (!HaveTool("python3") || !HaveTool("fc-match")) GTEST_SKIP() << "python3 or fc-match missing";
  const TReferenceCase& c = GetParam();
  std::vector<unsigned> codePoints;
  for (const auto& sample : SampleCharacters) codePoints.push_back(sample.second);
  const TReference reference = ReadReference(c.FontPattern, -c.Height, codePoints);
  ASSERT_EQ(reference.Advances.size(), codePoints.size()) << "the reader failed";

  std::shared_ptr<TLogicalFont> font = Realise(c.Face, c.Height, c.Bold, c.Italic);
  const TTextMetric& tm = font->TextMetrics();
  EXPECT_EQ(tm.tmAscent, reference.Values.at("ascent"));
  EXPECT_EQ(tm.tmDescent, reference.Values.at("descent"));
  EXPECT_EQ(tm.tmAveCharWidth, reference.Values.at("avecharwidth"));
  EXPECT_EQ(font->OutlineTextMetrics().otmItalicAngle, reference.Values.at("italicangle"));
  for (const auto& [code, codePoint] : SampleCharacters)
    EXPECT_EQ(font->CharWidth(code), reference.Advances.at(codePoint)) << "character " << int(code);
}

INSTANTIATE_TEST_SUITE_P(
    StandInFiles, FontMetricsAgainstFile,
    testing::Values(TReferenceCase{"Arial", false, false, -600, "Liberation Sans:style=Regular"},
                    TReferenceCase{"Arial", true, false, -83, "Liberation Sans:style=Bold"},
                    TReferenceCase{"Arial", false, true, -37, "Liberation Sans:style=Italic"},
                    TReferenceCase{"Times New Roman", false, false, -100, "Liberation Serif:style=Regular"},
                    TReferenceCase{"Times New Roman", true, true, -250, "Liberation Serif:style=Bold Italic"},
                    TReferenceCase{"Courier New", false, false, -13, "Liberation Mono:style=Regular"}));

// --- Behaviour ---

TEST(FontMetrics, BoldIsWiderThanRegular) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
    if (std::string(face) == "Courier New") continue;  // equal widths by design
    EXPECT_GT(Realise(face, -100, true)->TextExtent(text).cx, Realise(face, -100)->TextExtent(text).cx)
        << face;
  }
  EXPECT_EQ(Realise("Arial", -100, true)->TextMetrics().tmWeight, FW_BOLD);
  EXPECT_EQ(Realise("Arial", -100)->TextMetrics().tmWeight, FW_NORMAL);
}

TEST(FontMetrics, CourierNewIsFixedPitch) {
  std::shared_ptr<TLogicalFont> font = Realise("Courier New", -50);
  const TTextMetric& tm = font->TextMetrics();
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // clear means fixed
  EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
  for (int code = 32; code < 256; ++code)
    EXPECT_EQ(font->CharWidth(static_cast<uint8_t>(code)), font->CharWidth('x')) << code;
  EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth);
}

TEST(FontMetrics, ProportionalFontsSetThePitchBit) {
  for (const char* face : {"Arial", "Times New Roman"}) {
    const TTextMetric& tm = Realise(face, -50)->TextMetrics();
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH) << face;
    EXPECT_EQ(tm.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR), TMPF_TRUETYPE | TMPF_VECTOR) << face;
  }
  std::shared_ptr<TLogicalFont> arial = Realise("Arial", -50);
  EXPECT_NE(arial->CharWidth('i'), arial->CharWidth('W'));
}

struct TFamilyCase {
  const char* Face;
  uint8_t Family;
};

class FontFamilyOfFace : public testing::TestWithParam<TFamilyCase> {};

TEST_P(FontFamilyOfFace, ReportsFamilyAndKeepsTheRequestedName) {
  std::shared_ptr<TLogicalFont> font = Realise(GetParam().Face, -40);
  EXPECT_EQ(font->TextMetrics().tmPitchAndFamily & 0xF0, GetParam().Family);
  EXPECT_EQ(font->LogFont().lfFaceName, GetParam().Face);
  EXPECT_EQ(font->OutlineTextMetrics().otmpFaceName, GetParam().Face);
  EXPECT_EQ(font->OutlineTextMetrics().otmpFamilyName, GetParam().Face);
}

INSTANTIATE_TEST_SUITE_P(Classic, FontFamilyOfFace,
                         testing::Values(TFamilyCase{"Times New Roman", FF_ROMAN},
                                         TFamilyCase{"Arial", FF_SWISS},
                                         TFamilyCase{"Courier New", FF_MODERN},
                                         TFamilyCase{"MS Sans Serif", FF_SWISS},
                                         TFamilyCase{"times", FF_ROMAN}));

TEST(FontMetrics, StyleNamesFollowTheFile) {
  EXPECT_EQ(Realise("Arial", -40)->OutlineTextMetrics().otmpStyleName, "Regular");
  const TOutlineTextMetric& otm = Realise("Arial", -40, true, true)->OutlineTextMetrics();
  EXPECT_EQ(otm.otmpStyleName, "Bold Italic");
  EXPECT_EQ(otm.otmpFullName, "Arial Bold Italic");
}

TEST(FontMetrics, CellHeightGivesThatHeight) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
    for (int height : {8, 13, 16, 25, 100, 333}) {
      std::shared_ptr<TLogicalFont> font = Realise(face, height);
      EXPECT_NEAR(font->TextMetrics().tmHeight, height, 1) << face << " " << height;
      EXPECT_LT(font->PixelSize(), height);  // the em is smaller than the cell
    }
  }
}

TEST(FontMetrics, ZeroHeightIsTheDefaultTwelvePoints) {
  EXPECT_DOUBLE_EQ(Realise("Arial", 0)->PixelSize(), 16.0);
  EXPECT_EQ(Realise("Arial", 0)->TextMetrics().tmHeight, Realise("Arial", -16)->TextMetrics().tmHeight);
}

TEST(FontMetrics, ExternalLeadingComesFromTheLineGap) {
  // Liberation Sans: hhea line gap 67 units, win and hhea extents equal.
  EXPECT_EQ(Realise("Arial", -600)->TextMetrics().tmExternalLeading, 20);
  EXPECT_EQ(Realise("Courier New", -600)->TextMetrics().tmExternalLeading, 0);
}

TEST(FontMetrics, TextExtentIsTheSumOfCharWidths) {
  std::shared_ptr<TLogicalFont> font = Realise("Times New Roman", -57, false, true);
  const std::string text = "Grüße, \x80 42 \x93quoted\x94";
  int sum = 0;
  for (char c : text) sum += font->CharWidth(static_cast<uint8_t>(c));
  const TSize extent = font->TextExtent(text);
  EXPECT_EQ(extent.cx, sum);
  EXPECT_EQ(extent.cy, font->TextMetrics().tmHeight);
  EXPECT_EQ(font->TextExtent(""), (TSize{0, 0}));
}

TEST(FontMetrics, AbcWidthsAddUpToTheAdvance) {
  for (const auto& font : {Realise("Arial", -77), Realise("Times New Roman", -600, false, true),
                           Realise("Courier New", -9, true)}) {
    for (int code = 0; code < 256; ++code) {
      const TABC abc = font->CharABCWidths(static_cast<uint8_t>(code));
      EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, font->CharWidth(static_cast<uint8_t>(code)))
          << code;
    }
  }
  std::shared_ptr<TLogicalFont> arial = Realise("Arial", -600);
  EXPECT_GT(arial->CharABCWidths('A').abcB, 300u);
  EXPECT_EQ(arial->CharABCWidths(' ').abcB, 0u);
  // An italic slash leans past both sides of its advance.
  const TABC slash = Realise("Times New Roman", -600, false, true)->CharABCWidths('/');
  EXPECT_LT(slash.abcA, 0);
  EXPECT_LT(slash.abcC, 0);
}

TEST(FontMetrics, ItalicAngleOfTheItalicFile) {
  EXPECT_EQ(Realise("Arial", -30, false, true)->OutlineTextMetrics().otmItalicAngle, -120);
  EXPECT_EQ(Realise("Arial", -30)->OutlineTextMetrics().otmItalicAngle, 0);
  EXPECT_TRUE(Realise("Arial", -30, false, true)->TextMetrics().tmItalic);
}

TEST(FontMetrics, DecorationsSitWhereTheyBelong) {
  for (const auto& font :
       {Realise("Arial", -200), Realise("Times New Roman", -200, true), Realise("Courier New", -200)}) {
    const TOutlineTextMetric& otm = font->OutlineTextMetrics();
    const TTextMetric& tm = otm.otmTextMetrics;
    EXPECT_LT(otm.otmsUnderscorePosition, 0);  // below the baseline
    EXPECT_GT(otm.otmsUnderscorePosition, -tm.tmDescent);
    EXPECT_GE(otm.otmsUnderscoreSize, 1);
    EXPECT_GT(otm.otmsStrikeoutPosition, 0);  // above the baseline, below the x-height's top
    EXPECT_LE(otm.otmsStrikeoutPosition, static_cast<int>(otm.otmsXHeight));
    EXPECT_GE(otm.otmsStrikeoutSize, 1u);
    const TFontFile* file = font->File();
    EXPECT_EQ(file->UnderlineOffset(), -otm.otmsUnderscorePosition);
    EXPECT_EQ(file->UnderlineSize(), otm.otmsUnderscoreSize);
    EXPECT_EQ(file->StrikeOutOffset(), otm.otmsStrikeoutPosition);
    EXPECT_EQ(file->StrikeOutSize(), static_cast<int>(otm.otmsStrikeoutSize));
  }
}

TEST(FontMetrics, OutlineMetricsAreScaledTables) {
  const TOutlineTextMetric& otm = Realise("Arial", -2048)->OutlineTextMetrics();  // one pixel per unit
  EXPECT_EQ(otm.otmAscent, 1491);
  EXPECT_EQ(otm.otmDescent, -431);
  EXPECT_EQ(otm.otmMacAscent, 1854);
  EXPECT_EQ(otm.otmMacDescent, -434);
  EXPECT_EQ(otm.otmMacLineGap, 67u);
  EXPECT_EQ(otm.otmsCapEmHeight, 1409u);
  EXPECT_EQ(otm.otmsXHeight, 1082u);
  EXPECT_LT(otm.otmrcFontBox.Left, 0);
  EXPECT_GT(otm.otmrcFontBox.Top, otm.otmMacAscent - 1);
  EXPECT_LT(otm.otmrcFontBox.Bottom, 0);
}

TEST(FontMetrics, AverageWidthStretchesTheAdvances) {
  std::shared_ptr<TLogicalFont> natural = Realise("Arial", -100);
  TLogFont lf = MakeLogFont("Arial", -100);
  lf.lfWidth = natural->TextMetrics().tmAveCharWidth * 2;
  std::shared_ptr<TLogicalFont> wide = CreateFontIndirect(lf);
  EXPECT_EQ(wide->TextMetrics().tmAveCharWidth, lf.lfWidth);
  EXPECT_EQ(wide->TextMetrics().tmHeight, natural->TextMetrics().tmHeight);
  EXPECT_NEAR(wide->CharWidth('W'), 2 * natural->CharWidth('W'), 2);
  EXPECT_DOUBLE_EQ(wide->File()->HorizontalScale(), 2.0);
}

TEST(FontMetrics, CharSetIsReportedWhenCovered) {
  TLogFont lf = MakeLogFont("Arial", -20);
  EXPECT_EQ(CreateFontIndirect(lf)->TextMetrics().tmCharSet, 0);  // DEFAULT_CHARSET realises as ANSI
  lf.lfCharSet = 238;
  EXPECT_EQ(CreateFontIndirect(lf)->TextMetrics().tmCharSet, 238);
  lf.lfCharSet = 128;  // Japanese: not in the file
  EXPECT_EQ(CreateFontIndirect(lf)->TextMetrics().tmCharSet, 0);
}

TEST(FontMetrics, IdenticalRequestsShareOneFont) {
  EXPECT_EQ(Realise("Arial", -33), Realise("Arial", -33));
  EXPECT_NE(Realise("Arial", -33), Realise("Arial", -34));
}

TEST(FontMetrics, LongFaceNamesAreCutAt31Characters) {
  const std::string name(40, 'x');
  EXPECT_EQ(Realise(name, -10)->LogFont().lfFaceName, name.substr(0, 31));
}

TEST(FontMetrics, MeasuresTheSameOnManyThreads) {
  const std::string text = "Measured on several threads at once";
  std::vector<int> widths(4, 0);
  std::vector<std::thread> threads;
  Realise("Liberation Serif", -12);  // the application object belongs to this thread
  for (int i = 0; i < 4; ++i)
    threads.emplace_back(
        [&widths, &text, i] { widths[i] = Realise("Liberation Serif", -(90 + i % 2))->TextExtent(text).cx; });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(widths[0], widths[2]);
  EXPECT_EQ(widths[1], widths[3]);
  EXPECT_EQ(widths[0], Realise("Liberation Serif", -90)->TextExtent(text).cx);
}

// --- The font file the canvas draws with ---

TEST(FontFile, DrawsTheMeasuredGlyphsAtTheMeasuredAdvances) {
  std::shared_ptr<TLogicalFont> font = Realise("Times New Roman", -60, true);
  const TFontFile* file = font->File();
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->RawFont().isValid());
  EXPECT_EQ(file->RawFont().familyName(), "Liberation Serif");
  EXPECT_DOUBLE_EQ(file->RawFont().pixelSize(), 60.0);
  EXPECT_GE(file->RawFont().weight(), 600);
  for (uint8_t code : {uint8_t('A'), uint8_t('g'), uint8_t(0xE9)}) {
    EXPECT_EQ(file->Advance(code), font->CharWidth(code));
    const QChar ch = code == 0xE9 ? QChar(0xE9) : QChar(code);
    quint32 glyph = 0;
    int count = 1;
    ASSERT_TRUE(file->RawFont().glyphIndexesForChars(&ch, 1, &glyph, &count));
    EXPECT_EQ(file->GlyphIndex(code), glyph);
    EXPECT_NE(glyph, 0u);
    EXPECT_FALSE(file->RawFont().pathForGlyph(glyph).isEmpty());
    // The design advance, unhinted, rounds to the measured width.
    const QList<QPointF> advances =
        file->RawFont().advancesForGlyphIndexes(QList<quint32>{glyph}, QRawFont::UseDesignMetrics);
    EXPECT_NEAR(advances.front().x(), font->CharWidth(code), 0.5);
  }
  EXPECT_EQ(file->GlyphIndex(0x81), 0u);  // unassigned in Windows-1252: the default glyph
  EXPECT_EQ(font->CharWidth(0x81), font->CharWidth(0x8D));
}

TEST(FontFile, EachThreadDrawsWithItsOwnRawFont) {
  std::shared_ptr<TLogicalFont> font = Realise("Arial", -48, false, true);
  const TFontFile* file = font->File();
  const QRawFont* mine = &file->RawFont();
  EXPECT_EQ(&file->RawFont(), mine);  // made once per thread
  const QRawFont* theirs = nullptr;
  bool valid = false;
  quint32 theirGlyph = 0;
  std::thread([&] {
    theirs = &file->RawFont();
    valid = theirs->isValid() && theirs->pixelSize() == 48.0;
    const QChar ch('Q');
    int count = 1;
    theirs->glyphIndexesForChars(&ch, 1, &theirGlyph, &count);
  }).join();
  EXPECT_NE(theirs, mine);
  EXPECT_TRUE(valid);
  EXPECT_EQ(theirGlyph, file->GlyphIndex('Q'));
  EXPECT_EQ(mine->familyName(), "Liberation Sans");
  EXPECT_EQ(mine->style(), QFont::StyleItalic);
}

// --- Substitution and enumeration ---

struct TSubstitutionCase {
  const char* Face;
  const char* Family;
};

class FontSubstitutionTable : public testing::TestWithParam<TSubstitutionCase> {};

TEST_P(FontSubstitutionTable, MapsClassicNames) {
  EXPECT_EQ(SubstituteFontFamily(GetParam().Face), GetParam().Family);
}

INSTANTIATE_TEST_SUITE_P(
    Classic, FontSubstitutionTable,
    testing::Values(
        TSubstitutionCase{"Arial", "Liberation Sans"}, TSubstitutionCase{"ARIAL", "Liberation Sans"},
        TSubstitutionCase{"Helvetica", "Liberation Sans"},
        TSubstitutionCase{"MS Sans Serif", "Liberation Sans"},
        TSubstitutionCase{"Microsoft Sans Serif", "Liberation Sans"},
        TSubstitutionCase{"Tahoma", "Liberation Sans"}, TSubstitutionCase{"Verdana", "Liberation Sans"},
        TSubstitutionCase{"Times New Roman", "Liberation Serif"},
        TSubstitutionCase{"Times", "Liberation Serif"}, TSubstitutionCase{"MS Serif", "Liberation Serif"},
        TSubstitutionCase{"Courier New", "Liberation Mono"}, TSubstitutionCase{"courier", "Liberation Mono"},
        TSubstitutionCase{"Arial Black", "Liberation Sans"}, TSubstitutionCase{"Wingdings", "DejaVu Sans"},
        TSubstitutionCase{"Symbol", "DejaVu Sans"}, TSubstitutionCase{"No Such Face", "Liberation Sans"},
        TSubstitutionCase{"DejaVu Serif", "DejaVu Serif"}));

TEST(FontSubstitution, HeavyFacesAreBold) {
  std::shared_ptr<TLogicalFont> black = Realise("Arial Black", -50);
  EXPECT_GE(black->TextMetrics().tmWeight, FW_BOLD);
  EXPECT_EQ(black->CharWidth('A'), Realise("Arial", -50, true)->CharWidth('A'));
  EXPECT_EQ(black->LogFont().lfFaceName, "Arial Black");
}

TEST(FontSubstitution, UnknownFixedPitchNamesGetTheMonospacedFamily) {
  TLogFont lf = MakeLogFont("No Such Face", -20);
  lf.lfPitchAndFamily = FIXED_PITCH;
  std::shared_ptr<TLogicalFont> font = CreateFontIndirect(lf);
  EXPECT_EQ(font->TextMetrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
  EXPECT_EQ(CreateFontIndirect(lf)->TextMetrics().tmPitchAndFamily & 0xF0, FF_ROMAN);
}

TEST(FontEnumeration, FacesOfAClassicFamily) {
  const std::vector<TFontFace> faces = EnumFontFaces("Arial");
  std::map<std::pair<bool, bool>, std::vector<uint8_t>> charSetsByStyle;
  for (const TFontFace& face : faces) {
    EXPECT_EQ(face.FaceName, "Arial");
    EXPECT_EQ(face.PitchAndFamily, VARIABLE_PITCH | FF_SWISS);
    charSetsByStyle[{face.Bold, face.Italic}].push_back(face.CharSet);
  }
  ASSERT_EQ(charSetsByStyle.size(), 4u);  // regular, bold, italic, bold italic
  for (const auto& [style, charSets] : charSetsByStyle) {
    EXPECT_EQ(charSets, (std::vector<uint8_t>{0, 238, 204, 161, 162, 186}));
  }
  const std::vector<TFontFace> mono = EnumFontFaces("Courier New");
  ASSERT_FALSE(mono.empty());
  EXPECT_EQ(mono.front().PitchAndFamily, FIXED_PITCH | FF_MODERN);
}

TEST(FontEnumeration, FamiliesIncludeInstalledAndClassicNames) {
  const std::vector<std::string> families = EnumFontFamilies();
  for (const char* name :
       {"Arial", "Times New Roman", "Courier New", "Liberation Sans", "Liberation Mono", "DejaVu Sans"})
    EXPECT_NE(std::find(families.begin(), families.end(), name), families.end()) << name;
  for (size_t i = 1; i < families.size(); ++i)  // sorted and unique, ignoring case
    EXPECT_LT(strcasecmp(families[i - 1].c_str(), families[i].c_str()), 0) << families[i];
  for (const std::string& family : families) EXPECT_EQ(family.find('['), std::string::npos) << family;
}

}  // namespace
