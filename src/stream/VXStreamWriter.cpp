// TPageStreamWriter: buffered little-endian primitives of the page stream.
#include "stream/VXStreamWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/Stream.h"

namespace {

constexpr char PlaceholderStart = '\xFD';
constexpr char VariableNameEnd = '\xFB';
const std::string PlaceholderMarker = "\xFD$VXC";
// A macro placeholder: the marker, "M" and two digits.
constexpr size_t MacroPlaceholderLength = 8;
constexpr char FormatCodeStartByte = '\x01';
constexpr char FormatCodeEndByte = '\x04';

template <typename T>
void AppendLittleEndian(uint8_t (&Bytes)[sizeof(T)], T Value) {
  // The format is little-endian whatever the machine is.
  uint64_t bits = 0;
  std::memcpy(&bits, &Value, sizeof(T));
  for (size_t i = 0; i < sizeof(T); ++i) Bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// Where the piece of Text starting at Pos ends (exclusive): a whole placeholder, a whole
// format code, or one byte.
size_t PieceEnd(const std::string& Text, size_t Pos) {
  if (Text[Pos] == FormatCodeStartByte) {
    const size_t end = Text.find(FormatCodeEndByte, Pos + 1);
    return end == std::string::npos ? Text.size() : end + 1;
  }
  if (Text[Pos] == PlaceholderStart && Text.compare(Pos, PlaceholderMarker.size(), PlaceholderMarker) == 0) {
    const size_t kind = Pos + PlaceholderMarker.size();
    if (kind < Text.size() && Text[kind] == 'M') return std::min(Text.size(), Pos + MacroPlaceholderLength);
    if (kind < Text.size() && Text[kind] == 'V') {
      const size_t end = Text.find(VariableNameEnd, kind + 1);
      return end == std::string::npos ? Text.size() : end + 1;
    }
  }
  return Pos + 1;
}

}  // namespace

TPageStreamWriter::TPageStreamWriter(TStream* Stream, size_t BufferSize)
    : FStream(Stream), FBufferSize(BufferSize) {
  FBuffer.reserve(BufferSize);
}

void TPageStreamWriter::WriteBytes(const void* Data, size_t Count) {
  if (FMuted || Count == 0) return;
  if (FBuffer.size() + Count > FBufferSize) Flush();
  if (Count > FBufferSize) {
    FStream->WriteBuffer(Data, static_cast<int64_t>(Count));
    return;
  }
  const auto* bytes = static_cast<const uint8_t*>(Data);
  FBuffer.insert(FBuffer.end(), bytes, bytes + Count);
}

void TPageStreamWriter::WriteByte(uint8_t Value) {
  WriteBytes(&Value, 1);
}

void TPageStreamWriter::WriteInt16(int16_t Value) {
  uint8_t bytes[2];
  AppendLittleEndian(bytes, Value);
  WriteBytes(bytes, sizeof(bytes));
}

void TPageStreamWriter::WriteInt32(int32_t Value) {
  uint8_t bytes[4];
  AppendLittleEndian(bytes, Value);
  WriteBytes(bytes, sizeof(bytes));
}

void TPageStreamWriter::WriteSingle(float Value) {
  uint8_t bytes[4];
  AppendLittleEndian(bytes, Value);
  WriteBytes(bytes, sizeof(bytes));
}

void TPageStreamWriter::WriteString(const std::string& Text) {
  const size_t length = std::min(Text.size(), MaxStreamString);
  const std::vector<uint8_t> prefix = StreamStringPrefix(length);
  WriteBytes(prefix.data(), prefix.size());
  WriteBytes(Text.data(), length);
}

void TPageStreamWriter::WritePoint(double X, double Y) {
  WriteSingle(static_cast<float>(X));
  WriteSingle(static_cast<float>(Y));
}

void TPageStreamWriter::WriteRect(double Left, double Top, double Right, double Bottom) {
  WritePoint(Left, Top);
  WritePoint(Right, Bottom);
}

void TPageStreamWriter::WriteGraphicData(uint8_t Kind, const std::vector<uint8_t>& Data) {
  WriteByte(Kind);
  WriteInt32(static_cast<int32_t>(Data.size()));
  WriteBytes(Data.data(), Data.size());
}

void TPageStreamWriter::WriteGraphicReference(uint8_t Kind, int32_t Offset) {
  WriteByte(static_cast<uint8_t>(Kind | gkReference));
  WriteInt32(Offset);
}

void TPageStreamWriter::WriteImmediateValue(const std::string& Value) {
  const auto length = static_cast<uint8_t>(std::min<size_t>(Value.size(), MaxImmediateValue));
  WriteByte(length);
  WriteByte(length);
  WriteBytes(Value.data(), length);
}

void TPageStreamWriter::WriteIndirectValue(int32_t Offset) {
  WriteByte(4);
  WriteByte(vcIndirect);
  WriteInt32(Offset);
}

void TPageStreamWriter::WriteReservedValue(int32_t Link) {
  WriteByte(ReservedValueSize);
  WriteByte(vcReserved);
  WriteInt32(Link);
  const std::vector<uint8_t> rest(ReservedValueSize - 4, 0);
  WriteBytes(rest.data(), rest.size());
}

void TPageStreamWriter::Flush() {
  if (FBuffer.empty()) return;
  // The buffer is emptied first: a failing stream does not get the same bytes twice.
  std::vector<uint8_t> pending;
  pending.swap(FBuffer);
  FBuffer.reserve(FBufferSize);
  FStream->WriteBuffer(pending.data(), static_cast<int64_t>(pending.size()));
}

void TPageStreamWriter::Discard() {
  FBuffer.clear();
}

int64_t TPageStreamWriter::Position() {
  Flush();
  return FStream->Position();
}

void TPageStreamWriter::Seek(int64_t Offset) {
  Flush();
  FStream->SetPosition(Offset);
}

int64_t TPageStreamWriter::WritePosition() {
  return FStream->Position() + static_cast<int64_t>(FBuffer.size());
}

std::vector<uint8_t> StreamStringPrefix(size_t Length) {
  if (Length <= MaxShortStreamString) return {static_cast<uint8_t>(Length)};
  return {static_cast<uint8_t>(0xC0 + (Length >> 8)), static_cast<uint8_t>(Length & 0xFF)};
}

std::string LimitStreamText(const std::string& Text, size_t Limit) {
  if (Text.size() <= Limit) return Text;
  size_t kept = 0;
  while (kept < Text.size()) {
    const size_t end = PieceEnd(Text, kept);
    if (end > Limit) break;
    kept = end;
  }
  return Text.substr(0, kept);
}
