#include "platform/FontFile.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <unordered_map>

#include "platform/Typeface.h"

namespace {

struct TThreadRawFont {
  std::weak_ptr<const int> Owner;
  QRawFont Font;
};

// The raw fonts this thread has drawn with, by font file. Thread-local storage is destroyed
// when the thread ends, before Qt releases the thread's font engines.
thread_local std::unordered_map<uint64_t, TThreadRawFont> ThreadRawFonts;

// Forgets the fonts of font files that are gone (never a live one: callers hold references).
void DropFontsOfDeadFiles() {
  for (auto it = ThreadRawFonts.begin(); it != ThreadRawFonts.end();)
    it = it->second.Owner.expired() ? ThreadRawFonts.erase(it) : std::next(it);
}

uint64_t NextFontFileId() {
  static std::atomic<uint64_t> next{1};
  return next++;
}

}  // namespace

TFontFile::TFontFile(std::shared_ptr<const TTypeface> Typeface, double PixelSize, double HorizontalScale,
                     const std::array<int, 256>& Advances)
    : FTypeface(std::move(Typeface)),
      FId(NextFontFileId()),
      FAlive(std::make_shared<const int>(0)),
      FPixelSize(PixelSize),
      FHorizontalScale(HorizontalScale),
      FAdvances(Advances) {
  const TSfntTables& t = FTypeface->Tables();
  const double scale = PixelSize / t.UnitsPerEm;
  // The underline position is the top of its stroke, negative below the baseline.
  FUnderlineOffset = static_cast<int>(-std::lround(t.UnderlinePosition * scale));
  FUnderlineSize = std::max(1, static_cast<int>(std::lround(t.UnderlineThickness * scale)));
  FStrikeOutOffset = static_cast<int>(std::lround(t.StrikeoutPosition * scale));
  FStrikeOutSize = std::max(1, static_cast<int>(std::lround(t.StrikeoutSize * scale)));
}

TFontFile::~TFontFile() = default;

quint32 TFontFile::GlyphIndex(uint8_t AnsiCode) const {
  return FTypeface->GlyphIndex(AnsiCode);
}

const QRawFont& TFontFile::RawFont() const {
  auto found = ThreadRawFonts.find(FId);
  if (found != ThreadRawFonts.end()) return found->second.Font;
  if (ThreadRawFonts.size() >= 32) DropFontsOfDeadFiles();
  TThreadRawFont& entry = ThreadRawFonts[FId];
  entry.Owner = FAlive;
  entry.Font = FTypeface->CreateRawFont(FPixelSize);
  return entry.Font;
}
