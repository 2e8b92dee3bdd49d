#pragma once
// What mask items share beyond the records: the ids with a meaning of their own, and the
// look an item gets when it is made for one of the well-known parameters.
#include <cstdint>

#include "System.h"

// Item id of a status item; parameter items carry the parameter's id (2 and up).
constexpr int32_t StatusItemId = 1;
// Item id while no parameter has the item's Russian name (until a parse links it).
constexpr int32_t NoChannelId = -1;

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
