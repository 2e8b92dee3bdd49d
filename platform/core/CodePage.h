#pragma once
// The program keeps texts as 8-bit bytes; these routines convert only at the edges
// (display, typed text, literals in the source).
#include <string>
#include <string_view>

#include "System.h"

// Emulated code-page queries, from LC_ALL, else LC_CTYPE, else LANG:
// a Russian locale gives OEM 866 and ANSI 1251, any other 437 and 1252.
int GetOEMCP();
int GetACP();

// Unicode code point of one byte in code page 1251 or 1252 (any other code page acts as 1252).
// Lossless: bytes the code page leaves undefined map to the C1 code point of the same value.
char32_t AnsiCharToUnicode(unsigned char byte, int codePage);
// The byte for a code point in the code page, or `fallback` when it holds none.
char UnicodeToAnsiChar(char32_t cp, int codePage, char fallback = '?');

std::u32string AnsiToUtf32(std::string_view text, int codePage);
AnsiString Utf32ToAnsi(std::u32string_view text, int codePage, char fallback = '?');

// UTF-8 text (source literals, typed text) into code-page bytes.
AnsiString Utf8ToAnsi(std::string_view utf8, int codePage, char fallback = '?');

// Display rule: UTF-8 when the bytes are valid UTF-8 holding a byte of 0x80 or more.
bool IsUtf8WithHighBytes(std::string_view text);
