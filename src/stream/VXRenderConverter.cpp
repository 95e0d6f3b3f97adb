// TVXConverter: walks a page stream with the shared page-stream reader and drives a render.
// The reader decodes each record and keeps the stream's own state (report variables, scale);
// the converter keeps the font, brush and pen as the render sees them, which embedded
// formatting codes change as well.
#include <algorithm>
#include <cmath>

#include "engine/VXFontManager.h"
#include "engine/VXFormatCodes.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Conversions.h"
#include "platform/Font.h"
#include "platform/Icon.h"
#include "platform/MathUtils.h"
#include "platform/Pen.h"
#include "platform/Picture.h"
#include "platform/Stream.h"
#include "stream/VXRender.h"
#include "stream/VXStreamReader.h"

namespace {

const std::string MacroPlaceholder = std::string(1, '\xFD') + "$VXCM";     // then two digits
const std::string VariablePlaceholder = std::string(1, '\xFD') + "$VXCV";  // then 252, name, 251
constexpr char VariableNameStart = '\xFC';
constexpr char VariableNameEnd = '\xFB';
// A variable whose value holds its own placeholder would expand for ever: expansion stops
// after this many passes or when the text has grown this long.
constexpr int MaxExpandPasses = 10000;
constexpr size_t MaxExpandedLength = size_t{1} << 20;
// Segments of coded text are measured at this resolution (pixels per inch).
constexpr int SegmentMeasureDPI = 7200;
// Points beyond any page; damaged streams may hold anything.
constexpr double MaxPoints = 1.0e9;
constexpr double MaxFontPoints = 32767;

// Inches to whole points, half to even.
int ToPoints(float Inches) {
  const double points = static_cast<double>(Inches) * 72.0;
  if (!std::isfinite(points)) return 0;
  return static_cast<int>(Round(std::clamp(points, -MaxPoints, MaxPoints)));
}

TRect PointRect(const TStreamRecord& Record, size_t First = 0) {
  return TRect{ToPoints(Record.Singles[First]), ToPoints(Record.Singles[First + 1]),
               ToPoints(Record.Singles[First + 2]), ToPoints(Record.Singles[First + 3])};
}

double Single(const TStreamRecord& Record, size_t Index) {
  return static_cast<double>(Record.Singles[Index]);
}

bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}

}  // namespace

TVXConverter::TVXConverter(TStream* Stream, TVXRender* Render)
    : FStream(Stream),
      FRender(Render),
      FFont(std::make_unique<TFont>()),
      FBrush(std::make_unique<TBrush>()),
      FPen(std::make_unique<TPen>()) {
  FontRecordChanged();
}

TVXConverter::~TVXConverter() {
  if (FRender != nullptr && FRender->Converter() == this) FRender->SetConverter(nullptr);
}

// ===== Pictures =====

std::unique_ptr<TGraphic> TVXConverter::ReadGraphic(const TStreamGraphic& Record) {
  if (Record.Kind != gkBitmap && Record.Kind != gkIcon && Record.Kind != gkMetafile) RaiseUnexpectedCode();
  // Without a metafile class a metafile cannot be shown; the record is dropped.
  std::unique_ptr<TGraphic> picture = NewStreamGraphic(Record.Kind);
  if (!picture) return nullptr;
  try {
    LoadGraphic(picture.get(), Record);
  } catch (const Exception&) {
    // Bytes no picture class can read: the stream itself is intact, only this picture is lost.
    return nullptr;
  }
  return picture;
}

void TVXConverter::LoadGraphic(TGraphic* Picture, const TStreamGraphic& Record) {
  LoadStreamGraphic(Picture, Record);
}

std::unique_ptr<TBitmap> TVXConverter::ReadBitmap(const TStreamGraphic& Record) {
  std::unique_ptr<TGraphic> picture = ReadGraphic(Record);
  if (!picture) return nullptr;
  if (auto* bitmap = dynamic_cast<TBitmap*>(picture.get())) {
    picture.release();
    return std::unique_ptr<TBitmap>(bitmap);
  }
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(picture.get());
  return bitmap;
}

// ===== Device names and variables =====

std::string TVXConverter::DeviceName() {
  return Trans("Render");
}

std::string TVXConverter::DriverName() {
  return Trans("Render");
}

std::string TVXConverter::PortName() {
  return Trans("Render");
}

std::string TVXConverter::VariableValue(const std::string& Name) {
  return FReader ? FReader->VariableValue(Name) : std::string();
}

// ===== Macros =====

std::string TVXConverter::MacroValue(int Code) {
  static const char* const DateTimeFormats[] = {"ddddd", "dddddd", "mm/dd/yy",   "dd/mm/yy",
                                                "t",     "tt",     "hh:nn ampm", "hh:nn"};
  if (Code >= 0 && Code <= 7) return FormatDateTime(DateTimeFormats[Code], FStartTime);
  switch (Code) {
    case 8:
      return IntToStr(FFirstPage);
    case 9:
      return IntToStr(FLastPage);
    case 10:
      return IntToStr(FPageCount);
    case 11:
    case 12:
      return IntToStr(FCurrentPage);
    case 13:
      return DeviceName();
    case 14:
      return DriverName();
    case 15:
      return PortName();
    default:
      return std::string();  // 16 to 35 name application texts the stream does not carry
  }
}

std::string TVXConverter::ExpandMacros(const std::string& Text) {
  std::string text = Text;
  for (int pass = 0; pass < MaxExpandPasses && text.size() <= MaxExpandedLength; ++pass) {
    bool found = false;
    size_t insertedEnd = 0;
    size_t at = text.find(MacroPlaceholder);
    if (at != std::string::npos) {
      found = true;
      const size_t codeAt = at + MacroPlaceholder.size();
      // A code that is not two digits expands to nothing.
      std::string value;
      if (codeAt + 2 <= text.size() && IsDigit(text[codeAt]) && IsDigit(text[codeAt + 1]))
        value = MacroValue((text[codeAt] - '0') * 10 + (text[codeAt + 1] - '0'));
      text.replace(at, std::min(MacroPlaceholder.size() + 2, text.size() - at), value);
      insertedEnd = at + value.size();
    }
    // A value inserted in this pass is looked at in the next pass only.
    at = text.find(VariablePlaceholder);
    if (at != std::string::npos && insertedEnd != 0 && at < insertedEnd)
      at = text.find(VariablePlaceholder, insertedEnd);
    if (at != std::string::npos) {
      found = true;
      const size_t afterMarker = at + VariablePlaceholder.size();
      std::string name;
      size_t length = 0;
      if (afterMarker < text.size() && text[afterMarker] == VariableNameStart) {
        const size_t end = text.find(VariableNameEnd, afterMarker + 1);
        const size_t nameEnd = end == std::string::npos ? text.size() : end;
        name = text.substr(afterMarker + 1, nameEnd - afterMarker - 1);
        length = (end == std::string::npos ? text.size() : end + 1) - at;
      } else {
        // No name: the marker and the one character after it go.
        length = std::min(VariablePlaceholder.size() + 1, text.size() - at);
      }
      text.replace(at, length, VariableValue(name));
    }
    if (!found) break;
  }
  return text;
}

// ===== The walk =====

void TVXConverter::Generate(int PageNo, int PageCount) {
  FRender->SetConverter(this);
  FRender->SetFailed(false);
  FStartTime = Now();
  ReadHeader();
  if (PageNo > 0 && PageCount != 0) FPageCount = PageCount;
  try {
    FRender->DocBegin();
    FRender->BetweenOperations();
    if (HasPages()) ConvertPages(PageNo);
  } catch (...) {
    // The render learns that its output is incomplete before it finishes the document.
    FRender->GenerationFailed();
    try {
      FRender->DocEnd();
    } catch (...) {
      // The first failure is the one worth reporting.
    }
    throw;
  }
  FRender->DocEnd();
}

void TVXConverter::ReadHeader() {
  FReader = std::make_unique<TPageStreamReader>(FStream);
  const TStreamHeader& header = FReader->ReadHeader();
  FVersion = header.Version;
  FTitle = header.Title;
  FHeaderPageCount = header.PageCount;
  FPageCount = header.PageCount;
  FFirstPage = header.FirstPage;
  FLastPage = header.LastPage;
  FCurrentPage = 1;
}

bool TVXConverter::HasPages() const {
  // A stream whose page count was never patched, or that holds no page, has nothing after
  // its header to read.
  return FHeaderPageCount > 0;
}

void TVXConverter::ConvertPages(int PageNo) {
  if (PageNo > 0) {
    FReader->GotoPage(PageNo);
    ConvertPage(true);
    return;
  }
  FReader->Seek(FReader->Header().FirstPageOffset);
  do {
    ConvertPage(false);
  } while (FCurrentPage < FPageCount);
}

void TVXConverter::TakePageHeader() {
  const TPageHeader& page = FReader->PageHeader();
  FCurrentPage = page.PageNumber;
  if (page.HasSize) {
    FRender->SetPageWidth(page.PageWidth);
    FRender->SetPageHeight(page.PageHeight);
  }
}

void TVXConverter::ConvertPage(bool HeaderRead) {
  if (!HeaderRead) FReader->ReadPageHeader();
  TakePageHeader();
  FRender->PageBegin();
  FRender->BetweenOperations();
  TStreamRecord record;
  while (FReader->ReadRecord(record)) {
    Dispatch(record);
    FRender->BetweenOperations();
  }
  FRender->PageEnd();
  FRender->BetweenOperations();
}

void TVXConverter::Dispatch(const TStreamRecord& Record) {
  switch (Record.Code) {
    case pcMoveTo:
      FPenX = Single(Record, 0);
      FPenY = Single(Record, 1);
      return;
    case pcFrameMode:
      FRender->SetFrameMode(static_cast<uint8_t>(Record.Integers[0]));
      return;
    case pcDraw:
    case pcPrintBitmap:
    case pcPrintBitmapRect:
    case pcStretchDraw:
    case pcPrintImageRect:
      DispatchPicture(Record);
      return;
    case pcTextRect:
    case pcPrintCenter:
    case pcPrintLeft:
    case pcPrintRight:
    case pcPrintBlockOld:
    case pcPrintBlock:
      DispatchText(Record);
      return;
    default:
      break;
  }
  if (Record.Code >= pcFont && Record.Code <= pcFontCharset) {
    DispatchFont(Record);
  } else if ((Record.Code >= pcBrush && Record.Code <= pcBrushBitmap) ||
             (Record.Code >= pcPen && Record.Code <= pcPenWidth)) {
    DispatchPenAndBrush(Record);
  } else {
    // Shapes; every other record (state the render does not see, raw printer data,
    // polygons, report variables kept by the reader) is consumed without a call.
    DispatchShape(Record);
  }
}

void TVXConverter::DispatchShape(const TStreamRecord& Record) {
  const auto s = [&Record](size_t Index) { return Single(Record, Index); };
  switch (Record.Code) {
    case pcArc:
      FRender->Arc(s(0), s(1), s(2), s(3), s(4), s(5), s(6), s(7));
      return;
    case pcChord:
      FRender->Chord(s(0), s(1), s(2), s(3), s(4), s(5), s(6), s(7));
      return;
    case pcPie:
      FRender->Pie(s(0), s(1), s(2), s(3), s(4), s(5), s(6), s(7));
      return;
    case pcEllipse:
      FRender->Ellipse(s(0), s(1), s(2), s(3));
      return;
    case pcFillRect:
      FRender->FillRect(PointRect(Record));
      return;
    case pcLineTo:
      FRender->MoveTo(FPenX, FPenY);
      FRender->LineTo(s(0), s(1));
      FPenX = s(0);
      FPenY = s(1);
      return;
    case pcRectangle:
    case pcTabRectangle:
      FRender->Rectangle(s(0), s(1), s(2), s(3));
      return;
    case pcRoundRect:
      FRender->RoundRect(s(0), s(1), s(2), s(3), s(4), s(5));
      return;
    default:
      return;
  }
}

void TVXConverter::DispatchPicture(const TStreamRecord& Record) {
  const auto s = [&Record](size_t Index) { return Single(Record, Index); };
  switch (Record.Code) {
    case pcDraw:
      if (auto picture = ReadGraphic(Record.Graphic)) FRender->Draw(picture.get(), s(0), s(1));
      return;
    case pcPrintBitmap:
      if (auto bitmap = ReadBitmap(Record.Graphic))
        FRender->PrintBitmap(bitmap.get(), s(0), s(1), s(2), s(3));
      return;
    case pcPrintBitmapRect:
      if (auto bitmap = ReadBitmap(Record.Graphic))
        FRender->PrintBitmapRect(bitmap.get(), s(0), s(1), s(2), s(3));
      return;
    case pcStretchDraw:
      if (auto picture = ReadGraphic(Record.Graphic)) FRender->StretchDraw(PointRect(Record), picture.get());
      return;
    case pcPrintImageRect: {
      TMemoryStream image;
      if (!Record.Data.empty())
        image.WriteBuffer(Record.Data.data(), static_cast<int64_t>(Record.Data.size()));
      image.SetPosition(0);
      FRender->PrintImageRect(&image, Record.Text, s(0), s(1), s(2), s(3));
      return;
    }
    default:
      return;
  }
}

// ===== Texts =====

void TVXConverter::DispatchText(const TStreamRecord& Record) {
  const std::string text = ExpandMacros(Record.Text);
  switch (Record.Code) {
    case pcTextRect:
      FRender->TextRect(PointRect(Record), Single(Record, 4), Single(Record, 5), text);
      return;
    case pcPrintBlockOld:
    case pcPrintBlock:
      // Y, text, X, width.
      FRender->PrintSpaces(text, Single(Record, 1), Single(Record, 0), Single(Record, 2));
      return;
    default:
      // Y, text, X.
      if (HasFormatCodes(text)) {
        SendCodedText(Record.Code, text, Single(Record, 1), Single(Record, 0));
      } else {
        SendText(Record.Code, text, Single(Record, 1), Single(Record, 0));
      }
      return;
  }
}

void TVXConverter::SendText(uint8_t Code, const std::string& Text, double X, double Y) {
  switch (Code) {
    case pcPrintCenter:
      FRender->CenterText(Text, X, Y);
      return;
    case pcPrintRight:
      FRender->RightText(Text, X, Y);
      return;
    default:
      FRender->LeftText(Text, X, Y);
      return;
  }
}

// Each run of codes changes the font before the text that follows it. The segments are sent
// one after the other with the record's operation, each measured in the font that applies to
// it, so that together they are placed as the whole text would be: from X (left), ending at
// X (right) or centred on X.
void TVXConverter::SendCodedText(uint8_t Code, const std::string& Text, double X, double Y) {
  struct TSegment {
    std::string Codes;
    std::string Plain;
    double Width = 0;
  };
  const double heightScale = FReader->State().ScaleY / 100.0;
  std::vector<TSegment> segments;
  TFontRecord font = FFontRecord;
  double total = 0;
  size_t pos = 0;
  TSegment segment;
  while (SplitFormatSegment(Text, pos, segment.Codes, segment.Plain)) {
    if (!segment.Codes.empty()) ApplyFontCodes(font, segment.Codes, heightScale);
    segment.Width = SegmentWidth(font, segment.Plain);
    total += segment.Width;
    segments.push_back(segment);
  }
  double before = 0;
  for (const TSegment& s : segments) {
    if (!s.Codes.empty()) {
      ApplyFontCodes(FFontRecord, s.Codes, heightScale);
      FontRecordChanged();
      FRender->FontChanged();
    }
    if (!s.Plain.empty()) {
      double anchor = X + before;
      if (Code == pcPrintRight) anchor = X - (total - before - s.Width);
      if (Code == pcPrintCenter) anchor = X - total / 2 + before + s.Width / 2;
      SendText(Code, s.Plain, anchor, Y);
    }
    before += s.Width;
  }
}

double TVXConverter::SegmentWidth(const TFontRecord& Font, const std::string& Text) {
  if (Text.empty()) return 0;
  const double points = Font.Height * 72.0;
  if (!std::isfinite(points) || points <= 0) return 0;
  TFont measured;
  measured.SetName(Font.Name);
  measured.SetCharset(Font.Charset);
  measured.SetPitch(static_cast<TFontPitch>(std::min<uint8_t>(Font.Pitch, fpFixed)));
  TFontStyles style;
  if (Font.Bold) style.Include(fsBold);
  if (Font.Italic) style.Include(fsItalic);
  measured.SetStyle(style);
  const int pixels = FontManager()->GetHandler(&measured)->TextWidth(Text, SegmentMeasureDPI,
                                                                     std::min(points, MaxFontPoints));
  return static_cast<double>(pixels) / SegmentMeasureDPI;
}

// ===== Font, brush and pen =====

void TVXConverter::FontRecordChanged() {
  const TFontRecord& r = FFontRecord;
  FFont->SetName(r.Name);
  FFont->SetColor(r.Color);
  FFont->SetPitch(static_cast<TFontPitch>(std::min<uint8_t>(r.Pitch, fpFixed)));
  FFont->SetCharset(r.Charset);
  const double points = std::isfinite(r.Height) ? std::clamp(r.Height * 72.0, 0.0, MaxFontPoints) : 0.0;
  FFont->SetSize(static_cast<int>(Round(points)));
  TFontStyles style;
  if (r.Bold) style.Include(fsBold);
  if (r.Italic) style.Include(fsItalic);
  if (r.Underline) style.Include(fsUnderline);
  if (r.Strikeout) style.Include(fsStrikeOut);
  FFont->SetStyle(style);
}

void TVXConverter::DispatchFont(const TStreamRecord& Record) {
  TFontRecord& f = FFontRecord;
  const auto flag = [&Record](size_t Index) { return Record.Integers[Index] != 0; };
  const auto byte = [&Record](size_t Index) { return static_cast<uint8_t>(Record.Integers[Index]); };
  switch (Record.Code) {
    case pcFont:
      // Name, colour, pitch, charset, height, bold, italic, underline, strike-out, rotation.
      f.Name = Record.Text;
      f.Color = Record.Integers[0];
      f.Pitch = byte(1);
      f.Charset = byte(2);
      f.Height = Record.Singles[0];
      f.Bold = flag(3);
      f.Italic = flag(4);
      f.Underline = flag(5);
      f.Strikeout = flag(6);
      f.Rotation = Record.Integers[7];
      break;
    case pcFontName:
      f.Name = Record.Text;
      break;
    case pcFontColor:
      f.Color = Record.Integers[0];
      break;
    case pcFontPitch:
      f.Pitch = byte(0);
      break;
    case pcFontHeight:
      f.Height = Record.Singles[0];
      break;
    case pcFontBold:
      f.Bold = flag(0);
      break;
    case pcFontUnderline:
      f.Underline = flag(0);
      break;
    case pcFontItalic:
      f.Italic = flag(0);
      break;
    case pcFontStrikeOut:
      f.Strikeout = flag(0);
      break;
    case pcFontSuperscript:
      f.Superscript = flag(0);
      break;
    case pcFontSubscript:
      f.Subscript = flag(0);
      break;
    case pcFontRotation:
      f.Rotation = Record.Integers[0];
      break;
    case pcFontAlign:
      f.Align = byte(0);
      break;
    case pcFontCharset:
      f.Charset = byte(0);
      break;
    default:
      return;
  }
  FontRecordChanged();
  FRender->FontChanged();
}

void TVXConverter::ApplyBrushBitmap(bool HasBitmap, const TStreamGraphic& Graphic) {
  std::unique_ptr<TBitmap> bitmap;
  if (HasBitmap) bitmap = ReadBitmap(Graphic);
  FBrush->SetBitmap(bitmap.get());
}

void TVXConverter::DispatchPenAndBrush(const TStreamRecord& Record) {
  const auto integer = [&Record](size_t Index) { return Record.Integers[Index]; };
  const auto brushStyle = [](int32_t Value) { return static_cast<TBrushStyle>(std::clamp(Value, 0, 7)); };
  const auto penStyle = [](int32_t Value) { return static_cast<TPenStyle>(std::clamp(Value, 0, 6)); };
  const auto penMode = [](int32_t Value) { return static_cast<TPenMode>(std::clamp(Value, 0, 15)); };
  switch (Record.Code) {
    case pcBrush:
      // Colour, style, bitmap flag (and the bitmap).
      FBrush->SetColor(integer(0));
      FBrush->SetStyle(brushStyle(integer(1)));
      ApplyBrushBitmap(integer(2) != 0, Record.Graphic);
      return;
    case pcBrushColor: {
      // A colour record keeps the style and drops any pattern bitmap.
      const TBrushStyle style = FBrush->Style();
      FBrush->SetColor(integer(0));
      FBrush->SetStyle(style);
      FBrush->SetBitmap(nullptr);
      return;
    }
    case pcBrushStyle:
      FBrush->SetStyle(brushStyle(integer(0)));
      return;
    case pcBrushBitmap:
      ApplyBrushBitmap(integer(0) != 0, Record.Graphic);
      return;
    case pcPen:
      // Colour, mode, style, width.
      FPen->SetColor(integer(0));
      FPen->SetMode(penMode(integer(1)));
      FPen->SetStyle(penStyle(integer(2)));
      FRender->SetPenWidth(Single(Record, 0));
      return;
    case pcPenColor:
      FPen->SetColor(integer(0));
      return;
    case pcPenMode:
      FPen->SetMode(penMode(integer(0)));
      return;
    case pcPenStyle:
      FPen->SetStyle(penStyle(integer(0)));
      return;
    case pcPenWidth:
      FRender->SetPenWidth(Single(Record, 0));
      return;
    default:
      return;
  }
}
