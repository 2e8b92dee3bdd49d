// The clear operations of the record lists. Each walks its list, skips null entries, frees
// every record and ends by emptying the list; the list object itself stays.
#include "IgnoreFailure.h"
#include "app/Qelunit.h"

void BQELunit::ClearErrorCells()
{
  if (!ErrorCells)
    return;
  DropChartCaches();
  for (int i = 0; i < ErrorCells->Count(); ++i) {
    LErrorCell* cell = ErrorCells->Get(i);
    if (!cell)
      continue;
    delete cell->Codes;
    delete cell->Kinds;
    delete cell;
  }
  ErrorCells->Clear();
}

// The line records live in the pool and are destroyed in place, the pool's chunks going back
// at once after the walk.
void BQELunit::ClearDataCells()
{
  if (!DataCells)
    return;
  DropChartCaches();
  for (int i = 0; i < DataCells->Count(); ++i) {
    LDataCell* cell = DataCells->Get(i);
    if (cell)
      cell->~LDataCell();
  }
  IgnoreFailure([&] { DataCellPool.Release(); });
  DataCells->Clear();
}

void BQELunit::ClearTypeCells()
{
  if (!TypeCells)
    return;
  DropChartCaches();
  for (int i = 0; i < TypeCells->Count(); ++i) {
    LTypeCell* cell = TypeCells->Get(i);
    if (cell)
      delete cell;
  }
  TypeCells->Clear();
}

void BQELunit::ClearMaskCells()
{
  if (!MaskCells)
    return;
  DropChartCaches();
  // The editor's rows point at items of the editor mask; they go before the items do.
  // Rows built for other masks stay, hidden, with the control tree.
  IgnoreFailure([&] { FreeMaskRows(); });
  for (int i = 0; i < MaskCells->Count(); ++i) {
    LMaskCell* mask = MaskCells->Get(i);
    if (!mask)
      continue;
    if (TPtrList<LTypeCell>* items = mask->Items) {
      for (int k = 0; k < items->Count(); ++k) {
        LTypeCell* item = items->Get(k);
        if (item)
          delete item;
      }
    }
    delete mask->Items;
    delete mask;
  }
  MaskCells->Clear();
}

void BQELunit::ClearStatusCells()
{
  if (!StatusCells)
    return;
  DropChartCaches();
  for (int i = 0; i < StatusCells->Count(); ++i) {
    LStatusCell* status = StatusCells->Get(i);
    if (!status)
      continue;
    ClearStatusSubList(status);
    delete status->Steps;
    delete status;
  }
  StatusCells->Clear();
}

void BQELunit::ClearStatusSubList(LStatusCell* status)
{
  if (!status || !status->Steps)
    return;
  DropChartCaches();
  TPtrList<LStatusStep>& steps = *status->Steps;
  for (int i = 0; i < steps.Count(); ++i) {
    LStatusStep* step = steps.Get(i);
    if (step)
      delete step;
  }
  steps.Clear();
}
