#pragma once
// A central object drawing chart pictures for the golden tests: the pinned look, no masks or
// statuses but one new chart mask of the test's own, and a log name that exists.
#include <memory>

#include "ComboBox.h"
#include "program/ParserTestSupport.h"
#include "support/Golden.h"

class ChartPictureTest : public ParserTest {
protected:
  void SetUp() override
  {
    PinGoldenLook();
    ParserTest::SetUp();
    unit.ClearMaskCells();
    unit.ClearStatusCells();
    chart = ChooseNewChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
  }
  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  std::unique_ptr<TComboBox> combo;
  LMaskCell* chart = nullptr;
};
