// The options and the Common page as a view of them: the corrections on the way in and out and
// the change flags the read-back raises, each state compared as a dump of fields and page.
#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "CheckBox.h"
#include "Edit.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

// The fields the page shows, then the flags reparse, statuses, masks.
std::string Fields(const BQELunit& u)
{
  std::ostringstream out;
  out << "line=" << u.TextLinePeriod << " speed=" << u.ReadingSpeed << " frame=" << u.FramePeriod
      << " zoom=" << u.ZoomSeconds[0] << ',' << u.ZoomSeconds[1] << ',' << u.ZoomSeconds[2] << ','
      << u.ZoomSeconds[3] << " window=" << u.ValueWindowOffset.x << ',' << u.ValueWindowOffset.y
      << " checks=" << int{u.EnableYZoom} << int{u.ShowProgress} << int{u.OldErrorAlgorithm}
      << int{u.MultiLineStatuses} << " styles=" << int{u.ParamChartStyle} << int{u.StatusChartStyle}
      << " flags=" << int{u.ReparseNeeded} << int{u.StatusesChanged} << int{u.MasksChanged};
  return out.str();
}

std::array<TEdit*, 8> Edits(const BQELunit& u)
{
  return {u.TextLinePeriodEdit, u.FramePeriodEdit, u.ZoomF5Edit,       u.ZoomF6Edit,
          u.ZoomF7Edit,         u.ZoomF8Edit,      u.ValueWindowXEdit, u.ValueWindowYEdit};
}

std::array<TCheckBox*, 4> Checks(const BQELunit& u)
{
  return {u.EnableYZoomCheck, u.ShowProgressCheck, u.OldErrorAlgorithmCheck, u.MultiLineStatusesCheck};
}

// The eight edits, the four checks, the four radio buttons (parameter pair, status pair).
std::string Page(const BQELunit& u)
{
  std::ostringstream out;
  for (TEdit* edit : Edits(u))
    out << edit->Text() << ' ';
  out << '|';
  for (TCheckBox* check : Checks(u))
    out << check->Checked();
  out << '|';
  for (TRadioButton* radio : {u.ParamStyleRadio1, u.ParamStyleRadio2, u.StatusStyleRadio1, u.StatusStyleRadio2})
    out << radio->Checked();
  return out.str();
}

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

const char* const Defaults =
    "line=10 speed=45 frame=22 zoom=10,30,180,600 window=50,3 checks=0101 styles=11 flags=000";

TEST_F(Options, ShowFillsThePageAndCorrectsWhatSettingsCannotMean)
{
  unit.TextLinePeriod = 12;
  unit.ReadingSpeed = 33;
  unit.ZoomSeconds[1] = 31;
  unit.ValueWindowOffset = {-4, 0};
  unit.EnableYZoom = unit.OldErrorAlgorithm = 1;
  unit.ShowProgress = unit.MultiLineStatuses = 0;
  unit.StatusChartStyle = 0;  // each style group holds its own pair
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(Page(unit), "12 33 10 31 180 600 -4 0 |1010|1001");

  // Values that mean nothing, or would overflow the arithmetic after them.
  unit.TextLinePeriod = 0;
  unit.FramePeriod = -3;
  unit.ZoomSeconds[0] = 0;
  unit.ZoomSeconds[3] = -5;
  unit.ReadingSpeed = 100;
  unit.ValueWindowOffset = {2147483647, -2147483647 - 1};
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(Fields(unit),
            "line=10 speed=50 frame=22 zoom=10,31,180,600 window=10000,-10000 checks=1010 styles=10 flags=000");
  EXPECT_EQ(Page(unit), "10 50 10 31 180 600 10000 -10000 |1010|1001");
  unit.TextLinePeriod = 2147483647;
  unit.SpeedInHz = 0;  // in ms mode the edit shows the frame period
  unit.FramePeriod = 40;
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(Page(unit), "1000 40 10 31 180 600 10000 -10000 |1010|1001");

  // Leaving the frame-period edit is bound: it corrects the text at once.
  unit.FramePeriodEdit->SetText("100");
  ASSERT_TRUE(unit.FramePeriodEdit->OnExit);
  unit.FramePeriodEdit->OnExit(unit.FramePeriodEdit);
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "50");
}

TEST_F(Options, RoundTripChangesNothingAndRaisesNoFlag)
{
  unit.TextLinePeriod = 15;
  unit.ReadingSpeed = 20;
  unit.ZoomSeconds[2] = 99;
  unit.ValueWindowOffset = {-7, 12};
  unit.EnableYZoom = unit.OldErrorAlgorithm = 1;
  unit.ShowProgress = unit.MultiLineStatuses = unit.ParamChartStyle = 0;
  ShowPage();
  unit.ReadOptionsAndMaskRows();
  // The frame period follows the speed.
  EXPECT_EQ(Fields(unit),
            "line=15 speed=20 frame=50 zoom=10,30,99,600 window=-7,12 checks=1010 styles=01 flags=000");
  EXPECT_EQ(speedEdit.Text(), "20");
}

// From the defaults shown: what is typed, the fields and the page after the read-back. The
// frame period is set to 7 and the speed edit to "-" before, to see whether the speed step ran.
TEST_F(Options, ReadBackCorrectsAndFlagsOnlyWhatChanged)
{
  struct Case {
    std::array<const char*, 8> typed;  // null: left as shown
    const char* boxes;                 // four checks, then '1' or '0' for the first or second radio of each group
    const char* fields;
    const char* page;
    const char* speed;
  };
  const Case cases[] = {
      {{}, nullptr, Defaults, "10 45 10 30 180 600 50 3 |0101|1010", "45"},
      // Each number is read on its own: one bad text does not stop the others.
      {{"abc", "", nullptr, "3x", "200", nullptr, "99999999999", "-8"},
       nullptr,
       "line=10 speed=45 frame=7 zoom=10,30,200,600 window=50,-8 checks=0101 styles=11 flags=000",
       "10 45 10 30 200 600 50 -8 |0101|1010",
       "-"},
      // A period of zero becomes the ten it was: no change. Zooms below one take their default.
      {{"0", nullptr, "0", nullptr, nullptr, "-5"}, nullptr, Defaults, "0 45 10 30 180 600 50 3 |0101|1010", "45"},
      {{"2147483647", nullptr, nullptr, nullptr, nullptr, nullptr, "2000000000", "-2147483648"},
       nullptr,
       "line=1000 speed=45 frame=22 zoom=10,30,180,600 window=10000,-10000 checks=0101 styles=11 flags=100",
       "2147483647 45 10 30 180 600 2000000000 -2147483648 |0101|1010",
       "45"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "0", "-10000"},
       nullptr,
       "line=10 speed=45 frame=22 zoom=10,30,180,600 window=0,-10000 checks=0101 styles=11 flags=000",
       "10 45 10 30 180 600 0 -10000 |0101|1010",
       "45"},
      // The speed is Hz within bounds.
      {{nullptr, "100"},
       nullptr,
       "line=10 speed=50 frame=20 zoom=10,30,180,600 window=50,3 checks=0101 styles=11 flags=100",
       "10 100 10 30 180 600 50 3 |0101|1010",
       "50"},
      {{nullptr, "-3"},
       nullptr,
       "line=10 speed=16 frame=62 zoom=10,30,180,600 window=50,3 checks=0101 styles=11 flags=100",
       "10 -3 10 30 180 600 50 3 |0101|1010",
       "16"},
      {{nullptr, "33"},
       nullptr,
       "line=10 speed=33 frame=30 zoom=10,30,180,600 window=50,3 checks=0101 styles=11 flags=100",
       "10 33 10 30 180 600 50 3 |0101|1010",
       "33"},
      // Only the old error algorithm asks for a new parse.
      {{},
       "1010"
       "10",
       "line=10 speed=45 frame=22 zoom=10,30,180,600 window=50,3 checks=1010 styles=10 flags=100",
       "10 45 10 30 180 600 50 3 |1010|1001",
       "45"},
      {{},
       "1100"
       "01",
       "line=10 speed=45 frame=22 zoom=10,30,180,600 window=50,3 checks=1100 styles=01 flags=000",
       "10 45 10 30 180 600 50 3 |1100|0110",
       "45"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    unit.SetDefaultOptions();
    ShowPage();
    for (size_t i = 0; i < 8; ++i)
      if (c.typed[i])
        Edits(unit)[i]->SetText(c.typed[i]);
    for (size_t i = 0; c.boxes && i < 4; ++i)
      Checks(unit)[i]->SetChecked(c.boxes[i] == '1');
    if (c.boxes) {
      (c.boxes[4] == '1' ? unit.ParamStyleRadio1 : unit.ParamStyleRadio2)->SetChecked(true);
      (c.boxes[5] == '1' ? unit.StatusStyleRadio1 : unit.StatusStyleRadio2)->SetChecked(true);
    }
    unit.FramePeriod = 7;
    speedEdit.SetText("-");
    unit.ReadOptionsAndMaskRows();
    EXPECT_EQ(Fields(unit), c.fields);
    EXPECT_EQ(Page(unit), c.page);
    EXPECT_EQ(speedEdit.Text(), c.speed);
  }
}

TEST_F(Options, ReadBackRaisesFlagsNeverLowersThemAndWaitsForValidRows)
{
  unit.ShowOptionsAndMaskRows();
  unit.TextLinePeriodEdit->SetText("77");
  unit.ReadOptionsAndMaskRows();  // the rows are not valid yet
  EXPECT_EQ(Fields(unit), Defaults);

  unit.EditorRowsValid = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(unit.ReparseNeeded, 1);
  unit.StatusesChanged = unit.MasksChanged = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(Fields(unit),
            "line=77 speed=45 frame=22 zoom=10,30,180,600 window=50,3 checks=0101 styles=11 flags=111");
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
  unit.EditorRowsValid = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(Fields(unit), Defaults);
}

}  // namespace
