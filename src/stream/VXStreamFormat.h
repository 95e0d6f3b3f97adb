#pragma once
// The page stream: the recorded form of a report, shared by the file engine that writes it
// and by every engine that reads it back (replay, preview, render bridge, dump). Snapshot
// files (".vsn") are page streams on disk, so every number here is part of a file format.
//
// Layout: a header, then the pages one after the other. Each page is opcode 80 with its page
// header (PrevPage and NextPage offsets chain the pages), the page's records and opcode 82.
// All numbers are little-endian; lengths are singles holding inches.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ===== Opcodes: one byte in front of every record =====
constexpr uint8_t pcArc = 1;
constexpr uint8_t pcBrushCopy = 2;
constexpr uint8_t pcChord = 3;
constexpr uint8_t pcCopyRect = 4;
constexpr uint8_t pcDraw = 5;
constexpr uint8_t pcDrawFocusRect = 6;
constexpr uint8_t pcEllipse = 7;
constexpr uint8_t pcFillRect = 8;
constexpr uint8_t pcFloodFill = 9;
constexpr uint8_t pcFrameRect = 10;
constexpr uint8_t pcLineTo = 11;
constexpr uint8_t pcMoveTo = 12;
constexpr uint8_t pcPie = 13;
constexpr uint8_t pcPolygon = 14;
constexpr uint8_t pcPolyline = 15;
constexpr uint8_t pcPrintBitmap = 16;
constexpr uint8_t pcPrintBitmapRect = 17;
constexpr uint8_t pcRectangle = 18;
constexpr uint8_t pcTabRectangle = 19;
constexpr uint8_t pcRoundRect = 20;
constexpr uint8_t pcStretchDraw = 21;
constexpr uint8_t pcTextRect = 22;
constexpr uint8_t pcPrintCenter = 23;
constexpr uint8_t pcPrintLeft = 24;
constexpr uint8_t pcPrintRight = 25;
constexpr uint8_t pcTextBKMode = 26;
constexpr uint8_t pcBKColor = 27;
constexpr uint8_t pcScaleX = 28;
constexpr uint8_t pcScaleY = 29;
constexpr uint8_t pcPrintData = 30;
constexpr uint8_t pcPrintDataStream = 31;
constexpr uint8_t pcPrintBlockOld = 32;
constexpr uint8_t pcPrintBlock = 33;
constexpr uint8_t pcBitmapMode = 34;
constexpr uint8_t pcFrameMode = 35;
constexpr uint8_t pcPrintImageRect = 36;
constexpr uint8_t pcVariable = 37;
constexpr uint8_t pcBrush = 40;
constexpr uint8_t pcBrushColor = 41;
constexpr uint8_t pcBrushStyle = 42;
constexpr uint8_t pcBrushBitmap = 43;
constexpr uint8_t pcFont = 50;
constexpr uint8_t pcFontName = 51;
constexpr uint8_t pcFontColor = 52;
constexpr uint8_t pcFontPitch = 53;
constexpr uint8_t pcFontHeight = 54;
constexpr uint8_t pcFontBold = 55;
constexpr uint8_t pcFontUnderline = 56;
constexpr uint8_t pcFontItalic = 57;
constexpr uint8_t pcFontStrikeOut = 58;
constexpr uint8_t pcFontSuperscript = 59;
constexpr uint8_t pcFontSubscript = 60;
constexpr uint8_t pcFontRotation = 61;
constexpr uint8_t pcFontAlign = 62;
constexpr uint8_t pcFontCharset = 63;
constexpr uint8_t pcPen = 70;
constexpr uint8_t pcPenColor = 71;
constexpr uint8_t pcPenMode = 72;
constexpr uint8_t pcPenStyle = 73;
constexpr uint8_t pcPenWidth = 74;
constexpr uint8_t pcPageBegin = 80;
constexpr uint8_t pcPageEnd = 82;
constexpr uint8_t pcLineMetrics = 83;
constexpr uint8_t pcPreviewOnly = 84;
constexpr uint8_t pcPrinterOnly = 85;
constexpr uint8_t pcAllDestinations = 86;
constexpr uint8_t pcOrientation = 87;
constexpr uint8_t pcSelectBin = 88;

// ===== Header =====
// The first byte: "Z" is followed by the version; the two older signatures imply one.
constexpr uint8_t StreamSignature = 'Z';
constexpr uint8_t StreamSignatureQ = 'Q';  // version 1101
constexpr uint8_t StreamSignatureY = 'Y';  // version 2009
// The version this engine writes.
constexpr int16_t StreamVersion = 2017;
// Version thresholds of the reading rules.
constexpr int StreamVersionPageSize = 2000;    // page sizes, printer extras, font rotation, RefWidth
constexpr int StreamVersionTitle = 2010;       // the header holds the title
constexpr int StreamVersionLongString = 2016;  // two-byte string lengths
constexpr int StreamVersionCharset = 2018;     // opcode 50 holds the charset
// The bin written when there are no printer settings.
constexpr int16_t StreamNoBin = 265;

// ===== Strings =====
// Lengths up to 191 take one byte; up to 16383 two bytes (0xC0 + high six bits, low byte).
constexpr size_t MaxShortStreamString = 191;
constexpr size_t MaxStreamString = 16383;

// ===== Graphic records =====
constexpr uint8_t gkBitmap = 1;
constexpr uint8_t gkMetafile = 2;
constexpr uint8_t gkIcon = 3;
// Added to the kind when the record refers to the data of an earlier record.
constexpr uint8_t gkReference = 128;

// ===== Value records (opcode 37) =====
// A code up to 253 is the length of an immediate value; 254 and 255 mark a record whose
// payload starts with the (possibly negated) offset of another value record.
constexpr uint8_t MaxImmediateValue = 253;
constexpr uint8_t vcIndirect = 254;
constexpr uint8_t vcReserved = 255;
// The payload of a value record reserved for a value that is known only later.
constexpr uint8_t ReservedValueSize = 128;

// The text whose width in the recording font travels with every font height (opcode 54),
// so that a reader can tell when its own font draws wider.
constexpr char FontReferenceText[] = "abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP QRSTUV WXYZ 0123456789";

// ===== The opcode table =====
// Operand kinds of a record, in stream order.
enum TStreamOperandKind {
  okByte,         // unsigned byte
  okInt16,        // signed 16 bits
  okInt32,        // signed 32 bits
  okColor,        // int32 colour
  okSingle,       // one single
  okPoint,        // two singles, X then Y
  okRect,         // four singles: Left, Top, Right, Bottom
  okString,       // length prefix and bytes
  okGraphic,      // graphic record
  okFlagGraphic,  // byte; a graphic record follows when it is non-zero
  okValue,        // value record
  okPoints,       // int16 index of the last point, then that many points plus one
  okData,         // int32 length, then that many bytes
  okCharset,      // byte, only from version 2018 (else the default charset 1)
  okRotation,     // int16, only from version 2000 (else 0)
  okRefWidth      // single, only from version 2000 (else 0)
};

struct TStreamOperand {
  TStreamOperandKind Kind;
  const char* Name;
};

struct TStreamOpcode {
  uint8_t Code = 0;
  const char* Name = nullptr;  // nullptr: not an opcode
  std::vector<TStreamOperand> Operands;
};

// The table entry of Code; its Name is nullptr for the invalid codes.
const TStreamOpcode& StreamOpcode(uint8_t Code);
// Whether Code may stand inside a page (80 only starts one; 82 ends it).
bool IsPageRecordCode(uint8_t Code);
// "pcPrintLeft", or "code 99" for a code that is not an opcode.
std::string StreamOpcodeName(uint8_t Code);
