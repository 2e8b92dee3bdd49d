#pragma once
// The parameter-name dictionary: the same name in Russian, English and German.
#include "PtrList.h"
#include "StringList.h"
#include "System.h"

// One entry. Bytes as stored: Russian in Windows-1251, German in Windows-1252; blanks at
// either end belong to the field.
struct LDictCell {
  AnsiString Ru;
  AnsiString En;
  AnsiString De;
};

// Appends one entry per whole triplet of lines (ru, en, de); a last, incomplete triplet
// is ignored.
void AppendDictTriplets(TPtrList<LDictCell>& dictionary, const TStrings& lines);
