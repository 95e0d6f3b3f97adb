#pragma once
// TLxRenderProgressDlg: the small modeless window a render shows while it generates: a
// bold label "3 of 10", a progress bar and a Cancel button that asks the render to abort.
// Part of the widgets library; InstallRenderProgressWindow puts it behind the render
// library's progress hook, so that renders of the core library show it.
#include <memory>
#include <string>

#include "render/LxRender_Main.h"

class TLxRenderProgressDlg : public TLxRenderProgress {
public:
  // Creates the window (hidden) for Render.
  explicit TLxRenderProgressDlg(TLxRender* Render);
  ~TLxRenderProgressDlg() override;
  TLxRenderProgressDlg(const TLxRenderProgressDlg&) = delete;
  TLxRenderProgressDlg& operator=(const TLxRenderProgressDlg&) = delete;

  // Each refreshes the label; the total is the bar's maximum, the current value its position.
  void SetTotal(int Value) override;
  void SetCurrent(int Value) override;
  void Show() override;

  TLxRender* Render() const { return FRender; }
  int Total() const { return FTotal; }
  int Current() const { return FCurrent; }
  // "%d of %d" with the current value and the total.
  std::string LabelText() const;
  // What the Cancel button does: asks the render to abort. The window stays until the
  // render closes it.
  void Cancel();

private:
  struct TWindow;
  void Refresh();

  TLxRender* FRender;
  int FTotal = 0;
  int FCurrent = 0;
  std::unique_ptr<TWindow> FWindow;
};

// Makes renders show TLxRenderProgressDlg while they generate (when their ShowProgress is
// set). Needs the widget application (see InstallWidgetDialogService); false when there is
// none and nothing was installed.
bool InstallRenderProgressWindow();
