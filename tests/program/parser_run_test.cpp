// A parse as a whole: what it clears and keeps, the links between records, breaking it off at
// each stage, failing in the middle. The record lists it fills: the clear operations free every
// record with its strings and sub-lists (AddressSanitizer reports what they miss or free twice),
// skip null entries, keep the list objects and leave missing lists alone; the line records live
// in chunks of a pool, made in place and given back with the next parse.
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "program/ParserTestSupport.h"

namespace {

const std::string Faults = "F10E0000\r\nActual errors:\r\nP0130 O2 sensor\r\n";

// The looks the parse took at its progress ({stage, max, position}), and the look of a stage
// at which the hook breaks it off, by the flag or by a failure.
std::vector<std::vector<int64_t>> looks;
int breakStage = 0, breakLook = 0;
bool breakByFailure = false;

int LooksAt(int stage, int64_t position = -1)
{
  return static_cast<int>(std::count_if(looks.begin(), looks.end(), [&](const auto& l) {
    return l[0] == stage && (position < 0 ? l[2] >= 0 : l[2] == position);
  }));
}

void BreakAtLook(BQELunit& u, int stage, int64_t max, int64_t position)
{
  looks.push_back({stage, max, position});
  if (position >= 0 && stage == breakStage && LooksAt(stage) == breakLook) {
    if (breakByFailure)
      throw std::bad_alloc();
    u.AbortFlag = 1;
  }
}

class ParserRun : public ParserTest {
protected:
  void BreakAt(int stage, int look, bool failure = false)
  {
    looks.clear();
    breakStage = stage;
    breakLook = look;
    breakByFailure = failure;
    unit.ProgressHook = BreakAtLook;
  }

  // The length of the run of records linked from the first; -1 when any record after it is linked.
  int LinkedRun() const
  {
    int run = 1;
    while (run < Records() && Cell(run).Prev == &Cell(run - 1))
      ++run;
    for (int i = run - 1; i < Records(); ++i)
      if (Cell(i).Next || (i >= run && Cell(i).Prev))
        return -1;
    return run;
  }
  // "intervals family reparse failed text-lines".
  std::string State() const
  {
    return std::to_string(unit.ErrorCells->Count()) + " " + std::to_string(unit.EcuFamily) + " " +
           std::to_string(unit.ReparseNeeded) + " " + std::to_string(unit.ParseFailed) + " " +
           std::to_string(unit.TextMemo->Lines()->Count());
  }
};

// A parameter's id stays from log to log; a new one takes the next above the largest.
TEST_F(ParserRun, ClearsRecordsAndMessagesButKeepsParametersAndLinksEachKind)
{
  Parse(ValueLine("F1011000", "1", "Alpha") + ValueLine("F1011100", "2", "Beta") + "bad\r\n");
  Parse(ValueLine("F1011100", "3", "Beta") + ValueLine("F1011200", "4", "Gamma"));
  EXPECT_EQ(DumpLines(unit) + unit.TypeCells->Get(0)->NameEn + " " + std::to_string(Unrecognised()),
            "0 3@22 3 'F1011100' 'Beta' 0 <- >-\n1 4@44 4 'F1011200' 'Gamma' 20 <- >-\nAlpha 0");

  Parse(ValueLine("F1011000", "1", "A") + "F1021000    \r\n" + ValueLine("F1011100", "2", "B") +
        ValueLine("F1011000", "3", "A") + "F1140000    Erase Errors\r\nF1021000     on\r\n" +
        ValueLine("F1011000", "5", "A") + "F10E0000\r\nF1000001\r\n");
  EXPECT_EQ(
      DumpLines(unit),
      "0 5@22 1 'F1011000' 'A' 0 <- >3\n1 1@44 0 'F10210' '' 17 <- >5\n2 6@66 2 'F1011100' 'B' 31 <- >-\n3 5@88 3 "
      "'F1011000' 'A' 48 <0 >6\n"
      "4 -1@360 0 'F1140000' 'Erase Errors' 65 <- >-\n5 1@632 0 'F10210' 'on' 91 <1 >-\n6 5@654 5 'F1011000' 'A' "
      "108 <3 >-\n7 0@676 0 '' '' 135 <- >-\n");  // A 0-3-6, status 1-5, B 2, marker 4, fault 7
}

// The walk counts up to the lines: a break keeps the records of the lines passed at the look
// that saw it, links none, leaves the chart and the later stages alone, and asks for another
// parse; every stage still says it starts, and linking looks once and stops.
TEST_F(ParserRun, BreakDuringTheWalkKeepsTheRecordsMadeAndLinksNone)
{
  Parse(ValueLines(3));
  unit.ReparseNeeded = 1;
  unit.CursorDataCell = &Cell(0);
  unit.CursorCaretPos = 17;
  unit.ZoomX = 4.0;
  BreakAt(2, 2);
  Parse(ValueLines(10000) + Faults, "Q5 broken off.qel");
  EXPECT_EQ(State(), "0 0 1 0 10003");
  EXPECT_TRUE(unit.ZoomX == 4.0 && unit.CursorDataCell == nullptr && unit.CursorCaretPos == -1);
  ASSERT_GT(Records(), 0);
  EXPECT_EQ(LinkedRun(), 1);  // no record linked
  std::vector<std::vector<int64_t>> seen;
  for (const auto& l : looks)
    seen.push_back(l[2] < 0 ? std::vector<int64_t>{l[0]} : l);
  const auto walk = std::find(seen.begin(), seen.end(), std::vector<int64_t>{3});
  ASSERT_NE(walk, seen.begin());
  EXPECT_EQ(*(walk - 1), (std::vector<int64_t>{2, 10003, Records()}));
  EXPECT_EQ(std::vector(walk, seen.end()),
            (std::vector<std::vector<int64_t>>{{3}, {3, Records() - 1, 0}, {4}, {5}, {6}, {7}}));
}

// The text is loaded in pieces that look at the flag: a break there leaves no text and no
// records, and no later stage does any work. A break while linking leaves the rest unlinked.
TEST_F(ParserRun, BreakDuringTheLoadOrTheLinking)
{
  Parse(ValueLines(3), "Q5 before.qel");
  unit.ReparseNeeded = 1;
  BreakAt(1, 1);
  Parse(ValueLines(2000) + Faults, "LH broken off.qel");
  EXPECT_EQ(LooksAt(1) * 10 + LooksAt(2), 10);
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(State(), "0 1 1 0 0");

  BreakAt(3, 2);
  Parse(ValueLines(10000));
  ASSERT_EQ(Records(), 10000);
  EXPECT_GT(LinkedRun(), 1);
  EXPECT_LT(LinkedRun(), Records());
}

// The last stage (labels, fault intervals, status steps, cursor index, value range) looks at
// the flag inside each of its five passes: a break at any of its looks keeps every record and
// link, leaves the intervals unfinished and asks for another parse.
TEST_F(ParserRun, BreakDuringTheLastStageKeepsTheRecordsAndLeavesItUnfinished)
{
  std::unique_ptr<TComboBox> combo;
  LMaskCell* chart = ChooseNewChartMask(unit, combo);
  AddItem(chart->Items, KindStatus, "Warm-up");
  AddItem(chart->Items, 2, "A");
  LStatusCell* status = AddStatus(unit, "Warm-up");
  std::string log;
  for (int i = 0; i < 2000; ++i)
    log += ValueLines(3) + "F1021000     Warm-up\r\n" + Faults + "\r\n";
  BreakAt(7, 0);  // counts the looks only
  Parse(log);
  const int records = Records(), lastStageLooks = LooksAt(7);
  ASSERT_EQ(State(), "2000 0 0 0 16000");
  ASSERT_GT(status->Steps->Count(), 0);
  EXPECT_EQ(LooksAt(7, 0), 5);
  EXPECT_GT(lastStageLooks, 5);
  bool brokenInsideTheIntervals = false;
  for (int look = 1; look <= lastStageLooks; ++look) {
    BreakAt(7, look);
    unit.ReparseNeeded = 1;
    Parse(log);
    ASSERT_EQ(Records(), records);
    EXPECT_EQ(Cell(records - 1).Prev, &Cell(records - 6)) << look;  // the value line 5 lines before
    EXPECT_TRUE(unit.ReparseNeeded == 1 && unit.CursorDataCell == nullptr) << look;
    brokenInsideTheIntervals |= unit.ErrorCells->Count() > 0 && unit.ErrorCells->Count() < 2000;
  }
  EXPECT_TRUE(brokenInsideTheIntervals);
  unit.ChartMaskCombo = nullptr;
}

// A failure keeps the records, runs the later stages and asks for another parse; the next
// parse completes. Without the progress window nothing is looked at.
TEST_F(ParserRun, FailureInTheMiddleKeepsRecordsAndAsksForAnotherParse)
{
  BreakAt(2, 2, true);
  Parse(ValueLines(6000), "Q5.qel");
  EXPECT_EQ(State(), "0 1 1 1 6000");
  EXPECT_GT(Records(), 1);
  EXPECT_LT(Records(), 6000);
  EXPECT_EQ(LinkedRun(), Records());
  unit.ShowProgress = 0;
  BreakAt(2, 1, true);
  Parse(ValueLines(6000), "Q5.qel");
  EXPECT_EQ(State(), "0 1 0 0 6000");
  EXPECT_EQ(Records() + looks.size(), 6000u);
}

// A parse started from a look at the progress does nothing.
TEST_F(ParserRun, ParseStartedDuringAParseDoesNothing)
{
  looks.clear();
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t max, int64_t position) {
    if (stage == 2 && position >= 0) {
      looks.push_back({stage, max, position});
      u.LogFileName = "";  // would empty everything if it ran
      u.ParseLogText();
    }
  };
  Parse(ValueLines(5000));
  EXPECT_EQ(looks.size(), 2u);
  EXPECT_EQ(State() + " " + std::to_string(Records()), "0 0 0 0 5000 5000");
  EXPECT_EQ(unit.ParseRunning, 0);
}

// A complete parse shows the new log from its start, with no status on at the cursor, and
// builds the fault intervals from the new records.
TEST_F(ParserRun, CompleteParseShowsTheNewLogFromItsStart)
{
  LStatusCell* status = AddStatus(unit, "IDLE");
  status->State = 1;
  unit.ZoomX = unit.ZoomY = unit.PanPercentX = unit.PanPercentY = 4.0;
  unit.PanX = unit.PanY = 30;
  Parse(Faults + "\r\nF1000001\r\n");
  EXPECT_EQ(std::vector<double>({unit.ZoomX, unit.ZoomY, double(unit.PanX), double(unit.PanY), unit.PanPercentX,
                                 unit.PanPercentY, double(status->State)}),
            std::vector<double>({1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(State(), "1 0 0 0 5");
}

const AnsiString Long = ", long enough to live on the heap";

// Fills every record list of the unit, null entries and null sub-lists included.
void FillAll(BQELunit& unit)
{
  AddFault(unit, 0, {{"P0130 O2 sensor circuit" + Long, "A"}});
  unit.ErrorCells->Add(nullptr);
  AddFault(unit, 5);
  for (int i = 0; i < 5; ++i)
    AddLine(unit, 2, i, 0.0, "Engine speed" + Long, "00010203");
  unit.DataCells->Add(nullptr);
  AddLine(unit, 3, 6, 0.0, "A name no other record shares" + Long, "00010204");
  AddItem(unit.TypeCells, 2, "RPM" + Long);
  unit.TypeCells->Add(nullptr);
  for (const char* name : {"QEL", "PMS"}) {
    LMaskCell* mask = AddMask(unit, name + Long);
    AddItem(mask->Items, 2, name + Long);
    mask->Items->Add(nullptr);
  }
  unit.MaskCells->Add(nullptr);
  delete std::exchange(AddMask(unit, "LH" + Long)->Items, nullptr);
  AddStatus(unit, "IDLE", {{0, 1}, {100, 0}, {200, 1}});
  unit.StatusCells->Add(nullptr);
  delete std::exchange(AddStatus(unit, "Drive")->Steps, nullptr);
  AddStatus(unit, "EVAP", {{0, 1}})->Steps->Add(nullptr);
}

void ClearAll(BQELunit& unit)
{
  unit.ClearErrorCells();
  unit.ClearDataCells();
  unit.ClearTypeCells();
  unit.ClearMaskCells();
  unit.ClearStatusCells();
}

// The lists take new records after a clear, as every parse needs; clearing empty or missing
// lists is harmless; the destructor frees what is left.
TEST(ClearLists, FreeEveryRecordSkipNullEntriesAndKeepTheListObjects)
{
  BQELunit unit;
  const auto lists = [&unit] {
    return std::vector<const void*>{unit.ErrorCells, unit.DataCells, unit.TypeCells, unit.MaskCells,
                                    unit.StatusCells};
  };
  const auto before = lists();
  for (int round = 0; round < 2; ++round) {
    FillAll(unit);
    ClearAll(unit);
    EXPECT_EQ(lists(), before);
    EXPECT_EQ(unit.ErrorCells->Count() + unit.DataCells->Count() + unit.TypeCells->Count() +
                  unit.MaskCells->Count() + unit.StatusCells->Count(),
              0);
  }
  ClearAll(unit);

  auto* filled = new BQELunit;
  FillAll(*filled);
  filled->BadValueLines->Add("index 0000003 00010203 x");
  delete filled;
}

// A short log takes a small chunk; a long one few chunks, never much room to spare.
TEST(DataCellPool, MakesDefaultRecordsAcrossChunksAndKnowsItsOwn)
{
  BDataCellPool pool;
  EXPECT_FALSE(pool.Owns(nullptr));
  LDataCell* first = pool.New();
  EXPECT_LT(pool.Capacity(), BDataCellPool::ChunkRecords / 8);
  const size_t count = BDataCellPool::ChunkRecords * 3 + 5;
  LDataCell* last = first;
  for (size_t i = 1; i < count; ++i)
    last = pool.New();
  EXPECT_TRUE(pool.Capacity() >= count && pool.Capacity() - count < BDataCellPool::ChunkRecords);
  EXPECT_LE(pool.ChunkCount(), 12u);
  EXPECT_TRUE(pool.Owns(first) && pool.Owns(last) && pool.Owns(first + 1000));
  EXPECT_FALSE(pool.Owns(first + BDataCellPool::FirstChunkRecords));  // just past the first chunk
  EXPECT_TRUE(last->Kind == KindFault && last->Code.IsEmpty() && last->Text.IsEmpty() && !last->Next &&
              !last->Prev);
  // The last record given back makes room for the next in the same place.
  last->Text = SharedText("a name that has to be released with the record");
  pool.DropLast();
  EXPECT_EQ(pool.New(), last);
  EXPECT_TRUE(last->Text.IsEmpty());
  pool.Release();
  EXPECT_TRUE(pool.ChunkCount() == 0u && !pool.Owns(first));
}

int capacityAtWalkStart = -1;
using PooledParse = ParserTest;

// Room for every line before the first record: the list never moves while it fills. The next
// parse destroys these records and makes its own from fresh chunks.
TEST_F(PooledParse, RecordsOfEachParseGoBackWithTheNextOne)
{
  const int lines = static_cast<int>(BDataCellPool::ChunkRecords) + 100;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      capacityAtWalkStart = u.DataCells->Capacity();
  };
  Parse(ValueLines(lines, "Engine speed"));
  ASSERT_EQ(Records(), lines);
  EXPECT_GE(capacityAtWalkStart, lines);
  EXPECT_GT(unit.DataCellPool.ChunkCount(), 1u);
  for (int i = 0; i < Records(); i += 997)
    ASSERT_TRUE(unit.DataCellPool.Owns(&Cell(i))) << i;
  EXPECT_EQ(Cell(lines - 1).Index, lines - 1);
  Parse(ValueLines(3, "Load"));
  EXPECT_TRUE(unit.DataCellPool.ChunkCount() == 1u && unit.DataCellPool.Capacity() < BDataCellPool::ChunkRecords);
  unit.ClearDataCells();
  EXPECT_EQ(unit.DataCellPool.ChunkCount(), 0u);
}

}  // namespace
