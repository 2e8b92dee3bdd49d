#pragma once
// What mask items share beyond the records: the look an item gets when it is made for one
// of the well-known parameters.
#include <cstdint>

#include "System.h"

// Factor, offset, colour and flags a new parameter item takes for its Russian name.
struct DefaultItemLook {
  AnsiString NameRu;
  int32_t Factor;
  int32_t Offset;
  TColor Color;
  Byte Chart;
  Byte Cursor;
};

// The first well-known item with exactly this Russian name; nullptr when none
// (chart/DefaultMasks.cpp).
const DefaultItemLook* FindDefaultItemLook(const AnsiString& nameRu);
