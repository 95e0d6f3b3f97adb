// TBaseReport: the tab list state that lines, pages and the job reset, and the tab
// operations of the virtual slot table.
#include "engine/VXBase.h"

void TBaseReport::ClearTabs() {
  FTabs.reset();
  ResetTabs();
}

void TBaseReport::ResetTabs() {
  FTabIndex = -1;
  FTabPending = false;
  FTabRestart = FTabs && !FTabs->empty();
}

bool TBaseReport::PushTabs() {
  if (!FTabs || FTabs->empty()) return false;
  FTabStack.push_back(FTabs);
  return true;
}

bool TBaseReport::PopTabs() {
  if (FTabStack.empty()) return false;
  FTabs = FTabStack.back();
  FTabStack.pop_back();
  ResetTabs();
  return true;
}

void TBaseReport::SetTabShade(int Value) {
  FTabShade = Value < 0 ? 0 : (Value > 100 ? 100 : Value);
}

void TBaseReport::Tab(int /*LeftWidth*/, int /*RightWidth*/, int /*TopWidth*/, int /*BottomWidth*/,
                      int /*Shade*/) {
  NotAvailable("Tab");
}

void TBaseReport::PrintTab(const std::string& /*Text*/) {
  NotAvailable("PrintTab");
}
