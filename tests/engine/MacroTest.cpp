// Macros, report variables, the status line and the message hook.
#include <gtest/gtest.h>

#include <memory>

#include "engine/RecordingReport.h"
#include "platform/Forms.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

namespace {

const std::string Marker = std::string(1, '\xFD') + "$VXC";

std::string MacroPlaceholder(const std::string& TwoDigits) {
  return Marker + "M" + TwoDigits;
}
std::string VariablePlaceholder(const std::string& Name) {
  return Marker + "V" + '\xFC' + Name + '\xFB';
}

class TTestLabel : public TVXStatusLabel {
public:
  using TVXStatusLabel::TVXStatusLabel;
  std::string Caption() const override { return FCaption; }
  void SetCaption(const std::string& Value) override {
    FCaption = Value;
    Captions.push_back(Value);
  }
  std::vector<std::string> Captions;

private:
  std::string FCaption;
};

// Installs a TranslateHook for one test and puts the previous one back.
class TScopedTranslateHook {
public:
  explicit TScopedTranslateHook(TTranslateHook Hook) : FSaved(TranslateHook) {
    TranslateHook = std::move(Hook);
  }
  ~TScopedTranslateHook() { TranslateHook = FSaved; }

private:
  TTranslateHook FSaved;
};

TEST(MacroTest, FileEngineDefersMacrosExceptTwelve) {
  TRecordingReport report;
  report.Kind = 2;
  std::string footer;
  report.OnPrint = [&](TObject*) {
    report.NewPage();
    report.NewPage();
    footer = "Page " + report.Macro(11) + " of " + report.Macro(10) + " now " + report.Macro(12);
  };
  report.Execute();
  EXPECT_EQ(footer, "Page " + MacroPlaceholder("11") + " of " + MacroPlaceholder("10") + " now 3");
  EXPECT_EQ(report.Macro(0), MacroPlaceholder("00"));
  // The replay knows the page and the page count: expansion fills both in.
  report.SetCurrentPage(3);
  report.SetPageCount(12);
  report.ExpandMacros(footer);
  EXPECT_EQ(footer, "Page 3 of 12 now 3");
}

TEST(MacroTest, DirectEnginePrintsValuesAtOnce) {
  TRecordingReport report;
  std::string footer;
  report.OnPrint = [&](TObject*) {
    report.NewPage();
    report.NewPage();
    footer = "Page " + report.Macro(11) + " of " + report.Macro(10);
  };
  report.Execute();
  EXPECT_EQ(footer, "Page 3 of 9999");
}

TEST(MacroTest, MacroValues) {
  TRecordingReport report;
  report.SetFirstPage(2);
  report.SetLastPage(8);
  report.SetPageCount(5);
  report.SetCurrentPage(4);
  report.SetReportDateTime(EncodeDateTime(2024, 3, 7, 15, 4, 5, 0));
  TStringList strings;
  strings.Add("first");
  strings.Add("second");
  report.SetMacroStrings(&strings);
  const std::vector<std::pair<int, std::string>> table{
      {8, "2"},       {9, "8"},       {10, "5"},      {11, "4"},     {12, "4"},
      {13, "Render"}, {14, "Render"}, {15, "Render"}, {16, "first"}, {17, "second"},
      {18, ""},       {35, ""},       {36, ""},       {-1, ""},      {7, "15:04"},
  };
  for (const auto& [code, value] : table) EXPECT_EQ(report.MacroValue(code), value) << code;
  // The date and time formats come from the platform's settings.
  EXPECT_EQ(report.MacroValue(0), FormatDateTime("ddddd", report.ReportDateTime()));
  EXPECT_EQ(report.MacroValue(2), FormatDateTime("mm/dd/yy", report.ReportDateTime()));
  EXPECT_EQ(report.MacroValue(3), FormatDateTime("dd/mm/yy", report.ReportDateTime()));
  EXPECT_EQ(report.MacroValue(6), "03:04 " + FormatSettings.TimePMString);
  report.Kind = 1;
  EXPECT_EQ(report.MacroValue(13), "Preview");
  EXPECT_EQ(report.MacroValue(14), "Preview");
  EXPECT_EQ(report.MacroValue(15), "Screen");
}

TEST(MacroTest, ExpandMacrosReplacesMacrosAndVariables) {
  TRecordingReport report;
  report.SetCurrentPage(7);
  struct TCase {
    std::string Text;
    std::string Expanded;
  };
  const std::vector<TCase> table{
      {"no placeholders", "no placeholders"},
      {"p" + MacroPlaceholder("11") + "/" + MacroPlaceholder("11"), "p7/7"},
      // Without variable support a variable is replaced by its name.
      {"[" + VariablePlaceholder("Total") + "]", "[Total]"},
      {VariablePlaceholder("A") + MacroPlaceholder("11") + VariablePlaceholder("B"), "A7B"},
      // A name without its end runs to the end of the text.
      {"x" + Marker + "V" + '\xFC' + "Open", "xOpen"},
      // Without the name start the marker and one more character go.
      {"x" + Marker + "VQrest", "xrest"},
      {"x" + MacroPlaceholder("99") + "y", "xy"},
  };
  for (const auto& c : table) {
    std::string text = c.Text;
    report.ExpandMacros(text);
    EXPECT_EQ(text, c.Expanded);
  }
}

TEST(MacroTest, ExpandedValuesAreSearchedAgainInTheNextPass) {
  TRecordingReport report;
  report.SetCurrentPage(5);
  TStringList strings;
  strings.Add("page " + MacroPlaceholder("11"));
  report.SetMacroStrings(&strings);
  std::string text = MacroPlaceholder("16");
  report.ExpandMacros(text);
  EXPECT_EQ(text, "page 5");
}

TEST(MacroTest, ExpansionThatNeverEndsIsCutOff) {
  TRecordingReport report;
  TStringList strings;
  strings.Add(MacroPlaceholder("16"));  // expands to itself
  report.SetMacroStrings(&strings);
  std::string text = MacroPlaceholder("16");
  report.ExpandMacros(text);
  EXPECT_EQ(text, MacroPlaceholder("16"));
}

TEST(StatusTest, FormatCodes) {
  TRecordingReport report;
  report.SetCurrentPage(2);
  report.SetFirstPage(1);
  report.SetLastPage(5);
  report.SetCurrentCopy(2);
  report.SetTotalCopies(3);
  report.StatusText()->Add("zero");
  report.StatusText()->Add("one");
  const std::vector<std::pair<std::string, std::string>> table{
      {"Printing page %p of %l%", "Printing page 2 of 5%"},
      {"%P/%L", "2/5"},
      {"100%%", "100%"},
      {"%0 and %1 and %2.", "zero and one and ."},
      {"copy %c of %s", "copy 2 of 3"},
      {"%f-%l", "1-5"},
      {"a%nb", "a\rb"},
      {"%d %r %t", "Render Render Render"},
      {"%x", "<ERROR-%X>"},
      {"%?", "<ERROR-%?>"},
      {"%", "%"},
      {"no codes", "no codes"},
      // Inserted text is not read again as codes.
      {"%0%1", "zeroone"},
  };
  for (const auto& [format, expected] : table) EXPECT_EQ(report.FormatStatus(format), expected) << format;
  report.StatusText()->Clear();
  report.StatusText()->Add("%p");
  EXPECT_EQ(report.FormatStatus("%0"), "%p");
}

TEST(StatusTest, UpdateStatusWritesTheLabelAtEveryPageAndProcessesMessages) {
  TRecordingReport report;
  TTestLabel label;
  report.SetStatusLabel(&label);
  int processed = 0;
  const TNotifyEvent saved = Application->OnProcessMessages;
  Application->OnProcessMessages = [&](TObject*) { ++processed; };
  report.OnPrint = [&](TObject*) { report.NewPage(); };
  report.Execute();
  Application->OnProcessMessages = saved;
  EXPECT_EQ(label.Captions, (std::vector<std::string>{"Printing page 1", "Printing page 2"}));
  EXPECT_EQ(processed, 2);
}

TEST(StatusTest, EngineForgetsADestroyedLabel) {
  TRecordingReport report;
  {
    TTestLabel label;
    report.SetStatusLabel(&label);
    EXPECT_EQ(report.StatusLabel(), &label);
  }
  EXPECT_EQ(report.StatusLabel(), nullptr);
  report.Execute();  // no label: nothing to update
}

TEST(StatusTest, LabelOutlivesTheEngine) {
  TTestLabel label;
  {
    TRecordingReport report;
    report.SetStatusLabel(&label);
  }
  label.SetCaption("still alive");
  EXPECT_EQ(label.Caption(), "still alive");
}

TEST(TranslateHookTest, EveryMessageGoesThroughTheHook) {
  TScopedTranslateHook hook(
      [](const std::string& Source, std::string& Result) { Result = UpperCase(Source); });
  TRecordingReport report;
  EXPECT_EQ(report.Title(), "PAGEPRESS REPORT");
  EXPECT_EQ(report.StatusFormat(), "PRINTING PAGE %P");
  EXPECT_EQ(report.DeviceName(), "RENDER");
  report.Kind = 1;
  EXPECT_EQ(report.PortName(), "SCREEN");
  EXPECT_EQ(report.DriverName(), "PREVIEW");
  report.Kind = 0;
  auto messageOf = [](const std::function<void()>& Call) {
    try {
      Call();
    } catch (const EPagePress& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(messageOf([&] { report.CheckPrinting(); }), "INVALID METHOD CALL.  PAGEPRESS IS NOT PRINTING.");
  EXPECT_EQ(messageOf([&] { report.TextWidth("Arial"); }), "INVALID METHOD CALL.  PAGEPRESS IS NOT PRINTING.");
  report.OnPrint = [&](TObject*) {
    EXPECT_EQ(messageOf([&] { report.CheckNotPrinting(); }),
              "INVALID METHOD CALL.  PAGEPRESS ALREADY PRINTING.");
  };
  report.Execute();
  // A device that is not printing has no canvas.
  class TIdleDevice : public TVXBaseDevice {
  public:
    TCanvas* Canvas() override { return nullptr; }
  } idle;
  report.SetDevice(&idle);
  EXPECT_EQ(messageOf([&] { report.Canvas(); }), "ERROR!  CANVAS NOT YET ACTIVE.");
  report.SetDevice(report.OwnDevice());
}

TEST(TranslateHookTest, TheHookIsAskedAtTheMomentOfUse) {
  TRecordingReport report;
  std::string language = "en";
  TScopedTranslateHook hook([&language](const std::string& Source, std::string& Result) {
    Result = language == "en" ? Source : "[" + Source + "]";
  });
  EXPECT_EQ(report.DeviceName(), "Render");
  language = "xx";
  EXPECT_EQ(report.DeviceName(), "[Render]");
}

}  // namespace
