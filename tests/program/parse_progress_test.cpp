// The parse in the program's window: the progress window shows each stage, disables the main
// panel while it is up, and its Break button stops the walk with the records made so far.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Form.h"
#include "Label.h"
#include "Memo.h"
#include "Panel.h"
#include "app/Progress.h"
#include "support/StartTestSupport.h"

namespace {

// What the progress window showed at each look the parse took at it.
struct Seen {
  std::vector<std::string> stageTexts;
  bool windowAlwaysShown = true;
  bool panelEverEnabled = false;
  TForm* closeAtSecondWalkLook = nullptr;
  int walkLooks = 0;
};
Seen gSeen;

void Look(BQELunit& unit, int stage, int64_t, int64_t position)
{
  gSeen.windowAlwaysShown = gSeen.windowAlwaysShown && unit.Progress->Form->Visible();
  gSeen.panelEverEnabled = gSeen.panelEverEnabled || unit.MainPanel->Enabled();
  if (position < 0) {
    gSeen.stageTexts.push_back(unit.Progress->Label->Caption());
  } else if (stage == 2 && ++gSeen.walkLooks == 2 && gSeen.closeAtSecondWalkLook) {
    gSeen.closeAtSecondWalkLook->Close();
  }
}

constexpr int Lines = 20000;

class ParseProgress : public ProgramStart {
protected:
  void SetUp() override
  {
    gSeen = Seen();
    unit = &Start();
    unit->Language = 1;
    unit->ShowProgress = 1;
    unit->ProgressHook = Look;
    std::ofstream out(unit->LogFileName = folder / "Q5_progress.qel", std::ios::binary);
    for (int i = 0; i < Lines; ++i)
      out << "F1011500    450      O2 Sensor (mV)\r\n";
  }

  CommandLineScope ownCommandLine{{}};
  BQELunit* unit = nullptr;
};

// No window when the option is off.
TEST_F(ParseProgress, ShowsEveryStageAndIsGoneAfterwards)
{
  unit->ParseLogText();
  EXPECT_EQ(gSeen.stageTexts,
            (std::vector<std::string>{"Reading LOG-file", "Analising LOG-file", "Set link [Next <-> Previous]",
                                      "Initialize chart parametrs", "Update list with all parametrs",
                                      "Found mask QEL or PMS or LH", "Prepare chart and show"}));
  EXPECT_TRUE(gSeen.windowAlwaysShown && !gSeen.panelEverEnabled);
  EXPECT_TRUE(unit->DataCells->Count() == Lines && !unit->Progress->Form->Visible() && unit->MainPanel->Enabled());

  gSeen = Seen();
  unit->ShowProgress = 0;
  unit->ParseLogText();
  EXPECT_TRUE(gSeen.stageTexts.empty() && unit->DataCells->Count() == Lines && !unit->Progress->Form->Visible());
}

// The user closes the main window while the log is read: the parse stops as after a break,
// the object outlives it, and the window closes once the parse has returned.
TEST_F(ParseProgress, ClosingTheWindowStopsTheParseAndClosesAfterIt)
{
  gSeen.closeAtSecondWalkLook = form;
  unit->ParseLogText();
  EXPECT_TRUE(gQELunit == unit && form->Visible() && unit->AbortFlag == 1 && unit->DataCells->Count() < Lines);
  EXPECT_TRUE(RunLoopUntil([] { return gQELunit == nullptr; }));
  EXPECT_FALSE(form->Visible());
}

}  // namespace
