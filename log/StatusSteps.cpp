// The statuses against the status lines of the parsed log: the code of the lines that name each
// status (its label), and the on/off steps of the statuses that the chart mask shows.
#include <memory>
#include <vector>

#include "app/Qelunit.h"

namespace {

// Case counts; an empty name is in no text.
bool Holds(const AnsiString& text, const AnsiString& name)
{
  return !name.empty() && text.find(name) != AnsiString::npos;
}

bool ShowsStatus(const LMaskCell& mask, const AnsiString& name)
{
  if (!mask.Items)
    return false;
  for (int i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (item && item->Id == StatusItemId && item->NameRu == name)
      return true;
  }
  return false;
}

void AddStep(TPtrList<LStatusStep>& steps, int64_t time, Byte state)
{
  auto step = std::make_unique<LStatusStep>();
  step->Time = time;
  step->State = state;
  steps.Add(step.get());
  step.release();
}

}  // namespace

void BQELunit::MapStatusesToData()
{
  if (!StatusCells || !DataCells)
    return;
  for (int s = 0; s < StatusCells->Count(); ++s)
    if (LStatusCell* status = StatusCells->Get(s))
      status->Label.clear();
  // Later lines overwrite earlier ones: the label is the code of the last line naming the status.
  const int count = DataCells->Count();
  for (int i = 0; i < count; ++i) {
    if (i % ProgressEvery == 0 && ParseAborted(count, i))
      return;
    const LDataCell* record = DataCells->Get(i);
    if (!record || record->Kind != KindStatus)
      continue;
    for (int s = 0; s < StatusCells->Count(); ++s) {
      LStatusCell* status = StatusCells->Get(s);
      if (status && Holds(record->Text, status->Name))
        status->Label = record->Code.Str();
    }
  }
  StatusesChanged = 0;
}

void BQELunit::BuildStatusIntervals()
{
  if (!StatusCells)
    return;
  for (int s = 0; s < StatusCells->Count(); ++s) {
    if (LStatusCell* status = StatusCells->Get(s)) {
      ClearStatusSubList(status);
      status->LastMatchTime = 0;
    }
  }
  LMaskCell* mask = nullptr;
  if (!DataCells || !ChartMask(mask) || !mask)
    return;

  // Only the statuses the chart shows take part; a status no line names (empty label) has none.
  std::vector<LStatusCell*> shown;
  for (int s = 0; s < StatusCells->Count(); ++s) {
    LStatusCell* status = StatusCells->Get(s);
    if (status && status->Steps && !status->Label.empty() && ShowsStatus(*mask, status->Name))
      shown.push_back(status);
  }
  if (shown.empty())
    return;

  // A change of state gives two steps: the last line still in the old state (unless that is the
  // step before) and the first line in the new one. A line of the code not naming it means off.
  const int count = DataCells->Count();
  for (int i = 0; i < count; ++i) {
    if (i % ProgressEvery == 0 && ParseAborted(count, i))
      return;
    const LDataCell* record = DataCells->Get(i);
    if (!record || record->Kind != KindStatus)
      continue;
    for (LStatusCell* status : shown) {
      if (record->Code != status->Label)
        continue;
      TPtrList<LStatusStep>& steps = *status->Steps;
      const Byte on = Holds(record->Text, status->Name) ? 1 : 0;
      const LStatusStep* last = steps.Count() > 0 ? steps.Get(steps.Count() - 1) : nullptr;
      if (!last) {
        AddStep(steps, record->Time, on);
      } else if (on != (last->State ? 1 : 0)) {
        const Byte lastState = last->State;
        if (last->Time != status->LastMatchTime)
          AddStep(steps, status->LastMatchTime, lastState);
        AddStep(steps, record->Time, lastState ? 0 : 1);
      }
      status->LastMatchTime = record->Time;
    }
  }
}
