// Status labels (the code of the last status line naming each status) and the on/off steps of
// the statuses the chart mask shows.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "program/ChartTestSupport.h"
#include "support/TestApp.h"

namespace {

using Steps = std::vector<std::pair<int64_t, int>>;

class StatusSteps : public ::testing::Test {
protected:
  void SetUp() override
  {
    unit.Language = 1;
    chart = AddChosenChartMask(unit, combo);
  }

  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  LStatusCell* NewStatus(const AnsiString& name, bool shown = true)
  {
    auto* status = new LStatusCell;
    status->Name = name;
    status->Steps = new TPtrList<LStatusStep>;
    unit.StatusCells->Add(status);
    if (shown)
      unit.AddStatusItem(chart, name);
    return status;
  }

  void Line(int64_t time, const AnsiString& code, const AnsiString& text, int32_t kind = KindStatus)
  {
    LDataCell* cell = unit.DataCellPool.New();
    cell->Index = unit.DataCells->Count();
    cell->Time = time;
    cell->Code = code;
    cell->Kind = kind;
    cell->Text = text;
    unit.DataCells->Add(cell);
  }

  void MapAndBuild()
  {
    unit.MapStatusesToData();
    unit.BuildStatusIntervals();
  }

  static Steps StepsOf(const LStatusCell* status)
  {
    Steps steps;
    for (int i = 0; i < status->Steps->Count(); ++i)
      steps.emplace_back(status->Steps->Get(i)->Time, status->Steps->Get(i)->State);
    return steps;
  }

  BQELunit unit;
  LMaskCell* chart = nullptr;
  std::unique_ptr<TComboBox> combo;
};

TEST_F(StatusSteps, LabelIsTheCodeOfTheLastLineNamingTheStatus)
{
  LStatusCell* idle = NewStatus("IDLE");
  LStatusCell* drive = NewStatus("Drive");
  LStatusCell* lower = NewStatus("idle");
  LStatusCell* empty = NewStatus("");
  LStatusCell* absent = NewStatus("EVAP");
  absent->Label = "OLD001";
  Line(10, "S00001", "IDLE Drive");
  Line(20, "S00002", "IDLE");
  Line(30, "S00003", "Drive mode");
  Line(40, "0A0000", "IDLE", 2);  // a value line is no status line
  unit.StatusesChanged = 1;
  unit.MapStatusesToData();
  EXPECT_EQ(idle->Label, "S00002");
  EXPECT_EQ(drive->Label, "S00003");
  EXPECT_EQ(lower->Label, "");
  EXPECT_EQ(empty->Label, "");
  EXPECT_EQ(absent->Label, "");
  EXPECT_EQ(unit.StatusesChanged, 0);
}

TEST_F(StatusSteps, OnOnOffOffOnGivesFiveSteps)
{
  LStatusCell* idle = NewStatus("IDLE");
  Line(10, "S00001", "IDLE");
  Line(15, "S00009", "");  // another code: not this status's line
  Line(20, "S00001", "IDLE");
  Line(30, "S00001", "");
  Line(40, "S00001", "Drive");
  Line(50, "S00001", "IDLE");
  MapAndBuild();
  EXPECT_EQ(StepsOf(idle), (Steps{{10, 1}, {20, 1}, {30, 0}, {40, 0}, {50, 1}}));
}

TEST_F(StatusSteps, StatusOnInEveryLineGetsOneStepAndAChangeRightAfterAStepGetsOne)
{
  LStatusCell* idle = NewStatus("IDLE");
  LStatusCell* drive = NewStatus("Drive");
  for (int64_t t : {5, 6, 7, 8})
    Line(t, "S00001", "IDLE");
  Line(100, "S00002", "P/N");  // first line of its code names no Drive: off
  Line(110, "S00002", "Drive");
  Line(120, "S00002", "P/N");
  // Drive's label comes from the line that names it.
  MapAndBuild();
  EXPECT_EQ(StepsOf(idle), (Steps{{5, 1}}));
  EXPECT_EQ(StepsOf(drive), (Steps{{100, 0}, {110, 1}, {120, 0}}));
}

TEST_F(StatusSteps, TwoStatusesOfOneCodeShareTheLabelWithCurvesOfTheirOwn)
{
  LStatusCell* idle = NewStatus("IDLE");
  LStatusCell* ac = NewStatus("A/C");
  Line(10, "S00001", "IDLE");
  Line(20, "S00001", "IDLE A/C");
  Line(30, "S00001", "A/C");
  MapAndBuild();
  EXPECT_EQ(idle->Label, "S00001");
  EXPECT_EQ(ac->Label, "S00001");
  EXPECT_EQ(StepsOf(idle), (Steps{{10, 1}, {20, 1}, {30, 0}}));
  EXPECT_EQ(StepsOf(ac), (Steps{{10, 0}, {20, 1}}));
}

TEST_F(StatusSteps, OnlyStatusesOfTheChartMaskNamedByALineGetSteps)
{
  LStatusCell* hidden = NewStatus("EVAP", false);
  LStatusCell* unnamed = NewStatus("KAT");
  LStatusCell* byParameter = NewStatus("MG", false);
  unit.AddChannelItem(chart, "MG", "MG", "MG");  // a parameter item of the name does not count
  Line(10, "S00001", "EVAP MG");
  Line(20, "S00001", "");
  MapAndBuild();
  EXPECT_EQ(hidden->Steps->Count(), 0);
  EXPECT_EQ(unnamed->Label, "");
  EXPECT_EQ(unnamed->Steps->Count(), 0);
  EXPECT_EQ(byParameter->Steps->Count(), 0);
}

TEST_F(StatusSteps, RebuildStartsAfreshAndNoChartMaskLeavesNoSteps)
{
  LStatusCell* idle = NewStatus("IDLE");
  Line(10, "S00001", "IDLE");
  Line(20, "S00001", "");
  MapAndBuild();
  unit.BuildStatusIntervals();
  EXPECT_EQ(StepsOf(idle), (Steps{{10, 1}, {20, 0}}));
  EXPECT_EQ(idle->LastMatchTime, 20);

  combo->SetItemIndex(-1);
  unit.BuildStatusIntervals();
  EXPECT_EQ(idle->Steps->Count(), 0);
  EXPECT_EQ(idle->LastMatchTime, 0);
}

TEST_F(StatusSteps, EmptyLogAndMissingStepListsAreHarmless)
{
  LStatusCell* idle = NewStatus("IDLE");
  idle->Label = "S00001";
  MapAndBuild();
  EXPECT_EQ(idle->Label, "");
  EXPECT_EQ(idle->Steps->Count(), 0);

  auto* bare = new LStatusCell;
  bare->Name = "Drive";
  unit.StatusCells->Add(bare);
  unit.AddStatusItem(chart, "Drive");
  Line(10, "S00001", "Drive IDLE");
  MapAndBuild();
  EXPECT_EQ(bare->Label, "S00001");
  EXPECT_EQ(bare->Steps, nullptr);
  EXPECT_EQ(StepsOf(idle), (Steps{{10, 1}}));
}

TEST_F(StatusSteps, TimesBeyondThirtyTwoBits)
{
  LStatusCell* idle = NewStatus("IDLE");
  Line(3'000'000'000, "S00001", "IDLE");
  Line(4'000'000'000, "S00001", "IDLE");
  Line(5'000'000'000, "S00001", "");
  MapAndBuild();
  EXPECT_EQ(StepsOf(idle), (Steps{{3'000'000'000, 1}, {4'000'000'000, 1}, {5'000'000'000, 0}}));
}

} // namespace
