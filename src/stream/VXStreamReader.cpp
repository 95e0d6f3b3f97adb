// TPageStreamReader: buffered primitives, the header, page navigation and record decoding.
// The drawing state the records imply is kept in VXStreamState.cpp.
#include "stream/VXStreamReader.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "engine/VXDefine.h"
#include "platform/Bitmap.h"
#include "platform/Icon.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

namespace {

// The window of the stream the reader keeps in memory.
constexpr size_t ReadBufferSize = 16384;
// What references may read beyond the cache, as a multiple of the stream's size.
constexpr int64_t ReferenceBudgetFactor = 16;
constexpr int64_t ReferenceBudgetMinimum = int64_t{64} << 20;

template <typename T>
T FromLittleEndian(const uint8_t* Bytes) {
  uint64_t bits = 0;
  for (size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<uint64_t>(Bytes[i]) << (8 * i);
  T value;
  std::memcpy(&value, &bits, sizeof(T));
  return value;
}

[[noreturn]] void RaiseReadError() {
  // The same failure a stream reports when it ends early.
  throw EReadError("Stream read error");
}

}  // namespace

void RaiseUnexpectedCode() {
  RaiseError(Trans("Unexpected code found in report file."));
}

TPageStreamReader::TPageStreamReader(TStream* Stream) : FStream(Stream) {
  FSize = FStream->Size();
  FPosition = FStream->Position();
}

TPageStreamReader::~TPageStreamReader() = default;

// ===== Primitives =====

void TPageStreamReader::Seek(int64_t Offset) {
  FPosition = Offset;
}

void TPageStreamReader::Fill() {
  const int64_t count = std::min<int64_t>(ReadBufferSize, FSize - FPosition);
  FBuffer.resize(static_cast<size_t>(count));
  FBufferStart = FPosition;
  FStream->SetPosition(FPosition);
  FStream->ReadBuffer(FBuffer.data(), count);
}

void TPageStreamReader::ReadBytes(void* Buffer, size_t Count) {
  if (Count == 0) return;
  if (FPosition < 0 || static_cast<int64_t>(Count) > FSize - FPosition) RaiseReadError();
  auto* out = static_cast<uint8_t*>(Buffer);
  if (Count > ReadBufferSize) {
    // Large blocks (pictures, raw data) go straight from the stream.
    FStream->SetPosition(FPosition);
    FStream->ReadBuffer(out, static_cast<int64_t>(Count));
    FPosition += static_cast<int64_t>(Count);
    return;
  }
  while (Count > 0) {
    const int64_t bufferEnd = FBufferStart + static_cast<int64_t>(FBuffer.size());
    if (FPosition < FBufferStart || FPosition >= bufferEnd) {
      Fill();
      continue;
    }
    const size_t offset = static_cast<size_t>(FPosition - FBufferStart);
    const size_t chunk = std::min(Count, FBuffer.size() - offset);
    std::memcpy(out, FBuffer.data() + offset, chunk);
    out += chunk;
    Count -= chunk;
    FPosition += static_cast<int64_t>(chunk);
  }
}

uint8_t TPageStreamReader::ReadByte() {
  uint8_t value = 0;
  ReadBytes(&value, 1);
  return value;
}

int16_t TPageStreamReader::ReadInt16() {
  uint8_t bytes[2];
  ReadBytes(bytes, sizeof(bytes));
  return FromLittleEndian<int16_t>(bytes);
}

int32_t TPageStreamReader::ReadInt32() {
  uint8_t bytes[4];
  ReadBytes(bytes, sizeof(bytes));
  return FromLittleEndian<int32_t>(bytes);
}

float TPageStreamReader::ReadSingle() {
  uint8_t bytes[4];
  ReadBytes(bytes, sizeof(bytes));
  return FromLittleEndian<float>(bytes);
}

std::string TPageStreamReader::ReadString() {
  size_t length = ReadByte();
  if (FHeader.Version >= StreamVersionLongString && length > MaxShortStreamString) {
    length = ((length - 0xC0) << 8) | ReadByte();
  }
  std::string text(length, '\0');
  ReadBytes(text.data(), length);
  return text;
}

std::vector<uint8_t> TPageStreamReader::ReadData(int64_t Count) {
  if (Count < 0) RaiseUnexpectedCode();
  if (Count > FSize - FPosition) RaiseReadError();
  std::vector<uint8_t> data(static_cast<size_t>(Count));
  ReadBytes(data.data(), data.size());
  return data;
}

void TPageStreamReader::ExpectCode(uint8_t Code) {
  if (ReadByte() != Code) RaiseUnexpectedCode();
}

// ===== Graphic and value records =====

TStreamGraphic TPageStreamReader::ReadGraphic() {
  TStreamGraphic graphic;
  const uint8_t kind = ReadByte();
  graphic.Kind = kind & ~gkReference;
  graphic.Reference = (kind & gkReference) != 0;
  if (!graphic.Reference) {
    graphic.DataOffset = FPosition;
    graphic.Data = std::make_shared<const std::vector<uint8_t>>(ReadData(ReadInt32()));
    return graphic;
  }
  const int32_t offset = ReadInt32();
  // A reference leads back to the Size field of an earlier record, never to the header.
  if (offset <= 0 || offset > FSize - 4) RaiseUnexpectedCode();
  graphic.DataOffset = offset;
  const int64_t resume = FPosition;
  graphic.Data = ReadReferencedData(offset);
  Seek(resume);
  return graphic;
}

std::shared_ptr<const std::vector<uint8_t>> TPageStreamReader::ReadReferencedData(int64_t Offset) {
  const auto hit = FReferenceCache.find(Offset);
  if (hit != FReferenceCache.end()) return hit->second;
  Seek(Offset);
  auto data = std::make_shared<const std::vector<uint8_t>>(ReadData(ReadInt32()));
  const auto size = static_cast<int64_t>(data->size());
  if (FCachedBytes + size <= FSize) {
    FReferenceCache.emplace(Offset, data);
    FCachedBytes += size;
  } else {
    FReferenceBudget -= size;
    if (FReferenceBudget < 0) RaiseUnexpectedCode();
  }
  return data;
}

int64_t TPageStreamReader::ReadValueRecord(std::string& Immediate) {
  const uint8_t count = ReadByte();
  const uint8_t code = ReadByte();
  const std::vector<uint8_t> payload = ReadData(count);
  if (code <= MaxImmediateValue) {
    // Never more than the record holds, whatever its code claims.
    const size_t length = std::min<size_t>(code, payload.size());
    Immediate.assign(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(length));
    return 0;
  }
  if (payload.size() < 4) RaiseUnexpectedCode();
  // The writer stores the offset negated once the record holds its value.
  return std::abs(static_cast<int64_t>(FromLittleEndian<int32_t>(payload.data())));
}

TStreamValue TPageStreamReader::ReadValue() {
  TStreamValue value;
  int64_t next = ReadValueRecord(value.Value);
  // Offset 0: a value announced but never given (a reserved record with no earlier value).
  if (next == 0) return value;
  const int64_t resume = FPosition;
  while (next != 0) {
    if (value.Chain.size() >= MaxValueChain || next > FSize - 2) RaiseUnexpectedCode();
    value.Chain.push_back(next);
    Seek(next);
    next = ReadValueRecord(value.Value);
  }
  Seek(resume);
  return value;
}

// ===== Header and pages =====

const TStreamHeader& TPageStreamReader::ReadHeader() {
  FSize = FStream->Size();
  FBuffer.clear();
  FBufferStart = 0;
  FReferenceCache.clear();
  FCachedBytes = 0;
  FReferenceBudget = std::max(ReferenceBudgetMinimum, ReferenceBudgetFactor * FSize);
  FHasPage = false;
  FPage = TPageHeader();
  FState = TStreamState();
  FVariables.clear();
  FHeader = TStreamHeader();
  Seek(0);
  FHeader.Signature = ReadByte();
  switch (FHeader.Signature) {
    case StreamSignatureQ:
      FHeader.Version = 1101;
      break;
    case StreamSignatureY:
      FHeader.Version = 2009;
      break;
    case StreamSignature:
      FHeader.Version = ReadInt16();
      break;
    default:
      RaiseError(Trans("Unexpected header code found in report file."));
  }
  if (FHeader.Version >= StreamVersionTitle) FHeader.Title = ReadString();
  FHeader.PageCount = ReadInt16();
  FHeader.FirstPage = ReadInt16();
  FHeader.LastPage = ReadInt16();
  FHeader.PageWidth = ReadSingle();
  FHeader.PageHeight = ReadSingle();
  FHeader.LeftMargin = ReadSingle();
  FHeader.RightMargin = ReadSingle();
  FHeader.TopMargin = ReadSingle();
  FHeader.BottomMargin = ReadSingle();
  FHeader.Orientation = ReadByte();
  if (FHeader.Version >= StreamVersionPageSize) {
    FHeader.Bin = ReadInt16();
    FHeader.Collate = ReadByte();
    FHeader.Duplex = ReadByte();
  }
  FHeader.Copies = ReadInt16();
  FHeader.PaperSize = ReadInt16();
  FHeader.PaperWidth = ReadInt16();
  FHeader.PaperLength = ReadInt16();
  FHeader.OutputFileName = ReadString();
  FHeader.FirstPageOffset = FPosition;
  FState.Orientation = FHeader.Orientation;
  return FHeader;
}

const TPageHeader& TPageStreamReader::ReadPageHeader() {
  TPageHeader page;
  page.Offset = FPosition;
  ExpectCode(pcPageBegin);
  page.PrevPage = ReadInt32();
  page.NextPage = ReadInt32();
  page.PageNumber = ReadInt16();
  if (FHeader.Version >= StreamVersionPageSize) {
    page.HasSize = true;
    page.PageWidth = ReadSingle();
    page.PageHeight = ReadSingle();
  } else {
    ReadByte();  // a spare byte in older streams
  }
  FPage = page;
  FHasPage = true;
  return FPage;
}

const TPageHeader& TPageStreamReader::GotoPage(int N) {
  if (!FHasPage) {
    Seek(FHeader.FirstPageOffset);
    ReadPageHeader();
  }
  // A chain that leads back to a header already seen would never end.
  std::set<int64_t> visited{FPage.Offset};
  while (N != FPage.PageNumber) {
    const int32_t next = N > FPage.PageNumber ? FPage.NextPage : FPage.PrevPage;
    if (next <= 0 || visited.count(next) != 0) break;
    if (next >= FSize) RaiseUnexpectedCode();
    visited.insert(next);
    Seek(next);
    ReadPageHeader();
  }
  // Positioned at the page's first record whichever way the walk ended.
  Seek(FPage.Offset);
  return ReadPageHeader();
}

// ===== Records =====

bool TPageStreamReader::ReadRecord(TStreamRecord& Record) {
  Record.Offset = FPosition;
  Record.Singles.clear();
  Record.Integers.clear();
  Record.Text.clear();
  Record.HasGraphic = false;
  Record.Graphic = TStreamGraphic();
  Record.Data.clear();
  Record.Value = TStreamValue();
  Record.Code = ReadByte();
  if (!IsPageRecordCode(Record.Code)) RaiseUnexpectedCode();
  for (const TStreamOperand& operand : StreamOpcode(Record.Code).Operands)
    DecodeOperand(operand.Kind, Record);
  ApplyRecord(Record);
  return Record.Code != pcPageEnd;
}

void TPageStreamReader::SkipPage() {
  TStreamRecord record;
  while (ReadRecord(record)) {
  }
}

void TPageStreamReader::DecodeOperand(TStreamOperandKind Kind, TStreamRecord& Record) {
  const bool pageSizeRules = FHeader.Version >= StreamVersionPageSize;
  switch (Kind) {
    case okByte:
      Record.Integers.push_back(ReadByte());
      return;
    case okInt16:
      Record.Integers.push_back(ReadInt16());
      return;
    case okInt32:
    case okColor:
      Record.Integers.push_back(ReadInt32());
      return;
    case okSingle:
      Record.Singles.push_back(ReadSingle());
      return;
    case okPoint:
      for (int i = 0; i < 2; ++i) Record.Singles.push_back(ReadSingle());
      return;
    case okRect:
      for (int i = 0; i < 4; ++i) Record.Singles.push_back(ReadSingle());
      return;
    case okString:
      Record.Text = ReadString();
      return;
    case okGraphic:
      Record.Graphic = ReadGraphic();
      Record.HasGraphic = true;
      return;
    case okFlagGraphic: {
      const uint8_t flag = ReadByte();
      Record.Integers.push_back(flag);
      if (flag != 0) {
        Record.Graphic = ReadGraphic();
        Record.HasGraphic = true;
      }
      return;
    }
    case okValue:
      Record.Value = ReadValue();
      return;
    case okPoints: {
      const int16_t last = ReadInt16();
      Record.Integers.push_back(last);
      const int64_t count = static_cast<int64_t>(last) + 1;
      if (count < 0) RaiseUnexpectedCode();
      if (count * 8 > FSize - FPosition) RaiseReadError();
      for (int64_t i = 0; i < 2 * count; ++i) Record.Singles.push_back(ReadSingle());
      return;
    }
    case okData: {
      const int32_t length = ReadInt32();
      Record.Integers.push_back(length);
      Record.Data = ReadData(length);
      return;
    }
    case okCharset:
      Record.Integers.push_back(FHeader.Version >= StreamVersionCharset ? ReadByte() : 1);
      return;
    case okRotation:
      Record.Integers.push_back(pageSizeRules ? ReadInt16() : 0);
      return;
    case okRefWidth:
      Record.Singles.push_back(pageSizeRules ? ReadSingle() : 0.0f);
      return;
  }
}

// ===== Pictures =====

std::unique_ptr<TGraphic> NewStreamGraphic(uint8_t Kind) {
  switch (Kind) {
    case gkBitmap:
      return std::make_unique<TBitmap>();
    case gkIcon:
      return std::make_unique<TIcon>();
    case gkMetafile:
      for (const TPictureFileFormat& format : TPicture::FileFormats()) {
        if (format.Extension == "emf" && format.Factory) return format.Factory();
      }
      return nullptr;
    default:
      return nullptr;
  }
}

void LoadStreamGraphic(TGraphic* Picture, const TStreamGraphic& Graphic) {
  TMemoryStream data;
  if (Graphic.Size() > 0) data.WriteBuffer(Graphic.Data->data(), static_cast<int64_t>(Graphic.Size()));
  data.SetPosition(0);
  Picture->LoadFromStream(&data);
}

std::unique_ptr<TGraphic> CreateStreamGraphic(const TStreamGraphic& Graphic) {
  std::unique_ptr<TGraphic> picture = NewStreamGraphic(Graphic.Kind);
  if (picture) LoadStreamGraphic(picture.get(), Graphic);
  return picture;
}
