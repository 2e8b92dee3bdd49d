// Status labels (the code of the last status line naming each status) and the on/off steps of
// the statuses the chart mask shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Qelunit.h"
#include "support/Records.h"
#include "support/TestApp.h"

namespace {

struct StatusSpec {
  const char* name;
  bool shown = true;       // an item of the chart mask
  bool steps = true;       // has a step list
  const char* label = "";  // left from before
};

struct LineSpec {
  int64_t time;
  const char* code;
  const char* text;
  int32_t kind = KindStatus;
};

struct Case {
  const char* what;
  std::vector<StatusSpec> statuses;
  std::vector<LineSpec> lines;
  const char* dump;  // per status: "name [label] steps @last match time"
};

// clang-format off
const Case Cases[] = {
    {"the label is the code of the last status line naming the status, case counts",
     {{"IDLE"}, {"Drive"}, {"idle"}, {""}, {"EVAP", true, true, "OLD001"}},
     {{10, "S00001", "IDLE Drive"}, {20, "S00002", "IDLE"}, {30, "S00003", "Drive mode"},
      {40, "0A0000", "IDLE", 2}},
     "IDLE [S00002] 20:1 @20\nDrive [S00003] 30:1 @30\nidle []  @0\n []  @0\nEVAP []  @0\n"},
    {"on on off off on: a line of the code not naming it is off; other codes do not count", {{"IDLE"}},
     {{10, "S00001", "IDLE"}, {15, "S00009", ""}, {20, "S00001", "IDLE"}, {30, "S00001", ""},
      {40, "S00001", "Drive"}, {50, "S00001", "IDLE"}},
     "IDLE [S00001] 10:1 20:1 30:0 40:0 50:1 @50\n"},
    {"on in every line gives one step; a change right after a step one more", {{"IDLE"}, {"Drive"}},
     {{5, "S00001", "IDLE"}, {6, "S00001", "IDLE"}, {7, "S00001", "IDLE"}, {8, "S00001", "IDLE"},
      {100, "S00002", "P/N"}, {110, "S00002", "Drive"}, {120, "S00002", "P/N"}},
     "IDLE [S00001] 5:1 @8\nDrive [S00002] 100:0 110:1 120:0 @120\n"},
    {"two statuses of one code share the label with curves of their own", {{"IDLE"}, {"A/C"}},
     {{10, "S00001", "IDLE"}, {20, "S00001", "IDLE A/C"}, {30, "S00001", "A/C"}},
     "IDLE [S00001] 10:1 20:1 30:0 @30\nA/C [S00001] 10:0 20:1 @30\n"},
    {"only statuses of the chart mask named by a line get steps", {{"EVAP", false}, {"KAT"}, {"MG", false}},
     {{10, "S00001", "EVAP MG"}, {20, "S00001", ""}}, "EVAP [S00001]  @0\nKAT []  @0\nMG [S00001]  @0\n"},
    {"an empty log clears the labels", {{"IDLE", true, true, "S00001"}}, {}, "IDLE []  @0\n"},
    {"a status without a step list gets a label only", {{"Drive", true, false}, {"IDLE"}},
     {{10, "S00001", "Drive IDLE"}}, "Drive [S00001] none @0\nIDLE [S00001] 10:1 @10\n"},
    {"times beyond 32 bits", {{"IDLE"}},
     {{3'000'000'000, "S00001", "IDLE"}, {4'000'000'000, "S00001", "IDLE"}, {5'000'000'000, "S00001", ""}},
     "IDLE [S00001] 3000000000:1 4000000000:1 5000000000:0 @5000000000\n"}};
// clang-format on

class StatusSteps : public ::testing::Test {
protected:
  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  void Run(const Case& c)
  {
    unit.ClearDataCells();
    unit.ClearStatusCells();
    unit.ClearMaskCells();
    chart = ChooseNewChartMask(unit, combo);
    unit.AddChannelItem(chart, "MG", "MG", "MG");  // a parameter item of a status's name does not count
    for (const StatusSpec& s : c.statuses) {
      LStatusCell* status = AddStatus(unit, s.name);
      status->Label = s.label;
      if (!s.steps)
        delete std::exchange(status->Steps, nullptr);
      if (s.shown)
        unit.AddStatusItem(chart, s.name);
    }
    for (const LineSpec& l : c.lines)
      AddLine(unit, l.kind, l.time, 0.0, l.text, l.code);
    unit.StatusesChanged = 1;
    unit.MapStatusesToData();
    EXPECT_EQ(unit.StatusesChanged, 0);
    unit.BuildStatusIntervals();
    unit.BuildStatusIntervals();  // a rebuild starts afresh
  }

  std::string Dump() const
  {
    std::string dump;
    for (int i = 0; i < unit.StatusCells->Count(); ++i) {
      const LStatusCell* s = unit.StatusCells->Get(i);
      dump += s->Name + " [" + s->Label + "] " + DumpSteps(s) + " @" + std::to_string(s->LastMatchTime) + "\n";
    }
    return dump;
  }

  BQELunit unit;
  LMaskCell* chart = nullptr;
  std::unique_ptr<TComboBox> combo;
};

// Without a chart mask the labels stay and no status gets steps.
TEST_F(StatusSteps, ScriptedLinesGiveTheirLabelsAndSteps)
{
  for (const Case& c : Cases) {
    SCOPED_TRACE(c.what);
    Run(c);
    EXPECT_EQ(Dump(), c.dump);
  }
  Run(Cases[1]);
  combo->SetItemIndex(-1);
  unit.BuildStatusIntervals();
  EXPECT_EQ(Dump(), "IDLE [S00001]  @0\n");
}

}  // namespace
