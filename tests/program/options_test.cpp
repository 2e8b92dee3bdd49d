// The options: their defaults, the Common page as a view of them, the corrections on the way
// in and out, and the change flags the read-back raises.
#include <gtest/gtest.h>

#include "CheckBox.h"
#include "Edit.h"
#include "Numbers.h"
#include "GroupBox.h"
#include "PageControl.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

class Options : public ::testing::Test {
protected:
  void SetUp() override
  {
    unit.SpeedEdit = &speedEdit;
    unit.SetDefaultOptions();
  }

  // Fills the page from the fields and lets the read-back run, as the page change does.
  void ShowPage()
  {
    unit.ShowOptionsAndMaskRows();
    unit.EditorRowsValid = 1;
  }

  // Made first: the unit's destructor still reads the page back into it.
  TEdit speedEdit{nullptr};
  BQELunit unit;
};

TEST_F(Options, DefaultsOfEveryOptionAndFlag)
{
  unit.TextLinePeriod = 1;
  unit.FramePeriod = 2;
  unit.ReadingSpeed = 3;
  unit.ZoomSeconds[2] = 4;
  unit.ValueWindowOffset = {5, 6};
  unit.EnableYZoom = unit.OldErrorAlgorithm = 1;
  unit.ShowProgress = unit.MultiLineStatuses = unit.ParamChartStyle = unit.StatusChartStyle = 0;
  unit.Language = 2;
  unit.SpeedInHz = unit.HideUnusedChannels = unit.RecentOnePerFolder = 0;
  unit.AbsentStatusColor = 7;
  unit.LegendHeightPercent = unit.LeftColumnWidth = unit.ChartMaskIndex = unit.EditorMaskIndex = 8;
  unit.EcuFamily = unit.SiblingIndex = 9;
  unit.LogFileName = "/x/log.qel";
  unit.AbortFlag = unit.EditorRowsValid = unit.ReparseNeeded = unit.StatusesChanged = unit.MasksChanged = 1;
  unit.ZoomX = unit.ZoomY = 3.0;
  unit.PanX = unit.PanY = 4;
  unit.ValueMin = unit.ValueMax = 5.0;
  unit.TimeSpan = 6;
  unit.LegendRow = unit.PanelRowSpacing = unit.PanelInset = unit.PanelBoxWidth = unit.PanelValueWidth = 7;
  unit.TextHeight = 8;
  unit.CursorCaretPos = 9;

  unit.SetDefaultOptions();

  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.FramePeriod, 22);
  EXPECT_EQ(unit.ReadingSpeed, 45);
  EXPECT_EQ(unit.ZoomSeconds[0], 10);
  EXPECT_EQ(unit.ZoomSeconds[1], 30);
  EXPECT_EQ(unit.ZoomSeconds[2], 180);
  EXPECT_EQ(unit.ZoomSeconds[3], 600);
  EXPECT_EQ(unit.ValueWindowOffset.x, 50);
  EXPECT_EQ(unit.ValueWindowOffset.y, 3);
  EXPECT_EQ(unit.EnableYZoom, 0);
  EXPECT_EQ(unit.ShowProgress, 1);
  EXPECT_EQ(unit.OldErrorAlgorithm, 0);
  EXPECT_EQ(unit.MultiLineStatuses, 1);
  EXPECT_EQ(unit.ParamChartStyle, 1);
  EXPECT_EQ(unit.StatusChartStyle, 1);
  EXPECT_EQ(unit.Language, 1);
  EXPECT_EQ(unit.SpeedInHz, 1);
  EXPECT_EQ(unit.HideUnusedChannels, 1);
  EXPECT_EQ(unit.AbsentStatusColor, 0x008080);
  EXPECT_EQ(unit.LegendHeightPercent, 30);
  EXPECT_EQ(unit.LeftColumnWidth, 300);
  EXPECT_EQ(unit.ChartMaskIndex, 0);
  EXPECT_EQ(unit.EditorMaskIndex, 0);
  EXPECT_EQ(unit.EcuFamily, 0);
  EXPECT_EQ(unit.LogFileName, "");
  EXPECT_EQ(unit.AbortFlag, 0);
  EXPECT_EQ(unit.RecentOnePerFolder, 1);
  EXPECT_EQ(unit.SiblingIndex, 0);
  EXPECT_EQ(unit.EditorRowsValid, 0);
  EXPECT_EQ(unit.ReparseNeeded, 0);
  EXPECT_EQ(unit.StatusesChanged, 0);
  EXPECT_EQ(unit.MasksChanged, 0);
  EXPECT_EQ(unit.ZoomX, 1.0);
  EXPECT_EQ(unit.ZoomY, 1.0);
  EXPECT_EQ(unit.PanX, 0);
  EXPECT_EQ(unit.PanY, 0);
  EXPECT_EQ(unit.ValueMin, 0.0);
  EXPECT_EQ(unit.ValueMax, 0.0);
  EXPECT_EQ(unit.TimeSpan, 0);
  EXPECT_EQ(unit.LegendRow, -1);
  EXPECT_EQ(unit.PanelRowSpacing, 10);
  EXPECT_EQ(unit.PanelInset, 10);
  EXPECT_EQ(unit.PanelBoxWidth, 30);
  EXPECT_EQ(unit.PanelValueWidth, 0);
  EXPECT_EQ(unit.TextHeight, 10);
  EXPECT_EQ(unit.CursorCaretPos, -1);
}

TEST_F(Options, CommonPageControlsHangFromTheirParents)
{
  ASSERT_NE(unit.CommonPage, nullptr);
  EXPECT_EQ(unit.CommonPage->BorderWidth(), 5);
  EXPECT_EQ(unit.CommonBox->Parent(), unit.CommonPage);
  EXPECT_EQ(unit.CommonBox->Align(), alClient);
  for (TControl* control :
       {static_cast<TControl*>(unit.TextLinePeriodEdit), static_cast<TControl*>(unit.FramePeriodEdit),
        static_cast<TControl*>(unit.ZoomF5Edit), static_cast<TControl*>(unit.ZoomF8Edit),
        static_cast<TControl*>(unit.ValueWindowYEdit), static_cast<TControl*>(unit.EnableYZoomCheck),
        static_cast<TControl*>(unit.MultiLineStatusesCheck), static_cast<TControl*>(unit.ParamStyleGroup),
        static_cast<TControl*>(unit.StatusStyleGroup)}) {
    EXPECT_EQ(control->Parent(), unit.CommonBox);
    EXPECT_EQ(control->Owner(), unit.CommonBox);
  }
  EXPECT_EQ(unit.ParamStyleRadio2->Parent(), unit.ParamStyleGroup);
  EXPECT_EQ(unit.StatusStyleRadio1->Parent(), unit.StatusStyleGroup);
  EXPECT_EQ(unit.StatusStyleRadio1->Caption(), "");

  // Leaving the frame-period edit is bound: it corrects the text at once.
  unit.FramePeriodEdit->SetText("100");
  ASSERT_TRUE(unit.FramePeriodEdit->OnExit);
  unit.FramePeriodEdit->OnExit(unit.FramePeriodEdit);
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "50");
}

TEST_F(Options, ShowWritesEveryFieldIntoItsControl)
{
  unit.TextLinePeriod = 12;
  unit.ReadingSpeed = 33;
  unit.ZoomSeconds[1] = 31;
  unit.ValueWindowOffset = {-4, 0};
  unit.EnableYZoom = 1;
  unit.ShowProgress = 0;
  unit.OldErrorAlgorithm = 1;
  unit.MultiLineStatuses = 0;
  unit.ParamChartStyle = 1;
  unit.StatusChartStyle = 0;
  unit.ShowOptionsAndMaskRows();

  EXPECT_EQ(unit.TextLinePeriodEdit->Text(), "12");
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "33");
  EXPECT_EQ(unit.ZoomF5Edit->Text(), "10");
  EXPECT_EQ(unit.ZoomF6Edit->Text(), "31");
  EXPECT_EQ(unit.ZoomF7Edit->Text(), "180");
  EXPECT_EQ(unit.ZoomF8Edit->Text(), "600");
  EXPECT_EQ(unit.ValueWindowXEdit->Text(), "-4");
  EXPECT_EQ(unit.ValueWindowYEdit->Text(), "0");
  EXPECT_TRUE(unit.EnableYZoomCheck->Checked());
  EXPECT_FALSE(unit.ShowProgressCheck->Checked());
  EXPECT_TRUE(unit.OldErrorAlgorithmCheck->Checked());
  EXPECT_FALSE(unit.MultiLineStatusesCheck->Checked());
  // Each style group holds its own pair: choosing one status style keeps the parameter style.
  EXPECT_TRUE(unit.ParamStyleRadio1->Checked());
  EXPECT_FALSE(unit.ParamStyleRadio2->Checked());
  EXPECT_FALSE(unit.StatusStyleRadio1->Checked());
  EXPECT_TRUE(unit.StatusStyleRadio2->Checked());

  // In ms mode the edit shows the frame period instead.
  unit.SpeedInHz = 0;
  unit.FramePeriod = 40;
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "40");
}

TEST_F(Options, ShowCorrectsWhatSettingsCannotMean)
{
  unit.TextLinePeriod = 0;
  unit.FramePeriod = -3;
  unit.ZoomSeconds[0] = 0;
  unit.ZoomSeconds[3] = -5;
  unit.ReadingSpeed = 100;
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.FramePeriod, 22);
  EXPECT_EQ(unit.ZoomSeconds[0], 10);
  EXPECT_EQ(unit.ZoomSeconds[3], 600);
  EXPECT_EQ(unit.ReadingSpeed, 50);
  EXPECT_EQ(unit.TextLinePeriodEdit->Text(), "10");
  EXPECT_EQ(unit.ZoomF8Edit->Text(), "600");
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "50");

  // Values that would overflow the arithmetic after them are brought into bounds.
  unit.TextLinePeriod = 2147483647;
  unit.ValueWindowOffset = {2147483647, -2147483647 - 1};
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 1000);
  EXPECT_EQ(unit.ValueWindowOffset.x, 10000);
  EXPECT_EQ(unit.ValueWindowOffset.y, -10000);
  EXPECT_EQ(unit.ValueWindowXEdit->Text(), "10000");
}

TEST_F(Options, RoundTripChangesNothingAndRaisesNoFlag)
{
  unit.TextLinePeriod = 15;
  unit.ReadingSpeed = 20;
  unit.ZoomSeconds[2] = 99;
  unit.ValueWindowOffset = {-7, 12};
  unit.EnableYZoom = 1;
  unit.ShowProgress = 0;
  unit.OldErrorAlgorithm = 1;
  unit.MultiLineStatuses = 0;
  unit.ParamChartStyle = 0;
  unit.StatusChartStyle = 1;
  ShowPage();
  unit.ReadOptionsAndMaskRows();

  EXPECT_EQ(unit.TextLinePeriod, 15);
  EXPECT_EQ(unit.ReadingSpeed, 20);
  EXPECT_EQ(unit.FramePeriod, 50);  // follows the speed
  EXPECT_EQ(unit.ZoomSeconds[2], 99);
  EXPECT_EQ(unit.ValueWindowOffset.x, -7);
  EXPECT_EQ(unit.ValueWindowOffset.y, 12);
  EXPECT_EQ(unit.EnableYZoom, 1);
  EXPECT_EQ(unit.ShowProgress, 0);
  EXPECT_EQ(unit.OldErrorAlgorithm, 1);
  EXPECT_EQ(unit.MultiLineStatuses, 0);
  EXPECT_EQ(unit.ParamChartStyle, 0);
  EXPECT_EQ(unit.StatusChartStyle, 1);
  EXPECT_EQ(speedEdit.Text(), "20");
  EXPECT_EQ(unit.ReparseNeeded, 0);
  EXPECT_EQ(unit.StatusesChanged, 0);
  EXPECT_EQ(unit.MasksChanged, 0);
}

TEST_F(Options, ReadBackDoesNothingUntilTheRowsAreValid)
{
  unit.ShowOptionsAndMaskRows();
  unit.TextLinePeriodEdit->SetText("77");
  unit.FramePeriodEdit->SetText("30");
  unit.OldErrorAlgorithmCheck->SetChecked(true);
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.ReadingSpeed, 45);
  EXPECT_EQ(unit.OldErrorAlgorithm, 0);
  EXPECT_EQ(unit.ReparseNeeded, 0);
  EXPECT_EQ(unit.TextLinePeriodEdit->Text(), "77");
}

// Each number is read on its own: one bad text does not stop the others.
TEST_F(Options, TextThatIsNoNumberIsReplacedByTheField)
{
  unit.ZoomSeconds[1] = 45;
  ShowPage();
  unit.TextLinePeriodEdit->SetText("abc");
  unit.FramePeriodEdit->SetText("");
  unit.ZoomF6Edit->SetText("3x");
  unit.ValueWindowXEdit->SetText("99999999999");  // beyond 32 bits: no number either
  unit.ValueWindowYEdit->SetText("-8");
  unit.ZoomF7Edit->SetText("200");
  speedEdit.SetText("untouched");
  unit.FramePeriod = 7;
  unit.ReadOptionsAndMaskRows();

  EXPECT_EQ(unit.TextLinePeriodEdit->Text(), "10");
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "45");
  EXPECT_EQ(unit.ZoomF6Edit->Text(), "45");
  EXPECT_EQ(unit.ValueWindowXEdit->Text(), "50");
  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.ReadingSpeed, 45);
  EXPECT_EQ(unit.FramePeriod, 7);  // nothing of the speed step ran
  EXPECT_EQ(speedEdit.Text(), "untouched");
  EXPECT_EQ(unit.ZoomSeconds[1], 45);
  EXPECT_EQ(unit.ValueWindowOffset.x, 50);
  EXPECT_EQ(unit.ValueWindowOffset.y, -8);
  EXPECT_EQ(unit.ZoomSeconds[2], 200);
  EXPECT_EQ(unit.ReparseNeeded, 0);
}

TEST_F(Options, SpeedIsReadAsHzWithinBounds)
{
  struct Case {
    const char* typed;
    int32_t speed;
    int32_t period;
  };
  for (const Case& c : {Case{"100", 50, 20}, Case{"10", 16, 62}, Case{"-3", 16, 62}, Case{"33", 33, 30}}) {
    unit.SetDefaultOptions();
    ShowPage();
    unit.FramePeriodEdit->SetText(c.typed);
    unit.ReadOptionsAndMaskRows();
    EXPECT_EQ(unit.ReadingSpeed, c.speed) << c.typed;
    EXPECT_EQ(unit.FramePeriod, c.period) << c.typed;
    EXPECT_EQ(speedEdit.Text(), IntToStr(c.speed)) << c.typed;
    EXPECT_EQ(unit.ReparseNeeded, 1) << c.typed;
  }
  // The current speed typed again raises nothing, but the frame period still follows it.
  unit.SetDefaultOptions();
  unit.FramePeriod = 99;
  ShowPage();
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.FramePeriod, 22);
  EXPECT_EQ(unit.ReparseNeeded, 0);
}

TEST_F(Options, ZoomBelowOneTakesItsDefaultInFieldAndEdit)
{
  unit.ZoomSeconds[0] = 25;
  unit.ZoomSeconds[3] = 1000;
  ShowPage();
  unit.ZoomF5Edit->SetText("0");
  unit.ZoomF8Edit->SetText("-5");
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ZoomSeconds[0], 10);
  EXPECT_EQ(unit.ZoomSeconds[3], 600);
  EXPECT_EQ(unit.ZoomF5Edit->Text(), "10");
  EXPECT_EQ(unit.ZoomF8Edit->Text(), "600");
  EXPECT_EQ(unit.ReparseNeeded, 0);
}

TEST_F(Options, TextLinePeriodZeroBecomesTenAndFlagsOnlyAChange)
{
  ShowPage();
  unit.TextLinePeriodEdit->SetText("0");
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.ReparseNeeded, 0);

  unit.TextLinePeriod = 5;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 10);
  EXPECT_EQ(unit.ReparseNeeded, 1);
}

TEST_F(Options, HugeTypedValuesAreKeptInBounds)
{
  ShowPage();
  unit.TextLinePeriodEdit->SetText("2147483647");
  unit.ValueWindowXEdit->SetText("2000000000");
  unit.ValueWindowYEdit->SetText("-2147483648");
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 1000);
  EXPECT_EQ(unit.ReparseNeeded, 1);
  EXPECT_EQ(unit.ValueWindowOffset.x, 10000);
  EXPECT_EQ(unit.ValueWindowOffset.y, -10000);

  unit.ValueWindowXEdit->SetText("0");
  unit.ValueWindowYEdit->SetText("-10000");
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ValueWindowOffset.x, 0);
  EXPECT_EQ(unit.ValueWindowOffset.y, -10000);
}

TEST_F(Options, OldErrorAlgorithmFlagsOnlyAChangeOfTheField)
{
  ShowPage();
  unit.OldErrorAlgorithmCheck->SetChecked(true);
  unit.OldErrorAlgorithmCheck->SetChecked(false);
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ReparseNeeded, 0);

  unit.OldErrorAlgorithmCheck->SetChecked(true);
  unit.EnableYZoomCheck->SetChecked(true);
  unit.StatusStyleRadio2->SetChecked(true);
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.OldErrorAlgorithm, 1);
  EXPECT_EQ(unit.EnableYZoom, 1);
  EXPECT_EQ(unit.StatusChartStyle, 0);
  EXPECT_EQ(unit.ReparseNeeded, 1);

  // The read-back raises flags, it never lowers one, and never the mask or status flags.
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ReparseNeeded, 1);
  EXPECT_EQ(unit.StatusesChanged, 0);
  EXPECT_EQ(unit.MasksChanged, 0);
  unit.StatusesChanged = unit.MasksChanged = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.StatusesChanged, 1);
  EXPECT_EQ(unit.MasksChanged, 1);
}

int showRows = 0;
int readRows = 0;

// The mask rows follow the options, and the read-back reads them only while they are valid.
TEST_F(Options, MaskRowsFollowTheOptions)
{
  showRows = readRows = 0;
  unit.ShowMaskRowsHook = [](BQELunit& u) {
    ++showRows;
    EXPECT_EQ(u.TextLinePeriodEdit->Text(), "10");  // options first
  };
  unit.ReadMaskRowsHook = [](BQELunit&) { ++readRows; };
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(readRows, 0);
  ShowPage();
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(showRows, 1);
  EXPECT_EQ(readRows, 1);
}

// A unit whose page was never built still corrects and reads nothing.
TEST(OptionsWithoutControls, ShowAndReadNeedNoControls)
{
  BQELunit unit;
  unit.SetDefaultOptions();
  unit.TextLinePeriod = 0;
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(unit.TextLinePeriod, 10);
  unit.EditorRowsValid = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ReparseNeeded, 0);
}

} // namespace
