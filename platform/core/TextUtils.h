#pragma once
// Trimming, case mapping and comparison of 8-bit texts.
#include "System.h"

// Remove bytes of code 32 or less (compared unsigned: 0x80..0xFF are never blanks).
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

// ASCII letters only; other bytes pass unchanged.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);

// Case-insensitive comparison (< 0, 0, > 0) that also folds the letters of the ANSI code page
// (GetACP), ordering by code point after folding.
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

// A text shorter than width gets fill characters on the left (right = false) or on the
// right until it is width long; any other text is cut to its first width characters.
AnsiString PadString(const AnsiString& text, char fill, int width, bool right);
