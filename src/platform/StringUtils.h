#pragma once
// String helpers over Windows-1252 text: trimming, case, comparison, replacement, quoting.
// The plain forms (UpperCase, CompareText, SameText) treat only A-Z / a-z as letters; the Ansi
// forms also know the accented letters of Windows-1252.
#include <string>

#include "platform/Set.h"

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;

// Remove leading and/or trailing blanks and control characters (bytes up to ' ').
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);

// < 0, 0 or > 0. CompareStr compares bytes; CompareText ignores the case of A-Z.
int CompareStr(const std::string& S1, const std::string& S2);
int CompareText(const std::string& S1, const std::string& S2);
bool SameText(const std::string& S1, const std::string& S2);
int AnsiCompareStr(const std::string& S1, const std::string& S2);
int AnsiCompareText(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);

// Replaces the first (or with rfReplaceAll every) occurrence of OldPattern.
std::string StringReplace(const std::string& S, const std::string& OldPattern, const std::string& NewPattern,
                          TReplaceFlags Flags);

// 'S' with inner quotes doubled.
std::string QuotedStr(const std::string& S);
std::string AnsiQuotedStr(const std::string& S, char Quote);
// Reads a quoted string starting at Pos (which must hold Quote), undoubling inner quotes;
// Pos moves past the closing quote (or to the end when it is missing). When S[Pos] is not
// Quote, returns "" and leaves Pos.
std::string AnsiExtractQuotedStr(const std::string& S, size_t& Pos, char Quote);
// S without its surrounding quotes when it is quoted; otherwise S.
std::string AnsiDequotedStr(const std::string& S, char Quote);

// Position (1-based) of SubStr in S, 0 when absent.
int Pos(const std::string& SubStr, const std::string& S);
// Up to Count characters from 1-based Index.
std::string Copy(const std::string& S, int Index, int Count);
std::string StringOfChar(char Ch, int Count);
