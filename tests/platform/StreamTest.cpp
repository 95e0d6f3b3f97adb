#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "TempDir.h"
#include "platform/Classes.h"

namespace {

std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string MemoryText(TMemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST(StreamTest, MemoryStreamGrowsWhenWrittenBeyondTheEnd) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(stream.Seek(5, soCurrent), 8);
  EXPECT_EQ(stream.Size(), 3);  // seeking alone does not grow
  stream.WriteBuffer("Z", 1);
  ASSERT_EQ(stream.Size(), 9);
  EXPECT_EQ(MemoryText(stream), std::string("abc\0\0\0\0\0Z", 9));
  EXPECT_EQ(stream.Seek(-2, soEnd), 7);
}

TEST(StreamTest, ShortReadRaisesReadError) {
  TMemoryStream stream;
  stream.WriteBuffer("12345", 5);
  stream.SetPosition(2);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 3);
  stream.SetPosition(2);
  try {
    stream.ReadBuffer(buffer, 4);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  stream.SetPosition(1);
  stream.ReadBuffer(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "2345");
}

TEST(StreamTest, SetSizeTruncatesAndKeepsThePositionInside) {
  TMemoryStream stream;
  stream.WriteBuffer("0123456789", 10);
  stream.SetSize(4);
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(stream.Position(), 4);
  stream.SetSize(6);
  EXPECT_EQ(MemoryText(stream), std::string("0123\0\0", 6));
}

TEST(StreamTest, CopyFromZeroCopiesTheWholeSourceFromItsStart) {
  TMemoryStream source;
  std::string payload(200'000, 'x');
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>('a' + i % 26);
  source.WriteBuffer(payload.data(), static_cast<int64_t>(payload.size()));  // position at the end
  TMemoryStream dest;
  dest.WriteBuffer(">", 1);
  EXPECT_EQ(dest.CopyFrom(&source, 0), static_cast<int64_t>(payload.size()));
  EXPECT_EQ(MemoryText(dest), ">" + payload);

  source.SetPosition(10);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(&source, 5), 5);
  EXPECT_EQ(MemoryText(part), payload.substr(10, 5));
  source.SetPosition(source.Size() - 2);
  EXPECT_THROW(part.CopyFrom(&source, 5), EReadError);
}

TEST(StreamTest, FileStreamWritesWhatAnotherReaderSees) {
  TTempDir dir;
  const std::string name = dir.File("data.bin");
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer("hello world", 11);
    EXPECT_EQ(file.Size(), 11);
  }
  EXPECT_EQ(ReadWholeFile(name), "hello world");
  {
    TFileStream file(name, fmOpenReadWrite | fmShareDenyNone);
    file.Seek(6, soBeginning);
    file.WriteBuffer("there", 5);
    file.SetPosition(0);
    char buffer[5];
    file.ReadBuffer(buffer, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
  }
  EXPECT_EQ(ReadWholeFile(name), "hello there");
}

TEST(StreamTest, FileStreamSetSizeTruncatesAndExtends) {
  TTempDir dir;
  const std::string name = dir.File("size.bin");
  TFileStream file(name, fmCreate);
  file.WriteBuffer("0123456789", 10);
  file.SetSize(3);
  EXPECT_EQ(file.Size(), 3);
  EXPECT_EQ(ReadWholeFile(name), "012");
  file.SetSize(5);
  EXPECT_EQ(ReadWholeFile(name), std::string("012\0\0", 5));
  EXPECT_EQ(file.Position(), 5);
}

TEST(StreamTest, FileStreamOffsetsAreSixtyFourBit) {
  TTempDir dir;
  TFileStream file(dir.File("sparse.bin"), fmCreate);
  const int64_t beyond4G = (int64_t{1} << 32) + 7;
  file.SetSize(beyond4G + 1);  // sparse on the file systems used here
  EXPECT_EQ(file.Size(), beyond4G + 1);
  EXPECT_EQ(file.Seek(beyond4G, soBeginning), beyond4G);
  file.WriteBuffer("!", 1);
  EXPECT_EQ(file.Position(), beyond4G + 1);
  file.SetSize(0);
}

TEST(StreamTest, FileStreamOpenAndCreateErrorsNameTheFile) {
  TTempDir dir;
  const std::string missing = dir.File("missing.txt");
  try {
    TFileStream file(missing, fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
  }
  const std::string impossible = dir.File("no/such/folder/x.txt");
  try {
    TFileStream file(impossible, fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + impossible + "\". ", 0), 0u) << e.Message();
  }
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
  { TFileStream existing(dir.File("x"), fmCreate); }
  EXPECT_THROW(TFileStream(dir.File("x"), fmCreate | fmExclusive), EFCreateError);
}

TEST(StreamTest, WritingToAReadOnlyFileRaisesWriteError) {
  TTempDir dir;
  const std::string name = dir.File("ro.txt");
  { TFileStream(name, fmCreate).WriteBuffer("x", 1); }
  TFileStream file(name, fmOpenRead);
  EXPECT_THROW(file.WriteBuffer("y", 1), EWriteError);
}

TEST(StreamTest, MemoryStreamFileRoundTrip) {
  TTempDir dir;
  const std::string name = dir.File("memory.bin");
  TMemoryStream out;
  const std::string bytes("\x00\x01\xFF\r\n", 5);
  out.WriteBuffer(bytes.data(), 5);
  out.SaveToFile(name);
  EXPECT_EQ(ReadWholeFile(name), bytes);
  TMemoryStream in;
  in.LoadFromFile(name);
  EXPECT_EQ(in.Position(), 0);
  EXPECT_EQ(MemoryText(in), bytes);
}

}  // namespace
