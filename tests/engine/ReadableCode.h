#pragma once
// Formatted-text codes are easier to read in tests with visible delimiters:
// [ starts a code, | separates items, ] ends it, ~ stands for the ignored character 3.
#include <string>

#include "engine/VXFormatCodes.h"

inline std::string Code(const std::string& Readable) {
  std::string code;
  for (const char c : Readable) {
    switch (c) {
      case '[': code += FormatCodeStart; break;
      case '|': code += FormatCodeSeparator; break;
      case ']': code += FormatCodeEnd; break;
      case '~': code += FormatCodeIgnored; break;
      default: code += c;
    }
  }
  return code;
}
