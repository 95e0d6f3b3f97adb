#pragma once
// Byte streams: the abstract TStream and its memory and file forms.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes and share flags of TFileStream.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
// With fmCreate: fail when the file already exists.
constexpr uint16_t fmExclusive = 0x0004;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
  std::string ClassName() const override { return "TStream"; }
  // Transfers up to Count bytes; returns how many were transferred.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  // As Read and Write, raising EReadError / EWriteError on a short transfer.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);

  int64_t Position();
  void SetPosition(int64_t Pos);
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);

  // Copies Count bytes from Source's position (Count 0: the whole source, from its start);
  // returns the count.
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A growable stream in memory. Seeking beyond the end is allowed; writing there grows the
// stream (the gap reads as zeros).
class TMemoryStream : public TStream {
public:
  std::string ClassName() const override { return "TMemoryStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;

  void Clear();
  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  // Replaces the content with the whole of Stream (from its start); the position becomes 0.
  void LoadFromStream(TStream* Stream);
  // Writes the whole content, whatever the position.
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// A stream over an operating-system file (64-bit offsets). Share flags are accepted and
// ignored: the file system has no share modes.
class TFileStream : public TStream {
public:
  std::string ClassName() const override { return "TFileStream"; }
  // Raises EFCreateError or EFOpenError naming the file when it cannot be opened.
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  // Truncates or extends the file; the position moves to NewSize, as for a handle stream.
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  std::string FFileName;
  int FHandle = -1;
};
