// The parse in the program's window: the progress window shows each stage, disables the main
// panel while it is up, and its Break button stops the walk with the records made so far.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPushButton>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "Button.h"
#include "Form.h"
#include "Label.h"
#include "Memo.h"
#include "Panel.h"
#include "app/Progress.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "support/MainLoop.h"
#include "support/StartTestSupport.h"

namespace {

// What the progress window showed at each look the parse took at it.
struct Seen {
  std::vector<std::string> stageTexts;
  bool windowAlwaysShown = true;
  bool panelEverEnabled = false;
  TForm* closeAfterFirstLook = nullptr;
  bool clickWhenTheLoadStarts = false;
  int walkLooks = 0;
};
Seen gSeen;

void Look(BQELunit& unit, int stage, int64_t, int64_t position)
{
  gSeen.windowAlwaysShown = gSeen.windowAlwaysShown && unit.Progress->Form->Visible();
  gSeen.panelEverEnabled = gSeen.panelEverEnabled || unit.MainPanel->Enabled();
  if (position < 0) {
    gSeen.stageTexts.push_back(unit.Progress->Label->Caption());
    // The click waits for the next pump: one inside the load.
    if (stage == 1 && gSeen.clickWhenTheLoadStarts)
      QMetaObject::invokeMethod(
          qApp, [&unit] { static_cast<QPushButton*>(unit.Progress->Button->Widget())->click(); },
          Qt::QueuedConnection);
    return;
  }
  if (stage == 2 && ++gSeen.walkLooks == 2 && gSeen.closeAfterFirstLook)
    gSeen.closeAfterFirstLook->Close();
}

class ParseProgress : public ::testing::Test {
protected:
  void SetUp() override
  {
    gSeen = Seen();
    form->Show();
    ASSERT_NE(gQELunit, nullptr);
    unit = gQELunit;
    unit->Language = 1;
    unit->ShowProgress = 1;
    unit->ProgressHook = Look;
    std::ofstream out(log, std::ios::binary);
    for (int i = 0; i < Lines; ++i)
      out << "F1011500    450      O2 Sensor (mV)\r\n";
  }

  void TearDown() override
  {
    delete gQELunit;
    gQELunit = nullptr;
    delete form;
  }

  static constexpr int Lines = 20000;
  ScratchFolder folder;
  TestDesktop desktop{folder};
  CommandLineScope ownCommandLine{{}};
  std::string log = folder / "Q5_progress.qel";
  TQELMainForm* form = new TQELMainForm(Application);
  BQELunit* unit = nullptr;
};

TEST_F(ParseProgress, ShowsEveryStageAndIsGoneAfterwards)
{
  unit->LogFileName = log;
  unit->ParseLogText();

  const std::vector<std::string> expected = {"Reading LOG-file",
                                             "Analising LOG-file",
                                             "Set link [Next <-> Previous]",
                                             "Initialize chart parametrs",
                                             "Update list with all parametrs",
                                             "Found mask QEL or PMS or LH",
                                             "Prepare chart and show"};
  EXPECT_EQ(gSeen.stageTexts, expected);
  EXPECT_TRUE(gSeen.windowAlwaysShown);
  EXPECT_FALSE(gSeen.panelEverEnabled);
  EXPECT_EQ(unit->DataCells->Count(), Lines);
  EXPECT_FALSE(unit->Progress->Form->Visible());
  EXPECT_TRUE(unit->MainPanel->Enabled());

  gSeen = Seen();  // no window when the option is off
  unit->ShowProgress = 0;
  unit->ParseLogText();
  EXPECT_TRUE(gSeen.stageTexts.empty());
  EXPECT_EQ(unit->DataCells->Count(), Lines);
  EXPECT_FALSE(unit->Progress->Form->Visible());
}

// The window is served while the text loads: Break pressed then stops the parse before any
// line is walked, and the text view is left empty.
TEST_F(ParseProgress, BreakWhileTheTextLoadsLeavesNoTextAndNoRecords)
{
  gSeen.clickWhenTheLoadStarts = true;
  unit->Progress->PumpInterval = std::chrono::steady_clock::duration::zero();
  unit->LogFileName = log;
  unit->ParseLogText();

  EXPECT_EQ(unit->AbortFlag, 1);
  EXPECT_EQ(gSeen.walkLooks, 0);
  EXPECT_EQ(unit->TextMemo->Lines()->Count(), 0);
  EXPECT_EQ(unit->DataCells->Count(), 0);
  // No walk is announced, the stages after it still are.
  EXPECT_EQ(gSeen.stageTexts.size(), 6u);
  EXPECT_EQ(gSeen.stageTexts[1], "Set link [Next <-> Previous]");
  EXPECT_FALSE(unit->Progress->Form->Visible());
}

// The user closes the main window while the log is read: the parse stops as after a break,
// the object outlives it, and the window closes once the parse has returned.
TEST_F(ParseProgress, ClosingTheWindowStopsTheParseAndClosesAfterIt)
{
  gSeen.closeAfterFirstLook = form;
  unit->LogFileName = log;
  unit->ParseLogText();

  EXPECT_EQ(gQELunit, unit);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(unit->AbortFlag, 1);
  EXPECT_LT(unit->DataCells->Count(), Lines);

  EXPECT_TRUE(RunLoopUntil([] { return gQELunit == nullptr; }));
  EXPECT_FALSE(form->Visible());
}

}  // namespace
