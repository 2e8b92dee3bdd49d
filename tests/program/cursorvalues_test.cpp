// Values at the cursor: item values, statuses, the line record and caret position, the fault
// interval; at the edges of the log, and against a plain walk over a generated log.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <vector>

#include "program/ChartTestSupport.h"
#include "tools/loggen_core.h"

namespace {

class CursorValues : public ChartTest {
protected:
  // A and B are parameters 2 and 3; record i has text position 10 * i.
  void SmallLog()
  {
    a = Item(2);
    b = Item(3);
    Record(2, 100, 1.0);   // 0
    Record(3, 150, 10.0);  // 1
    Record(2, 200, 2.0);   // 2
    Record(KindStatus, 250);  // 3
    Record(3, 300, 30.0);  // 4
    Record(2, 400, 4.0);   // 5
    Link();
    unit.CalcValueRange();
  }

  LDataCell* At(int i) const { return unit.DataCells->Get(i); }

  LTypeCell* a = nullptr;
  LTypeCell* b = nullptr;
};

TEST_F(CursorValues, BeforeTheFirstRecordNothingIsFound)
{
  SmallLog();
  CursorAt(99);
  EXPECT_EQ(a->CursorValue, NoValue);
  EXPECT_EQ(b->CursorValue, NoValue);
  EXPECT_EQ(unit.CursorDataCell, nullptr);
  EXPECT_EQ(unit.CursorCaretPos, -1);
}

TEST_F(CursorValues, OnARecordItsPositionWithoutInterpolation)
{
  SmallLog();
  CursorAt(200);
  EXPECT_EQ(a->CursorValue, 2.0);
  EXPECT_EQ(b->CursorValue, 10.0);
  EXPECT_EQ(unit.CursorDataCell, At(2));
  EXPECT_EQ(unit.CursorCaretPos, 20);
}

TEST_F(CursorValues, BetweenRecordsAnyKindCountsAndTheCaretIsInterpolated)
{
  SmallLog();
  CursorAt(275);
  EXPECT_EQ(a->CursorValue, 2.0);
  EXPECT_EQ(b->CursorValue, 10.0);  // raw, not scaled
  EXPECT_EQ(unit.CursorDataCell, At(3));  // the status line after the latest value
  EXPECT_EQ(unit.CursorCaretPos, 35);     // 30 + 10 * 25 / 50
  CursorAt(260);
  EXPECT_EQ(unit.CursorCaretPos, 32);     // 100 / 50
  CursorAt(254);
  EXPECT_EQ(unit.CursorCaretPos, 30);     // 40 / 50 truncates
}

TEST_F(CursorValues, AfterTheLastRecordTheLastValuesAndNoInterpolation)
{
  SmallLog();
  CursorAt(1'000'000);
  EXPECT_EQ(a->CursorValue, 4.0);
  EXPECT_EQ(b->CursorValue, 30.0);
  EXPECT_EQ(unit.CursorDataCell, At(5));
  EXPECT_EQ(unit.CursorCaretPos, 50);
}

TEST_F(CursorValues, OneRecordAndEmptyLog)
{
  LTypeCell* item = Item(2);
  unit.CalcValueRange();
  CursorAt(0);
  EXPECT_EQ(item->CursorValue, NoValue);
  EXPECT_EQ(unit.CursorCaretPos, -1);

  Record(2, 0, 5.0, 123);
  unit.CalcValueRange();
  CursorAt(-1);
  EXPECT_EQ(item->CursorValue, NoValue);
  EXPECT_EQ(unit.CursorCaretPos, -1);
  CursorAt(0);
  EXPECT_EQ(item->CursorValue, 5.0);
  EXPECT_EQ(unit.CursorCaretPos, 123);
  CursorAt(50);
  EXPECT_EQ(unit.CursorCaretPos, 123);
}

TEST_F(CursorValues, CaretProductBeyondSixtyFourBits)
{
  Item(2);
  Record(2, 0, 1.0, 0);
  Record(3, 4'000'000'000'000'000'000, 2.0, 4'000'000'000'000'000'000);
  unit.CalcValueRange();
  CursorAt(1'000'000'000'000'000'000);
  EXPECT_EQ(unit.CursorDataCell, At(0));
  EXPECT_EQ(unit.CursorCaretPos, 1'000'000'000'000'000'000);

  // Positions and times spanning the whole 64-bit range overflow even 128 bits.
  unit.ClearDataCells();
  Record(2, -9'000'000'000'000'000'000, 1.0, -9'000'000'000'000'000'000);
  Record(3, std::numeric_limits<int64_t>::max(), 2.0, 9'000'000'000'000'000'000);
  CursorAt(9'000'000'000'000'000'000);
  EXPECT_EQ(unit.CursorDataCell, At(0));
  EXPECT_GT(unit.CursorCaretPos, 8'770'000'000'000'000'000);  // 8.7795e18
  EXPECT_LT(unit.CursorCaretPos, 8'790'000'000'000'000'000);
}

TEST_F(CursorValues, ChainsAreFollowedAsLinkedEvenWhenNotLinked)
{
  LTypeCell* item = Item(2);
  Record(2, 100, 1.0);
  Record(2, 200, 2.0);
  Record(2, 300, 3.0);
  unit.CalcValueRange();
  CursorAt(250);
  EXPECT_EQ(item->CursorValue, 1.0);  // no links: the chain is its first record
  EXPECT_EQ(unit.CursorDataCell, At(1));
  Link();
  unit.CalcValueRange();
  CursorAt(250);
  EXPECT_EQ(item->CursorValue, 2.0);
}

TEST_F(CursorValues, ANewLogIsFollowedWithoutANewRange)
{
  SmallLog();
  CursorAt(1000);
  EXPECT_EQ(a->CursorValue, 4.0);
  unit.ClearDataCells();
  Record(3, 0, 7.0);
  Record(2, 10, 8.0);
  Link();
  CursorAt(1000);
  EXPECT_EQ(a->CursorValue, 8.0);
  EXPECT_EQ(b->CursorValue, 7.0);
  EXPECT_EQ(unit.CursorDataCell, At(1));
}

TEST_F(CursorValues, NullEntriesAreSteppedOver)
{
  LTypeCell* item = Item(2);
  Record(2, 100, 1.0);
  unit.DataCells->Add(nullptr);
  unit.DataCells->Add(nullptr);
  Record(2, 300, 3.0);
  unit.DataCells->Add(nullptr);
  Link();
  unit.CalcValueRange();
  for (int64_t t : {50, 100, 200, 300, 400}) {
    CursorAt(t);
    EXPECT_EQ(item->CursorValue, t < 100 ? NoValue : t < 300 ? 1.0 : 3.0) << t;
    EXPECT_EQ(unit.CursorDataCell, t < 100 ? nullptr : t < 300 ? At(0) : At(3)) << t;
  }
}

TEST_F(CursorValues, StatusesTakeTheStateOfTheirLastStepAtOrBeforeTheCursor)
{
  LStatusCell* idle = Status("IDLE");
  Step(idle, 100, 1);
  Step(idle, 300, 0);
  LStatusCell* bare = Status("Drive");
  delete bare->Steps;
  bare->Steps = nullptr;
  bare->State = 1;
  LTypeCell* idleItem = StatusItem("IDLE");
  LTypeCell* driveItem = StatusItem("Drive");
  LTypeCell* unknown = StatusItem("EVAP");
  const std::vector<std::pair<int64_t, int>> expected = {{99, 0}, {100, 1}, {299, 1}, {300, 0}, {9999, 0}};
  for (const auto& [time, state] : expected) {
    CursorAt(time);
    EXPECT_EQ(idle->State, state) << time;
    EXPECT_EQ(idleItem->CursorValue, state ? 1.0 : -1.0) << time;
  }
  EXPECT_EQ(bare->State, 0);  // reset, and no steps to set it
  EXPECT_EQ(driveItem->CursorValue, -1.0);
  EXPECT_EQ(unknown->CursorValue, NoValue);
}

TEST_F(CursorValues, FaultIntervalIsTheLastWhoseMiddleIsAtOrBeforeTheCursor)
{
  Item(2);
  LErrorCell* first = Fault(100);
  LErrorCell* second = Fault(300);
  const std::vector<std::pair<int64_t, LErrorCell*>> expected = {
      {99, nullptr}, {100, first}, {299, first}, {300, second}, {5000, second}};
  for (const auto& [time, fault] : expected) {
    CursorAt(time);
    EXPECT_EQ(unit.CursorFaultInterval, fault) << time;
  }
}

TEST_F(CursorValues, WithoutChartMaskOrLogFileOnlyTheResetHappens)
{
  SmallLog();
  LStatusCell* idle = Status("IDLE");
  Step(idle, 0, 1);
  Fault(0);
  CursorAt(275);
  ASSERT_NE(unit.CursorFaultInterval, nullptr);
  ASSERT_EQ(idle->State, 1);
  a->CursorValue = 42.0;

  unit.LogFileName = folder / "gone.qel";
  CursorAt(275);
  EXPECT_EQ(unit.CursorCaretPos, -1);
  EXPECT_EQ(unit.CursorDataCell, nullptr);
  EXPECT_EQ(unit.CursorFaultInterval, nullptr);
  EXPECT_EQ(idle->State, 0);
  EXPECT_EQ(a->CursorValue, 42.0);  // items untouched

  unit.LogFileName = folder / "log.qel";
  CursorAt(275);
  EXPECT_EQ(idle->State, 1);
  combo->SetItemIndex(-1);
  CursorAt(275);
  EXPECT_EQ(unit.CursorCaretPos, -1);
  EXPECT_EQ(unit.CursorFaultInterval, nullptr);
  EXPECT_EQ(idle->State, 0);
}

// The search against the walks it replaces, on a parsed log of every kind of line.
class CursorOnGeneratedLog : public ChartTest {
protected:
  struct Found {
    std::vector<double> values;
    std::vector<int> states;
    const LDataCell* record = nullptr;
    int64_t caret = -1;
    const LErrorCell* fault = nullptr;
  };

  Found Walk(int64_t time) const
  {
    Found found;
    for (int s = 0; s < unit.StatusCells->Count(); ++s) {
      const LStatusCell* status = unit.StatusCells->Get(s);
      int state = 0;
      for (int k = 0; status->Steps && k < status->Steps->Count() && status->Steps->Get(k)->Time <= time; ++k)
        state = status->Steps->Get(k)->State;
      found.states.push_back(state);
    }
    const LDataCell* chosen = nullptr;
    for (int i = 0; i < chart->Items->Count(); ++i) {
      const LTypeCell* item = chart->Items->Get(i);
      double value = NoValue;
      if (item->Id == 1) {
        for (int s = 0; s < unit.StatusCells->Count(); ++s)
          if (unit.StatusCells->Get(s)->Name == item->NameRu) {
            value = found.states[static_cast<size_t>(s)] ? 1.0 : -1.0;
            break;
          }
      } else if (item->Id >= 2) {  // an item of no parameter has no records
        const LDataCell* cell = nullptr;
        for (int r = 0; r < unit.DataCells->Count() && !cell; ++r)
          if (unit.DataCells->Get(r)->Kind == item->Id)
            cell = unit.DataCells->Get(r);
        while (cell && cell->Next && cell->Next->Time <= time)
          cell = cell->Next;
        if (cell && cell->Time <= time) {
          value = cell->Value;
          if (!chosen || cell->Time > chosen->Time)
            chosen = cell;
        }
      }
      found.values.push_back(value);
    }
    found.record = chosen;
    for (int r = chosen ? chosen->Index : 0; r < unit.DataCells->Count() && unit.DataCells->Get(r)->Time <= time; ++r)
      found.record = unit.DataCells->Get(r);
    if (found.record) {
      const LDataCell* cell = found.record;
      found.caret = cell->TextPos;
      if (cell->Time != time && cell->Index + 1 < unit.DataCells->Count()) {
        const LDataCell* next = unit.DataCells->Get(cell->Index + 1);
        if (next->Time != cell->Time)
          found.caret += (next->TextPos - cell->TextPos) * (time - cell->Time) / (next->Time - cell->Time);
      }
    }
    for (int f = 0; f < unit.ErrorCells->Count() && unit.ErrorCells->Get(f)->Time <= time; ++f)
      found.fault = unit.ErrorCells->Get(f);
    return found;
  }

  Found Search(int64_t time)
  {
    CursorAt(time);
    Found found;
    for (int s = 0; s < unit.StatusCells->Count(); ++s)
      found.states.push_back(unit.StatusCells->Get(s)->State);
    for (int i = 0; i < chart->Items->Count(); ++i)
      found.values.push_back(chart->Items->Get(i)->CursorValue);
    found.record = unit.CursorDataCell;
    found.caret = unit.CursorCaretPos;
    found.fault = unit.CursorFaultInterval;
    return found;
  }
};

TEST_F(CursorOnGeneratedLog, SearchFindsWhatTheWalksFind)
{
  loggen::Options options;
  options.size = 120'000;
  options.seed = 7;
  std::ostringstream text;
  loggen::Generate(text, options);
  unit.LogFileName = folder.Write("Q5 generated.qel", text.str());
  unit.ParseLogText();
  unit.MakeDefaultStatuses();
  unit.MapStatusesToData();
  unit.ClearErrorCells();  // whether or not the parse built them
  unit.BuildErrorIntervals();
  for (int i = 0; i < unit.TypeCells->Count(); ++i)
    Item(unit.TypeCells->Get(i)->Id);
  Item(-1);  // a name no parameter has
  for (int s = 0; s < unit.StatusCells->Count(); ++s)
    StatusItem(unit.StatusCells->Get(s)->Name);
  unit.CalcValueRange();
  const int count = unit.DataCells->Count();
  ASSERT_GT(count, 1000);
  // The items' ranges against walks along the links.
  for (int i = 0; i < chart->Items->Count(); ++i) {
    const LTypeCell* item = chart->Items->Get(i);
    if (item->Id < 2)
      continue;
    double low = 0.0, high = 0.0;
    const LDataCell* cell = nullptr;
    for (int r = 0; r < count && !cell; ++r)
      if (unit.DataCells->Get(r)->Kind == item->Id)
        cell = unit.DataCells->Get(r);
    for (; cell; cell = cell->Next) {
      low = std::min(low, cell->Value);
      high = std::max(high, cell->Value);
    }
    EXPECT_EQ(item->Minimum, low) << item->Id;
    EXPECT_EQ(item->Maximum, high) << item->Id;
  }
  ASSERT_GT(unit.ErrorCells->Count(), 0);

  std::vector<int64_t> times = {-1, 0, unit.TimeSpan + 1};
  for (int r = 0; r < count; r += 37)
    for (int64_t d : {-1, 0, 1, 7})
      times.push_back(unit.DataCells->Get(r)->Time + d);
  int valued = 0, statusesOn = 0, faulted = 0, interpolated = 0;
  for (int64_t time : times) {
    const Found walk = Walk(time);
    const Found search = Search(time);
    ASSERT_EQ(search.values, walk.values) << time;
    ASSERT_EQ(search.states, walk.states) << time;
    ASSERT_EQ(search.record, walk.record) << time;
    ASSERT_EQ(search.caret, walk.caret) << time;
    ASSERT_EQ(search.fault, walk.fault) << time;
    valued += walk.values.front() != NoValue;
    for (int state : walk.states)
      statusesOn += state;
    faulted += walk.fault != nullptr;
    interpolated += walk.record && walk.caret != walk.record->TextPos;
  }
  // The comparison met values, statuses that were on, fault intervals and moved carets.
  EXPECT_GT(valued, 0);
  EXPECT_GT(statusesOn, 0);
  EXPECT_GT(faulted, 0);
  EXPECT_GT(interpolated, 0);
}

} // namespace
