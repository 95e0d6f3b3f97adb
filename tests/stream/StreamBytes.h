#pragma once
// Test helpers: page streams built byte by byte (independent of the writer under test), and
// the records of a stream read back page by page.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Stream.h"
#include "stream/VXStreamReader.h"

class TStreamBytes {
public:
  std::vector<uint8_t> Bytes;

  TStreamBytes& Byte(int Value) {
    Bytes.push_back(static_cast<uint8_t>(Value));
    return *this;
  }
  TStreamBytes& Int16(int Value) {
    Byte(Value & 0xFF);
    return Byte((Value >> 8) & 0xFF);
  }
  TStreamBytes& Int32(int64_t Value) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<int>((Value >> (8 * i)) & 0xFF));
    return *this;
  }
  TStreamBytes& Single(float Value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &Value, 4);
    return Int32(bits);
  }
  // A one-byte length and the bytes.
  TStreamBytes& ShortString(const std::string& Text) {
    Byte(static_cast<int>(Text.size()));
    return Raw(Text);
  }
  TStreamBytes& Raw(const std::string& Text) {
    Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    return *this;
  }
  size_t Size() const { return Bytes.size(); }

  // A "Z" header of the given version (title only from 2010, printer extras from 2000).
  TStreamBytes& Header(int Version, int PageCount, const std::string& Title = "") {
    Byte('Z').Int16(Version);
    if (Version >= 2010) ShortString(Title);
    return Rest(Version, PageCount);
  }
  // The fields after the title: counts, page size 8.5 x 11, no margins, no printer settings.
  TStreamBytes& Rest(int Version, int PageCount) {
    Int16(PageCount).Int16(1).Int16(9999).Single(8.5f).Single(11.0f);
    for (int i = 0; i < 4; ++i) Single(0);
    Byte(0);
    if (Version >= 2000) Int16(265).Byte(0).Byte(0);
    return Int16(1).Int16(1).Int16(0).Int16(0).ShortString("");
  }
  // Opcode 80 and a page header of a version-2000-or-later stream.
  TStreamBytes& Page(int64_t Prev, int64_t Next, int Number) {
    return Byte(80).Int32(Prev).Int32(Next).Int16(Number).Single(8.5f).Single(11.0f);
  }
  // Patches the int32 at Offset.
  void PatchInt32(size_t Offset, int64_t Value) {
    for (int i = 0; i < 4; ++i) Bytes[Offset + i] = static_cast<uint8_t>((Value >> (8 * i)) & 0xFF);
  }

  void SaveTo(TMemoryStream& Stream) const {
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    Stream.SetPosition(0);
  }
};

// Every record of one page read from the reader's position (the page header already read),
// 82 included.
inline std::vector<TStreamRecord> ReadPageRecords(TPageStreamReader& Reader) {
  std::vector<TStreamRecord> records;
  TStreamRecord record;
  bool more = true;
  while (more) {
    more = Reader.ReadRecord(record);
    records.push_back(record);
  }
  return records;
}

// The records of every page, in stream order.
inline std::vector<std::vector<TStreamRecord>> ReadAllPages(TStream* Stream) {
  TPageStreamReader reader(Stream);
  reader.ReadHeader();
  std::vector<std::vector<TStreamRecord>> pages;
  while (!reader.AtEnd()) {
    reader.ReadPageHeader();
    pages.push_back(ReadPageRecords(reader));
  }
  return pages;
}

inline std::vector<uint8_t> CodesOf(const std::vector<TStreamRecord>& Records) {
  std::vector<uint8_t> codes;
  for (const TStreamRecord& record : Records) codes.push_back(record.Code);
  return codes;
}
