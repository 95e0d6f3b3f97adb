#pragma once
// Format: printf-like formatting with the platform's syntax, over an argument list written
// in braces: Format("%s has %d pages", {name, 3}). Including this header also brings the
// number formatting (FloatFormat.h) and string helpers (StringUtils.h).
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/FloatFormat.h"
#include "platform/FormatSettings.h"
#include "platform/StringUtils.h"

// One argument of Format, tagged with its kind (the ordinals of the platform's array of
// const). Text arguments are referenced, not copied: a TVarRec lives only as long as the
// call's argument list.
struct TVarRec {
  enum TVarType : uint8_t {
    vtInteger = 0,
    vtBoolean = 1,
    vtChar = 2,
    vtExtended = 3,
    vtPointer = 5,
    vtPChar = 6,
    vtAnsiString = 11,
    vtInt64 = 16,
    vtUInt64 = 19,
  };

  template <std::integral T>
  TVarRec(T Value) {
    if constexpr (std::is_same_v<T, bool>) {
      VType = vtBoolean;
      VBoolean = Value;
    } else if constexpr (std::is_same_v<T, char>) {
      VType = vtChar;
      VChar = Value;
    } else if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
      VType = vtInteger;
      VInteger = Value;
    } else if constexpr (std::is_signed_v<T> || sizeof(T) <= 4) {
      VType = vtInt64;
      VInteger = static_cast<int64_t>(Value);
    } else {
      VType = vtUInt64;
      VUInt64 = Value;
    }
  }
  template <std::floating_point T>
  TVarRec(T Value) : VType(vtExtended), VExtended(static_cast<double>(Value)) {}
  TVarRec(const char* Value) : VType(vtPChar), VString(Value ? Value : "") {}
  TVarRec(const std::string& Value) : VType(vtAnsiString), VString(Value) {}
  TVarRec(std::string_view Value) : VType(vtAnsiString), VString(Value) {}
  template <typename T>
  requires(!std::is_same_v<std::remove_cv_t<T>, char>) TVarRec(T* Value)
      : VType(vtPointer), VPointer(Value) {}
  TVarRec(std::nullptr_t) : VType(vtPointer) {}

  TVarType VType = vtInteger;
  bool VBoolean = false;
  char VChar = 0;
  int64_t VInteger = 0;  // vtInteger and vtInt64
  uint64_t VUInt64 = 0;
  double VExtended = 0;
  std::string_view VString;  // vtPChar and vtAnsiString
  const volatile void* VPointer = nullptr;
};

// Formats Args by the specifiers of Fmt: %[index:][-][width][.precision]type with the types
// d (decimal; precision = minimum digits), u (unsigned), x (hexadecimal, upper case),
// e (scientific; precision = significant digits, default 15), f (fixed; precision = decimals,
// default 2), g (general; 15 significant digits), n (fixed with thousand separators),
// m (currency), p (pointer), s (text; precision = maximum length); "*" takes a width or
// precision from the arguments; "%%" is a percent sign. Raises EConvertError when an argument
// is missing or does not fit its specifier.
std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args);
std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args,
                   const TFormatSettings& Settings);
std::string Format(const std::string& Fmt, const std::vector<TVarRec>& Args);
std::string Format(const std::string& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& Settings);
std::string Format(const std::string& Fmt, const TVarRec* Args, size_t ArgCount,
                   const TFormatSettings& Settings);
