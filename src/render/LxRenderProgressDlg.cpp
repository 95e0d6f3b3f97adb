#include "render/LxRenderProgressDlg.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/Format.h"
#include "platform/QtBridge.h"

namespace {

constexpr int ClientWidth = 345;
constexpr int ClientHeight = 102;

bool HaveWidgets() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

struct TLxRenderProgressDlg::TWindow {
  QDialog Dialog;
  QLabel* Label = nullptr;
  QProgressBar* Bar = nullptr;
  QPushButton* CancelButton = nullptr;
};

TLxRenderProgressDlg::TLxRenderProgressDlg(TLxRender* Render)
    : FRender(Render), FWindow(std::make_unique<TWindow>()) {
  QDialog& dialog = FWindow->Dialog;
  // A fixed dialog frame with a title and no system buttons.
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog.setWindowTitle(AnsiToQString(Trans("Generating Page...")));
  dialog.setFixedSize(ClientWidth, ClientHeight);
  dialog.setModal(false);

  FWindow->Label = new QLabel(AnsiToQString(Trans("Page No:")), &dialog);
  QFont bold = FWindow->Label->font();
  bold.setBold(true);
  FWindow->Label->setFont(bold);
  FWindow->Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  FWindow->Label->setGeometry(16, 10, ClientWidth - 32, 20);

  FWindow->Bar = new QProgressBar(&dialog);
  FWindow->Bar->setRange(0, 100);
  FWindow->Bar->setTextVisible(false);
  FWindow->Bar->setGeometry(16, 36, ClientWidth - 32, 18);

  FWindow->CancelButton = new QPushButton(AnsiToQString(Trans("Cancel")), &dialog);
  FWindow->CancelButton->setGeometry((ClientWidth - 80) / 2, 64, 80, 26);
  QObject::connect(FWindow->CancelButton, &QPushButton::clicked, [this] { Cancel(); });

  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
  }
}

TLxRenderProgressDlg::~TLxRenderProgressDlg() = default;

std::string TLxRenderProgressDlg::LabelText() const {
  return Format(Trans("%d of %d"), {FCurrent, FTotal});
}

void TLxRenderProgressDlg::Refresh() {
  FWindow->Label->setText(AnsiToQString(LabelText()));
}

void TLxRenderProgressDlg::SetTotal(int Value) {
  FTotal = Value;
  Refresh();
  FWindow->Bar->setMaximum(std::max(Value, 0));
}

void TLxRenderProgressDlg::SetCurrent(int Value) {
  FCurrent = Value;
  Refresh();
  FWindow->Bar->setValue(std::clamp(Value, FWindow->Bar->minimum(), FWindow->Bar->maximum()));
}

void TLxRenderProgressDlg::Show() {
  FWindow->Dialog.show();
}

void TLxRenderProgressDlg::Cancel() {
  if (FRender != nullptr) FRender->AbortRender();
}

bool InstallRenderProgressWindow() {
  if (!HaveWidgets()) return false;
  SetRenderProgressHook([](TLxRender* Render) -> std::unique_ptr<TLxRenderProgress> {
    if (!HaveWidgets()) return nullptr;
    return std::make_unique<TLxRenderProgressDlg>(Render);
  });
  return true;
}
