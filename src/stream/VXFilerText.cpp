// TReportFiler: text records with their accuracy method, and report variables recorded
// before their values are known and back-patched when the values come.
#include <cmath>
#include <cstdlib>

#include "platform/StringUtils.h"
#include "stream/VXFiler.h"
#include "stream/VXFilerScope.h"

namespace {

const std::string VariablePlaceholder = "\xFD$VXCV\xFC";
constexpr char VariableNameEnd = '\xFB';

uint8_t TextCode(TPrintJustify Justify) {
  switch (Justify) {
    case pjCenter:
      return pcPrintCenter;
    case pjRight:
      return pcPrintRight;
    default:
      return pcPrintLeft;
  }
}

}  // namespace

// ===== Measuring =====

double TReportFiler::TextWidth(const std::string& Text) {
  TMeasuringScope measuring(*this);
  return TBaseReport::TextWidth(Text);
}

// ===== Text =====

void TReportFiler::PrintLeft(const std::string& Text, double X) {
  PrintText(Text, X, pjLeft);
}

void TReportFiler::PrintCenter(const std::string& Text, double X) {
  PrintText(Text, X, pjCenter);
}

void TReportFiler::PrintRight(const std::string& Text, double X) {
  PrintText(Text, X, pjRight);
}

bool TReportFiler::RecordsAsBlock(const std::string& Text) {
  // Plain horizontal text with a space can be stretched to the width measured here, so
  // that every reader puts its words where this device put them.
  return FAccuracyMethod == amPositioning && FontRecord().Rotation == 0 &&
         Text.find(MacroMarker) == std::string::npos && Text.find('\x01') == std::string::npos &&
         Text.find(' ') != std::string::npos;
}

void TReportFiler::PrintText(const std::string& Text, double X, TPrintJustify Justify) {
  if (!Recording()) return;
  const double width = TextWidth(Text);
  if (RecordsAsBlock(Text)) {
    // The width as it is without the horizontal scale, which the block record applies.
    const double natural = XUnitsToInch(width * 10000.0 / (ScaleX() * ScaleX()));
    const double start = Justify == pjLeft ? X : Justify == pjCenter ? X - natural / 2 : X - natural;
    PrintBlock(Text, start, natural);
  } else {
    FWriter->WriteByte(TextCode(Justify));
    FWriter->WriteSingle(static_cast<float>(StreamY(YPos())));
    FWriter->WriteString(LimitStreamText(Text));
    FWriter->WriteSingle(static_cast<float>(InchStreamX(X)));
    Recorded();
  }
  // The cursor moves as on a canvas engine: from X past the text (left), half of it
  // (centre), or not at all (right).
  SetXPos(XInchToUnits(X));
  if (Justify == pjLeft) AdvanceCursor(width);
  if (Justify == pjCenter) AdvanceCursor(width / 2);
}

void TReportFiler::PrintBlock(const std::string& Text, double X, double Width) {
  if (!Recording()) return;
  FWriter->WriteByte(pcPrintBlock);
  FWriter->WriteSingle(static_cast<float>(StreamY(YPos())));
  FWriter->WriteString(LimitStreamText(Text));
  FWriter->WriteSingle(static_cast<float>(InchStreamX(X)));
  FWriter->WriteSingle(static_cast<float>(Width * ScaleX() / 100.0));
  Recorded();
  SetXPos(XInchToUnits(X));
  AdvanceCursor(XInchToUnits(Width) * ScaleX() * ZoomPercent() / 10000.0);
}

void TReportFiler::TextRect(const TRect& Rect, double X, double Y, const std::string& Text) {
  if (!Recording()) return;
  FWriter->WriteByte(pcTextRect);
  WriteDeviceRect(Rect);
  WriteUnitPoint(X, Y);
  FWriter->WriteString(LimitStreamText(Text));
  Recorded();
}

// ===== Report variables =====

TReportFiler::TFilerVariable* TReportFiler::FindVariable(const std::string& Name) {
  for (TFilerVariable& variable : FVariables) {
    if (AnsiSameText(variable.Name, Name)) return &variable;
  }
  return nullptr;
}

std::string TReportFiler::VariableCode(const std::string& Name) {
  const std::string placeholder = VariablePlaceholder + Name + VariableNameEnd;
  if (!Recording()) return placeholder;
  TFilerVariable* variable = FindVariable(Name);
  // A name whose record is still waiting for its value needs nothing new.
  if (variable != nullptr && variable->Offset > 0 && !variable->Pending) return placeholder;
  if (variable == nullptr) {
    FVariables.emplace_back();
    variable = &FVariables.back();
    variable->Name = Name;
  }
  // A value not yet in the stream goes in first, so that the new record can lead to it.
  if (variable->Pending) WriteVariableRecord(*variable);
  const int32_t earlier = std::abs(variable->Offset);
  FWriter->WriteByte(pcVariable);
  FWriter->WriteString(LimitStreamText(variable->Name));
  variable->Offset = StreamOffset(FWriter->WritePosition());
  variable->Reserved = true;
  // Until its value comes, the record shows the value the name had before.
  FWriter->WriteReservedValue(earlier);
  Recorded();
  return placeholder;
}

void TReportFiler::SetVariable(const std::string& Name, const std::string& Value) {
  CheckPrinting();
  if (FMeasuring) return;
  StoreVariable(Name, Value);
  Recorded();
}

void TReportFiler::StoreVariable(const std::string& Name, const std::string& Value) {
  TFilerVariable* variable = FindVariable(Name);
  if (variable == nullptr) {
    FVariables.emplace_back();
    variable = &FVariables.back();
    variable->Name = Name;
  }
  variable->Value = Value;
  if (variable->Reserved && variable->Offset != 0 && !variable->Pending) {
    // A reserved record takes its value in place, however many pages ago it was written.
    const int32_t offset = std::abs(variable->Offset);
    const std::string value = Value.substr(0, ReservedValueSize);
    const int64_t end = FWriter->Position();
    FWriter->Seek(offset);
    FWriter->WriteByte(ReservedValueSize);
    FWriter->WriteByte(static_cast<uint8_t>(value.size()));
    FWriter->WriteBytes(value.data(), value.size());
    FWriter->Seek(end);
    variable->Offset = -offset;
    return;
  }
  // Anything else gets a new immediate record: at once on a recorded page, otherwise with
  // the next page that is recorded.
  variable->Pending = true;
  if (CanRecord()) WriteVariableRecord(*variable);
}

void TReportFiler::WriteVariableRecord(TFilerVariable& Variable) {
  FWriter->WriteByte(pcVariable);
  FWriter->WriteString(LimitStreamText(Variable.Name));
  if (!Variable.Pending) {
    FWriter->WriteIndirectValue(Variable.Offset);
    return;
  }
  // A value of 254 or 255 bytes would read as an indirect record.
  const int32_t offset = StreamOffset(FWriter->WritePosition());
  FWriter->WriteImmediateValue(Variable.Value);
  Variable.Offset = -offset;
  Variable.Reserved = false;
  Variable.Pending = false;
}
