#pragma once
// TPageStreamWriter: the writing half of the page stream's primitives. Records are small, so
// every write goes through a buffer that is handed to the stream in large blocks; only a
// block larger than the buffer goes to the stream directly. Asking for the position or
// seeking hands the buffer over first, so offsets are always those of the stream.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stream/VXStreamFormat.h"

class TStream;

class TPageStreamWriter {
public:
  static constexpr size_t DefaultBufferSize = 16384;

  // Stream is not owned and must outlive the writer.
  explicit TPageStreamWriter(TStream* Stream, size_t BufferSize = DefaultBufferSize);
  TPageStreamWriter(const TPageStreamWriter&) = delete;
  TPageStreamWriter& operator=(const TPageStreamWriter&) = delete;

  TStream* Stream() const { return FStream; }
  // While muted every write is dropped (the engine measures without recording).
  bool Muted() const { return FMuted; }
  void SetMuted(bool Value) { FMuted = Value; }

  void WriteBytes(const void* Data, size_t Count);
  void WriteByte(uint8_t Value);
  void WriteInt16(int16_t Value);
  void WriteInt32(int32_t Value);
  void WriteSingle(float Value);
  // The length prefix and the bytes; text longer than MaxStreamString is cut there (callers
  // that care where the cut falls use LimitStreamText first).
  void WriteString(const std::string& Text);
  void WritePoint(double X, double Y);
  void WriteRect(double Left, double Top, double Right, double Bottom);
  // A graphic record holding the picture bytes.
  void WriteGraphicData(uint8_t Kind, const std::vector<uint8_t>& Data);
  // A graphic record referring to the Size field of an earlier data record.
  void WriteGraphicReference(uint8_t Kind, int32_t Offset);
  // Count and Code both the value's length (values are cut to MaxImmediateValue bytes).
  void WriteImmediateValue(const std::string& Value);
  // Count 4, code vcIndirect and the offset of another value record.
  void WriteIndirectValue(int32_t Offset);
  // Count ReservedValueSize, code vcReserved, and a payload holding Link in its first four
  // bytes (0: no earlier value).
  void WriteReservedValue(int32_t Link);

  // Hands the buffered bytes to the stream.
  void Flush();
  // Forgets the buffered bytes without writing them.
  void Discard();
  // The stream position after a flush.
  int64_t Position();
  // Flushes, then moves the stream to Offset.
  void Seek(int64_t Offset);
  // Where the next byte written will land, without flushing.
  int64_t WritePosition();
  size_t Buffered() const { return FBuffer.size(); }

private:
  TStream* FStream;
  size_t FBufferSize;
  std::vector<uint8_t> FBuffer;
  bool FMuted = false;
};

// The length prefix of a string of Length bytes (one or two bytes).
std::vector<uint8_t> StreamStringPrefix(size_t Length);

// Text cut to at most Limit bytes without splitting a macro or variable placeholder (byte 253
// "$VXC...") or a formatted-text code (byte 1 up to its byte 4): a piece that would be
// split is left out whole.
std::string LimitStreamText(const std::string& Text, size_t Limit = MaxStreamString);
