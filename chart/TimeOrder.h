#pragma once
// Where a walk over a time-ordered list stops. The cursor's walks (over the line records, the
// steps of a status, the fault intervals) pass every entry whose time is not after the cursor
// and stop at the first entry after it; the lists are in time order, so a binary search finds
// the same place without the walk's cost on a long log. The line records are in text order
// too: F3 walks them by text position the same way.
#include <cstdint>

#include "PtrList.h"

// The end of what a walk from `from` passes: every non-null entry in [from, result) has a time
// (or other key) not after `time`, and the first non-null entry from result on (if any) is
// after it. Null
// entries are stepped over, as the walks do; the entry before result, when result > from, is
// never null. `from` lies in [0, Count()].
template <class T>
int32_t PassedUpTo(const TPtrList<T>& list, int32_t from, int64_t time, int64_t T::*key = &T::Time)
{
  // Whether the walk stops at i: the first non-null entry from i on decides; none counts as
  // a stop.
  const auto stopsAt = [&](int32_t i) {
    for (; i < list.Count(); ++i)
      if (const T* entry = list.Get(i))
        return entry->*key > time;
    return true;
  };
  int32_t low = from;
  int32_t high = list.Count();
  while (low < high) {
    const int32_t middle = low + (high - low) / 2;
    if (stopsAt(middle))
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}
