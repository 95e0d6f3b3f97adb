// Page streams in words: the header, page headers and records as text lines.
#include "stream/VXStreamDump.h"

#include <charconv>
#include <cstdio>

#include "platform/AnsiCodePage.h"

namespace {

std::string Hex8(uint32_t Value) {
  char text[16];
  std::snprintf(text, sizeof(text), "$%08X", Value);
  return text;
}

bool NeedsEscape(uint8_t Byte) {
  if (Byte < 0x20 || Byte == 0x7F) return true;
  // Unassigned in Windows-1252.
  if (Byte == 0x81 || Byte == 0x8D || Byte == 0x8F || Byte == 0x90 || Byte == 0x9D) return true;
  // The bytes that mark macro and variable placeholders.
  return Byte >= 0xFB && Byte <= 0xFD;
}

std::string GraphicKindName(uint8_t Kind) {
  switch (Kind) {
    case gkBitmap:
      return "bitmap";
    case gkMetafile:
      return "metafile";
    case gkIcon:
      return "icon";
    default:
      return "kind " + std::to_string(Kind);
  }
}

std::string FormatGraphic(const TStreamGraphic& Graphic) {
  std::string text = Graphic.Reference ? "reference to " : "";
  text += GraphicKindName(Graphic.Kind) + "(" + std::to_string(Graphic.Size()) + " bytes @" +
          std::to_string(Graphic.DataOffset) + ")";
  return text;
}

std::string FormatValue(const TStreamValue& Value) {
  std::string text = QuoteStreamText(Value.Value);
  if (Value.Chain.empty()) return text;
  text += " (via";
  for (int64_t offset : Value.Chain) text += " @" + std::to_string(offset);
  return text + ")";
}

std::string FormatPoint(const TStreamRecord& Record, size_t& Single) {
  const std::string text = "(" + FormatStreamSingle(Record.Singles[Single]) + "," +
                           FormatStreamSingle(Record.Singles[Single + 1]) + ")";
  Single += 2;
  return text;
}

// The operand's text; Single and Integer walk through the record's numbers.
std::string FormatOperand(const TStreamRecord& Record, TStreamOperandKind Kind, size_t& Single,
                          size_t& Integer) {
  switch (Kind) {
    case okByte:
    case okInt16:
    case okInt32:
    case okCharset:
    case okRotation:
      return std::to_string(Record.Integers[Integer++]);
    case okColor:
      return Hex8(static_cast<uint32_t>(Record.Integers[Integer++]));
    case okSingle:
    case okRefWidth:
      return FormatStreamSingle(Record.Singles[Single++]);
    case okPoint:
      return FormatPoint(Record, Single);
    case okRect: {
      std::string text = FormatPoint(Record, Single);
      return text + "-" + FormatPoint(Record, Single);
    }
    case okString:
      return QuoteStreamText(Record.Text);
    case okGraphic:
      return FormatGraphic(Record.Graphic);
    case okFlagGraphic:
      return Record.Integers[Integer++] == 0 ? "off" : FormatGraphic(Record.Graphic);
    case okValue:
      return FormatValue(Record.Value);
    case okPoints: {
      const int32_t last = Record.Integers[Integer++];
      std::string text = std::to_string(last + 1) + "[";
      for (int32_t i = 0; i <= last; ++i) text += (i > 0 ? " " : "") + FormatPoint(Record, Single);
      return text + "]";
    }
    case okData:
      return std::to_string(Record.Integers[Integer++]) + " bytes";
  }
  return std::string();
}

void DumpHeader(const TStreamHeader& h, const std::function<void(const std::string&)>& Output) {
  const std::string sig(1, static_cast<char>(h.Signature));
  Output("Signature " + sig + " Version " + std::to_string(h.Version));
  Output("Title " + QuoteStreamText(h.Title));
  Output("PageCount " + std::to_string(h.PageCount) + " FirstPage " + std::to_string(h.FirstPage) +
         " LastPage " + std::to_string(h.LastPage));
  Output("PageWidth " + FormatStreamSingle(h.PageWidth) + " PageHeight " + FormatStreamSingle(h.PageHeight));
  Output("Margins Left " + FormatStreamSingle(h.LeftMargin) + " Right " + FormatStreamSingle(h.RightMargin) +
         " Top " + FormatStreamSingle(h.TopMargin) + " Bottom " + FormatStreamSingle(h.BottomMargin));
  std::string printer = "Orientation " + std::to_string(h.Orientation);
  if (h.Version >= StreamVersionPageSize) {
    printer += " Bin " + std::to_string(h.Bin) + " Collate " + std::to_string(h.Collate) + " Duplex " +
               std::to_string(h.Duplex);
  }
  Output(printer + " Copies " + std::to_string(h.Copies));
  Output("PaperSize " + std::to_string(h.PaperSize) + " PaperWidth " + std::to_string(h.PaperWidth) +
         " PaperLength " + std::to_string(h.PaperLength));
  Output("OutputFileName " + QuoteStreamText(h.OutputFileName));
}

void DumpPage(TPageStreamReader& Reader, const std::function<void(const std::string&)>& Output) {
  Output(FormatPageHeader(Reader.PageHeader()));
  TStreamRecord record;
  bool more = true;
  while (more) {
    more = Reader.ReadRecord(record);
    Output("  @" + std::to_string(record.Offset) + " " + FormatStreamRecord(record));
  }
}

}  // namespace

std::string QuoteStreamText(const std::string& Text) {
  std::string result = "\"";
  for (char c : Text) {
    const auto byte = static_cast<uint8_t>(c);
    if (c == '\\' || c == '"') {
      result += '\\';
      result += c;
    } else if (NeedsEscape(byte)) {
      char escape[8];
      std::snprintf(escape, sizeof(escape), "\\x%02X", byte);
      result += escape;
    } else {
      result += AnsiToUtf8(std::string(1, c));
    }
  }
  return result + "\"";
}

std::string FormatStreamSingle(float Value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof(text), Value);
  return std::string(text, result.ptr);
}

std::string FormatStreamRecord(const TStreamRecord& Record) {
  const TStreamOpcode& opcode = StreamOpcode(Record.Code);
  std::string line = StreamOpcodeName(Record.Code);
  size_t single = 0;
  size_t integer = 0;
  for (const TStreamOperand& operand : opcode.Operands) {
    line += " " + std::string(operand.Name) + "=" + FormatOperand(Record, operand.Kind, single, integer);
  }
  return line;
}

std::string FormatPageHeader(const TPageHeader& Page) {
  std::string line = "Page " + std::to_string(Page.PageNumber) + " @" + std::to_string(Page.Offset) +
                     " PrevPage=" + std::to_string(Page.PrevPage) +
                     " NextPage=" + std::to_string(Page.NextPage);
  if (Page.HasSize) {
    line += " Width=" + FormatStreamSingle(Page.PageWidth) + " Height=" + FormatStreamSingle(Page.PageHeight);
  }
  return line;
}

void DumpPageStream(TStream* Stream, int Page, const std::function<void(const std::string& Line)>& Output) {
  TPageStreamReader reader(Stream);
  DumpHeader(reader.ReadHeader(), Output);
  if (reader.AtEnd()) {
    Output("(no pages)");
    return;
  }
  if (Page > 0) {
    reader.GotoPage(Page);
    DumpPage(reader, Output);
    return;
  }
  // Pages follow each other directly: reading on shows every page the stream holds, also
  // those a damaged chain would not lead to.
  while (!reader.AtEnd()) {
    reader.ReadPageHeader();
    DumpPage(reader, Output);
  }
}
