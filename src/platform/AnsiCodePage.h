#pragma once
// Windows-1252, the single-byte code page of all engine text, and its conversion to and
// from Unicode (UTF-8) at the platform's edges.
#include <cstdint>
#include <string>

// The ANSI code page number: always 1252.
uint32_t GetACP();
// The Unicode code point of a Windows-1252 byte; the five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control of the same number, as the platform does.
char32_t AnsiCharToUnicode(uint8_t Code);
// The Windows-1252 byte of a code point, or -1 when it has none.
int UnicodeToAnsiChar(char32_t CodePoint);
std::string AnsiToUtf8(const std::string& Text);
// Code points without a Windows-1252 byte become '?'. Invalid UTF-8 bytes become '?'.
std::string Utf8ToAnsi(const std::string& Text);
