#include "engine/VXDefine.h"

// "4.05" followed by an 11-character platform tag.
const char* const PagePressVersion = "4.05 (Linux Qt)";

double UnitsFactorOf(TPrintUnits Units) {
  switch (Units) {
    case unInch:
      return 1.0;
    case unMM:
      return 25.4;
    case unCM:
      return 2.54;
    case unPoint:
      return 72.0;
    case unUser:
      break;
  }
  return 0.0;
}

TPrintUnits UnitsOfFactor(double Factor) {
  // Exact comparison on purpose: 25.40001 is a user factor, not millimetres.
  if (Factor == 1.0) return unInch;
  if (Factor == 25.4) return unMM;
  if (Factor == 2.54) return unCM;
  if (Factor == 72.0) return unPoint;
  return unUser;
}

void RaiseError(const std::string& Message) {
  throw EPagePress(Message);
}

TTranslateHook TranslateHook = [](const std::string& Source, std::string& Result) { Result = Source; };

std::string Trans(const std::string& Source) {
  if (!TranslateHook) return Source;
  std::string result;
  TranslateHook(Source, result);
  return result;
}

TVXComponent::TVXComponent(TComponent* AOwner) : TComponent(AOwner), FVersion(PagePressVersion) {}

void TVXComponent::SetVersion(const TVersion& /*Value*/) {}

TColor ShadeToColor(TColor Color, uint8_t Percent) {
  const int percent = Percent > 100 ? 100 : Percent;
  const TColor rgb = ColorToRGB(Color);
  auto tint = [percent](int c) { return static_cast<uint8_t>(c + ((255 - c) * (100 - percent)) / 100); };
  return RGB(tint(GetRValue(rgb)), tint(GetGValue(rgb)), tint(GetBValue(rgb)));
}
