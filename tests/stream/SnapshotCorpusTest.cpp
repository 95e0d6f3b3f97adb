// Snapshot files kept in tests/data/vsn: the seeds and the inputs the reader's fuzzer found
// or was built against (damaged chains, looping values, sizes beyond the stream). Each one
// is read every way the fuzzer reads it; a damaged file may fail, but only with the
// reader's error, and nothing may crash, hang or exhaust memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "StreamBytes.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "stream/VXStreamDump.h"

namespace {

std::vector<std::string> SnapshotFiles() {
  std::vector<std::string> files;
  const std::filesystem::path folder = std::filesystem::path(PAGEPRESS_TEST_DATA) / "vsn";
  if (!std::filesystem::is_directory(folder)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// "ok" when the whole file was read, otherwise the failure's message.
std::string ReadEveryWay(TMemoryStream& Stream) {
  std::string outcome = "ok";
  size_t lines = 0;
  try {
    DumpPageStream(&Stream, 0, [&lines](const std::string&) { ++lines; });
  } catch (const Exception& e) {
    outcome = e.Message();
  }
  try {
    TPageStreamReader reader(&Stream);
    const TStreamHeader& header = reader.ReadHeader();
    if (!reader.AtEnd()) {
      for (int page : {header.PageCount, 1, 0, 32767, header.PageCount / 2}) {
        reader.GotoPage(page);
        reader.SkipPage();
      }
    }
  } catch (const Exception& e) {
    if (outcome == "ok") outcome = e.Message();
  }
  return outcome;
}

TEST(SnapshotCorpusTest, EveryKeptSnapshotIsReadOrRefusedCleanly) {
  const std::vector<std::string> files = SnapshotFiles();
  ASSERT_FALSE(files.empty()) << "tests/data/vsn holds the regression inputs";
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TMemoryStream stream;
    stream.LoadFromFile(file);
    const std::string outcome = ReadEveryWay(stream);
    const bool valid = std::filesystem::path(file).filename().string().rfind("valid-", 0) == 0;
    if (valid) {
      EXPECT_EQ(outcome, "ok");
    } else {
      EXPECT_TRUE(outcome == "ok" || outcome == "Unexpected code found in report file." ||
                  outcome == "Unexpected header code found in report file." || outcome == "Stream read error")
          << outcome;
    }
  }
}

TEST(SnapshotCorpusTest, ManyReferencesToOneLargePictureAreReadOnce) {
  // A picture of 1 MB and 100000 references to it: reading them must not copy 100 GB.
  TStreamBytes b;
  b.Header(2017, 1);
  b.Page(0, 0, 1);
  b.Byte(5).Byte(1);
  const size_t sizeField = b.Size();
  b.Int32(1 << 20);
  b.Bytes.resize(b.Bytes.size() + (1 << 20), 0xAB);
  b.Single(0).Single(0);
  for (int i = 0; i < 100000; ++i)
    b.Byte(5).Byte(129).Int32(static_cast<int64_t>(sizeField)).Single(0).Single(0);
  b.Byte(82);
  TMemoryStream stream;
  b.SaveTo(stream);
  TPageStreamReader reader(&stream);
  reader.ReadHeader();
  reader.ReadPageHeader();
  TStreamRecord record;
  size_t references = 0;
  const uint8_t* first = nullptr;
  while (reader.ReadRecord(record)) {
    if (!record.Graphic.Reference) continue;
    ++references;
    if (first == nullptr) first = record.Graphic.Data->data();
    EXPECT_EQ(record.Graphic.Data->data(), first) << "the bytes are shared, not read again";
    if (record.Graphic.Data->data() != first) break;
  }
  EXPECT_EQ(references, 100000u);
}

}  // namespace
