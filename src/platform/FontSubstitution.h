#pragma once
// Internal: which installed family stands in for a requested face name. The classic
// faces map onto metric-compatible families (Liberation Sans has Arial's advances, Liberation
// Serif Times New Roman's, Liberation Mono Courier New's); a few have no compatible family
// and get the nearest look instead.
#include <cstdint>
#include <string>
#include <vector>

struct TFontSubstitute {
  std::string Family;      // an installed family
  bool ForceBold = false;  // the requested face is a heavy design (Arial Black, Impact)
};

// PitchAndFamily (a TLogFont's lfPitchAndFamily) picks the family for names that are neither
// in the table nor installed: fixed pitch gives the monospaced family, FF_ROMAN the serif one.
TFontSubstitute FindFontSubstitute(const std::string& FaceName, uint8_t PitchAndFamily);

// The classic face names the table knows, in the table's order.
std::vector<std::string> ClassicFontNames();

// Font names compare without regard to case, as on the platform.
bool FontNameLess(const std::string& A, const std::string& B);
bool SameFontName(const std::string& A, const std::string& B);
// Sorted without regard to case; of names differing only in case the first stays.
std::vector<std::string> SortedUniqueFontNames(std::vector<std::string> Names);

// The families the platform has installed (as the font database reports them, without
// foundry suffixes), sorted and unique.
const std::vector<std::string>& InstalledFontFamilies();
bool IsFontFamilyInstalled(const std::string& Family);
