#pragma once
// The font metrics manager: a process-wide cache of per-font width tables measured once
// at a 600-pixel character height and scaled linearly to any size and resolution, so
// that text measured without a printer does not depend on the screen or a printer.
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Object.h"

class TFont;

// The reference character height (pixels) the width tables are measured at.
constexpr int FontReferenceHeight = 600;

// An abstract width calculator for one font (whatever its size).
class TVXBaseFontHandler : public TObject {
public:
  explicit TVXBaseFontHandler(TFont* Font);
  std::string ClassName() const override { return "TVXBaseFontHandler"; }
  // Width in pixels of Text at DPI pixels per inch and Size points.
  virtual int TextWidth(const std::string& Text, int DPI, double Size) = 0;
};

// Proportional faces: one advance width per 8-bit character code.
class TVXTrueTypeFontHandler : public TVXBaseFontHandler {
public:
  explicit TVXTrueTypeFontHandler(TFont* Font);
  std::string ClassName() const override { return "TVXTrueTypeFontHandler"; }
  int TextWidth(const std::string& Text, int DPI, double Size) override;
  // The advance of Code at the reference height.
  int Width(uint8_t Code) const { return FWidths[Code]; }

private:
  std::array<int, 256> FWidths{};
};

// Fixed-pitch faces: every character is as wide as "A".
class TVXNonProportionalFontHandler : public TVXBaseFontHandler {
public:
  explicit TVXNonProportionalFontHandler(TFont* Font);
  std::string ClassName() const override { return "TVXNonProportionalFontHandler"; }
  int TextWidth(const std::string& Text, int DPI, double Size) override;
  int Width() const { return FWidth; }

private:
  int FWidth = 0;
};

class TVXFontManager : public TObject {
public:
  TVXFontManager();
  ~TVXFontManager() override;
  std::string ClassName() const override { return "TVXFontManager"; }

  // Pixel width of Text in Font, at the font's own pixels per inch.
  int MeasureText(TFont* Font, const std::string& Text);
  // The handler for the font's key, measured and cached on first request. The manager
  // owns it. Two threads asking for the same new font get the same handler.
  TVXBaseFontHandler* GetHandler(TFont* Font);
  // Face name, "|", charset, then "|B" bold, "|I" italic, "|V" variable or "|F" fixed
  // pitch. Size, colour, underline and strikeout do not take part.
  static std::string FontKey(TFont* Font);
  int HandlerCount();

private:
  std::map<std::string, std::unique_ptr<TVXBaseFontHandler>> FHandlers;  // sorted by key
  std::mutex FLock;
};

// The one manager of the process.
TVXFontManager* FontManager();
