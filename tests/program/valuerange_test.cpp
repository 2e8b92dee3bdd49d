// The value range of the chart mask (margins, Y bounds, the empty range, status levels) and the
// time span of the log.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "program/ChartTestSupport.h"

namespace {

class ValueRange : public ChartTest {
protected:
  // A status line naming `text` under the code "S00001".
  void StatusLine(int64_t time, const AnsiString& text) { AddLine(unit, KindStatus, time, 0.0, text, "S00001"); }
};

TEST_F(ValueRange, PositiveValuesGetThreePercentMarginsThenTheMaskBounds)
{
  LTypeCell* rpm = Item(2);
  for (double v : {800.0, 2500.0, 4000.0, 1200.0})
    Record(2, 100, v);
  Link();
  chart->YBottom = -1000;
  chart->YTop = 10000;
  unit.CalcValueRange();
  EXPECT_DOUBLE_EQ(unit.ValueMin, -120.0);
  EXPECT_DOUBLE_EQ(unit.ValueMax, 4123.6);  // the upper margin from the widened range
  // The item's own range also starts at zero.
  EXPECT_EQ(rpm->Minimum, 0.0);
  EXPECT_EQ(rpm->Maximum, 4000.0);

  chart->YBottom = -200;
  chart->YTop = 4000;
  unit.CalcValueRange();
  EXPECT_DOUBLE_EQ(unit.ValueMin, -120.0);
  EXPECT_DOUBLE_EQ(unit.ValueMax, 4000.0);
  chart->YBottom = -50;
  unit.CalcValueRange();
  EXPECT_DOUBLE_EQ(unit.ValueMin, -50.0);
}

TEST_F(ValueRange, FactorAndOffsetScaleOnlyDrawnItemsWithRecords)
{
  chart->YBottom = -100000;
  chart->YTop = 100000;
  LTypeCell* load = Item(2, 10, -50);
  LTypeCell* hidden = Item(3, 1, 0, 0);
  LTypeCell* absent = Item(9);
  Record(2, 0, 2.5);
  Record(3, 10, -7000.0);
  Record(2, 20, -1.0);
  Link();
  unit.CalcValueRange();
  EXPECT_EQ(load->Minimum, -60.0);
  EXPECT_EQ(load->Maximum, 0.0);
  EXPECT_EQ(hidden->Minimum, 0.0);  // reset, and not drawn
  EXPECT_EQ(absent->Maximum, 0.0);
  EXPECT_DOUBLE_EQ(unit.ValueMin, -60.0 - 60.0 * 0.03);
  EXPECT_DOUBLE_EQ(unit.ValueMax, 61.8 * 0.03);
}

TEST_F(ValueRange, RecordsCountAsTheirKindsLinksJoinThem)
{
  LTypeCell* item = Item(2);
  Record(2, 0, 10.0);
  Record(2, 10, 5000.0);
  Record(2, 20, 20.0);
  unit.CalcValueRange();
  EXPECT_EQ(item->Maximum, 10.0);  // not linked: the chain is its first record

  unit.DataCells->Get(0)->Next = unit.DataCells->Get(2);  // past the second
  unit.CalcValueRange();
  EXPECT_EQ(item->Maximum, 20.0);

  Link();
  unit.CalcValueRange();
  EXPECT_EQ(item->Maximum, 5000.0);
}

TEST_F(ValueRange, NothingDrawnGivesMinusToPlusHundredUnlessABoundMovesAnEnd)
{
  Item(2, 1, 0, 0);
  Record(2, 100, 3000.0);
  unit.CalcValueRange();
  EXPECT_EQ(unit.ValueMin, -100.0);
  EXPECT_EQ(unit.ValueMax, 100.0);

  // A bottom bound above zero moves the bottom only: the range stays inverted.
  chart->YBottom = 10;
  unit.CalcValueRange();
  EXPECT_EQ(unit.ValueMin, 10.0);
  EXPECT_EQ(unit.ValueMax, 0.0);

  // Equal bounds clip any range to zero width; it is left so, without a failure.
  chart->YBottom = 50;
  chart->YTop = 50;
  chart->Items->Get(0)->Chart = 1;
  unit.CalcValueRange();
  EXPECT_EQ(unit.ValueMin, 50.0);
  EXPECT_EQ(unit.ValueMax, 50.0);
  unit.CursorTime = 100;
  unit.CalcCursorValues();
  EXPECT_EQ(chart->Items->Get(0)->CursorValue, 3000.0);
}

TEST_F(ValueRange, StatusItemCountsOnlyWhenItsStatusHasStepsInThisLog)
{
  chart->YBottom = -1000;
  LStatusCell* idle = AddStatus(unit, "IDLE");
  AddStatus(unit, "Drive");
  LTypeCell* idleItem = StatusItem("IDLE", 100, -500);
  LTypeCell* driveItem = StatusItem("Drive", 100, -700);
  StatusLine(10, "IDLE");
  StatusLine(20, "");
  unit.MapStatusesToData();
  idleItem->Minimum = driveItem->Maximum = 77.0;
  unit.CalcValueRange();
  // The steps were rebuilt by the range computation itself.
  ASSERT_EQ(idle->Steps->Count(), 2);
  EXPECT_EQ(idleItem->Present, 1);
  EXPECT_EQ(driveItem->Present, 0);
  EXPECT_EQ(idleItem->Minimum, -500.0);
  EXPECT_EQ(idleItem->Maximum, 0.0);
  EXPECT_EQ(driveItem->Maximum, 0.0);
  EXPECT_DOUBLE_EQ(unit.ValueMin, -515.0);
  EXPECT_DOUBLE_EQ(unit.ValueMax, 515.0 * 0.03);

  // Present but not drawn: no levels.
  idleItem->Chart = 0;
  unit.CalcValueRange();
  EXPECT_EQ(idleItem->Present, 1);
  EXPECT_EQ(unit.ValueMin, -100.0);
}

TEST_F(ValueRange, StatusLevelsOfExtremeFactorAndOffsetDoNotOverflow)
{
  chart->YBottom = std::numeric_limits<int32_t>::min();
  chart->YTop = std::numeric_limits<int32_t>::max();
  AddStatus(unit, "IDLE");
  LTypeCell* item = StatusItem("IDLE", std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());
  StatusLine(10, "IDLE");
  unit.MapStatusesToData();
  unit.CalcValueRange();
  EXPECT_EQ(item->Maximum, 2.0 * std::numeric_limits<int32_t>::max());
  EXPECT_EQ(unit.ValueMax, std::numeric_limits<int32_t>::max());  // clipped
}

TEST_F(ValueRange, HugeAndInfiniteValuesEndClippedToTheBounds)
{
  LTypeCell* item = Item(2, 1000);
  Record(2, 0, 1e306);  // times 1000: infinite
  Record(2, 10, -1e306);
  Record(2, 20, std::nan(""));
  Link();
  unit.CalcValueRange();
  EXPECT_TRUE(std::isinf(item->Maximum));
  EXPECT_EQ(unit.ValueMin, -200.0);
  EXPECT_EQ(unit.ValueMax, 4000.0);
}

TEST_F(ValueRange, ItemOfNoParameterTakesNoRecordsNotEvenEraseMarkers)
{
  LTypeCell* unlinked = Item(-1, 60, -3000);
  LTypeCell* faults = Item(0, 60, -3000);
  Record(KindEraseMarker, 10);
  Record(KindFault, 20, 1.0);
  Link();
  unit.CalcValueRange();
  EXPECT_EQ(unlinked->Minimum, 0.0);
  EXPECT_EQ(faults->Minimum, 0.0);
  EXPECT_EQ(unit.ValueMin, -100.0);
  unit.CursorTime = 30;
  unit.CalcCursorValues();
  EXPECT_EQ(unlinked->CursorValue, NoValue);
  EXPECT_EQ(faults->CursorValue, NoValue);
}

TEST_F(ValueRange, TimeSpanIsTheLastRecordsTimeOrOneSecond)
{
  Item(2);
  unit.CalcValueRange();
  EXPECT_EQ(unit.TimeSpan, 1000);  // empty log

  Record(2, 0);
  unit.CalcValueRange();
  EXPECT_EQ(unit.TimeSpan, 1000);

  Record(2, 5'000'000'000);  // beyond 32 bits
  unit.DataCells->Add(nullptr);
  unit.CalcValueRange();
  EXPECT_EQ(unit.TimeSpan, 5'000'000'000);

  Record(KindStatus, -5);
  unit.CalcValueRange();
  EXPECT_EQ(unit.TimeSpan, 1000);
}

TEST_F(ValueRange, WithoutChartMaskTheRangeStaysButTheStatusBarAndStepsAreRedone)
{
  static int fits = 0;
  fits = 0;
  unit.FitChartStatusBarHook = [](BQELunit&) { ++fits; };
  LStatusCell* idle = AddStatus(unit, "IDLE");
  StatusItem("IDLE");
  StatusLine(10, "IDLE");
  unit.MapStatusesToData();
  unit.ValueMin = -1.5;
  unit.ValueMax = 2.5;
  unit.TimeSpan = 77;
  combo->SetItemIndex(-1);
  unit.CalcValueRange();
  EXPECT_EQ(fits, 1);
  EXPECT_EQ(idle->Steps->Count(), 0);  // no chart mask: no status shown
  EXPECT_EQ(unit.ValueMin, -1.5);
  EXPECT_EQ(unit.ValueMax, 2.5);
  EXPECT_EQ(unit.TimeSpan, 77);

  combo->SetItemIndex(0);
  unit.CalcValueRange();
  EXPECT_EQ(fits, 2);
  EXPECT_EQ(idle->Steps->Count(), 1);
  EXPECT_EQ(unit.TimeSpan, 10);
}

}  // namespace
