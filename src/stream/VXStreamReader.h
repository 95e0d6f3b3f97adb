#pragma once
// TPageStreamReader: the one reader of page streams that every consumer shares (the dump,
// the render bridge, the replay and preview engines). It reads the header with the rules of
// the stream's version, walks the PrevPage/NextPage chain to a page, decodes each record
// into a TStreamRecord and keeps the drawing state the records imply.
//
// Streams come from files users keep and exchange, so nothing read is trusted: sizes and
// offsets are checked against the bytes the stream holds, indirect values and page chains
// cannot loop, and a damaged stream fails with "Unexpected code found in report file." or
// with the stream's read error, never with a crash or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "stream/VXStreamFormat.h"

class TGraphic;
class TStream;

struct TStreamHeader {
  uint8_t Signature = StreamSignature;
  int Version = StreamVersion;
  std::string Title;
  int PageCount = 0;
  int FirstPage = 1;
  int LastPage = 9999;
  float PageWidth = 0;  // inches, first page
  float PageHeight = 0;
  float LeftMargin = 0;  // the output device's non-printable strips (inches)
  float RightMargin = 0;
  float TopMargin = 0;
  float BottomMargin = 0;
  uint8_t Orientation = 0;  // 0 portrait, 1 landscape
  int Bin = StreamNoBin;    // Bin, Collate and Duplex from version 2000
  uint8_t Collate = 0;
  uint8_t Duplex = 0;
  int Copies = 1;
  int PaperSize = 1;
  int PaperWidth = 0;  // tenths of a millimetre
  int PaperLength = 0;
  std::string OutputFileName;
  int64_t FirstPageOffset = 0;  // where the first page record starts
};

struct TPageHeader {
  int64_t Offset = 0;  // of the opcode-80 byte
  int32_t PrevPage = 0;
  int32_t NextPage = 0;
  int PageNumber = 0;
  bool HasSize = false;  // from version 2000
  float PageWidth = 0;   // inches
  float PageHeight = 0;
};

// A picture as the stream holds it.
struct TStreamGraphic {
  uint8_t Kind = 0;  // gkBitmap, gkMetafile, gkIcon (without gkReference)
  bool Reference = false;
  int64_t DataOffset = 0;  // the Size field the data was read from
  // The picture bytes (never null once read); references to the same data share them.
  std::shared_ptr<const std::vector<uint8_t>> Data;

  size_t Size() const { return Data ? Data->size() : 0; }
};

// A value record, with the records an indirect value led through.
struct TStreamValue {
  std::string Value;
  std::vector<int64_t> Chain;  // offsets of the records followed, in order
};

// One decoded record: the operands in stream order, by kind.
struct TStreamRecord {
  uint8_t Code = 0;
  int64_t Offset = 0;             // of the opcode byte
  std::vector<float> Singles;     // every single: points as X, Y; rectangles Left, Top, Right, Bottom
  std::vector<int32_t> Integers;  // every byte, int16 and int32 (colours, styles, flags, counts)
  std::string Text;               // the string operand (text, name, bin, image type, raw data)
  bool HasGraphic = false;
  TStreamGraphic Graphic;
  std::vector<uint8_t> Data;  // opcodes 31 and 36: the raw bytes
  TStreamValue Value;         // opcode 37

  size_t PointCount() const { return Singles.size() / 2; }
  double X(size_t Point) const { return Singles[2 * Point]; }
  double Y(size_t Point) const { return Singles[2 * Point + 1]; }
};

// The drawing state the records of a page set, as a reader starting at a page header sees
// it after the page's state block.
struct TStreamFontState {
  std::string Name = "Arial";
  TColor Color = clBlack;
  uint8_t Pitch = 0;
  uint8_t Charset = 1;
  float Height = 10.0f / 72.0f;  // inches
  float RefWidth = 0;            // inches; 0 when the stream holds none
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool Superscript = false;
  bool Subscript = false;
  int Rotation = 0;
  uint8_t Align = 0;
};

struct TStreamState {
  TStreamFontState Font;
  TColor BrushColor = clWhite;
  uint8_t BrushStyle = 0;
  bool BrushHasBitmap = false;
  TStreamGraphic BrushBitmap;
  TColor PenColor = clBlack;
  uint8_t PenMode = 4;  // pmCopy
  uint8_t PenStyle = 0;
  float PenWidth = 0;  // inches
  float ScaleX = 100;
  float ScaleY = 100;
  uint8_t TextBKMode = 0;
  TColor BKColor = clWhite;
  uint8_t FrameMode = 0;
  uint8_t BitmapMode = 0;
  uint8_t Destination = pcAllDestinations;  // 84, 85 or 86
  float Ascent = 0;                         // line metrics (inches)
  float Descent = 0;
  float LineHeight = 0;
  float PenX = 0;  // the pen position
  float PenY = 0;
  std::string BinName;
  // The orientation of the current page, and the one opcode 87 asked for (2: none), which
  // takes effect when the page ends.
  uint8_t Orientation = 0;
  uint8_t PendingOrientation = 2;
};

class TPageStreamReader {
public:
  // Indirect values lead through at most this many records.
  static constexpr size_t MaxValueChain = 64;

  // Stream is not owned and must outlive the reader.
  explicit TPageStreamReader(TStream* Stream);
  ~TPageStreamReader();
  TPageStreamReader(const TPageStreamReader&) = delete;
  TPageStreamReader& operator=(const TPageStreamReader&) = delete;

  // Reads the header from offset 0 and leaves the stream at the first page record. Resets
  // the page navigation, the state and the variables.
  const TStreamHeader& ReadHeader();
  const TStreamHeader& Header() const { return FHeader; }
  int Version() const { return FHeader.Version; }

  // Reads the page header at the current position (opcode 80 first).
  const TPageHeader& ReadPageHeader();
  // The page header read last.
  const TPageHeader& PageHeader() const { return FPage; }
  bool HasPageHeader() const { return FHasPage; }
  // Follows the page chain from the header read last (the first page when none was read)
  // to page N, and leaves the stream at that page's first record. A number outside the
  // stream lands on the first or the last page.
  const TPageHeader& GotoPage(int N);

  // Reads the next record of the page into Record and applies it to the state; false once
  // the page's opcode 82 was read (Record then holds it).
  bool ReadRecord(TStreamRecord& Record);
  // Reads the rest of the page, dropping the records.
  void SkipPage();

  TStreamState& State() { return FState; }
  const TStreamState& State() const { return FState; }
  // The value opcode 37 recorded for Name (letter case does not matter); empty when none.
  std::string VariableValue(const std::string& Name) const;
  const std::map<std::string, std::pair<std::string, std::string>>& Variables() const { return FVariables; }

  // ===== Primitives (each fails with the stream's read error when the stream ends) =====
  int64_t Position() const { return FPosition; }
  void Seek(int64_t Offset);
  int64_t Size() const { return FSize; }
  bool AtEnd() const { return FPosition >= FSize; }
  uint8_t ReadByte();
  int16_t ReadInt16();
  int32_t ReadInt32();
  float ReadSingle();
  std::string ReadString();
  void ReadBytes(void* Buffer, size_t Count);
  // Count bytes; a negative count or one beyond the end of the stream fails before
  // anything is allocated.
  std::vector<uint8_t> ReadData(int64_t Count);
  TStreamGraphic ReadGraphic();
  TStreamValue ReadValue();
  // Reads one byte and fails with "Unexpected code found in report file." unless it is Code.
  void ExpectCode(uint8_t Code);

private:
  void Fill();
  void DecodeOperand(TStreamOperandKind Kind, TStreamRecord& Record);
  // Reads the value record at the position: an immediate value into Immediate (and 0), or
  // the offset of the record an indirect one points to.
  int64_t ReadValueRecord(std::string& Immediate);
  void ApplyRecord(const TStreamRecord& Record);
  void ApplyFontRecord(const TStreamRecord& Record);
  void ApplyPenAndBrush(const TStreamRecord& Record);
  std::shared_ptr<const std::vector<uint8_t>> ReadReferencedData(int64_t Offset);

  TStream* FStream;
  int64_t FSize = 0;
  int64_t FPosition = 0;
  // A window of the stream: Size bytes from FBufferStart.
  std::vector<uint8_t> FBuffer;
  int64_t FBufferStart = 0;
  TStreamHeader FHeader;
  TPageHeader FPage;
  bool FHasPage = false;
  TStreamState FState;
  // Upper-cased name to (name as recorded, value).
  std::map<std::string, std::pair<std::string, std::string>> FVariables;
  // Data that references led to, by offset: a picture stored once and shown on every page
  // is read once. The cache holds at most as many bytes as the stream; what does not fit
  // is read again each time, from a budget that a damaged stream exhausts instead of
  // keeping the reader busy for ever.
  std::map<int64_t, std::shared_ptr<const std::vector<uint8_t>>> FReferenceCache;
  int64_t FCachedBytes = 0;
  int64_t FReferenceBudget = 0;
};

// Raises EPagePress "Unexpected code found in report file.".
[[noreturn]] void RaiseUnexpectedCode();

// A picture of the record's kind loaded from its data: a bitmap, an icon, or a metafile when
// a metafile class is registered with the picture formats ("emf"); nullptr for a kind no
// class reads.
std::unique_ptr<TGraphic> CreateStreamGraphic(const TStreamGraphic& Graphic);
// The empty picture CreateStreamGraphic fills: nullptr for a kind no class reads.
std::unique_ptr<TGraphic> NewStreamGraphic(uint8_t Kind);
// Loads the record's bytes into Picture (the picture class's own read errors pass).
void LoadStreamGraphic(TGraphic* Picture, const TStreamGraphic& Graphic);
