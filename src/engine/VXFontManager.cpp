#include "engine/VXFontManager.h"

#include <cmath>
#include <cstdlib>

#include "platform/Font.h"
#include "platform/FontMetrics.h"

namespace {

// Width tables scale linearly: pixels = reference width × points × DPI ÷ (600 × 72).
constexpr double ScalingDivisor = FontReferenceHeight * 72.0;

// The logical font of Font at the reference character height.
std::shared_ptr<TLogicalFont> ReferenceFont(TFont* Font) {
  TLogFont lf;
  lf.lfHeight = -FontReferenceHeight;
  lf.lfWeight = Font->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font->Style().Contains(fsItalic);
  lf.lfCharSet = Font->Charset();
  switch (Font->Pitch()) {
    case fpVariable:
      lf.lfPitchAndFamily = VARIABLE_PITCH;
      break;
    case fpFixed:
      lf.lfPitchAndFamily = FIXED_PITCH;
      break;
    case fpDefault:
      lf.lfPitchAndFamily = DEFAULT_PITCH;
      break;
  }
  lf.lfFaceName = Font->Name();
  return CreateFontIndirect(lf);
}

int AdvanceOf(const TLogicalFont& Font, uint8_t Code) {
  const TABC abc = Font.CharABCWidths(Code);
  return abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
}

// The platform's pitch flag is set for variable-pitch faces (despite its name).
bool IsVariablePitch(const TLogicalFont& Font) {
  return (Font.TextMetrics().tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
}

std::unique_ptr<TVXBaseFontHandler> MeasureHandler(TFont* Font) {
  if (IsVariablePitch(*ReferenceFont(Font))) return std::make_unique<TVXTrueTypeFontHandler>(Font);
  return std::make_unique<TVXNonProportionalFontHandler>(Font);
}

}  // namespace

// --- Handlers ---

TVXBaseFontHandler::TVXBaseFontHandler(TFont* /*Font*/) {}

TVXTrueTypeFontHandler::TVXTrueTypeFontHandler(TFont* Font) : TVXBaseFontHandler(Font) {
  const auto font = ReferenceFont(Font);
  for (int code = 0; code < 256; ++code) FWidths[code] = AdvanceOf(*font, static_cast<uint8_t>(code));
}

int TVXTrueTypeFontHandler::TextWidth(const std::string& Text, int DPI, double Size) {
  double sum = 0;
  for (char c : Text) sum += FWidths[static_cast<uint8_t>(c)];
  return static_cast<int>(std::nearbyint(sum * Size * DPI / ScalingDivisor));
}

TVXNonProportionalFontHandler::TVXNonProportionalFontHandler(TFont* Font) : TVXBaseFontHandler(Font) {
  FWidth = AdvanceOf(*ReferenceFont(Font), 'A');
}

int TVXNonProportionalFontHandler::TextWidth(const std::string& Text, int DPI, double Size) {
  return static_cast<int>(
      std::nearbyint(static_cast<double>(Text.size()) * FWidth * Size * DPI / ScalingDivisor));
}

// --- TVXFontManager ---

TVXFontManager::TVXFontManager() = default;
TVXFontManager::~TVXFontManager() = default;

std::string TVXFontManager::FontKey(TFont* Font) {
  std::string key = Font->Name() + "|" + std::to_string(Font->Charset());
  if (Font->Style().Contains(fsBold)) key += "|B";
  if (Font->Style().Contains(fsItalic)) key += "|I";
  if (Font->Pitch() == fpVariable) key += "|V";
  if (Font->Pitch() == fpFixed) key += "|F";
  return key;
}

TVXBaseFontHandler* TVXFontManager::GetHandler(TFont* Font) {
  const std::string key = FontKey(Font);
  {
    std::lock_guard<std::mutex> guard(FLock);
    auto it = FHandlers.find(key);
    if (it != FHandlers.end()) return it->second.get();
  }
  // Measuring takes long; it runs outside the lock. Whoever inserts first wins, and a
  // handler measured meanwhile by another thread is dropped.
  auto handler = MeasureHandler(Font);
  std::lock_guard<std::mutex> guard(FLock);
  return FHandlers.try_emplace(key, std::move(handler)).first->second.get();
}

int TVXFontManager::MeasureText(TFont* Font, const std::string& Text) {
  const double size = std::abs(Font->Height()) * 72.0 / Font->PixelsPerInch();
  return GetHandler(Font)->TextWidth(Text, Font->PixelsPerInch(), size);
}

int TVXFontManager::HandlerCount() {
  std::lock_guard<std::mutex> guard(FLock);
  return static_cast<int>(FHandlers.size());
}

TVXFontManager* FontManager() {
  static TVXFontManager manager;
  return &manager;
}
