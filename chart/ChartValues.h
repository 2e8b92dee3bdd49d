#pragma once
// What the value range and the values at the cursor share with the panels that show them.
#include <cstdint>
#include <vector>

#include "log/Records.h"

// An item's value at the cursor when it has none; the panels show "-".
constexpr double NoValue = -9876.9876;

// The line records of a parameter item carry its id as their kind. Ids below 2 are the kinds of
// faults, statuses and erase markers, or mean that no parameter has the item's name: no record
// belongs to such an item.
inline bool HasRecordKind(const LTypeCell& item)
{
  return item.Id >= 2;
}

// The record kinds of the mask's parameter items, in item order (chart/ValueRange.cpp).
std::vector<int32_t> ParameterKinds(const LMaskCell& mask);

// position + (nextPosition - position) * (time - from) / (to - from), the product first and
// the quotient truncated toward zero: a share of the way between two records, from a time to a
// text position or back (chart/CursorValues.cpp).
int64_t Interpolate(int64_t position, int64_t nextPosition, int64_t from, int64_t to, int64_t time);
