#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "platform/Font.h"
#include "platform/Forms.h"
#include "platform/QtBridge.h"
#include "platform/WidgetDialogService.h"

namespace fs = std::filesystem;

namespace {

// Runs Act on the next modal dialog as soon as it is shown. Dialogs block in their own event
// loop, so the test acts from a timer inside that loop. A dialog that Act leaves open is
// rejected after a while, so a failing test ends instead of hanging.
void WhenModalShown(std::function<void(QWidget*)> Act) {
  auto* timer = new QTimer(qApp);
  auto tries = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, Act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
      if (++*tries > 1000) {
        timer->stop();
        ADD_FAILURE() << "no dialog was shown";
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    QPointer<QWidget> shown(modal);
    Act(modal);
    QTimer::singleShot(5000, modal, [shown] {
      if (!shown || !shown->isVisible()) return;
      ADD_FAILURE() << "the dialog was left open";
      if (auto* dialog = qobject_cast<QDialog*>(shown.data())) dialog->reject();
    });
  });
  timer->start();
}

template <typename T>
T* As(QWidget* Widget) {
  T* typed = qobject_cast<T*>(Widget);
  EXPECT_NE(typed, nullptr) << "unexpected dialog " << Widget->metaObject()->className();
  return typed;
}

QAbstractButton* FindButton(QMessageBox* Box, TMsgDlgBtn Button) {
  static const std::pair<TMsgDlgBtn, QMessageBox::StandardButton> standard[] = {
      {mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},           {mbOK, QMessageBox::Ok},
      {mbCancel, QMessageBox::Cancel}, {mbAbort, QMessageBox::Abort},     {mbRetry, QMessageBox::Retry},
      {mbIgnore, QMessageBox::Ignore}, {mbNoToAll, QMessageBox::NoToAll}, {mbYesToAll, QMessageBox::YesToAll},
      {mbHelp, QMessageBox::Help},     {mbClose, QMessageBox::Close}};
  for (QAbstractButton* b : Box->buttons()) {
    if (Button == mbAll && b->text() == "&All") return b;
    for (auto [ours, theirs] : standard) {
      if (ours == Button && Box->standardButton(b) == theirs) return b;
    }
  }
  return nullptr;
}

// QFileDialog hides accept(); through QDialog it runs the file dialog's own checks.
void Accept(QFileDialog* Dialog) {
  static_cast<QDialog*>(Dialog)->accept();
}

}  // namespace

class WidgetDialogServiceTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ASSERT_TRUE(InstallWidgetDialogService());
  }
  void SetUp() override {
    ASSERT_NE(dynamic_cast<TWidgetDialogService*>(DialogService()), nullptr);
    FDir = fs::temp_directory_path() / ("pagepress_widgets_" + std::to_string(getpid()));
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }
  fs::path FDir;
};

// --- Message boxes ---

struct ClickCase {
  const char* Name;
  TMsgDlgButtons Buttons;
  TMsgDlgBtn Click;
  TModalResult Expected;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
  *os << c.Name;
}

class MessageDlgClickTest : public WidgetDialogServiceTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(MessageDlgClickTest, ReturnsTheResultOfTheClickedButton) {
  const ClickCase& c = GetParam();
  int shownButtons = -1;
  WhenModalShown([&](QWidget* w) {
    QMessageBox* box = As<QMessageBox>(w);
    if (!box) return;
    shownButtons = static_cast<int>(box->buttons().size());
    QAbstractButton* button = FindButton(box, c.Click);
    ASSERT_NE(button, nullptr);
    button->click();
  });
  EXPECT_EQ(MessageDlg("Continue?", mtConfirmation, c.Buttons), c.Expected);
  int expectedButtons = 0;
  for (int b = mbYes; b <= mbClose; ++b) expectedButtons += c.Buttons.Contains(static_cast<TMsgDlgBtn>(b));
  EXPECT_EQ(shownButtons, expectedButtons);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageDlgClickTest,
                         testing::Values(ClickCase{"No", mbYesNoCancel, mbNo, mrNo},
                                         ClickCase{"Cancel", mbOKCancel, mbCancel, mrCancel},
                                         ClickCase{"Retry", mbAbortRetryIgnore, mbRetry, mrRetry},
                                         ClickCase{"All", TMsgDlgButtons{mbAll, mbCancel}, mbAll, mrAll},
                                         ClickCase{"YesToAll", mbYesAllNoAllCancel, mbYesToAll, mrYesToAll},
                                         ClickCase{"Close", TMsgDlgButtons{mbClose}, mbClose, mrClose}),
                         [](const testing::TestParamInfo<ClickCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST_F(WidgetDialogServiceTest, MessageBoxShowsTitleTextIconAndDefaultButton) {
  Application->SetTitle("Vellum Demo");
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool yesIsDefault = false;
  WhenModalShown([&](QWidget* w) {
    QMessageBox* box = As<QMessageBox>(w);
    if (!box) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    yesIsDefault = box->defaultButton() == FindButton(box, mbYes);
    box->defaultButton()->click();
  });
  EXPECT_EQ(MessageDlg("Replace \x93old.vsn\x94?\r\nIt exists.", mtWarning, mbYesNoCancel), mrYes);
  EXPECT_EQ(title, "Vellum Demo");
  EXPECT_EQ(text, QString::fromUtf8("Replace \u201Cold.vsn\u201D?\nIt exists."));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_TRUE(yesIsDefault);
}

TEST_F(WidgetDialogServiceTest, ClosingTheBoxPressesCancelOrNoOrOk) {
  const std::pair<TMsgDlgButtons, TModalResult> cases[] = {
      {mbYesNoCancel, mrCancel}, {mbYesNo, mrNo}, {TMsgDlgButtons{mbOK}, mrOk}};
  for (auto [buttons, expected] : cases) {
    WhenModalShown([](QWidget* w) { w->close(); });
    EXPECT_EQ(MessageDlg("Close me", mtInformation, buttons), expected) << buttons.Bits();
  }
}

TEST_F(WidgetDialogServiceTest, ShowErrorIsACriticalBoxWithOneOkButton) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  WhenModalShown([&](QWidget* w) {
    QMessageBox* box = As<QMessageBox>(w);
    if (!box) return;
    icon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    ASSERT_NE(FindButton(box, mbOK), nullptr);
    FindButton(box, mbOK)->click();
  });
  ShowError("File could not be created!");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
}

// --- Input, colour and font ---

TEST_F(WidgetDialogServiceTest, InputQueryAnswersInWindows1252) {
  QString label, preset;
  WhenModalShown([&](QWidget* w) {
    QInputDialog* dialog = As<QInputDialog>(w);
    if (!dialog) return;
    label = dialog->labelText();
    preset = dialog->textValue();
    dialog->setTextValue(QString::fromUtf8("Caf\u00E9 \u20AC"));
    dialog->accept();
  });
  std::string value = "M\xFCller";
  EXPECT_TRUE(InputQuery("Send Mail", "Recipient:", value));
  EXPECT_EQ(value, "Caf\xE9 \x80");
  EXPECT_EQ(label, "Recipient:");
  EXPECT_EQ(preset, QString::fromUtf8("M\u00FCller"));

  WhenModalShown([](QWidget* w) { As<QDialog>(w)->reject(); });
  EXPECT_FALSE(InputQuery("Send Mail", "Recipient:", value));
  EXPECT_EQ(value, "Caf\xE9 \x80");
}

TEST_F(WidgetDialogServiceTest, ColorDialogStartsAtTheColourAndReturnsTheChosenOne) {
  QColor preset;
  WhenModalShown([&](QWidget* w) {
    QColorDialog* dialog = As<QColorDialog>(w);
    if (!dialog) return;
    preset = dialog->currentColor();
    dialog->setCurrentColor(QColor(10, 20, 30));
    dialog->accept();
  });
  TColor color = clRed;
  ASSERT_TRUE(DialogService()->ColorDialog(color));
  EXPECT_EQ(preset, QColor(255, 0, 0));
  EXPECT_EQ(color, RGB(10, 20, 30));
}

TEST_F(WidgetDialogServiceTest, FontDialogMapsNameSizeAndStyleAndKeepsTheColour) {
  if (!QFontDatabase::hasFamily("Liberation Serif")) GTEST_SKIP() << "Liberation Serif is not installed";
  QFont preset;
  WhenModalShown([&](QWidget* w) {
    QFontDialog* dialog = As<QFontDialog>(w);
    if (!dialog) return;
    preset = dialog->currentFont();
    QFont chosen("Liberation Serif");
    chosen.setPointSize(14);
    chosen.setBold(true);
    chosen.setUnderline(true);
    dialog->setCurrentFont(chosen);
    dialog->accept();
  });
  TFont font;
  font.SetName("Liberation Sans");
  font.SetSize(10);
  font.SetStyle(TFontStyles{fsItalic});
  font.SetColor(clBlue);
  ASSERT_TRUE(DialogService()->FontDialog(&font));
  EXPECT_EQ(preset.family(), "Liberation Sans");
  EXPECT_EQ(preset.pointSize(), 10);
  EXPECT_TRUE(preset.italic());
  EXPECT_EQ(font.Name(), "Liberation Serif");
  EXPECT_EQ(font.Size(), 14);
  EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(font.Color(), clBlue);
}

// --- File and folder dialogs ---

TEST_F(WidgetDialogServiceTest, SaveDialogOffersTheFiltersAndAddsTheDefaultExtension) {
  QStringList filters;
  QString selectedFilter;
  WhenModalShown([&](QWidget* w) {
    QFileDialog* dialog = As<QFileDialog>(w);
    if (!dialog) return;
    filters = dialog->nameFilters();
    selectedFilter = dialog->selectedNameFilter();
    dialog->selectNameFilter(filters.value(2));
    dialog->selectFile(QString::fromStdString((FDir / "report").string()));
    Accept(dialog);
  });
  TFileDialogOptions options;
  options.Title = "Save File";
  options.Filter = "Vellum Snapshot Files (*.vsn)|*.vsn|Text (*.txt;*.prn)|*.txt;*.prn|All Files|*.*";
  options.FilterIndex = 2;
  options.DefaultExt = ".vsn";
  options.InitialDir = FDir.string();
  options.Options.Include(ofOverwritePrompt);
  ASSERT_TRUE(DialogService()->SaveFileDialog(options));
  EXPECT_EQ(filters, (QStringList{"Vellum Snapshot Files (*.vsn)", "Text (*.txt *.prn)", "All Files (*.*)"}));
  EXPECT_EQ(selectedFilter, "Text (*.txt *.prn)");
  EXPECT_EQ(options.FilterIndex, 3);
  EXPECT_EQ(options.FileName, (FDir / "report.vsn").string());
}

TEST_F(WidgetDialogServiceTest, OpenDialogReturnsTheChosenExistingFile) {
  const fs::path existing = FDir / "sample.vsn";
  std::ofstream(existing) << "x";
  QString title;
  WhenModalShown([&](QWidget* w) {
    QFileDialog* dialog = As<QFileDialog>(w);
    if (!dialog) return;
    title = dialog->windowTitle();
    dialog->selectFile(QString::fromStdString(existing.string()));
    Accept(dialog);
  });
  TFileDialogOptions options;
  options.Title = "Open File";
  options.Filter = "Vellum Snapshot Files (*.vsn)|*.vsn|All Files|*.*";
  options.Options.Include(ofFileMustExist);
  ASSERT_TRUE(DialogService()->OpenFileDialog(options));
  EXPECT_EQ(title, "Open File");
  EXPECT_EQ(options.FileName, existing.string());
  EXPECT_EQ(options.Files, std::vector<std::string>{existing.string()});
  EXPECT_EQ(options.FilterIndex, 1);

  WhenModalShown([](QWidget* w) { As<QDialog>(w)->reject(); });
  TFileDialogOptions cancelled;
  cancelled.FileName = "unchanged.vsn";
  EXPECT_FALSE(DialogService()->OpenFileDialog(cancelled));
  EXPECT_EQ(cancelled.FileName, "unchanged.vsn");
}

TEST_F(WidgetDialogServiceTest, PictureDialogOffersThePictureFormats) {
  const fs::path picture = FDir / "logo.bmp";
  std::ofstream(picture) << "BM";
  QStringList filters;
  WhenModalShown([&](QWidget* w) {
    QFileDialog* dialog = As<QFileDialog>(w);
    if (!dialog) return;
    filters = dialog->nameFilters();
    dialog->selectFile(QString::fromStdString(picture.string()));
    Accept(dialog);
  });
  std::string fileName;
  ASSERT_TRUE(DialogService()->PictureDialog(fileName));
  EXPECT_EQ(fileName, picture.string());
  ASSERT_EQ(filters.size(), 7);
  EXPECT_EQ(filters.front(), "All (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf)");
}

TEST_F(WidgetDialogServiceTest, SelectDirectoryReturnsTheChosenFolder) {
  const fs::path folder = FDir / "images";
  fs::create_directories(folder);
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  WhenModalShown([&](QWidget* w) {
    QFileDialog* dialog = As<QFileDialog>(w);
    if (!dialog) return;
    mode = dialog->fileMode();
    dialog->selectFile(QString::fromStdString(folder.string()));
    Accept(dialog);
  });
  std::string directory = FDir.string();
  ASSERT_TRUE(SelectDirectory("Image Folder", "", directory));
  EXPECT_EQ(mode, QFileDialog::Directory);
  EXPECT_EQ(directory, folder.string());
}

// --- Cursor ---

TEST_F(WidgetDialogServiceTest, ScreenCursorBecomesTheApplicationsOverrideCursor) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  Screen->PushCursor(crHourGlass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->PushCursor(crHandPoint);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
  Screen->PopCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->PopCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// --- Installation ---

TEST(InstallWidgetDialogServiceTest, RefusesWhenAPlainGuiApplicationCameFirst) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A fresh process, since this one already has its widget application.
  EXPECT_EXIT(
      {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        EnsureGuiApplication();
        bool installed = InstallWidgetDialogService();
        bool unchanged = DialogService() == DefaultDialogService();
        std::_Exit(!installed && unchanged ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}
