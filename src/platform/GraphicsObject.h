#pragma once
// Base of TFont, TPen and TBrush: an OnChange event fired after every change.
#include "platform/Object.h"

class TGraphicsObject : public TPersistent {
public:
  // Handlers chain by hand: whoever replaces OnChange keeps the old one and calls it.
  TNotifyEvent OnChange;

protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};
