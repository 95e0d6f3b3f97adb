// The progress window a render shows while it generates: it counts the pages, its Cancel
// button stops the render, and it is gone when the render ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <string>
#include <vector>

#include "platform/FileUtils.h"
#include "platform/QtBridge.h"
#include "platform/WidgetDialogService.h"
#include "render/LxRenderProgressDlg.h"
#include "render/RenderTestSupport.h"
#include "writers/LxRender_Text.h"

namespace {

// The visible progress window, or nullptr.
QDialog* ProgressWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && dialog->isVisible() && dialog->windowTitle() == QStringLiteral("Generating Page..."))
      return dialog;
  }
  return nullptr;
}

std::string LabelOf(QDialog* Window) {
  const auto labels = Window->findChildren<QLabel*>();
  return labels.isEmpty() ? std::string() : QStringToAnsi(labels.first()->text());
}

class RenderProgressWindowTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ASSERT_TRUE(InstallWidgetDialogService());
    ASSERT_TRUE(InstallRenderProgressWindow());
  }
  void SetUp() override {
    RecordPages(FStream, 3);
    FRender.SetShowSetupDialog(false);
    FRender.SetShowProgress(true);
  }

  TMemoryStream FStream;
  TLxRenderText FRender;
  TTempFolder FFolder;
};

TEST_F(RenderProgressWindowTest, CountsThePagesAndClosesAtTheEnd) {
  std::vector<std::string> labels;
  FRender.OnPageBegin = [&](TVXRender*) {
    QDialog* window = ProgressWindow();
    labels.push_back(window ? LabelOf(window) : "(no window)");
  };
  FRender.PrintRender(&FStream, FFolder.Path() + "/report.txt");

  ASSERT_EQ(labels.size(), 3u);
  for (const std::string& label : labels) EXPECT_NE(label.find(" of 3"), std::string::npos) << label;
  EXPECT_EQ(ProgressWindow(), nullptr);
  EXPECT_TRUE(FileExists(FFolder.Path() + "/report.txt"));
}

TEST_F(RenderProgressWindowTest, CancelButtonStopsTheRenderAndRemovesItsFile) {
  FRender.OnPageBegin = [&](TVXRender*) {
    QDialog* window = ProgressWindow();
    ASSERT_NE(window, nullptr);
    const auto buttons = window->findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    buttons.first()->click();
  };
  FRender.PrintRender(&FStream, FFolder.Path() + "/report.txt");

  EXPECT_TRUE(FRender.Cancelled());
  EXPECT_FALSE(FileExists(FFolder.Path() + "/report.txt"));
  EXPECT_EQ(ProgressWindow(), nullptr);
}

}  // namespace
