#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "platform/SfntTables.h"

namespace {

uint32_t U32At(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes.at(offset + i));
  return value;
}

uint16_t U16At(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>((static_cast<uint8_t>(bytes.at(offset)) << 8) |
                               static_cast<uint8_t>(bytes.at(offset + 1)));
}

TEST(SfntTables, MissingTablesGiveDefaults) {
  const TSfntTables t = ReadSfntTables([](const char*) { return std::string(); });
  EXPECT_EQ(t.UnitsPerEm, 2048);
  EXPECT_TRUE(t.Advances.empty());
  EXPECT_TRUE(t.Boxes.empty());
  EXPECT_EQ(t.Advance(5), 0);
  EXPECT_TRUE(t.Box(5).Empty);
  EXPECT_EQ(t.CodePageRange1, 1u);  // no OS/2 table: Latin 1
}

TEST(SfntTables, TruncatedAndGarbageTablesAreReadSafely) {
  std::mt19937 random(1234);
  for (int round = 0; round < 200; ++round) {
    std::map<std::string, std::string> tables;
    for (const char* tag : {"head", "hhea", "OS/2", "post", "hmtx", "maxp", "loca", "glyf", "name"}) {
      std::string bytes(random() % 120, '\0');
      for (char& c : bytes) c = static_cast<char>(random());
      tables[tag] = bytes;
    }
    const TSfntTables t = ReadSfntTables([&tables](const char* tag) { return tables[tag]; });
    EXPECT_GT(t.UnitsPerEm, 0);
    for (uint32_t g = 0; g < t.Boxes.size(); ++g) t.Box(g);  // in bounds under the sanitizers
  }
}

TEST(SfntTables, LastMetricRepeatsForLaterGlyphs) {
  // hhea with 2 long metrics; hmtx: (500, 10), (700, 20), then a bare side bearing.
  std::string hhea(36, '\0');
  hhea[35] = 2;
  const std::string hmtx("\x01\xF4\x00\x0A\x02\xBC\x00\x14\x00\x05", 10);
  const TSfntTables t = ReadSfntTables([&](const char* tag) {
    const std::string name = tag;
    return name == "hhea" ? hhea : name == "hmtx" ? hmtx : std::string();
  });
  ASSERT_EQ(t.Advances.size(), 2u);
  EXPECT_EQ(t.Advance(0), 500);
  EXPECT_EQ(t.Advance(1), 700);
  EXPECT_EQ(t.Advance(9), 700);
}

TEST(SfntTables, AssembledFileHasASortedAlignedDirectory) {
  const std::map<std::string, std::string> tables = {{"head", std::string(54, '\x11')},
                                                     {"cmap", "abc"},
                                                     {"OS/2", std::string(96, '\x22')},
                                                     {"glyf", "12345"}};
  const std::string file = AssembleSfnt([&tables](const char* tag) {
    auto found = tables.find(tag);
    return found == tables.end() ? std::string() : found->second;
  });
  EXPECT_EQ(U32At(file, 0), 0x00010000u);
  ASSERT_EQ(U16At(file, 4), 4);
  EXPECT_EQ(U16At(file, 6), 64);  // search range: 16 * 4
  EXPECT_EQ(U16At(file, 8), 2);
  EXPECT_EQ(U16At(file, 10), 0);
  std::string previousTag;
  for (size_t i = 0; i < 4; ++i) {
    const size_t record = 12 + 16 * i;
    const std::string tag = file.substr(record, 4);
    EXPECT_LT(previousTag, tag);
    previousTag = tag;
    const uint32_t offset = U32At(file, record + 8);
    const uint32_t length = U32At(file, record + 12);
    EXPECT_EQ(offset % 4, 0u) << tag;
    EXPECT_EQ(file.substr(offset, length), tables.at(tag)) << tag;
  }
  EXPECT_EQ(file.size() % 4, 0u);
}

}  // namespace
