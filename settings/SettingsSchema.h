#pragma once
// The settings sequence: its version, where it is kept, and what the reader refuses or
// corrects before a stored value reaches the records (a damaged or hand-made file must not
// harm the parser, the chart or the editor later).
#include <cstdint>

#include "System.h"

struct LMaskCell;

// Written at the head of every sequence. Version 1 lacks rows after the curve styles,
// versions below 3 lack the German names and the language and carry a retired flag.
constexpr int32_t SettingsFormatVersion = 4;

// The settings file in the data folder, and the built-in default settings resource.
constexpr char SettingsFileName[] = "Dravolin.ini";
constexpr char DefaultSettingsResource[] = "defini";
constexpr char SettingsResourceType[] = "RT_RCDATA";

// Records one read may declare in all its counts together (recent files, parameters, masks,
// mask items, statuses). A heavy user's settings hold a few thousand; the limit keeps a
// hostile count from making the reader allocate, or try and fail, without end.
constexpr int64_t SettingsRecordLimit = 100000;

// Largest parameter id taken from the settings. A new parameter gets the id after the
// largest one, so an id near the integer limit would leave the parser without ids.
constexpr int32_t MaxStoredChannelId = 1 << 24;

// Pen widths the mask editor offers.
constexpr int32_t MinLineThickness = 1;
constexpr int32_t MaxLineThickness = 5;

// Ids 0, 1 and -1 mean fault, status and erase marker to the parser: a parameter has 2 and up.
bool IsStorableChannelId(int32_t id);
// A mask item keeps a status id, "no parameter" or a storable parameter id; any other id
// becomes "no parameter", which the next parse links again by the item's name.
int32_t StorableItemId(int32_t id);
int32_t StorableThickness(int32_t thickness);
// A plain 0x00BBGGRR colour or a system colour the platform's table knows; anything else
// becomes black, the colour a new item starts with.
TColor StorableColor(TColor color);
// A Y axis whose bottom equals its top spans nothing: it gets the bounds a new mask has.
void MakeYAxisStorable(LMaskCell& mask);
