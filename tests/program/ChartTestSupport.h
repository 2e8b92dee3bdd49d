#pragma once
// Shared by the value-range and cursor tests: a central object with a chart mask chosen in the
// chart's combo, a log file that exists on disk, and records, items, statuses and fault
// intervals made by hand.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

// Adds an empty mask "Chart" to the unit and chooses it in a chart combo of its own, which the
// caller keeps and unhooks (ChartMaskCombo = nullptr) before the unit goes.
inline LMaskCell* AddChosenChartMask(BQELunit& unit, std::unique_ptr<TComboBox>& combo)
{
  auto* chart = new LMaskCell;
  chart->NameRu = chart->NameEn = chart->NameDe = "Chart";
  chart->Items = new TPtrList<LTypeCell>;
  unit.MaskCells->Add(chart);
  combo = std::make_unique<TComboBox>(nullptr);
  combo->Items()->Add("Chart");
  combo->SetItemIndex(0);
  unit.ChartMaskCombo = combo.get();
  unit.ChartMaskIndex = 0;
  return chart;
}

class ChartTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    // Only what the test makes: none of the defaults of a first start.
    unit.ClearMaskCells();
    unit.ClearStatusCells();
    unit.ClearTypeCells();
    unit.Language = 1;
    chart = AddChosenChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
  }

  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  static constexpr int64_t TenTimesIndex = std::numeric_limits<int64_t>::min();

  // A line record at the end of the list; its text position defaults to ten times its index.
  LDataCell* Record(int32_t kind, int64_t time, double value = 0.0, int64_t textPos = TenTimesIndex)
  {
    LDataCell* cell = unit.DataCellPool.New();
    cell->Index = unit.DataCells->Count();
    cell->Kind = kind;
    cell->Time = time;
    cell->Value = value;
    cell->TextPos = textPos != TenTimesIndex ? textPos : 10 * int64_t{cell->Index};
    unit.DataCells->Add(cell);
    return cell;
  }

  // Links the records of each kind in list order, as the parser does.
  void Link()
  {
    for (int i = 0; i < unit.DataCells->Count(); ++i) {
      LDataCell* cell = unit.DataCells->Get(i);
      for (int k = i + 1; cell && k < unit.DataCells->Count(); ++k) {
        LDataCell* later = unit.DataCells->Get(k);
        if (later && later->Kind == cell->Kind) {
          cell->Next = later;
          later->Prev = cell;
          break;
        }
      }
    }
  }

  LTypeCell* Item(int32_t id, int32_t factor = 1, int32_t offset = 0, Byte drawn = 1)
  {
    auto* item = new LTypeCell;
    item->Id = id;
    item->Factor = factor;
    item->Offset = offset;
    item->Chart = drawn;
    item->NameRu = item->NameEn = item->NameDe = "P" + std::to_string(id);
    chart->Items->Add(item);
    return item;
  }

  LTypeCell* StatusItem(const AnsiString& name, int32_t factor = 100, int32_t offset = -500, Byte drawn = 1)
  {
    auto* item = new LTypeCell;
    item->Id = 1;
    item->Factor = factor;
    item->Offset = offset;
    item->Chart = drawn;
    item->NameRu = item->NameEn = item->NameDe = name;
    chart->Items->Add(item);
    return item;
  }

  LStatusCell* Status(const AnsiString& name)
  {
    auto* status = new LStatusCell;
    status->Name = name;
    status->Steps = new TPtrList<LStatusStep>;
    unit.StatusCells->Add(status);
    return status;
  }

  static void Step(LStatusCell* status, int64_t time, Byte state)
  {
    auto* step = new LStatusStep;
    step->Time = time;
    step->State = state;
    status->Steps->Add(step);
  }

  LErrorCell* Fault(int64_t time)
  {
    auto* fault = new LErrorCell;
    fault->Time = time;
    unit.ErrorCells->Add(fault);
    return fault;
  }

  void CursorAt(int64_t time)
  {
    unit.CursorTime = time;
    unit.CalcCursorValues();
  }

  ScratchFolder folder;
  BQELunit unit;
  LMaskCell* chart = nullptr;
  std::unique_ptr<TComboBox> combo;
};
