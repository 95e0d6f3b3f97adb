#pragma once
// Internal to the engine's text code: keeps the current device font selected for a scope.
#include "engine/VXBase.h"

class TFontSelection {
public:
  explicit TFontSelection(TBaseReport* Report) : FReport(Report) { Report->SelectCurrentFont(); }
  ~TFontSelection() {
    // Deselecting only fails when the canvas went away; there is nothing to restore then.
    try {
      FReport->DeselectCurrentFont();
    } catch (...) {
    }
  }
  TFontSelection(const TFontSelection&) = delete;
  TFontSelection& operator=(const TFontSelection&) = delete;

private:
  TBaseReport* FReport;
};
