#pragma once
// The vocabulary every part of the report engine shares: enumerations whose ordinals are
// stored in page streams and saved properties, event types, units of measure, the
// engine's exception and message hook, the component bases and colour shading.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Component.h"
#include "platform/Exceptions.h"
#include "platform/Set.h"

class TBitmap;
class TStream;

// Ordinals are binding: page streams and stored forms keep them as numbers.
enum TPrintUnits { unInch, unMM, unCM, unPoint, unUser };
enum TLineHeightMethod { lhmLinesPerInch, lhmFont, lhmUser };
enum TBKMode { bkTransparent, bkOpaque };
enum TOrientation { poPortrait, poLandScape, poDefault };
enum TPrintJustify { pjCenter, pjLeft, pjRight, pjBlock };
enum TPrintJustifyVert { pjTop, pjMiddle, pjBottom };
enum TAccuracyMethod { amPositioning, amAppearance };
enum TMarginMethod { mmScaled, mmFixed };
enum TRulerType { rtNone, rtHorizCm, rtVertCm, rtBothCm, rtHorizIn, rtVertIn, rtBothIn };
enum TStreamMode { smMemory, smFile, smUser, smTempFile };
enum TReportDest { rdPreview, rdPrinter, rdFile };

enum TSystemSetup {
  ssAllowSetup,
  ssAllowCopies,
  ssAllowCollate,
  ssAllowDuplex,
  ssAllowDestPreview,
  ssAllowDestPrinter,
  ssAllowDestFile,
  ssAllowPrinterSetup,
  ssAllowPreviewSetup
};
using TSystemSetups = TSet<TSystemSetup>;

enum TSystemOption {
  soUseFiler,
  soWaitForOK,
  soShowStatus,
  soAllowPrintFromPreview,
  soPreviewModal,
  soNoGenerate
};
using TSystemOptions = TSet<TSystemOption>;

// The ordinal is a bit mask of the edges: 1 left, 2 right, 4 top, 8 bottom.
enum TBoxLines {
  blNone,
  blLeft,
  blRight,
  blLeftRight,
  blTop,
  blLeftTop,
  blRightTop,
  blNoBottom,
  blBottom,
  blLeftBottom,
  blRightBottom,
  blNoTop,
  blTopBottom,
  blNoRight,
  blNoLeft,
  blAll
};

// Output kinds an engine reports (OutputKind) and a job routes to (Destinations):
// 0 printer, 1 preview, 2 file; 3 and 4 take part in the set but no engine reports them.
using TOutputKinds = TSet<int>;

// Returns true when another page follows; the handler may renumber PageNum.
using TPrintPageEvent = std::function<bool(TObject* Sender, int& PageNum)>;
// Fills Bitmap (empty on entry) from the encoded image in ImageStream.
using TDecodeImageEvent =
    std::function<void(TObject* Sender, TStream* ImageStream, const std::string& ImageType, TBitmap* Bitmap)>;

// --- Units: UnitsFactor is the number of units per inch ---
// The factor of a fixed unit; unUser has none of its own and answers 0.
double UnitsFactorOf(TPrintUnits Units);
// The unit whose factor equals Factor exactly, unUser for any other value.
TPrintUnits UnitsOfFactor(double Factor);

// --- Errors and messages ---
class EPagePress : public Exception {
public:
  using Exception::Exception;
};

// Raises EPagePress with Message (callers translate the message first).
[[noreturn]] void RaiseError(const std::string& Message);

// The replaceable message hook: every literal message or label the engine shows or
// raises is fetched through it at the moment of use. Its initial value copies Source.
using TTranslateHook = std::function<void(const std::string& Source, std::string& Result)>;
extern TTranslateHook TranslateHook;
// Source passed through TranslateHook (unchanged when no hook is installed).
std::string Trans(const std::string& Source);

// --- Component bases ---
using TVersion = std::string;  // at most 20 characters

// The engine's version text: "4.05" and the platform tag.
extern const char* const PagePressVersion;

class TVXComponent : public TComponent {
public:
  explicit TVXComponent(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TVXComponent"; }

  const TVersion& Version() const { return FVersion; }
  // Ignores Value: a version read from a stored form never replaces the engine's own.
  void SetVersion(const TVersion& Value);

private:
  TVersion FVersion;
};

// Common base of the report engines, the report shells and the report system.
class TVXBaseComponent : public TVXComponent {
public:
  using TVXComponent::TVXComponent;
  std::string ClassName() const override { return "TVXBaseComponent"; }
};

// One text held as an object (the replay engine keeps report-variable values in these).
class TVXStringObject : public TObject {
public:
  explicit TVXStringObject(std::string AValue) : FValue(std::move(AValue)) {}
  std::string ClassName() const override { return "TVXStringObject"; }
  const std::string& Value() const { return FValue; }
  void SetValue(const std::string& AValue) { FValue = AValue; }

private:
  std::string FValue;
};

// Tints Color toward white: Percent 100 (or more) keeps the colour, 0 gives white.
// System colours are resolved first.
TColor ShadeToColor(TColor Color, uint8_t Percent);
