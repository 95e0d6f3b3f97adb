// TPageStreamReader: the drawing state and the report variables that records imply.
#include "platform/StringUtils.h"
#include "stream/VXStreamReader.h"

namespace {

bool Flag(const TStreamRecord& Record, size_t Index = 0) {
  return Record.Integers[Index] != 0;
}

uint8_t Byte(const TStreamRecord& Record, size_t Index = 0) {
  return static_cast<uint8_t>(Record.Integers[Index]);
}

}  // namespace

std::string TPageStreamReader::VariableValue(const std::string& Name) const {
  const auto hit = FVariables.find(AnsiUpperCase(Name));
  return hit == FVariables.end() ? std::string() : hit->second.second;
}

void TPageStreamReader::ApplyRecord(const TStreamRecord& Record) {
  TStreamState& s = FState;
  switch (Record.Code) {
    case pcLineTo:
    case pcMoveTo:
      s.PenX = Record.Singles[0];
      s.PenY = Record.Singles[1];
      return;
    case pcTextBKMode:
      s.TextBKMode = Byte(Record);
      return;
    case pcBKColor:
      s.BKColor = Record.Integers[0];
      return;
    case pcScaleX:
      s.ScaleX = Record.Singles[0];
      return;
    case pcScaleY:
      s.ScaleY = Record.Singles[0];
      return;
    case pcBitmapMode:
      s.BitmapMode = Byte(Record);
      return;
    case pcFrameMode:
      s.FrameMode = Byte(Record);
      return;
    case pcVariable:
      // Later records for the same name replace earlier ones.
      FVariables[AnsiUpperCase(Record.Text)] = {Record.Text, Record.Value.Value};
      return;
    case pcLineMetrics:
      s.Ascent = Record.Singles[0];
      s.Descent = Record.Singles[1];
      s.LineHeight = Record.Singles[2];
      return;
    case pcPreviewOnly:
    case pcPrinterOnly:
    case pcAllDestinations:
      s.Destination = Record.Code;
      return;
    case pcOrientation:
      // Takes effect when the page ends: the page itself keeps its orientation.
      s.PendingOrientation = Byte(Record);
      return;
    case pcPageEnd:
      if (s.PendingOrientation != 2) s.Orientation = s.PendingOrientation;
      s.PendingOrientation = 2;
      return;
    case pcSelectBin:
      s.BinName = Record.Text;
      return;
    default:
      break;
  }
  if (Record.Code >= pcFont && Record.Code <= pcFontCharset) {
    ApplyFontRecord(Record);
  } else {
    ApplyPenAndBrush(Record);
  }
}

void TPageStreamReader::ApplyFontRecord(const TStreamRecord& Record) {
  TStreamFontState& f = FState.Font;
  switch (Record.Code) {
    case pcFont:
      // Name, Color, Pitch, Charset, Height, Bold, Italic, Underline, StrikeOut, Rotation.
      f.Name = Record.Text;
      f.Color = Record.Integers[0];
      f.Pitch = Byte(Record, 1);
      f.Charset = Byte(Record, 2);
      f.Height = Record.Singles[0];
      f.Bold = Flag(Record, 3);
      f.Italic = Flag(Record, 4);
      f.Underline = Flag(Record, 5);
      f.StrikeOut = Flag(Record, 6);
      f.Rotation = Record.Integers[7];
      return;
    case pcFontName:
      f.Name = Record.Text;
      return;
    case pcFontColor:
      f.Color = Record.Integers[0];
      return;
    case pcFontPitch:
      f.Pitch = Byte(Record);
      return;
    case pcFontHeight:
      f.Height = Record.Singles[0];
      f.RefWidth = Record.Singles[1];
      return;
    case pcFontBold:
      f.Bold = Flag(Record);
      return;
    case pcFontUnderline:
      f.Underline = Flag(Record);
      return;
    case pcFontItalic:
      f.Italic = Flag(Record);
      return;
    case pcFontStrikeOut:
      f.StrikeOut = Flag(Record);
      return;
    case pcFontSuperscript:
      f.Superscript = Flag(Record);
      return;
    case pcFontSubscript:
      f.Subscript = Flag(Record);
      return;
    case pcFontRotation:
      f.Rotation = Record.Integers[0];
      return;
    case pcFontAlign:
      f.Align = Byte(Record);
      return;
    case pcFontCharset:
      f.Charset = Byte(Record);
      return;
    default:
      return;
  }
}

void TPageStreamReader::ApplyPenAndBrush(const TStreamRecord& Record) {
  TStreamState& s = FState;
  switch (Record.Code) {
    case pcBrush:
      s.BrushColor = Record.Integers[0];
      s.BrushStyle = Byte(Record, 1);
      s.BrushHasBitmap = Flag(Record, 2);
      s.BrushBitmap = Record.Graphic;
      return;
    case pcBrushColor:
      // A colour ends any pattern bitmap.
      s.BrushColor = Record.Integers[0];
      s.BrushHasBitmap = false;
      s.BrushBitmap = TStreamGraphic();
      return;
    case pcBrushStyle:
      s.BrushStyle = Byte(Record);
      return;
    case pcBrushBitmap:
      s.BrushHasBitmap = Flag(Record);
      s.BrushBitmap = Record.Graphic;
      return;
    case pcPen:
      s.PenColor = Record.Integers[0];
      s.PenMode = Byte(Record, 1);
      s.PenStyle = Byte(Record, 2);
      s.PenWidth = Record.Singles[0];
      return;
    case pcPenColor:
      s.PenColor = Record.Integers[0];
      return;
    case pcPenMode:
      s.PenMode = Byte(Record);
      return;
    case pcPenStyle:
      s.PenStyle = Byte(Record);
      return;
    case pcPenWidth:
      s.PenWidth = Record.Singles[0];
      return;
    default:
      return;
  }
}
