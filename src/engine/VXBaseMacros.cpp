// TBaseReport: macros, report variables and the status line.
#include "engine/VXBase.h"
#include "engine/VXDevice.h"
#include "platform/Conversions.h"
#include "platform/FloatFormat.h"
#include "platform/Format.h"
#include "platform/Forms.h"
#include "platform/StringList.h"

const std::string MacroMarker = std::string(1, '\xFD') + "$VXC";

namespace {

const std::string MacroPlaceholder = MacroMarker + "M";     // then two digits
const std::string VariablePlaceholder = MacroMarker + "V";  // then 252, name, 251
constexpr char VariableNameStart = '\xFC';
constexpr char VariableNameEnd = '\xFB';
// A placeholder that keeps producing placeholders would never end; no real report
// nests anywhere near this deep.
constexpr int MaxExpandPasses = 10000;

}  // namespace

// ===== Macros =====

std::string TBaseReport::Macro(int Code) {
  // The file engine defers the value to replay time; code 12 never waits.
  if (OutputKind() == 2 && Code != 12) return MacroPlaceholder + Format("%.2d", {Code});
  return MacroValue(Code);
}

std::string TBaseReport::MacroValue(int Code) {
  switch (Code) {
    case 0:
      return FormatDateTime("ddddd", FReportDateTime);
    case 1:
      return FormatDateTime("dddddd", FReportDateTime);
    case 2:
      return FormatDateTime("mm/dd/yy", FReportDateTime);
    case 3:
      return FormatDateTime("dd/mm/yy", FReportDateTime);
    case 4:
      return FormatDateTime("t", FReportDateTime);
    case 5:
      return FormatDateTime("tt", FReportDateTime);
    case 6:
      return FormatDateTime("hh:nn ampm", FReportDateTime);
    case 7:
      return FormatDateTime("hh:nn", FReportDateTime);
    case 8:
      return IntToStr(FFirstPage);
    case 9:
      return IntToStr(FLastPage);
    case 10:
      return IntToStr(FPageCount);
    case 11:
      return IntToStr(FCurrentPage);
    case 12:
      return IntToStr(FCurrentPage + 0);  // the page offset is always 0
    case 13:
      return DeviceName();
    case 14:
      return DriverName();
    case 15:
      return PortName();
    default:
      break;
  }
  const int entry = Code - 16;
  if (Code >= 16 && Code <= 35 && entry < FMacroStrings->Count()) return FMacroStrings->Strings(entry);
  return std::string();
}

void TBaseReport::ExpandMacros(std::string& Text) {
  for (int pass = 0; pass < MaxExpandPasses; ++pass) {
    bool found = false;
    size_t insertedStart = std::string::npos;
    size_t insertedEnd = std::string::npos;
    size_t at = Text.find(MacroPlaceholder);
    if (at != std::string::npos) {
      found = true;
      int code = -1;
      if (!TryStrToInt(Text.substr(at + MacroPlaceholder.size(), 2), code)) code = -1;
      const std::string value = MacroValue(code);
      Text.replace(at, MacroPlaceholder.size() + 2, value);
      insertedStart = at;
      insertedEnd = at + value.size();
    }
    at = Text.find(VariablePlaceholder);
    // A value inserted in this pass is not searched again until the next pass.
    if (at != std::string::npos && insertedStart != std::string::npos && at >= insertedStart &&
        at < insertedEnd) {
      at = Text.find(VariablePlaceholder, insertedEnd);
    }
    if (at != std::string::npos) {
      found = true;
      const size_t afterMarker = at + VariablePlaceholder.size();
      std::string name;
      size_t length;
      if (afterMarker < Text.size() && Text[afterMarker] == VariableNameStart) {
        const size_t end = Text.find(VariableNameEnd, afterMarker + 1);
        if (end == std::string::npos) {
          name = Text.substr(afterMarker + 1);
          length = Text.size() - at;
        } else {
          name = Text.substr(afterMarker + 1, end - afterMarker - 1);
          length = end + 1 - at;
        }
      } else {
        length = VariablePlaceholder.size() + 1;  // the marker and the character after it
      }
      Text.replace(at, length, VariableValue(name));
    }
    if (!found) return;
  }
}

TStrings* TBaseReport::MacroStrings() const {
  return FMacroStrings.get();
}

void TBaseReport::SetMacroStrings(TStrings* List) {
  if (List == FMacroStrings.get()) return;
  if (List == nullptr) {
    FMacroStrings->Clear();
    return;
  }
  FMacroStrings->Assign(List);
}

// ===== Report variables (engines that record or replay them override these) =====

std::string TBaseReport::VariableCode(const std::string& /*Name*/) {
  return std::string();
}

void TBaseReport::SetVariable(const std::string& /*Name*/, const std::string& /*Value*/) {}

std::string TBaseReport::VariableValue(const std::string& Name) {
  return Name;
}

// ===== Device names =====

std::string TBaseReport::DeviceName() {
  if (OutputKind() == 1) return Trans("Preview");
  if (NoPrinters()) return Trans("Render");
  return Device()->DeviceName();
}

std::string TBaseReport::DriverName() {
  if (OutputKind() == 1) return Trans("Preview");
  if (NoPrinters()) return Trans("Render");
  return Device()->DriverName();
}

std::string TBaseReport::PortName() {
  if (OutputKind() == 1) return Trans("Screen");
  if (NoPrinters()) return Trans("Render");
  return Device()->PortName();
}

// ===== Status line =====

void TBaseReport::SetStatusLabel(TVXStatusLabel* Value) {
  if (Value == FStatusLabel) return;
  if (FStatusLabel != nullptr) FStatusLabel->RemoveFreeNotification(this);
  FStatusLabel = Value;
  if (FStatusLabel != nullptr) FStatusLabel->FreeNotification(this);
}

void TBaseReport::Notification(TComponent* AComponent, TOperation Operation) {
  TVXBaseComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FStatusLabel) FStatusLabel = nullptr;
}

TStrings* TBaseReport::StatusText() const {
  return FStatusText.get();
}

void TBaseReport::SetStatusText(TStrings* Value) {
  if (Value == FStatusText.get()) return;
  if (Value == nullptr) {
    FStatusText->Clear();
    return;
  }
  FStatusText->Assign(Value);
}

std::string TBaseReport::StatusCode(char Code) {
  if (Code >= '0' && Code <= '9') {
    const int line = Code - '0';
    return line < FStatusText->Count() ? FStatusText->Strings(line) : std::string();
  }
  switch (Code) {
    case '%':
      return "%";
    case 'C':
      return IntToStr(FCurrentCopy);
    case 'D':
      return DeviceName();
    case 'F':
      return IntToStr(FFirstPage);
    case 'L':
      return IntToStr(FLastPage);
    case 'N':
      return "\r";
    case 'P':
      return IntToStr(FCurrentPage);
    case 'R':
      return DriverName();
    case 'S':
      return IntToStr(FTotalCopies);
    case 'T':
      return PortName();
    default:
      return "<ERROR-%" + std::string(1, Code) + ">";
  }
}

std::string TBaseReport::FormatStatus(const std::string& Format) {
  std::string text = Format;
  size_t i = text.find('%');
  while (i != std::string::npos && i + 1 < text.size()) {
    if (text[i] != '%') {
      ++i;
      continue;
    }
    char code = text[i + 1];
    if (code >= 'a' && code <= 'z') code = static_cast<char>(code - 'a' + 'A');
    const std::string value = StatusCode(code);
    text.replace(i, 2, value);
    i += value.size();  // the inserted text is never read as codes
  }
  return text;
}

void TBaseReport::UpdateStatus() {
  if (FStatusLabel == nullptr) return;
  FStatusLabel->SetCaption(FormatStatus(FStatusFormat));
  // Lets the label repaint and a cancel button be pressed during long jobs.
  Application->ProcessMessages();
}
