#pragma once
// Internal to the filer's sources: flags that hold for a scope and are put back afterwards,
// also when the scope fails.
#include "stream/VXFiler.h"

// Measuring: every write is dropped while the filer calls engine operations to measure.
class TReportFiler::TMeasuringScope {
public:
  explicit TMeasuringScope(TReportFiler& Filer) : FFiler(Filer), FOld(Filer.FMeasuring) {
    Filer.SetMeasuring(true);
  }
  ~TMeasuringScope() { FFiler.SetMeasuring(FOld); }
  TMeasuringScope(const TMeasuringScope&) = delete;
  TMeasuringScope& operator=(const TMeasuringScope&) = delete;

private:
  TReportFiler& FFiler;
  bool FOld;
};

// Sets a flag (ForceState, the emission guard) for a scope.
class TFilerFlagScope {
public:
  explicit TFilerFlagScope(bool& Flag) : FFlag(Flag), FOld(Flag) { Flag = true; }
  ~TFilerFlagScope() { FFlag = FOld; }
  TFilerFlagScope(const TFilerFlagScope&) = delete;
  TFilerFlagScope& operator=(const TFilerFlagScope&) = delete;

private:
  bool& FFlag;
  bool FOld;
};
