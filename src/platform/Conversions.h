#pragma once
// Conversion of text to numbers. Integers accept leading blanks, a sign and a "$" or "0x"
// hexadecimal prefix; floats accept blanks around them, a sign, the settings' decimal
// separator and an exponent.
#include <cstdint>
#include <string>

#include "platform/FormatSettings.h"

// Raises EConvertError "'S' is not a valid integer value".
int StrToInt(const std::string& S);
int StrToIntDef(const std::string& S, int Default);
bool TryStrToInt(const std::string& S, int& Value);
int64_t StrToInt64(const std::string& S);
int64_t StrToInt64Def(const std::string& S, int64_t Default);
bool TryStrToInt64(const std::string& S, int64_t& Value);

// Raises EConvertError "'S' is not a valid floating point value".
double StrToFloat(const std::string& S);
double StrToFloat(const std::string& S, const TFormatSettings& Settings);
double StrToFloatDef(const std::string& S, double Default);
double StrToFloatDef(const std::string& S, double Default, const TFormatSettings& Settings);
bool TryStrToFloat(const std::string& S, double& Value);
bool TryStrToFloat(const std::string& S, double& Value, const TFormatSettings& Settings);

// "True"/"False" (UseBoolStrs) or "-1"/"0".
std::string BoolToStr(bool B, bool UseBoolStrs = false);
