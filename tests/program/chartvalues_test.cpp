// The value range of the chart mask (margins, Y bounds, status levels, the time span) and the
// values at the cursor (items, statuses, the record and caret, the fault interval), scripted and
// against plain walks over a generated log.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"
#include "program/ParserTestSupport.h"
#include "tools/loggen_core.h"

namespace {

constexpr int32_t Top = std::numeric_limits<int32_t>::max();

// A chart mask chosen in the chart's combo, over a log file that exists.
class ChartTest : public ParserTest {
protected:
  void SetUp() override
  {
    ParserTest::SetUp();
    unit.ClearMaskCells();  // only what the test makes: none of the defaults of a first start
    unit.ClearStatusCells();
    chart = ChooseNewChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
  }
  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  // A parameter item "P<id>", or a status item, drawn unless told.
  LTypeCell* Item(int32_t id, int32_t factor = 1, int32_t offset = 0, Byte drawn = 1)
  {
    return AddItem(chart->Items, id, "P" + std::to_string(id), drawn, factor, offset);
  }
  LTypeCell* StatusItem(const AnsiString& name, int32_t factor = 100, int32_t offset = -500)
  {
    return AddItem(chart->Items, StatusItemId, name, 1, factor, offset);
  }
  void StatusLine(int64_t time, const AnsiString& text) { AddLine(unit, KindStatus, time, 0.0, text, "S00001"); }

  // "ValueMin ValueMax TimeSpan | minimum..maximum" of each item after a new range.
  std::string Range()
  {
    unit.CalcValueRange();
    std::ostringstream out;
    out.precision(12);
    out << unit.ValueMin << ' ' << unit.ValueMax << ' ' << unit.TimeSpan;
    for (int i = 0; i < chart->Items->Count(); ++i)
      out << " | " << chart->Items->Get(i)->Minimum << ".." << chart->Items->Get(i)->Maximum;
    return out.str();
  }

  // What the chart shows at the time: "values | states | record caret fault" ("-" for no value,
  // -1 for no record or fault).
  std::string At(int64_t time)
  {
    unit.CursorTime = time;
    unit.CalcCursorValues();
    std::ostringstream out;
    for (int i = 0; i < chart->Items->Count(); ++i)
      Value(out, chart->Items->Get(i)->CursorValue);
    out << '|';
    for (int s = 0; s < unit.StatusCells->Count(); ++s)
      out << ' ' << int{unit.StatusCells->Get(s)->State};
    int fault = -1;
    for (int f = 0; f < unit.ErrorCells->Count(); ++f)
      fault = unit.ErrorCells->Get(f) == unit.CursorFaultInterval ? f : fault;
    out << " | " << (unit.CursorDataCell ? unit.CursorDataCell->Index : -1) << ' ' << unit.CursorCaretPos << ' '
        << fault;
    return out.str();
  }
  static void Value(std::ostream& out, double value) { (value == NoValue ? out << '-' : out << value) << ' '; }

  LMaskCell* chart = nullptr;
  std::unique_ptr<TComboBox> combo;
};

using ValueRange = ChartTest;
using CursorValues = ChartTest;

// 3 % of the range below, then 3 % of the widened range above; the mask's bounds clip, and may
// leave the range inverted or of zero width. Nothing drawn gives -100 to 100.
TEST_F(ValueRange, MarginsBoundsAndEmptyRanges)
{
  LTypeCell* item = Item(2);
  for (double v : {800.0, 2500.0, 4000.0, 1200.0})
    AddLine(unit, 2, 100, v);
  LinkLines(unit);
  const std::tuple<int, int, Byte, const char*> cases[] = {
      {-1000, 10000, 1, "-120 4123.6 100 | 0..4000"}, {-200, 4000, 1, "-120 4000 100 | 0..4000"},
      {-50, 4000, 1, "-50 4000 100 | 0..4000"},       {50, 50, 1, "50 50 100 | 0..4000"},
      {-200, 4000, 0, "-100 100 100 | 0..0"},         {10, 4000, 0, "10 0 100 | 0..0"},
  };
  for (const auto& [bottom, top, drawn, range] : cases) {
    chart->YBottom = bottom;
    chart->YTop = top;
    item->Chart = drawn;
    EXPECT_EQ(Range(), range);
  }
}

// Only drawn items with records of their kind count, scaled; the others are reset. The time
// span is the last record's time, beyond 32 bits too.
TEST_F(ValueRange, FactorAndOffsetScaleDrawnItemsWithRecordsOnly)
{
  chart->YBottom = -100000;
  chart->YTop = 100000;
  Item(2, 10, -50);
  Item(3, 1, 0, 0);
  Item(9)->Maximum = 5;
  Item(-1, 60, -3000);  // no parameter has its name
  Item(0, 60, -3000);   // the kind of faults
  AddLine(unit, 2, 0, 2.5);
  AddLine(unit, 3, 10, -7000.0);
  AddLine(unit, KindEraseMarker, 30);
  AddLine(unit, KindFault, 40, 1.0);
  AddLine(unit, 2, 5'000'000'000, -1.0);
  unit.DataCells->Add(nullptr);
  LinkLines(unit);
  EXPECT_EQ(Range(), "-61.8 1.854 5000000000 | -60..0 | 0..0 | 0..0 | 0..0 | 0..0");
  EXPECT_EQ(At(50), "2.5 -7000 - - - | | 3 30 -1");
}

// Unlinked, the chain of a kind is its first record; a log without time spans a second; the
// span is the time of the last record, null entries after it aside.
TEST_F(ValueRange, RecordsCountAsTheirKindsLinksJoinThem)
{
  Item(2);
  for (double v : {10.0, 5000.0, 20.0})
    AddLine(unit, 2, 0, v);
  EXPECT_EQ(Range(), "-0.3 10.309 1000 | 0..10");
  unit.DataCells->Get(0)->Next = unit.DataCells->Get(2);  // past the second
  EXPECT_EQ(Range(), "-0.6 20.618 1000 | 0..20");
  LinkLines(unit);
  EXPECT_EQ(Range(), "-150 4000 1000 | 0..5000");
  unit.ClearDataCells();
  AddLine(unit, 2, 70, 1.0);  // the time span comes from the first record too
  unit.DataCells->Add(nullptr);
  EXPECT_EQ(Range(), "-0.03 1.0309 70 | 0..1");
}

// A status item counts when its status has steps in this log (rebuilt by the range itself),
// and gives its two levels only when drawn; huge factors and values do not overflow.
TEST_F(ValueRange, StatusLevelsAndExtremeValues)
{
  chart->YBottom = -1000;
  AddStatus(unit, "IDLE");
  AddStatus(unit, "Drive");
  LTypeCell* idle = StatusItem("IDLE");
  LTypeCell* drive = StatusItem("Drive", 100, -700);
  StatusLine(10, "IDLE");
  StatusLine(20, "");
  unit.MapStatusesToData();
  idle->Minimum = drive->Maximum = 77.0;
  std::string range = Range();  // before the steps it rebuilds are read
  EXPECT_EQ(range + " " + DumpSteps(unit.StatusCells->Get(0)) + " " + std::to_string(idle->Present) +
                std::to_string(drive->Present),
            "-515 15.45 20 | -500..0 | 0..0 10:1 20:0 10");
  idle->Chart = 0;
  range = Range();
  EXPECT_EQ(range + " " + std::to_string(idle->Present), "-100 100 20 | 0..0 | 0..0 1");

  chart->YBottom = -Top - 1;
  chart->YTop = Top;
  idle->Chart = 1;
  idle->Factor = idle->Offset = Top;
  EXPECT_EQ(Range(), "-128849018.82 2147483647 20 | 0..4294967294 | 0..0");
  idle->Chart = 0;
  Item(2, 1000);
  for (double v : {1e306, -1e306, std::numeric_limits<double>::quiet_NaN()})  // times 1000: infinite
    AddLine(unit, 2, 30, v);
  LinkLines(unit);
  chart->YBottom = -200;
  chart->YTop = 4000;
  EXPECT_EQ(Range(), "-200 4000 30 | 0..0 | 0..0 | -inf..inf");
}

// Positions and times far apart: the caret's product passes 64 bits, and spanning the whole
// 64-bit range even 128 (8.7795e18).
TEST_F(CursorValues, CaretProductBeyondSixtyFourBits)
{
  Item(2);
  AddLine(unit, 2, 0, 1.0, "", "", 0);
  AddLine(unit, 3, 4'000'000'000'000'000'000, 2.0, "", "", 4'000'000'000'000'000'000);
  unit.CalcValueRange();
  EXPECT_EQ(At(1'000'000'000'000'000'000), "1 | | 0 1000000000000000000 -1");
  unit.ClearDataCells();
  AddLine(unit, 2, -9'000'000'000'000'000'000, 1.0)->TextPos = -9'000'000'000'000'000'000;
  AddLine(unit, 3, std::numeric_limits<int64_t>::max(), 2.0, "", "", 9'000'000'000'000'000'000);
  At(9'000'000'000'000'000'000);
  EXPECT_EQ(unit.CursorDataCell, unit.DataCells->Get(0));
  EXPECT_GT(unit.CursorCaretPos, 8'770'000'000'000'000'000);
  EXPECT_LT(unit.CursorCaretPos, 8'790'000'000'000'000'000);
}

// Unlinked, a chain is its first record; null entries are stepped over; a new log is followed
// without a new range; the caret moves between records by the time's share, truncated. A status
// without steps is off, an unknown one has no value.
TEST_F(CursorValues, ChainsAsLinkedNullEntriesAndTheCaret)
{
  Item(2);
  Item(3);
  LStatusCell* bare = AddStatus(unit, "Drive");
  delete std::exchange(bare->Steps, nullptr);
  bare->State = 1;
  StatusItem("Drive");
  StatusItem("EVAP");
  EXPECT_EQ(At(0), "- - -1 - | 0 | -1 -1 -1");
  for (int64_t time : {100, 200, 300}) {
    AddLine(unit, 2, time, time / 100);
    unit.DataCells->Add(nullptr);
  }
  unit.CalcValueRange();
  EXPECT_EQ(At(200), "1 - -1 - | 0 | 2 20 -1");
  unit.ClearDataCells();
  AddLine(unit, 3, 0, 7.0);
  AddLine(unit, 2, 50, 8.0);
  LinkLines(unit);
  EXPECT_EQ(At(24) + ", " + At(1000), "- 7 -1 - | 0 | 0 4 -1, 8 7 -1 - | 0 | 1 10 -1");
}

// The searches against the plain walks they replace, on a parsed log of every kind of line:
// "values | states | record caret fault" at the time.
class CursorOnGeneratedLog : public ChartTest {
protected:
  std::string Walk(int64_t time) const
  {
    std::ostringstream out;
    std::vector<int> states;
    for (int s = 0; s < unit.StatusCells->Count(); ++s) {
      const LStatusCell* status = unit.StatusCells->Get(s);
      states.push_back(0);
      for (int k = 0; status->Steps && k < status->Steps->Count() && status->Steps->Get(k)->Time <= time; ++k)
        states.back() = status->Steps->Get(k)->State;
    }
    const LDataCell* record = nullptr;
    for (int i = 0; i < chart->Items->Count(); ++i) {
      const LTypeCell* item = chart->Items->Get(i);
      double value = NoValue;
      for (int s = 0; item->Id == StatusItemId && s < unit.StatusCells->Count() && value == NoValue; ++s)
        if (unit.StatusCells->Get(s)->Name == item->NameRu)
          value = states[static_cast<size_t>(s)] ? 1.0 : -1.0;
      const LDataCell* cell = nullptr;
      for (int r = 0; item->Id >= 2 && r < unit.DataCells->Count() && !cell; ++r)
        if (unit.DataCells->Get(r)->Kind == item->Id)
          cell = unit.DataCells->Get(r);
      while (cell && cell->Next && cell->Next->Time <= time)
        cell = cell->Next;
      if (cell && cell->Time <= time) {
        value = cell->Value;
        record = !record || cell->Time > record->Time ? cell : record;
      }
      Value(out, value);
    }
    out << '|';
    for (int state : states)
      out << ' ' << state;
    for (int r = record ? record->Index : 0; r < unit.DataCells->Count() && unit.DataCells->Get(r)->Time <= time;
         ++r)
      record = unit.DataCells->Get(r);
    int64_t caret = -1;
    if (record) {
      caret = record->TextPos;
      const LDataCell* next =
          record->Index + 1 < unit.DataCells->Count() ? unit.DataCells->Get(record->Index + 1) : nullptr;
      if (record->Time != time && next && next->Time != record->Time)
        caret += (next->TextPos - record->TextPos) * (time - record->Time) / (next->Time - record->Time);
    }
    int fault = -1;
    while (fault + 1 < unit.ErrorCells->Count() && unit.ErrorCells->Get(fault + 1)->Time <= time)
      ++fault;
    out << " | " << (record ? record->Index : -1) << ' ' << caret << ' ' << fault;
    return out.str();
  }
};

TEST_F(CursorOnGeneratedLog, SearchFindsWhatTheWalksFind)
{
  std::ostringstream text;
  loggen::Generate(text, {120'000, 7});
  unit.LogFileName = folder.Write("Q5 generated.qel", text.str());
  unit.ParseLogText();
  unit.MakeDefaultStatuses();
  unit.MapStatusesToData();
  unit.ClearErrorCells();  // whether or not the parse built them
  unit.BuildErrorIntervals();
  for (int i = 0; i < unit.TypeCells->Count(); ++i)
    Item(unit.TypeCells->Get(i)->Id);
  Item(-1);
  StatusItem("no such status");
  for (int s = 0; s < unit.StatusCells->Count(); ++s)
    StatusItem(unit.StatusCells->Get(s)->Name);
  unit.CalcValueRange();
  ASSERT_GT(unit.DataCells->Count(), 1000);
  std::vector<int64_t> times = {-1, 0, unit.TimeSpan + 1};
  for (int r = 0; r < unit.DataCells->Count(); r += 37)
    for (int64_t d : {-1, 0, 1, 7})
      times.push_back(unit.DataCells->Get(r)->Time + d);
  for (int f = 0; f < unit.ErrorCells->Count(); ++f)
    times.insert(times.end(), {unit.ErrorCells->Get(f)->Time - 1, unit.ErrorCells->Get(f)->Time});
  std::string met;  // the comparison met statuses on, fault intervals and moved carets
  for (int64_t time : times) {
    const std::string walk = Walk(time);
    ASSERT_EQ(At(time), walk) << time;
    met +=
        walk.substr(walk.find('|'), walk.rfind('|') - walk.find('|')).find(" 1") != std::string::npos ? "s" : "";
    met += walk.substr(walk.rfind(' ')) != " -1" ? "f" : "";
    met += unit.CursorDataCell && unit.CursorCaretPos != unit.CursorDataCell->TextPos ? "c" : "";
  }
  for (char c : std::string("sfc"))
    EXPECT_NE(met.find(c), std::string::npos) << c;
}

}  // namespace
