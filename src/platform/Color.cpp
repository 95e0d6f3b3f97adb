#include "platform/Color.h"

#include <array>

namespace {

// The classic Windows scheme ("Windows Classic" of Windows 2000 and XP), by system colour
// index. Fixed, so output does not depend on the desktop the program happens to run under.
constexpr std::array<TColor, 31> SystemColors = {
    RGB(212, 208, 200),  //  0 scroll bar
    RGB(58, 110, 165),   //  1 desktop background
    RGB(10, 36, 106),    //  2 active caption
    RGB(128, 128, 128),  //  3 inactive caption
    RGB(212, 208, 200),  //  4 menu
    RGB(255, 255, 255),  //  5 window
    RGB(0, 0, 0),        //  6 window frame
    RGB(0, 0, 0),        //  7 menu text
    RGB(0, 0, 0),        //  8 window text
    RGB(255, 255, 255),  //  9 caption text
    RGB(212, 208, 200),  // 10 active border
    RGB(212, 208, 200),  // 11 inactive border
    RGB(128, 128, 128),  // 12 application work space
    RGB(10, 36, 106),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(212, 208, 200),  // 15 button face
    RGB(128, 128, 128),  // 16 button shadow
    RGB(128, 128, 128),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(212, 208, 200),  // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(64, 64, 64),     // 21 3D dark shadow
    RGB(212, 208, 200),  // 22 3D light
    RGB(0, 0, 0),        // 23 tool tip text
    RGB(255, 255, 225),  // 24 tool tip background
    RGB(181, 181, 181),  // 25 (unassigned)
    RGB(0, 0, 128),      // 26 hot-tracked item
    RGB(166, 202, 240),  // 27 active caption gradient
    RGB(192, 192, 192),  // 28 inactive caption gradient
    RGB(10, 36, 106),    // 29 menu highlight
    RGB(212, 208, 200),  // 30 menu bar
};

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color < 0) {
    // Like GetSysColor, an index past the table answers black.
    const unsigned index = static_cast<unsigned>(Color) & 0xFF;
    return index < SystemColors.size() ? SystemColors[index] : clBlack;
  }
  return Color & 0x00FFFFFF;
}
