// What the last stage builds from the records: fault intervals (one per run of fault lines or
// erase markers, with sorted codes and their kinds side by side, the erase entries of the current
// language, and the changed marks), status labels (the code of the last status line naming each
// status) and the on/off steps of the statuses the chart mask shows.
#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "program/ParserTestSupport.h"

namespace {

struct Rec {
  int32_t kind;
  int64_t time;
  double value = 0.0;
  AnsiString text = "";
};
// Actual and post fault lines, a value between runs, a no-errors marker, an erase marker.
const auto A = [](int64_t t, const AnsiString& text) { return Rec{KindFault, t, 1.0, text}; };
const auto P = [](int64_t t, const AnsiString& text) { return Rec{KindFault, t, -1.0, text}; };
const auto V = [](int64_t t) { return Rec{2, t, 12.5, "RPM"}; };
const auto N = [](int64_t t) { return Rec{KindFault, t}; };
const auto E = [](int64_t t, const AnsiString& text) { return Rec{KindEraseMarker, t, 0.0, text}; };

const AnsiString RussianErase = "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!";  // cp1251
const AnsiString GermanErase = "L\xF6sche Fehler!";                                            // cp1252

struct Case {
  const char* what;
  int language;
  std::vector<Rec> records;
  const char* dump;  // DumpFaults: "time codes kinds flags"
};

// clang-format off
const Case Cases[] = {
    {"no records", English, {}, ""},
    {"records of other kinds", English, {V(10), {KindStatus, 20, 0.0, "IDLE"}}, ""},
    {"one line", English, {A(1234, "P0100")}, "1234 P0100 A a\n"},
    {"codes sorted, kinds beside them, an actual code stays actual, time halfway", English,
     {A(0, "P0300"), P(10, "P0100"), A(20, "P0200"), P(30, "P0300"), A(41, "P0200")},
     "20 P0100|P0200|P0300 P|A|A ap\n"},
    {"post then actual ends actual", English, {P(0, "P0100"), A(10, "P0100")}, "5 P0100 A a\n"},
    {"another post code keeps has-post", English, {P(0, "P0200"), P(5, "P0100"), A(10, "P0100")},
     "5 P0100|P0200 A|P ap\n"},
    {"letter case: one code inside a run, two across runs", English,
     {A(0, "P0100 air"), A(5, "P0100 AIR"), V(10), A(20, "P0100 AIR")}, "2 P0100 air A a\n20 P0100 AIR A ac\n"},
    {"changed against the interval before; markers only have no codes", English,
     {A(0, "P0100"), V(1), A(2, "P0100"), V(3), P(4, "P0100"), V(5), P(6, "P0100"), P(7, "P0200"), V(8), N(9),
      V(10), N(11)},
     "0 P0100 A a\n2 P0100 A a\n4 P0100 P pc\n6 P0100|P0200 P|P pc\n9   c\n11   \n"},
    {"a run of erase markers is one interval, neither it nor the next compared", English,
     {A(0, "P0100"), E(10, "Erase Errors"), E(500, "Erase Errors (2)"), E(1001, "Erase Errors (3)"),
      A(1200, "P0200")},
     "0 P0100 A a\n505 Erase Errors D e\n1200 P0200 A a\n"},
    {"the erase line of the current language marks its interval; another language's is a code", Russian,
     {A(0, "P0100"), V(1), A(2, RussianErase), A(3, "P0200"), V(4), A(5, "Erase Errors")},
     "0 P0100 A a\n2 P0200 A ae\n5 Erase Errors A a\n"},
    {"a German erase line alone", German, {P(0, GermanErase)}, "0   e\n"},
    {"times beyond 32 bits and near the limit", English,
     {A(3'000'000'000, "P0100"), A(5'000'000'001, "P0200"), V(6'000'000'000), A(INT64_MAX - 10, "P0100"),
      A(INT64_MAX, "P0100")},
     "4000000000 P0100|P0200 A|A a\n9223372036854775802 P0100 A ac\n"}};
// clang-format on

using FaultIntervals = ParserTest;

TEST_F(FaultIntervals, ScriptedRecordsGiveTheirIntervals)
{
  for (const Case& c : Cases) {
    SCOPED_TRACE(c.what);
    unit.Language = c.language;
    unit.ClearDataCells();
    for (const Rec& r : c.records)
      AddLine(unit, r.kind, r.time, r.value, r.text);
    unit.ClearErrorCells();
    unit.BuildErrorIntervals();
    EXPECT_EQ(DumpFaults(unit), c.dump);
  }
}

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

struct StatusCase {
  const char* what;
  std::vector<StatusSpec> statuses;
  std::vector<LineSpec> lines;
  const char* dump;  // per status: "name [label] steps @last match time"
};

// clang-format off
const StatusCase StatusCases[] = {
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

class StatusSteps : public ParserTest {
protected:
  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  void Run(const StatusCase& c)
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

  LMaskCell* chart = nullptr;
  std::unique_ptr<TComboBox> combo;
};

// Without a chart mask the labels stay and no status gets steps.
TEST_F(StatusSteps, ScriptedLinesGiveTheirLabelsAndSteps)
{
  for (const StatusCase& c : StatusCases) {
    SCOPED_TRACE(c.what);
    Run(c);
    EXPECT_EQ(Dump(), c.dump);
  }
  Run(StatusCases[1]);
  combo->SetItemIndex(-1);
  unit.BuildStatusIntervals();
  EXPECT_EQ(Dump(), "IDLE [S00001]  @0\n");
}

}  // namespace
