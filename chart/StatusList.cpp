// The status list of the Mask tab: a double click adds the line's status to the editor mask;
// its menu adds a status by name and deletes the line's status.
#include <memory>

#include "InputDialogs.h"
#include "ListBox.h"
#include "TextUtils.h"
#include "app/Qelunit.h"
#include "chart/ListLines.h"

LStatusCell* BQELunit::StatusOfLine(const AnsiString& line) const
{
  for (int i = 0; StatusCells && i < StatusCells->Count(); ++i) {
    LStatusCell* status = StatusCells->Get(i);
    if (status && status->Name == line)
      return status;
  }
  return nullptr;
}

void BQELunit::StatusListDblClick(TObject*)
{
  LMaskCell* mask = nullptr;
  int index;
  AnsiString line;
  if (ParseRunning || !EditorMask(mask) || !SelectedLine(StatusList, index, line))
    return;
  AddStatusItem(mask, line);
  DropChartCaches();
  ReadOptionsAndMaskRows();
  ShowOptionsAndMaskRows();
}

// Names no line: it works on an empty list too. The name is kept as typed, blanks and all; one
// of blanks only is none.
void BQELunit::AddStatusMenuClick(TObject*)
{
  if (ParseRunning || !StatusCells)
    return;
  AnsiString caption, prompt, name;
  if (!InputQuery(GetUiText(75, caption), GetUiText(76, prompt), name, LogCodePage) || Trim(name).empty())
    return;
  auto steps = std::make_unique<TPtrList<LStatusStep>>();
  auto status = std::make_unique<LStatusCell>();
  status->Name = name;
  status->Steps = steps.get();
  StatusCells->Add(status.get());
  status.release();
  steps.release();
  if (StatusList)
    StatusList->Items()->Add(name);
  // The new status is looked for in the log when the chart is shown next.
  StatusesChanged = 1;
  DropChartCaches();
}

// Status items of that name stay in their masks, shown as absent.
void BQELunit::DeleteStatusMenuClick(TObject*)
{
  int selected;
  AnsiString line;
  if (ParseRunning || !SelectedLine(StatusList, selected, line))
    return;
  if (LStatusCell* status = StatusOfLine(line)) {
    StatusCells->Remove(status);
    ClearStatusSubList(status);
    delete status->Steps;
    delete status;
    DropChartCaches();
  }
  StatusList->Items()->Delete(selected);
}
