// TReportFiler: font, brush and pen state written only when it changes (and in full at every
// page start), the settings recorded after their base behaviour, and the destination marks.
#include "platform/Bitmap.h"
#include "stream/VXFiler.h"
#include "stream/VXFilerScope.h"

// ===== Change handlers =====

void TReportFiler::InstallStateHandlers() {
  TCanvas* canvas = Canvas();
  FHookedBrush = canvas->Brush();
  FHookedPen = canvas->Pen();
  FSavedBrushChange = FHookedBrush->OnChange;
  FSavedPenChange = FHookedPen->OnChange;
  // The canvas's own handlers run first: they keep the device state in step.
  FHookedBrush->OnChange = [this](TObject* Sender) {
    if (FSavedBrushChange) FSavedBrushChange(Sender);
    EmitBrushState();
  };
  FHookedPen->OnChange = [this](TObject* Sender) {
    if (FSavedPenChange) FSavedPenChange(Sender);
    EmitPenState();
  };
}

void TReportFiler::RemoveStateHandlers() {
  if (FHookedBrush != nullptr) FHookedBrush->OnChange = FSavedBrushChange;
  if (FHookedPen != nullptr) FHookedPen->OnChange = FSavedPenChange;
  FHookedBrush = nullptr;
  FHookedPen = nullptr;
  FSavedBrushChange = nullptr;
  FSavedPenChange = nullptr;
}

void TReportFiler::FontChanged(TObject* Sender) {
  TBaseReport::FontChanged(Sender);
  // A bulk update announces itself once more when it is complete.
  if (!FBulkUpdate) EmitFontState();
}

bool TReportFiler::CanEmitState() {
  return !FEmitting && !FMeasuring && Printing() && FPageOpen && !OutputSuppressed();
}

// ===== Emission =====

void TReportFiler::EmitBrushState() {
  if (!CanEmitState()) return;
  TFilerFlagScope emitting(FEmitting);
  TPageStreamWriter& w = *FWriter;
  const TBrush* brush = Canvas()->Brush();
  if (FForceState || brush->Color() != FShadow.BrushColor) {
    w.WriteByte(pcBrushColor);
    w.WriteInt32(brush->Color());
    FShadow.BrushColor = brush->Color();
  }
  if (FForceState || brush->Style() != FShadow.BrushStyle) {
    w.WriteByte(pcBrushStyle);
    w.WriteByte(static_cast<uint8_t>(brush->Style()));
    FShadow.BrushStyle = brush->Style();
  }
  TBitmap* pattern = brush->Bitmap();
  if (pattern != nullptr && !pattern->Empty()) {
    w.WriteByte(pcBrushBitmap);
    w.WriteByte(1);
    WriteGraphic(pattern);
    FShadow.BrushBitmap = true;
  } else if (FShadow.BrushBitmap || FForceState) {
    w.WriteByte(pcBrushBitmap);
    w.WriteByte(0);
    FShadow.BrushBitmap = false;
  }
}

void TReportFiler::EmitFontState() {
  if (!CanEmitState()) return;
  TFilerFlagScope emitting(FEmitting);
  TPageStreamWriter& w = *FWriter;
  const TFontRecord& font = FontRecord();
  const bool force = FForceState;
  // Any of these changes the font's widths: the height record with its reference width
  // follows them.
  bool shape = false;
  auto flag = [&w, force](uint8_t Code, bool Value, bool& Shadow) {
    if (!force && Value == Shadow) return false;
    w.WriteByte(Code);
    w.WriteByte(Value ? 1 : 0);
    Shadow = Value;
    return true;
  };
  if (force || font.Name != FShadow.FontName) {
    w.WriteByte(pcFontName);
    w.WriteString(font.Name);
    FShadow.FontName = font.Name;
    shape = true;
  }
  if (force || font.Color != FShadow.FontColor) {
    w.WriteByte(pcFontColor);
    w.WriteInt32(font.Color);
    FShadow.FontColor = font.Color;
  }
  if (force || font.Pitch != FShadow.FontPitch) {
    w.WriteByte(pcFontPitch);
    w.WriteByte(font.Pitch);
    FShadow.FontPitch = font.Pitch;
    shape = true;
  }
  if (force || font.Charset != FShadow.FontCharset) {
    w.WriteByte(pcFontCharset);
    w.WriteByte(font.Charset);
    FShadow.FontCharset = font.Charset;
    shape = true;
  }
  shape = flag(pcFontBold, font.Bold, FShadow.Bold) || shape;
  shape = flag(pcFontItalic, font.Italic, FShadow.Italic) || shape;
  shape = flag(pcFontUnderline, font.Underline, FShadow.Underline) || shape;
  shape = flag(pcFontStrikeOut, font.Strikeout, FShadow.StrikeOut) || shape;
  flag(pcFontSuperscript, font.Superscript, FShadow.Superscript);
  flag(pcFontSubscript, font.Subscript, FShadow.Subscript);
  if (force || font.Rotation != FShadow.Rotation) {
    w.WriteByte(pcFontRotation);
    w.WriteInt16(static_cast<int16_t>(font.Rotation));
    FShadow.Rotation = font.Rotation;
  }
  if (force || font.Align != FShadow.Align) {
    w.WriteByte(pcFontAlign);
    w.WriteByte(font.Align);
    FShadow.Align = font.Align;
  }
  if (force || shape || font.Height != FShadow.FontHeight) {
    double reference = 0;
    {
      TMeasuringScope measuring(*this);
      reference = XUnitsToInch(TBaseReport::TextWidth(FontReferenceText)) * 100.0 / ScaleX();
    }
    w.WriteByte(pcFontHeight);
    w.WriteSingle(static_cast<float>(font.Height));
    w.WriteSingle(static_cast<float>(reference));
    FShadow.FontHeight = font.Height;
  }
}

void TReportFiler::EmitPenState() {
  if (!CanEmitState()) return;
  TFilerFlagScope emitting(FEmitting);
  TPageStreamWriter& w = *FWriter;
  const TPen* pen = Canvas()->Pen();
  if (FForceState || pen->Color() != FShadow.PenColor) {
    w.WriteByte(pcPenColor);
    w.WriteInt32(pen->Color());
    FShadow.PenColor = pen->Color();
  }
  if (FForceState || pen->Mode() != FShadow.PenMode) {
    w.WriteByte(pcPenMode);
    w.WriteByte(static_cast<uint8_t>(pen->Mode()));
    FShadow.PenMode = pen->Mode();
  }
  if (FForceState || pen->Style() != FShadow.PenStyle) {
    w.WriteByte(pcPenStyle);
    w.WriteByte(static_cast<uint8_t>(pen->Style()));
    FShadow.PenStyle = pen->Style();
  }
  const double width = static_cast<double>(pen->Width()) / DeviceXDPI();
  if (FForceState || width != FShadow.PenWidth) {
    w.WriteByte(pcPenWidth);
    w.WriteSingle(static_cast<float>(width));
    FShadow.PenWidth = width;
  }
}

// ===== Settings recorded after their base behaviour =====

void TReportFiler::SetFrameMode(uint8_t Mode) {
  TBaseReport::SetFrameMode(Mode);
  if (!CanRecord()) return;
  FWriter->WriteByte(pcFrameMode);
  FWriter->WriteByte(Mode);
  Recorded();
}

void TReportFiler::SetBKColor(TColor Color) {
  TBaseReport::SetBKColor(Color);
  if (!CanRecord()) return;
  FWriter->WriteByte(pcBKColor);
  FWriter->WriteInt32(Canvas()->BkColor());
  Recorded();
}

void TReportFiler::SetScaleX(double Value) {
  TBaseReport::SetScaleX(Value);
  if (!CanRecord()) return;
  FWriter->WriteByte(pcScaleX);
  FWriter->WriteSingle(static_cast<float>(ScaleX()));
  Recorded();
}

void TReportFiler::SetScaleY(double Value) {
  TBaseReport::SetScaleY(Value);
  if (!CanRecord()) return;
  FWriter->WriteByte(pcScaleY);
  FWriter->WriteSingle(static_cast<float>(ScaleY()));
  Recorded();
}

void TReportFiler::SetTextBKMode(TBKMode Mode) {
  TBaseReport::SetTextBKMode(Mode);
  if (!CanRecord()) return;
  FWriter->WriteByte(pcTextBKMode);
  FWriter->WriteByte(static_cast<uint8_t>(Mode));
  Recorded();
}

void TReportFiler::SetOrientation(TOrientation Value) {
  TBaseReport::SetOrientation(Value);
  if (!CanRecord()) return;
  // Readers apply it when the page ends.
  FWriter->WriteByte(pcOrientation);
  FWriter->WriteByte(static_cast<uint8_t>(Value));
  Recorded();
}

bool TReportFiler::SelectBin(const std::string& Name) {
  const bool result = TBaseReport::SelectBin(Name);
  if (CanRecord()) {
    FWriter->WriteByte(pcSelectBin);
    FWriter->WriteString(LimitStreamText(Name));
    Recorded();
  }
  return result;
}

void TReportFiler::UpdateLineMetrics() {
  TBaseReport::UpdateLineMetrics();
  if (!CanRecord()) return;
  const double baseline = FontBaseline();
  FWriter->WriteByte(pcLineMetrics);
  FWriter->WriteSingle(static_cast<float>(YUnitsToInch(baseline - FontTop())));
  FWriter->WriteSingle(static_cast<float>(YUnitsToInch(FontBottom() - baseline)));
  FWriter->WriteSingle(static_cast<float>(YUnitsToInch(LineHeight())));
  Recorded();
}

// ===== Destinations =====

void TReportFiler::WriteDestination(uint8_t Code) {
  if (!CanRecord() || FDestination == Code) return;
  FWriter->WriteByte(Code);
  FDestination = Code;
  Recorded();
}

void TReportFiler::PreviewOnly() {
  TBaseReport::PreviewOnly();
  WriteDestination(pcPreviewOnly);
}

void TReportFiler::PrinterOnly() {
  TBaseReport::PrinterOnly();
  WriteDestination(pcPrinterOnly);
}

void TReportFiler::AllDestinations() {
  TBaseReport::AllDestinations();
  WriteDestination(pcAllDestinations);
}
