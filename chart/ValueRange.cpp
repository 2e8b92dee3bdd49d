// BQELunit::CalcValueRange: the range of the plotted values of the chart mask, widened by a
// margin and clipped to the mask's Y bounds, and the time span of the log.
#include <functional>
#include <vector>

#include "ComCtrls.h"
#include "app/Qelunit.h"
#include "chart/ChainIndex.h"
#include "chart/ChartValues.h"
#include "chart/Masks.h"

namespace {

// Share of the range added below and above, so that no curve runs along the frame.
constexpr double RangeMargin = 0.03;
// The range of a mask that plots nothing but zero, and the span of a log without time.
constexpr double EmptyRangeBottom = -100.0;
constexpr double EmptyRangeTop = 100.0;
constexpr int64_t EmptyTimeSpan = 1000;

// A NaN compares false both ways, so it never widens a range.
void Fold(double value, LTypeCell& item, double& low, double& high)
{
  if (value < item.Minimum)
    item.Minimum = value;
  if (value > item.Maximum)
    item.Maximum = value;
  if (value < low)
    low = value;
  if (value > high)
    high = value;
}

// Every record of every drawn parameter item, scaled. The chains of most kinds run in list
// order: one pass over the list reads them where they lie in memory, far faster on a long log
// than hopping along the links of each chain; any other chain is walked along its links.
// False when goOn broke the pass off.
bool FoldParameterItems(const TPtrList<LDataCell>& records, const BChainIndex& chains,
                        const std::vector<LTypeCell*>& items, double& low, double& high,
                        const BChainIndex::Step& goOn)
{
  constexpr int32_t DirectKinds = 65536;
  std::vector<std::vector<LTypeCell*>> byKind;
  for (LTypeCell* item : items) {
    if (chains.InListOrder(item->Id) && item->Id < DirectKinds) {
      if (byKind.size() <= static_cast<size_t>(item->Id))
        byKind.resize(static_cast<size_t>(item->Id) + 1);
      byKind[static_cast<size_t>(item->Id)].push_back(item);
      continue;
    }
    LDataCell* cell = nullptr;
    if (!chains.First(records, item->Id, cell))
      cell = FirstOfKind(records, item->Id);
    for (; cell; cell = cell->Next)
      Fold(item->Factor * cell->Value + item->Offset, *item, low, high);
  }
  if (byKind.empty())
    return true;
  const int32_t count = records.Count();
  for (int32_t i = 0; i < count; ++i) {
    if (i % BChainIndex::StepEvery == 0 && !goOn(i, count))
      return false;
    const LDataCell* cell = records.Get(i);
    if (!cell || cell->Kind < 0 || static_cast<size_t>(cell->Kind) >= byKind.size())
      continue;
    for (LTypeCell* item : byKind[static_cast<size_t>(cell->Kind)])
      Fold(item->Factor * cell->Value + item->Offset, *item, low, high);
  }
  return true;
}

const LStatusCell* StatusWithSteps(const TPtrList<LStatusCell>* statuses, const AnsiString& name)
{
  if (!statuses)
    return nullptr;
  for (int32_t i = 0; i < statuses->Count(); ++i) {
    const LStatusCell* status = statuses->Get(i);
    if (status && status->Steps && status->Name == name)
      return status;
  }
  return nullptr;
}

}  // namespace

std::vector<int32_t> ParameterKinds(const LMaskCell& mask)
{
  std::vector<int32_t> kinds;
  if (mask.Items)
    for (int32_t i = 0; i < mask.Items->Count(); ++i)
      if (const LTypeCell* item = mask.Items->Get(i); item && HasRecordKind(*item))
        kinds.push_back(item->Id);
  return kinds;
}

void BQELunit::CalcValueRange()
{
  // The status names of this mask may need another height.
  if (ChartStatusBar) {
    ChartStatusBar->SetHeight(FitStatusNames());
    ChartStatusBar->Invalidate();
  }
  BuildStatusIntervals();
  LMaskCell* mask = nullptr;
  // Inside a parse the user may break each pass off; the range is then left unfinished, as
  // the parse asks for another.
  if (AbortFlag && ParseRunning)
    return;
  if (!ChartMask(mask) || !mask)
    return;
  const BChainIndex::Step goOn = [this](int64_t done, int64_t total) { return ParseGoesOn(done, total); };

  // A new log or another mask: the cursor's index starts afresh with this mask's parameters.
  CursorChains.Clear();
  if (DataCells && !CursorChains.Add(*DataCells, ParameterKinds(*mask), goOn))
    return;

  ValueMin = 0.0;
  ValueMax = 0.0;
  std::vector<LTypeCell*> drawnParameters;
  for (int32_t i = 0; mask->Items && i < mask->Items->Count(); ++i) {
    LTypeCell* item = mask->Items->Get(i);
    if (!item)
      continue;
    item->Minimum = 0.0;
    item->Maximum = 0.0;
    if (item->Id == StatusItemId) {
      item->Present = 0;
      const LStatusCell* status = StatusWithSteps(StatusCells, item->NameRu);
      if (!status || status->Steps->Count() == 0)
        continue;
      item->Present = 1;
      if (item->Chart) {
        // The two levels the status is drawn at: on, then off. 64-bit, so no sum overflows.
        Fold(static_cast<double>(int64_t{item->Factor} + item->Offset), *item, ValueMin, ValueMax);
        Fold(item->Offset, *item, ValueMin, ValueMax);
      }
    } else if (item->Chart && HasRecordKind(*item)) {
      drawnParameters.push_back(item);
    }
  }
  // Minimum and maximum do not depend on the order the values come in.
  if (DataCells && !FoldParameterItems(*DataCells, CursorChains, drawnParameters, ValueMin, ValueMax, goOn))
    return;

  // The upper margin is taken from the range already widened below.
  ValueMin -= (ValueMax - ValueMin) * RangeMargin;
  ValueMax += (ValueMax - ValueMin) * RangeMargin;
  // Clipping may leave the range inverted (a bottom bound above zero and nothing plotted):
  // it is kept so, as the mask asks.
  if (mask->YBottom > ValueMin)
    ValueMin = mask->YBottom;
  if (mask->YTop < ValueMax)
    ValueMax = mask->YTop;
  if (ValueMin == 0.0 && ValueMax == 0.0) {
    ValueMin = EmptyRangeBottom;
    ValueMax = EmptyRangeTop;
  }

  TimeSpan = 0;
  for (int32_t i = DataCells ? DataCells->Count() - 1 : -1; i >= 0; --i) {
    if (const LDataCell* cell = DataCells->Get(i)) {
      TimeSpan = cell->Time;
      break;
    }
  }
  if (TimeSpan <= 0)
    TimeSpan = EmptyTimeSpan;
}
