#pragma once
// Shared by the value-range and cursor tests: a central object with a chart mask chosen in the
// chart's combo, a log file that exists on disk, and short names for the record builders.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"
#include "chart/Masks.h"
#include "support/Records.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

// The older name of ChooseNewChartMask, still used by the parser's tests.
inline LMaskCell* AddChosenChartMask(BQELunit& unit, std::unique_ptr<TComboBox>& combo)
{
  return ChooseNewChartMask(unit, combo);
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
    chart = ChooseNewChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
  }

  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  // A line record at the end of the list; its text position defaults to ten times its index.
  LDataCell* Record(int32_t kind, int64_t time, double value = 0.0, std::optional<int64_t> textPos = {})
  {
    LDataCell* cell = AddLine(unit, kind, time, value);
    if (textPos)
      cell->TextPos = *textPos;
    return cell;
  }
  void Link() { LinkLines(unit); }

  // A parameter item "P<id>" and a status item, drawn unless told.
  LTypeCell* Item(int32_t id, int32_t factor = 1, int32_t offset = 0, Byte drawn = 1)
  {
    return AddItem(chart->Items, id, "P" + std::to_string(id), drawn, factor, offset);
  }
  LTypeCell* StatusItem(const AnsiString& name, int32_t factor = 100, int32_t offset = -500, Byte drawn = 1)
  {
    return AddItem(chart->Items, StatusItemId, name, drawn, factor, offset);
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
