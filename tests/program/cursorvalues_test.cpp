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
    Item(2);
    Item(3);
    Record(2, 100, 1.0);      // 0
    Record(3, 150, 10.0);     // 1
    Record(2, 200, 2.0);      // 2
    Record(KindStatus, 250);  // 3
    Record(3, 300, 30.0);     // 4
    Record(2, 400, 4.0);      // 5
    Link();
    unit.CalcValueRange();
  }

  // The items' values ("-" for none), the record's index and the caret at the time.
  std::string At(int64_t time)
  {
    CursorAt(time);
    std::ostringstream out;
    for (int i = 0; i < chart->Items->Count(); ++i) {
      const double value = chart->Items->Get(i)->CursorValue;
      out << (value == NoValue ? "-" : std::to_string(static_cast<int>(value))) << ' ';
    }
    out << "record=" << (unit.CursorDataCell ? unit.CursorDataCell->Index : -1)
        << " caret=" << unit.CursorCaretPos;
    return out.str();
  }
};

TEST_F(CursorValues, ValuesAreRawTheRecordIsTheLatestOfAnyKindTheCaretInterpolatedBetweenRecords)
{
  SmallLog();
  const std::pair<int64_t, const char*> cases[] = {
      {99, "- - record=-1 caret=-1"},        {100, "1 - record=0 caret=0"},
      {200, "2 10 record=2 caret=20"},       {275, "2 10 record=3 caret=35"},  // 30 + 10 * 25 / 50
      {260, "2 10 record=3 caret=32"},       {254, "2 10 record=3 caret=30"},  // 40 / 50 truncates
      {1'000'000, "4 30 record=5 caret=50"},                                   // after the last: no interpolation
  };
  for (const auto& [time, found] : cases)
    EXPECT_EQ(At(time), found) << time;
}

TEST_F(CursorValues, OneRecordAndEmptyLog)
{
  Item(2);
  unit.CalcValueRange();
  EXPECT_EQ(At(0), "- record=-1 caret=-1");
  Record(2, 0, 5.0, 123);
  unit.CalcValueRange();
  EXPECT_EQ(At(-1), "- record=-1 caret=-1");
  EXPECT_EQ(At(0), "5 record=0 caret=123");
  EXPECT_EQ(At(50), "5 record=0 caret=123");
}

TEST_F(CursorValues, CaretProductBeyondSixtyFourBits)
{
  Item(2);
  Record(2, 0, 1.0, 0);
  Record(3, 4'000'000'000'000'000'000, 2.0, 4'000'000'000'000'000'000);
  unit.CalcValueRange();
  CursorAt(1'000'000'000'000'000'000);
  EXPECT_EQ(unit.CursorDataCell, unit.DataCells->Get(0));
  EXPECT_EQ(unit.CursorCaretPos, 1'000'000'000'000'000'000);

  // Positions and times spanning the whole 64-bit range overflow even 128 bits.
  unit.ClearDataCells();
  Record(2, -9'000'000'000'000'000'000, 1.0, -9'000'000'000'000'000'000);
  Record(3, std::numeric_limits<int64_t>::max(), 2.0, 9'000'000'000'000'000'000);
  CursorAt(9'000'000'000'000'000'000);
  EXPECT_EQ(unit.CursorDataCell, unit.DataCells->Get(0));
  EXPECT_GT(unit.CursorCaretPos, 8'770'000'000'000'000'000);  // 8.7795e18
  EXPECT_LT(unit.CursorCaretPos, 8'790'000'000'000'000'000);
}

TEST_F(CursorValues, ChainsAreFollowedAsLinkedEvenWhenNotLinkedAndNullEntriesSteppedOver)
{
  Item(2);
  Item(3);
  Record(2, 100, 1.0);
  Record(2, 200, 2.0);
  unit.DataCells->Add(nullptr);
  Record(2, 300, 3.0);
  unit.DataCells->Add(nullptr);
  unit.CalcValueRange();
  EXPECT_EQ(At(200), "1 - record=1 caret=10");  // no links: the chain is its first record
  Link();
  unit.CalcValueRange();
  EXPECT_EQ(At(200), "2 - record=1 caret=10");
  EXPECT_EQ(At(400), "3 - record=3 caret=30");

  // A new log is followed without a new range.
  unit.ClearDataCells();
  Record(3, 0, 7.0);
  Record(2, 10, 8.0);
  Link();
  EXPECT_EQ(At(1000), "8 7 record=1 caret=10");
}

TEST_F(CursorValues, StatusesTakeTheStateOfTheirLastStepAtOrBeforeTheCursor)
{
  AddStatus(unit, "IDLE", {{100, 1}, {300, 0}});
  LStatusCell* bare = AddStatus(unit, "Drive");
  delete bare->Steps;
  bare->Steps = nullptr;
  bare->State = 1;
  StatusItem("IDLE");
  StatusItem("Drive");
  StatusItem("EVAP");
  const std::pair<int64_t, const char*> cases[] = {
      {99, "-1 -1 - "}, {100, "1 -1 - "}, {299, "1 -1 - "}, {300, "-1 -1 - "}};
  for (const auto& [time, values] : cases) {
    EXPECT_EQ(At(time), values + std::string("record=-1 caret=-1")) << time;
    EXPECT_EQ(bare->State, 0);  // reset, and no steps to set it
  }
}

TEST_F(CursorValues, WithoutChartMaskOrLogFileOnlyTheResetHappens)
{
  SmallLog();
  LStatusCell* idle = AddStatus(unit, "IDLE", {{0, 1}});
  AddFault(unit, 0);
  CursorAt(275);
  ASSERT_NE(unit.CursorFaultInterval, nullptr);
  ASSERT_EQ(idle->State, 1);
  chart->Items->Get(0)->CursorValue = 42.0;

  unit.LogFileName = folder / "gone.qel";
  CursorAt(275);
  EXPECT_EQ(unit.CursorCaretPos, -1);
  EXPECT_EQ(unit.CursorDataCell, nullptr);
  EXPECT_EQ(unit.CursorFaultInterval, nullptr);
  EXPECT_EQ(idle->State, 0);
  EXPECT_EQ(chart->Items->Get(0)->CursorValue, 42.0);  // items untouched

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
    for (int r = chosen ? chosen->Index : 0; r < unit.DataCells->Count() && unit.DataCells->Get(r)->Time <= time;
         ++r)
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
  StatusItem("no such status");
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
  for (int f = 0; f < unit.ErrorCells->Count(); ++f)
    for (int64_t d : {-1, 0})
      times.push_back(unit.ErrorCells->Get(f)->Time + d);
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

}  // namespace
