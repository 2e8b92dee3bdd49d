// BQELunit::CalcCursorValues: what the chart shows at CursorTime: the state of every status, the
// value of every item of the chart mask, the matching caret position in the log text and the
// fault interval. Runs on every mouse move, so each walk over a list is a binary search over
// its time order (or over the chain index) that stops where the walk would.
#include <limits>

#include "Paths.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"
#include "chart/Masks.h"
#include "chart/TimeOrder.h"

namespace {

const LStatusCell* StatusNamed(const TPtrList<LStatusCell>* statuses, const AnsiString& name)
{
  if (!statuses)
    return nullptr;
  for (int32_t i = 0; i < statuses->Count(); ++i) {
    const LStatusCell* status = statuses->Get(i);
    if (status && status->Name == name)
      return status;
  }
  return nullptr;
}

}  // namespace

// 128-bit in between, so that long texts and long logs do not overflow. Only records far out of
// time order can overflow even that: they get the same share in floating point; a result beyond
// 64 bits stops at the limit.
int64_t Interpolate(int64_t position, int64_t nextPosition, int64_t from, int64_t to, int64_t time)
{
  __extension__ typedef __int128 Wide;  // GCC and Clang both have it; -Wpedantic is told so
  const Wide span = Wide{to} - from;
  if (span == 0)
    return position;
  const Wide shift = Wide{nextPosition} - position;
  const Wide gone = Wide{time} - from;
  Wide product;
  long double result;
  if (!__builtin_mul_overflow(shift, gone, &product))
    result = static_cast<long double>(Wide{position} + product / span);
  else
    result = position +
             static_cast<long double>(shift) * static_cast<long double>(gone) / static_cast<long double>(span);
  constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
  constexpr int64_t Highest = std::numeric_limits<int64_t>::max();
  if (result <= static_cast<long double>(Lowest))
    return Lowest;
  if (result >= static_cast<long double>(Highest))
    return Highest;
  return static_cast<int64_t>(result);
}

void BQELunit::CalcCursorValues()
{
  CursorCaretPos = -1;
  CursorFaultInterval = nullptr;
  CursorDataCell = nullptr;
  for (int32_t i = 0; StatusCells && i < StatusCells->Count(); ++i)
    if (LStatusCell* status = StatusCells->Get(i))
      status->State = 0;

  LMaskCell* mask = nullptr;
  if (!ChartMask(mask) || !mask || !FileExists(LogFileName))
    return;

  // A status is in the state of its last step at or before the cursor, off before its first.
  for (int32_t i = 0; StatusCells && i < StatusCells->Count(); ++i) {
    LStatusCell* status = StatusCells->Get(i);
    if (!status || !status->Steps)
      continue;
    const int32_t passed = PassedUpTo(*status->Steps, 0, CursorTime);
    if (passed > 0)
      status->State = status->Steps->Get(passed - 1)->State;
  }

  // Items: raw values. The latest record among them (the first item's on equal times) is where
  // the walk over all records starts.
  LDataCell* chosen = nullptr;
  if (mask->Items) {
    if (DataCells)
      CursorChains.Add(*DataCells, ParameterKinds(*mask));
    for (int32_t i = 0; i < mask->Items->Count(); ++i) {
      LTypeCell* item = mask->Items->Get(i);
      if (!item)
        continue;
      item->CursorValue = NoValue;
      if (item->Id == StatusItemId) {
        if (const LStatusCell* status = StatusNamed(StatusCells, item->NameRu))
          item->CursorValue = status->State ? 1.0 : -1.0;
        continue;
      }
      if (!HasRecordKind(*item) || !DataCells)
        continue;
      LDataCell* reached = nullptr;
      if (!CursorChains.Reach(*DataCells, item->Id, CursorTime, reached))
        reached = ReachAlongLinks(FirstOfKind(*DataCells, item->Id), CursorTime);
      if (!reached)
        continue;
      item->CursorValue = reached->Value;
      if (!chosen || reached->Time > chosen->Time)
        chosen = reached;
    }
  }

  // The last record of any kind at or before the cursor, from the chosen one on.
  const int32_t count = DataCells ? DataCells->Count() : 0;
  int32_t position = -1;
  CursorDataCell = chosen;
  if (chosen && chosen->Index >= 0 && chosen->Index < count && DataCells->Get(chosen->Index) == chosen)
    position = chosen->Index;
  if (count > 0) {
    const int32_t from = chosen && chosen->Index >= 0 && chosen->Index < count ? chosen->Index : 0;
    const int32_t passed = PassedUpTo(*DataCells, from, CursorTime);
    if (passed > from) {
      position = passed - 1;
      CursorDataCell = DataCells->Get(position);
    }
  }

  // The caret: at the record's line, moved toward the next line by the share of the time
  // between the two records that the cursor has gone.
  if (CursorDataCell) {
    CursorCaretPos = CursorDataCell->TextPos;
    if (CursorDataCell->Time != CursorTime && position >= 0 && position + 1 < count) {
      const LDataCell* next = DataCells->Get(position + 1);
      if (next && next->Time != CursorDataCell->Time)
        CursorCaretPos =
            Interpolate(CursorDataCell->TextPos, next->TextPos, CursorDataCell->Time, next->Time, CursorTime);
    }
  }

  if (ErrorCells) {
    const int32_t passed = PassedUpTo(*ErrorCells, 0, CursorTime);
    if (passed > 0)
      CursorFaultInterval = ErrorCells->Get(passed - 1);
  }
}
