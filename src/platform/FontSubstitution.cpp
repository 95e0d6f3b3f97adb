#include "platform/FontSubstitution.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cctype>
#include <mutex>

#include "platform/FontMetrics.h"
#include "platform/QtBridge.h"

namespace {

constexpr const char* SansFamily = "Liberation Sans";
constexpr const char* SerifFamily = "Liberation Serif";
constexpr const char* MonoFamily = "Liberation Mono";
constexpr const char* NarrowFamily = "Liberation Sans Narrow";
// Symbol fonts have no free stand-in with the same code points; DejaVu Sans at least covers
// the most symbols of the installed families.
constexpr const char* SymbolFamily = "DejaVu Sans";

struct TSubstitution {
  const char* FaceName;
  const char* Family;
  bool ForceBold;
};

// Heavy designs (Arial Black, Impact) have no free metric twin: Liberation Sans Bold is the
// closest in look and width.
constexpr std::array<TSubstitution, 17> Substitutions = {{
    {"Arial", SansFamily, false},
    {"Helvetica", SansFamily, false},
    {"MS Sans Serif", SansFamily, false},
    {"Microsoft Sans Serif", SansFamily, false},
    {"Tahoma", SansFamily, false},
    {"Verdana", SansFamily, false},
    {"Times New Roman", SerifFamily, false},
    {"Times", SerifFamily, false},
    {"MS Serif", SerifFamily, false},
    {"Courier New", MonoFamily, false},
    {"Courier", MonoFamily, false},
    {"Arial Narrow", NarrowFamily, false},
    {"Arial Black", SansFamily, true},
    {"Impact", SansFamily, true},
    {"Wingdings", SymbolFamily, false},
    {"Symbol", SymbolFamily, false},
    {"System", SansFamily, true},
}};

std::string InstalledSpelling(const std::string& Family) {
  for (const std::string& installed : InstalledFontFamilies())
    if (SameFontName(installed, Family)) return installed;
  return {};
}

std::string FamilyForUnknownName(uint8_t PitchAndFamily) {
  if ((PitchAndFamily & 0x03) == FIXED_PITCH || (PitchAndFamily & 0xF0) == FF_MODERN) return MonoFamily;
  if ((PitchAndFamily & 0xF0) == FF_ROMAN) return SerifFamily;
  return SansFamily;
}

// The font database names a family offered by several foundries "Family [Foundry]"; faces
// are asked for by family alone.
std::string WithoutFoundry(const std::string& Family) {
  const size_t bracket = Family.find(" [");
  return bracket != std::string::npos && Family.back() == ']' ? Family.substr(0, bracket) : Family;
}

}  // namespace

bool FontNameLess(const std::string& A, const std::string& B) {
  return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) < std::tolower(static_cast<unsigned char>(b));
  });
}

bool SameFontName(const std::string& A, const std::string& B) {
  return !FontNameLess(A, B) && !FontNameLess(B, A);
}

std::vector<std::string> SortedUniqueFontNames(std::vector<std::string> Names) {
  std::stable_sort(Names.begin(), Names.end(), FontNameLess);
  Names.erase(std::unique(Names.begin(), Names.end(), SameFontName), Names.end());
  return Names;
}

const std::vector<std::string>& InstalledFontFamilies() {
  static std::once_flag once;
  static std::vector<std::string> families;
  std::call_once(once, [] {
    EnsureGuiApplication();
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families())
      names.push_back(WithoutFoundry(QStringToAnsi(family)));
    families = SortedUniqueFontNames(std::move(names));
  });
  return families;
}

bool IsFontFamilyInstalled(const std::string& Family) {
  return !InstalledSpelling(Family).empty();
}

TFontSubstitute FindFontSubstitute(const std::string& FaceName, uint8_t PitchAndFamily) {
  for (const TSubstitution& s : Substitutions) {
    if (!SameFontName(FaceName, s.FaceName)) continue;
    std::string family = s.Family;
    if (!IsFontFamilyInstalled(family)) family = SansFamily;  // Liberation Sans Narrow is optional
    return TFontSubstitute{family, s.ForceBold};
  }
  std::string installed = FaceName.empty() ? std::string() : InstalledSpelling(FaceName);
  if (!installed.empty()) return TFontSubstitute{installed, false};
  return TFontSubstitute{FamilyForUnknownName(PitchAndFamily), false};
}

std::vector<std::string> ClassicFontNames() {
  std::vector<std::string> names;
  for (const TSubstitution& s : Substitutions) names.push_back(s.FaceName);
  return names;
}

std::string SubstituteFontFamily(const std::string& FaceName) {
  return FindFontSubstitute(FaceName, DEFAULT_PITCH).Family;
}
