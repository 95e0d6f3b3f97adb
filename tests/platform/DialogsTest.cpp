#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Font.h"
#include "platform/ScriptedDialogService.h"

namespace fs = std::filesystem;

// --- Filters ---

struct FilterCase {
  const char* Name;
  const char* Filter;
  std::vector<TDialogFilterEntry> Expected;
};

// Test names carry the case's name; the filter itself holds characters that test lists split on.
void PrintTo(const FilterCase& c, std::ostream* os) {
  *os << c.Name;
}

class ParseDialogFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(ParseDialogFilterTest, SplitsPairsAndPatterns) {
  std::vector<TDialogFilterEntry> entries = ParseDialogFilter(GetParam().Filter);
  const std::vector<TDialogFilterEntry>& expected = GetParam().Expected;
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].Description, expected[i].Description) << "entry " << i;
    EXPECT_EQ(entries[i].Patterns, expected[i].Patterns) << "entry " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ParseDialogFilterTest,
    testing::Values(FilterCase{"TwoPairs",
                               "Vellum Snapshot Files (*.vsn)|*.vsn|Text (*.txt;*.prn)|*.txt;*.prn",
                               {{"Vellum Snapshot Files (*.vsn)", {"*.vsn"}},
                                {"Text (*.txt;*.prn)", {"*.txt", "*.prn"}}}},
                    // An odd number of parts: the description without patterns is dropped.
                    FilterCase{"OddCount",
                               "Vellum Snapshot Files (*.vsn)|*.vsn|All Files",
                               {{"Vellum Snapshot Files (*.vsn)", {"*.vsn"}}}},
                    FilterCase{"DescriptionOnly", "Only a description", {}}, FilterCase{"Empty", "", {}},
                    // Blanks around patterns and empty patterns are not patterns.
                    FilterCase{"BlankPatterns", "Mixed| *.a ; ;*.b;", {{"Mixed", {"*.a", "*.b"}}}},
                    FilterCase{"NoParentheses",
                               "All Files|*.*|Cascade Style Sheets (*.css)|.css",
                               {{"All Files", {"*.*"}}, {"Cascade Style Sheets (*.css)", {".css"}}}}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.Name); });

TEST(DialogFilterNameTest, ShowsTheRealPatternsInParentheses) {
  struct Case {
    TDialogFilterEntry Entry;
    std::string Expected;
  };
  const Case cases[] = {
      {{"Vellum Snapshot Files (*.vsn)", {"*.vsn"}}, "Vellum Snapshot Files (*.vsn)"},
      {{"Text (*.txt;*.prn)", {"*.txt", "*.prn"}}, "Text (*.txt *.prn)"},
      {{"All Files", {"*.*"}}, "All Files (*.*)"},
      // A description that lists other patterns than the pair gives shows the real ones.
      {{"Pictures (*.bmp)", {"*.jpg", "*.bmp"}}, "Pictures (*.jpg *.bmp)"},
      {{"", {"*.a"}}, "(*.a)"},
  };
  for (const Case& c : cases) EXPECT_EQ(DialogFilterName(c.Entry), c.Expected) << c.Entry.Description;
}

TEST(DialogFilterNameTest, PictureFilterListsEveryPictureFormat) {
  std::vector<TDialogFilterEntry> entries = ParseDialogFilter(PictureDialogFilter);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front().Patterns,
            (std::vector<std::string>{"*.jpg", "*.jpeg", "*.bmp", "*.ico", "*.emf", "*.wmf"}));
  EXPECT_EQ(entries.size(), 7u);
}

// --- Buttons and modal results ---

TEST(MessageDlgButtonsTest, EachButtonGivesItsModalResult) {
  const std::pair<TMsgDlgBtn, TModalResult> cases[] = {
      {mbYes, mrYes},           {mbNo, mrNo},       {mbOK, mrOk},
      {mbCancel, mrCancel},     {mbAbort, mrAbort}, {mbRetry, mrRetry},
      {mbIgnore, mrIgnore},     {mbAll, mrAll},     {mbNoToAll, mrNoToAll},
      {mbYesToAll, mrYesToAll}, {mbHelp, mrNone},   {mbClose, mrClose},
  };
  for (auto [button, result] : cases) EXPECT_EQ(ModalResultOfButton(button), result) << "button " << button;
}

TEST(MessageDlgButtonsTest, DefaultButtonIsOkThenYesThenTheFirst) {
  const std::pair<TMsgDlgButtons, TModalResult> cases[] = {
      {mbOKCancel, mrOk},
      {mbYesNoCancel, mrYes},
      {TMsgDlgButtons{mbYes, mbOK}, mrOk},
      {mbAbortRetryIgnore, mrAbort},
      {TMsgDlgButtons{mbCancel, mbNo}, mrNo},
      {TMsgDlgButtons{mbRetry, mbCancel}, mrCancel},
      {TMsgDlgButtons{mbYesToAll, mbNoToAll}, mrNoToAll},
      {TMsgDlgButtons{}, mrNone},
  };
  for (auto [buttons, result] : cases) {
    EXPECT_EQ(DefaultModalResult(buttons), result) << "buttons " << buttons.Bits();
  }
  TMsgDlgBtn button = mbHelp;
  EXPECT_FALSE(DefaultMsgDlgButton(TMsgDlgButtons{}, button));
}

// --- The headless default service ---

TEST(DefaultDialogServiceTest, MessagesGoToStandardErrorAsUtf8) {
  TDialogService* service = DefaultDialogService();
  testing::internal::CaptureStderr();
  service->ShowMessage("Caf\xE9 ready");
  service->ShowError("File could not be created!\r\n\r\nPossible cause: in use");
  TModalResult result = service->MessageDlg("Overwrite \x93report\x94?", mtWarning, mbYesNoCancel, 0);
  std::string output = testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, mrYes);
  EXPECT_EQ(output,
            "Caf\xC3\xA9 ready\n"
            "Error: File could not be created!\n\nPossible cause: in use\n"
            "Warning: Overwrite \xE2\x80\x9Creport\xE2\x80\x9D?\n");
}

TEST(DefaultDialogServiceTest, EveryQuestionGetsTheDefaultAnswerWithoutChangingValues) {
  TDialogService* service = DefaultDialogService();
  testing::internal::CaptureStderr();
  EXPECT_EQ(service->MessageDlg("Print?", mtConfirmation, mbOKCancel, 0), mrOk);
  EXPECT_EQ(service->MessageDlg("Retry?", mtError, mbAbortRetryIgnore, 0), mrAbort);
  testing::internal::GetCapturedStderr();

  std::string value = "preset";
  EXPECT_FALSE(service->InputQuery("Caption", "Prompt", value));
  EXPECT_EQ(value, "preset");
  TFileDialogOptions options;
  options.FileName = "/tmp/report.vsn";
  EXPECT_FALSE(service->OpenFileDialog(options));
  EXPECT_FALSE(service->SaveFileDialog(options));
  EXPECT_EQ(options.FileName, "/tmp/report.vsn");
  TColor color = clRed;
  EXPECT_FALSE(service->ColorDialog(color));
  EXPECT_EQ(color, clRed);
  TFont font;
  font.SetName("Arial");
  EXPECT_FALSE(service->FontDialog(&font));
  EXPECT_EQ(font.Name(), "Arial");
  std::string picture = "logo.bmp";
  EXPECT_FALSE(service->PictureDialog(picture));
  EXPECT_EQ(picture, "logo.bmp");
  std::string folder = "/tmp";
  EXPECT_FALSE(service->SelectDirectory("Image Folder", "", folder));
  EXPECT_EQ(folder, "/tmp");
}

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
public:
  void Set(const char* Name, const std::string& Value) {
    Remember(Name);
    setenv(Name, Value.c_str(), 1);
  }
  void Unset(const char* Name) {
    Remember(Name);
    unsetenv(Name);
  }
  ~ScopedEnv() {
    for (auto& [name, value] : FSaved) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }

private:
  void Remember(const char* Name) {
    const char* old = std::getenv(Name);
    FSaved.emplace_back(Name, old ? std::optional<std::string>(old) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

class ShellOpenTest : public testing::Test {
protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("pagepress_shellopen_" + std::to_string(getpid()));
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }

  // A stand-in for xdg-open that writes the argument it was given into a file.
  void InstallFakeXdgOpen() {
    fs::path script = FDir / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << (FDir / "opened.part").string()
                          << "\"\nmv \"" << (FDir / "opened.part").string() << "\" \""
                          << (FDir / "opened").string() << "\"\n";
    fs::permissions(script, fs::perms::owner_all);
  }

  // The argument the fake program received, once it has run (empty if it never does).
  std::string WaitForOpened() {
    for (int i = 0; i < 500 && !fs::exists(FDir / "opened"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(FDir / "opened");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path FDir;
  ScopedEnv FEnv;
};

TEST_F(ShellOpenTest, NothingIsOpenedWithoutADisplay) {
  InstallFakeXdgOpen();
  FEnv.Set("PATH", FDir.string());
  FEnv.Unset("DISPLAY");
  FEnv.Unset("WAYLAND_DISPLAY");
  EXPECT_FALSE(DefaultDialogService()->ShellOpen("/tmp/report.pdf"));
  EXPECT_FALSE(fs::exists(FDir / "opened"));
}

TEST_F(ShellOpenTest, NothingIsOpenedWithoutXdgOpen) {
  FEnv.Set("PATH", FDir.string());
  FEnv.Set("DISPLAY", ":99");
  EXPECT_FALSE(DefaultDialogService()->ShellOpen("/tmp/report.pdf"));
}

TEST_F(ShellOpenTest, HandsTheDocumentToXdgOpenWithoutWaiting) {
  InstallFakeXdgOpen();
  FEnv.Set("PATH", FDir.string() + ":/usr/bin:/bin");
  FEnv.Set("DISPLAY", ":99");
  const std::string document = (FDir / "r\xC3\xA9port 1.pdf").string();
  EXPECT_TRUE(ShellOpen(document));
  EXPECT_EQ(WaitForOpened(), document);
}

// --- Replacing the service ---

TEST(SetDialogServiceTest, InstallsAndRestoresInNestedOrder) {
  TDialogService* original = DialogService();
  EXPECT_EQ(original, DefaultDialogService());
  {
    TScriptedDialogService outer;
    EXPECT_EQ(DialogService(), &outer);
    {
      TScriptedDialogService inner;
      EXPECT_EQ(DialogService(), &inner);
      ShowMessage("to the inner one");
      EXPECT_EQ(inner.Count(dkShowMessage), 1);
      EXPECT_EQ(outer.Count(dkShowMessage), 0);
    }
    EXPECT_EQ(DialogService(), &outer);
  }
  EXPECT_EQ(DialogService(), DefaultDialogService());
}

TEST(SetDialogServiceTest, ReturnsThePreviousAndNullRestoresTheDefault) {
  TScriptedDialogService scripted;
  TScriptedDialogService other;  // now current
  EXPECT_EQ(SetDialogService(&scripted), &other);
  EXPECT_EQ(SetDialogService(nullptr), &scripted);
  EXPECT_EQ(DialogService(), DefaultDialogService());
  EXPECT_EQ(SetDialogService(&other), DefaultDialogService());
  // `other` restores the default when it goes, `scripted` then restores what it found.
}

// --- The scripted service ---

TEST(ScriptedDialogServiceTest, RecordsMessagesWithTheirTypeAndButtons) {
  TScriptedDialogService dialogs;
  ShowMessage("Hello");
  ShowError("Pages should contain page numbers");
  MessageDlg("Overwrite?", mtConfirmation, mbYesNo, 7);

  ASSERT_EQ(dialogs.Calls().size(), 3u);
  EXPECT_EQ(dialogs.Calls()[0].Kind, dkShowMessage);
  EXPECT_EQ(dialogs.Calls()[0].Text, "Hello");
  EXPECT_EQ(dialogs.Calls()[1].Kind, dkShowError);
  EXPECT_EQ(dialogs.Calls()[1].Text, "Pages should contain page numbers");
  EXPECT_EQ(dialogs.Calls()[1].DlgType, mtError);
  const TDialogCall& question = dialogs.Last();
  EXPECT_EQ(question.Kind, dkMessageDlg);
  EXPECT_EQ(question.Text, "Overwrite?");
  EXPECT_EQ(question.DlgType, mtConfirmation);
  EXPECT_EQ(question.Buttons, mbYesNo);
  EXPECT_EQ(question.HelpCtx, 7);
  EXPECT_EQ(dialogs.Count(dkShowError), 1);
  dialogs.ClearCalls();
  EXPECT_TRUE(dialogs.Calls().empty());
  EXPECT_THROW(dialogs.Last(), EListError);
}

TEST(ScriptedDialogServiceTest, MessageDlgAnswersFromTheQueueThenWithTheDefaultButton) {
  TScriptedDialogService dialogs;
  dialogs.QueueModalResult(mrNo);
  dialogs.QueueModalResult(mrCancel);
  EXPECT_EQ(MessageDlg("1", mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(MessageDlg("2", mtConfirmation, mbYesNoCancel), mrCancel);
  EXPECT_EQ(MessageDlg("3", mtConfirmation, mbYesNoCancel), mrYes);
  EXPECT_EQ(MessageDlg("4", mtWarning, mbOKCancel), mrOk);
  EXPECT_EQ(dialogs.Last().Result, mrOk);
  EXPECT_EQ(dialogs.Last(dkMessageDlg).Text, "4");
  EXPECT_EQ(dialogs.PendingAnswers(), 0);
}

TEST(ScriptedDialogServiceTest, FileDialogsAnswerQueuedNamesAndRecordTheirOptions) {
  TScriptedDialogService dialogs;
  dialogs.QueueFileName("/tmp/out.pdf", 3);
  TFileDialogOptions options;
  options.Title = "Save File";
  options.Filter = "Vellum Snapshot Files (*.vsn)|*.vsn|Text|*.txt|PDF|*.pdf";
  options.DefaultExt = "vsn";
  options.Options.Include(ofOverwritePrompt);
  ASSERT_TRUE(DialogService()->SaveFileDialog(options));
  EXPECT_EQ(options.FileName, "/tmp/out.pdf");
  EXPECT_EQ(options.Files, std::vector<std::string>{"/tmp/out.pdf"});
  EXPECT_EQ(options.FilterIndex, 3);
  const TDialogCall& call = dialogs.Last();
  EXPECT_EQ(call.Kind, dkSaveFile);
  EXPECT_EQ(call.Caption, "Save File");
  EXPECT_EQ(call.Filter, options.Filter);
  EXPECT_TRUE(call.FileDialog.Options.Contains(ofOverwritePrompt));
  EXPECT_EQ(call.FileDialog.DefaultExt, "vsn");
  EXPECT_TRUE(call.Accepted);

  // An empty queue cancels and leaves the options alone.
  TFileDialogOptions open;
  open.FileName = "keep.vsn";
  EXPECT_FALSE(DialogService()->OpenFileDialog(open));
  EXPECT_EQ(open.FileName, "keep.vsn");
  EXPECT_EQ(dialogs.Last().Kind, dkOpenFile);
  EXPECT_FALSE(dialogs.Last().Accepted);
}

TEST(ScriptedDialogServiceTest, QueuedBooleansCancelOrConfirmThePreset) {
  TScriptedDialogService dialogs;
  dialogs.QueueBool(false);
  dialogs.QueueDirectory("/srv/images");
  std::string folder = "/tmp";
  // The Boolean cancels the first browser without spending the queued folder ...
  EXPECT_FALSE(SelectDirectory("Image Folder", "/", folder));
  EXPECT_EQ(folder, "/tmp");
  // ... which the second one gets.
  EXPECT_TRUE(SelectDirectory("Image Folder", "/", folder));
  EXPECT_EQ(folder, "/srv/images");
  EXPECT_EQ(dialogs.Last().Root, "/");
  EXPECT_EQ(dialogs.Last().Value, "/tmp");

  // True confirms the colour dialog with the colour it was opened with.
  dialogs.QueueBool(true);
  TColor color = clTeal;
  EXPECT_TRUE(DialogService()->ColorDialog(color));
  EXPECT_EQ(color, clTeal);
  dialogs.QueueColor(clFuchsia);
  EXPECT_TRUE(DialogService()->ColorDialog(color));
  EXPECT_EQ(color, clFuchsia);
  EXPECT_EQ(dialogs.Last().Color, clTeal);
  EXPECT_EQ(dialogs.PendingAnswers(), 0);
}

TEST(ScriptedDialogServiceTest, InputQueryAndInputBox) {
  TScriptedDialogService dialogs;
  dialogs.QueueInput("Smith");
  std::string name = "nobody";
  EXPECT_TRUE(InputQuery("Send Mail", "Recipient:", name));
  EXPECT_EQ(name, "Smith");
  EXPECT_EQ(dialogs.Last().Caption, "Send Mail");
  EXPECT_EQ(dialogs.Last().Text, "Recipient:");
  EXPECT_EQ(dialogs.Last().Value, "nobody");
  EXPECT_EQ(InputBox("Send Mail", "Subject:", "Report"), "Report");
  dialogs.QueueInput("Monthly");
  EXPECT_EQ(InputBox("Send Mail", "Subject:", "Report"), "Monthly");
}

TEST(ScriptedDialogServiceTest, FontDialogAppliesTheQueuedFont) {
  TScriptedDialogService dialogs;
  TFont font;
  font.SetName("Arial");
  font.SetSize(10);
  font.SetColor(clBlue);
  dialogs.QueueFont("Times New Roman", 14, TFontStyles{fsBold, fsItalic}, clMaroon);
  ASSERT_TRUE(DialogService()->FontDialog(&font));
  EXPECT_EQ(font.Name(), "Times New Roman");
  EXPECT_EQ(font.Size(), 14);
  EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(font.Color(), clMaroon);
  EXPECT_EQ(dialogs.Last().Value, "Arial");
  EXPECT_EQ(dialogs.Last().Color, clBlue);
  EXPECT_FALSE(DialogService()->FontDialog(&font));
  EXPECT_EQ(font.Name(), "Times New Roman");
}

TEST(ScriptedDialogServiceTest, PictureDialogRecordsTheFilterAndUsesQueuedNames) {
  TScriptedDialogService dialogs;
  dialogs.QueueFileName("/tmp/logo.jpg");
  std::string picture;
  EXPECT_TRUE(DialogService()->PictureDialog(picture));
  EXPECT_EQ(picture, "/tmp/logo.jpg");
  EXPECT_EQ(dialogs.Last().Filter, PictureDialogFilter);
  EXPECT_FALSE(DialogService()->PictureDialog(picture, "Bitmaps (*.bmp)|*.bmp"));
  EXPECT_EQ(dialogs.Last().Filter, "Bitmaps (*.bmp)|*.bmp");
}

TEST(ScriptedDialogServiceTest, ShellOpenIsRecordedAndNeverStartsAnything) {
  TScriptedDialogService dialogs;
  EXPECT_TRUE(ShellOpen("/tmp/report.pdf"));
  dialogs.SetShellOpenResult(false);
  EXPECT_FALSE(ShellOpen("http://example.invalid/"));
  ASSERT_EQ(dialogs.Count(dkShellOpen), 2);
  EXPECT_EQ(dialogs.Calls()[0].Text, "/tmp/report.pdf");
  EXPECT_EQ(dialogs.Last().Text, "http://example.invalid/");
}
