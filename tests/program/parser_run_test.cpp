// A parse as a whole: what it clears and keeps, the links between records, breaking it off,
// failing in the middle, and logs that are empty or missing.
#include <algorithm>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "program/ParserTestSupport.h"
#include "support/Records.h"

namespace {

class ParserRun : public ParserTest {
protected:
  static std::string ValueLines(int count, const std::string& name = "A")
  {
    std::string log;
    for (int i = 0; i < count; ++i)
      log += ValueLine("F1011000", std::to_string(i), name) + "\r\n";
    return log;
  }

  // "prev:next" of each record by index, '-' for none.
  std::string Links() const
  {
    std::string links;
    for (int i = 0; i < Records(); ++i)
      links += (i ? " " : "") + (Cell(i).Prev ? std::to_string(Cell(i).Prev->Index) : "-") + ":" +
               (Cell(i).Next ? std::to_string(Cell(i).Next->Index) : "-");
    return links;
  }
};

struct HookCall {
  int stage;
  int64_t max;
  int64_t position;
};
std::vector<HookCall> hookCalls;

TEST_F(ParserRun, ClearsRecordsAndMessagesButKeepsParameters)
{
  Parse(ValueLine("F1011000", "1", "Alpha") + "\r\n" + ValueLine("F1011100", "2", "Beta") + "\r\nbad\r\n");
  ASSERT_EQ(unit.TypeCells->Count(), 2);
  const int32_t alpha = Cell(0).Kind, beta = Cell(1).Kind;
  EXPECT_EQ(alpha, 2);
  EXPECT_EQ(beta, 3);

  Parse(ValueLine("F1011100", "3", "Beta") + "\r\n" + ValueLine("F1011200", "4", "Gamma") + "\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Kind, beta);
  EXPECT_EQ(Cell(1).Kind, 4);  // next above the largest
  EXPECT_EQ(unit.TypeCells->Count(), 3);
  EXPECT_EQ(unit.TypeCells->Get(0)->NameEn, "Alpha");
  EXPECT_EQ(Unrecognised(), 0);
}

TEST_F(ParserRun, LinksEveryKindInFileOrder)
{
  Parse(ValueLine("F1011000", "1", "A") + "\r\n" + "F1021000    \r\n" + ValueLine("F1011100", "2", "B") + "\r\n" +
        ValueLine("F1011000", "3", "A") + "\r\n" + "F1140000    Erase Errors\r\n" + "F1021000     on\r\n" +
        ValueLine("F1011000", "5", "A") + "\r\n" + "F10E0000\r\nF1000001\r\n");
  // Chains by record index: A 0-3-6, status 1-5, B 2, marker 4, fault 7.
  EXPECT_EQ(Links(), "-:3 -:5 -:- 0:6 -:- 1:- 3:- -:-");
}

// Looks the parse took at the progress of each stage so far; the stage and the look at which
// the hook breaks the parse off (by the flag or by a failure).
int looks[8];
int breakStage = 0, breakLook = 0;
bool breakByFailure = false;

void BreakAtLook(BQELunit& u, int stage, int64_t max, int64_t position)
{
  hookCalls.push_back({stage, max, position});
  if (position < 0 || ++looks[stage] != breakLook || stage != breakStage)
    return;
  if (breakByFailure)
    throw std::bad_alloc();
  u.AbortFlag = 1;
}

void BreakAt(BQELunit& unit, int stage, int look, bool failure = false)
{
  hookCalls.clear();
  std::fill(std::begin(looks), std::end(looks), 0);
  breakStage = stage;
  breakLook = look;
  breakByFailure = failure;
  unit.ProgressHook = BreakAtLook;
}

TEST_F(ParserRun, BreakDuringTheWalkKeepsTheRecordsMadeAndLinksNone)
{
  Parse(ValueLines(3));
  unit.ReparseNeeded = 1;
  unit.CursorDataCell = &Cell(0);
  unit.CursorCaretPos = 17;
  BreakAt(unit, 2, 2);
  unit.ZoomX = 4.0;
  Parse(ValueLines(10000) + "F10E0000\r\nActual errors:\r\nP0130 O2 sensor\r\n", "Q5 broken off.qel");
  EXPECT_GT(Records(), 0);
  EXPECT_LT(Records(), 10000);
  EXPECT_EQ(unit.ZoomX, 4.0);  // the chart is left as it was
  EXPECT_EQ(unit.ErrorCells->Count(), 0);
  EXPECT_EQ(Links().find_first_not_of("-: "), std::string::npos);  // none linked
  EXPECT_EQ(unit.CursorDataCell, nullptr);                         // the old records are gone even so
  EXPECT_EQ(unit.CursorCaretPos, -1);
  EXPECT_EQ(unit.ReparseNeeded, 1);
  EXPECT_EQ(unit.EcuFamily, 0);  // the later stages did not run
  EXPECT_EQ(unit.TextMemo->Lines()->Count(), 10003);
  std::vector<int> started;
  std::vector<HookCall> walked;
  for (const HookCall& call : hookCalls)
    (call.position < 0 ? started.push_back(call.stage) : walked.push_back(call));
  EXPECT_EQ(started, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));  // every stage says it starts
  // The walk counts up to the lines; the records made by the break are as many as the lines
  // passed at the look that saw it; linking looked once and stopped.
  ASSERT_GE(walked.size(), 3u);
  const HookCall& seen = walked[walked.size() - 2];
  EXPECT_EQ(seen.stage, 2);
  EXPECT_EQ(seen.max, 10003);
  EXPECT_EQ(seen.position, Records());
  EXPECT_EQ(walked.back().stage, 3);
  EXPECT_EQ(walked.back().max, Records() - 1);
  EXPECT_EQ(walked.back().position, 0);
}

TEST_F(ParserRun, BreakDuringLinkingLeavesTheRestUnlinked)
{
  BreakAt(unit, 3, 2);
  Parse(ValueLines(10000));
  ASSERT_EQ(Records(), 10000);
  // A linked run from the first record, then nothing.
  int linked = 1;
  while (linked < Records() && Cell(linked).Prev == &Cell(linked - 1))
    ++linked;
  EXPECT_GT(linked, 1);
  EXPECT_LT(linked, Records());
  EXPECT_EQ(Cell(linked - 1).Next, nullptr);
  for (int i = linked; i < Records(); ++i)
    ASSERT_TRUE(!Cell(i).Prev && !Cell(i).Next) << i;
}

// The text is loaded in pieces that look at the flag: a break there leaves no text and no
// records, and no later stage does any work.
TEST_F(ParserRun, BreakDuringTheLoadLeavesAnEmptyTextViewAndNoRecords)
{
  Parse(ValueLines(3), "Q5 before.qel");
  ASSERT_EQ(unit.EcuFamily, 1);
  unit.ReparseNeeded = 1;
  BreakAt(unit, 1, 1);
  Parse(ValueLines(2000) + "F10E0000\r\nActual errors:\r\nP0130 O2 sensor\r\n", "LH broken off.qel");
  EXPECT_EQ(looks[1], 1);
  EXPECT_EQ(looks[2], 0);
  EXPECT_EQ(unit.TextMemo->Lines()->Count(), 0);
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(unit.ErrorCells->Count(), 0);
  EXPECT_EQ(unit.EcuFamily, 1);
  EXPECT_EQ(unit.ReparseNeeded, 1);
  EXPECT_EQ(unit.ParseFailed, 0);
}

// The last stage (labels, fault intervals, status steps, cursor index, value range) looks at
// the flag inside each of its passes: a break at any of its looks keeps every record and link,
// leaves the intervals unfinished and asks for another parse.
TEST_F(ParserRun, BreakDuringTheLastStageKeepsTheRecordsAndLeavesItUnfinished)
{
  std::unique_ptr<TComboBox> combo;
  LMaskCell* chart = ChooseNewChartMask(unit, combo);
  AddItem(chart->Items, KindStatus, "Warm-up");
  AddItem(chart->Items, 2, "A");
  LStatusCell* status = AddStatus(unit, "Warm-up");
  std::string log;
  for (int i = 0; i < 2000; ++i)
    log += ValueLines(3) + "F1021000     Warm-up\r\nF10E0000\r\nActual errors:\r\nP0130 O2 sensor\r\n\r\n";
  Parse(log);
  const int records = Records();
  const int intervals = unit.ErrorCells->Count();
  ASSERT_EQ(intervals, 2000);
  ASSERT_EQ(unit.ReparseNeeded, 0);

  ASSERT_GT(status->Steps->Count(), 0);
  ASSERT_EQ(Cell(0).Kind, 2);

  BreakAt(unit, 7, 0);  // counts the looks only
  Parse(log);
  const int lastStageLooks = looks[7];
  // Each of the five passes over the records starts with a look, and looks again further on.
  int passes = 0;
  for (const HookCall& call : hookCalls)
    passes += call.stage == 7 && call.position == 0;
  EXPECT_EQ(passes, 5);
  EXPECT_GT(lastStageLooks, passes);
  bool brokenInsideTheIntervals = false;
  for (int look = 1; look <= lastStageLooks; ++look) {
    SCOPED_TRACE(look);
    BreakAt(unit, 7, look);
    unit.ReparseNeeded = 1;
    Parse(log);
    ASSERT_EQ(Records(), records);
    EXPECT_EQ(Cell(records - 1).Prev, &Cell(records - 6));  // linked: the value line of 5 lines before
    EXPECT_LE(unit.ErrorCells->Count(), intervals);
    brokenInsideTheIntervals |= unit.ErrorCells->Count() > 0 && unit.ErrorCells->Count() < intervals;
    EXPECT_EQ(unit.ReparseNeeded, 1);
    EXPECT_EQ(unit.CursorDataCell, nullptr);
  }
  EXPECT_TRUE(brokenInsideTheIntervals);
  unit.ChartMaskCombo = nullptr;
}

TEST_F(ParserRun, FailureInTheMiddleKeepsRecordsAndAsksForAnotherParse)
{
  BreakAt(unit, 2, 2, true);
  Parse(ValueLines(6000), "Q5.qel");
  EXPECT_EQ(unit.ParseFailed, 1);
  EXPECT_EQ(unit.ReparseNeeded, 1);
  ASSERT_GT(Records(), 1);
  ASSERT_LT(Records(), 6000);
  EXPECT_EQ(Cell(Records() - 1).Prev, &Cell(Records() - 2));  // the later stages still ran
  EXPECT_EQ(unit.EcuFamily, 1);

  unit.ProgressHook = nullptr;
  Parse(ValueLines(6000), "Q5.qel");
  EXPECT_EQ(unit.ParseFailed, 0);
  EXPECT_EQ(unit.ReparseNeeded, 0);
  EXPECT_EQ(Records(), 6000);
}

TEST_F(ParserRun, WithoutProgressNothingIsLookedAt)
{
  unit.ShowProgress = 0;
  hookCalls.clear();
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t max, int64_t position) {
    hookCalls.push_back({stage, max, position});
    u.AbortFlag = 1;
  };
  Parse(ValueLines(5000));
  EXPECT_TRUE(hookCalls.empty());
  EXPECT_EQ(Records(), 5000);
  EXPECT_EQ(Cell(4999).Prev, &Cell(4998));
}

int innerParses = 0;

TEST_F(ParserRun, ParseStartedDuringAParseDoesNothing)
{
  innerParses = 0;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t, int64_t position) {
    if (stage == 2 && position >= 0) {
      ++innerParses;
      u.LogFileName = "";  // would empty everything if it ran
      u.ParseLogText();
    }
  };
  Parse(ValueLines(5000));
  EXPECT_EQ(innerParses, 2);
  EXPECT_EQ(Records(), 5000);
  EXPECT_EQ(unit.TextMemo->Lines()->Count(), 5000);
  EXPECT_EQ(unit.ParseRunning, 0);
}

// An empty log completes; a missing one or none empties the text view too. Parameters stay.
TEST_F(ParserRun, EmptyOrMissingLogGivesNothing)
{
  for (const std::string& name : {folder.Write("empty.qel", ""), folder / "missing.qel", std::string()}) {
    SCOPED_TRACE(name);
    Parse(ValueLines(2) + "x\r\n");
    ASSERT_EQ(unit.TextMemo->Lines()->Count(), 3);
    unit.ReparseNeeded = 1;
    unit.LogFileName = name;
    unit.ParseLogText();
    EXPECT_EQ(Records(), 0);
    EXPECT_EQ(Unrecognised(), 0);
    EXPECT_EQ(unit.TextMemo->Lines()->Count(), 0);
    EXPECT_EQ(unit.TypeCells->Count(), 1);
    EXPECT_EQ(unit.ParseFailed, 0);
    EXPECT_EQ(unit.ReparseNeeded, 0);
  }
}

// A complete parse shows the new log from its start, with no status on at the cursor, and
// builds the fault intervals from the new records.
TEST_F(ParserRun, CompleteParseShowsTheNewLogFromItsStart)
{
  LStatusCell* status = AddStatus(unit, "IDLE");
  status->State = 1;
  unit.ZoomX = 4.0;
  unit.ZoomY = 2.0;
  unit.PanX = 30;
  unit.PanY = 7;
  unit.PanPercentX = 12.5;
  unit.PanPercentY = 3.0;
  Parse("F10E0000\r\nActual errors:\r\nP0130 O2 sensor circuit\r\n\r\nF1000001\r\n");
  EXPECT_EQ(std::vector<double>({unit.ZoomX, unit.ZoomY, double(unit.PanX), double(unit.PanY), unit.PanPercentX,
                                 unit.PanPercentY, double(status->State)}),
            std::vector<double>({1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(unit.ErrorCells->Count(), 1);
}

}  // namespace
