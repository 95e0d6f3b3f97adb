// The page stream's opcode table: names and operand layouts, shared by the reader (which
// decodes every record by it) and the dump (which prints records by it).
#include "stream/VXStreamFormat.h"

#include <array>

namespace {

using TOps = std::vector<TStreamOperand>;

const TOps FourPoints = {{okPoint, "P1"}, {okPoint, "P2"}, {okPoint, "P3"}, {okPoint, "P4"}};
const TOps TwoPoints = {{okPoint, "P1"}, {okPoint, "P2"}};
const TOps OneRect = {{okRect, "Rect"}};
const TOps OnePoint = {{okPoint, "P"}};
const TOps OneByte = {{okByte, "Value"}};
const TOps OneColor = {{okColor, "Color"}};
const TOps OneSingle = {{okSingle, "Value"}};
const TOps OneString = {{okString, "Text"}};
const TOps TextAt = {{okSingle, "Y"}, {okString, "Text"}, {okSingle, "X"}};
const TOps BlockAt = {{okSingle, "Y"}, {okString, "Text"}, {okSingle, "X"}, {okSingle, "Width"}};
const TOps PolyPoints = {{okPoints, "Points"}};

std::array<TStreamOpcode, 256> BuildTable() {
  std::array<TStreamOpcode, 256> table;
  for (size_t i = 0; i < table.size(); ++i) table[i].Code = static_cast<uint8_t>(i);
  auto add = [&table](uint8_t Code, const char* Name, TOps Operands) {
    table[Code].Name = Name;
    table[Code].Operands = std::move(Operands);
  };
  add(pcArc, "pcArc", FourPoints);
  add(pcBrushCopy, "pcBrushCopy",
      {{okGraphic, "Bitmap"}, {okRect, "Dest"}, {okRect, "Source"}, {okColor, "Color"}});
  add(pcChord, "pcChord", FourPoints);
  add(pcCopyRect, "pcCopyRect", {{okRect, "Dest"}, {okInt32, "Canvas"}, {okRect, "Source"}});
  add(pcDraw, "pcDraw", {{okGraphic, "Graphic"}, {okPoint, "P"}});
  add(pcDrawFocusRect, "pcDrawFocusRect", OneRect);
  add(pcEllipse, "pcEllipse", TwoPoints);
  add(pcFillRect, "pcFillRect", OneRect);
  add(pcFloodFill, "pcFloodFill", {{okPoint, "P"}, {okColor, "Color"}, {okInt32, "FillStyle"}});
  add(pcFrameRect, "pcFrameRect", OneRect);
  add(pcLineTo, "pcLineTo", OnePoint);
  add(pcMoveTo, "pcMoveTo", OnePoint);
  add(pcPie, "pcPie", FourPoints);
  add(pcPolygon, "pcPolygon", PolyPoints);
  add(pcPolyline, "pcPolyline", PolyPoints);
  add(pcPrintBitmap, "pcPrintBitmap",
      {{okGraphic, "Bitmap"}, {okPoint, "P"}, {okSingle, "ScaleX"}, {okSingle, "ScaleY"}});
  add(pcPrintBitmapRect, "pcPrintBitmapRect", {{okGraphic, "Bitmap"}, {okPoint, "P1"}, {okPoint, "P2"}});
  add(pcRectangle, "pcRectangle", TwoPoints);
  add(pcTabRectangle, "pcTabRectangle", TwoPoints);
  add(pcRoundRect, "pcRoundRect",
      {{okPoint, "P1"}, {okPoint, "P2"}, {okSingle, "CornerWidth"}, {okSingle, "CornerHeight"}});
  add(pcStretchDraw, "pcStretchDraw", {{okGraphic, "Graphic"}, {okRect, "Rect"}});
  add(pcTextRect, "pcTextRect", {{okRect, "Rect"}, {okPoint, "P"}, {okString, "Text"}});
  add(pcPrintCenter, "pcPrintCenter", TextAt);
  add(pcPrintLeft, "pcPrintLeft", TextAt);
  add(pcPrintRight, "pcPrintRight", TextAt);
  add(pcTextBKMode, "pcTextBKMode", OneByte);
  add(pcBKColor, "pcBKColor", OneColor);
  add(pcScaleX, "pcScaleX", OneSingle);
  add(pcScaleY, "pcScaleY", OneSingle);
  add(pcPrintData, "pcPrintData", OneString);
  add(pcPrintDataStream, "pcPrintDataStream", {{okData, "Data"}});
  add(pcPrintBlockOld, "pcPrintBlockOld", BlockAt);
  add(pcPrintBlock, "pcPrintBlock", BlockAt);
  add(pcBitmapMode, "pcBitmapMode", OneByte);
  add(pcFrameMode, "pcFrameMode", OneByte);
  add(pcPrintImageRect, "pcPrintImageRect",
      {{okData, "Image"}, {okString, "ImageType"}, {okPoint, "P1"}, {okPoint, "P2"}});
  add(pcVariable, "pcVariable", {{okString, "Name"}, {okValue, "Value"}});
  add(pcBrush, "pcBrush", {{okColor, "Color"}, {okByte, "Style"}, {okFlagGraphic, "Bitmap"}});
  add(pcBrushColor, "pcBrushColor", OneColor);
  add(pcBrushStyle, "pcBrushStyle", OneByte);
  add(pcBrushBitmap, "pcBrushBitmap", {{okFlagGraphic, "Bitmap"}});
  add(pcFont, "pcFont",
      {{okString, "Name"},
       {okColor, "Color"},
       {okByte, "Pitch"},
       {okCharset, "Charset"},
       {okSingle, "Height"},
       {okByte, "Bold"},
       {okByte, "Italic"},
       {okByte, "Underline"},
       {okByte, "StrikeOut"},
       {okRotation, "Rotation"}});
  add(pcFontName, "pcFontName", OneString);
  add(pcFontColor, "pcFontColor", OneColor);
  add(pcFontPitch, "pcFontPitch", OneByte);
  add(pcFontHeight, "pcFontHeight", {{okSingle, "Height"}, {okRefWidth, "RefWidth"}});
  add(pcFontBold, "pcFontBold", OneByte);
  add(pcFontUnderline, "pcFontUnderline", OneByte);
  add(pcFontItalic, "pcFontItalic", OneByte);
  add(pcFontStrikeOut, "pcFontStrikeOut", OneByte);
  add(pcFontSuperscript, "pcFontSuperscript", OneByte);
  add(pcFontSubscript, "pcFontSubscript", OneByte);
  add(pcFontRotation, "pcFontRotation", {{okInt16, "Value"}});
  add(pcFontAlign, "pcFontAlign", OneByte);
  add(pcFontCharset, "pcFontCharset", OneByte);
  add(pcPen, "pcPen", {{okColor, "Color"}, {okByte, "Mode"}, {okByte, "Style"}, {okSingle, "Width"}});
  add(pcPenColor, "pcPenColor", OneColor);
  add(pcPenMode, "pcPenMode", OneByte);
  add(pcPenStyle, "pcPenStyle", OneByte);
  add(pcPenWidth, "pcPenWidth", OneSingle);
  add(pcPageBegin, "pcPageBegin", {});
  add(pcPageEnd, "pcPageEnd", {});
  add(pcLineMetrics, "pcLineMetrics",
      {{okSingle, "Ascent"}, {okSingle, "Descent"}, {okSingle, "LineHeight"}});
  add(pcPreviewOnly, "pcPreviewOnly", {});
  add(pcPrinterOnly, "pcPrinterOnly", {});
  add(pcAllDestinations, "pcAllDestinations", {});
  add(pcOrientation, "pcOrientation", OneByte);
  add(pcSelectBin, "pcSelectBin", OneString);
  return table;
}

const std::array<TStreamOpcode, 256>& Table() {
  static const std::array<TStreamOpcode, 256> table = BuildTable();
  return table;
}

}  // namespace

const TStreamOpcode& StreamOpcode(uint8_t Code) {
  return Table()[Code];
}

bool IsPageRecordCode(uint8_t Code) {
  return Code != pcPageBegin && Table()[Code].Name != nullptr;
}

std::string StreamOpcodeName(uint8_t Code) {
  const char* name = Table()[Code].Name;
  return name != nullptr ? std::string(name) : "code " + std::to_string(Code);
}
