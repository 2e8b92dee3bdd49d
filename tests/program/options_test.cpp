// The options and the Common page as a view of them: the corrections on the way in and out and
// the change flags the read-back raises, each state compared as a dump of fields and page.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>

#include "CheckBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

// Line period, speed, frame period; the zooms; the value window; the checks, the styles; the
// flags reparse, statuses, masks.
std::string Fields(const BQELunit& u)
{
  std::ostringstream out;
  out << u.TextLinePeriod << ' ' << u.ReadingSpeed << ' ' << u.FramePeriod << ' ' << u.ZoomSeconds[0] << ','
      << u.ZoomSeconds[1] << ',' << u.ZoomSeconds[2] << ',' << u.ZoomSeconds[3] << ' ' << u.ValueWindowOffset.x
      << ',' << u.ValueWindowOffset.y << ' ' << int{u.EnableYZoom} << int{u.ShowProgress}
      << int{u.OldErrorAlgorithm} << int{u.MultiLineStatuses} << ' ' << int{u.ParamChartStyle}
      << int{u.StatusChartStyle} << ' ' << int{u.ReparseNeeded} << int{u.StatusesChanged} << int{u.MasksChanged};
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

// The parameter pair, then the status pair.
std::array<TRadioButton*, 4> Radios(const BQELunit& u)
{
  return {u.ParamStyleRadio1, u.ParamStyleRadio2, u.StatusStyleRadio1, u.StatusStyleRadio2};
}

std::string Page(const BQELunit& u)
{
  std::string out;
  for (TEdit* edit : Edits(u))
    out += edit->Text() + ' ';
  out += '|';
  for (TCheckBox* check : Checks(u))
    out += check->Checked() ? '1' : '0';
  for (TRadioButton* radio : Radios(u))
    out += radio->Checked() ? '1' : '0';
  return out;
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

const std::string Defaults = "10 45 22 10,30,180,600 50,3 0101 11 000";

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
  EXPECT_EQ(Page(unit), "12 33 10 31 180 600 -4 0 |10101001");

  // Values that mean nothing, or would overflow the arithmetic after them.
  unit.TextLinePeriod = 0;
  unit.FramePeriod = -3;
  unit.ZoomSeconds[0] = 0;
  unit.ZoomSeconds[3] = -5;
  unit.ReadingSpeed = 100;
  unit.ValueWindowOffset = {2147483647, -2147483647 - 1};
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(Fields(unit), "10 50 22 10,31,180,600 10000,-10000 1010 10 000");
  EXPECT_EQ(Page(unit), "10 50 10 31 180 600 10000 -10000 |10101001");
  unit.TextLinePeriod = 2147483647;
  unit.SpeedInHz = 0;  // in ms mode the edit shows the frame period
  unit.FramePeriod = 40;
  unit.ShowOptionsAndMaskRows();
  EXPECT_EQ(Page(unit), "1000 40 10 31 180 600 10000 -10000 |10101001");

  // Leaving the frame-period edit is bound: it corrects the text at once.
  unit.FramePeriodEdit->SetText("100");
  ASSERT_TRUE(unit.FramePeriodEdit->OnExit);
  unit.FramePeriodEdit->OnExit(unit.FramePeriodEdit);
  EXPECT_EQ(unit.FramePeriodEdit->Text(), "50");
}

// The cases are in tests/data/program/options_readback.txt.
TEST_F(Options, ReadBackCorrectsAndFlagsOnlyWhatChanged)
{
  std::ifstream cases(DRAVOLIN_TEST_DATA "/program/options_readback.txt");
  int count = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line[0] == '#' || !++count)
      continue;
    SCOPED_TRACE(line);
    unit.SetDefaultOptions();
    ShowPage();
    std::istringstream in(line.substr(0, line.find(" =>")));
    std::string word;
    for (TEdit* edit : Edits(unit))
      if (in >> word && word != ".")
        edit->SetText(word == "_" ? "" : word);
    in >> word >> word;
    for (size_t i = 0; word != "." && i < 4; ++i) {
      Checks(unit)[i]->SetChecked(word[i] == '1');
      if (word[4 + i] == '1')
        Radios(unit)[i]->SetChecked(true);
    }
    unit.FramePeriod = 7;
    speedEdit.SetText("-");
    unit.ReadOptionsAndMaskRows();
    EXPECT_EQ(line.substr(line.find("=> ") + 3), Fields(unit) + " | " + Page(unit) + " | " + speedEdit.Text());
  }
  EXPECT_EQ(count, 10);
}

// The read-back waits for valid rows, raises flags and never lowers them; the editor mask's rows
// follow the options, and are read back only while they are valid.
TEST_F(Options, ReadBackWaitsForValidRowsAndRaisesFlagsOnly)
{
  unit.MakeDefaultMasks();
  LMaskCell* mask = unit.MaskCells->Get(0);
  unit.MaskCombo->Items()->Add(unit.MaskName(mask));
  unit.MaskCombo->SetItemIndex(0);
  unit.EditorMaskIndex = 0;
  LTypeCell* item = mask->Items->Get(0);
  unit.ShowOptionsAndMaskRows();
  ASSERT_NE(item->FactorEdit, nullptr);
  EXPECT_EQ(unit.TextLinePeriodEdit->Text() + " " + item->FactorEdit->Text(), "10 10");
  unit.TextLinePeriodEdit->SetText("77");
  item->FactorEdit->SetText("-7");
  unit.ReadOptionsAndMaskRows();  // the rows are not valid yet
  EXPECT_EQ(Fields(unit) + " " + std::to_string(item->Factor), Defaults + " 10");

  unit.EditorRowsValid = 1;
  unit.ReadOptionsAndMaskRows();
  unit.StatusesChanged = unit.MasksChanged = 1;
  unit.ReadOptionsAndMaskRows();
  EXPECT_EQ(Fields(unit) + " " + std::to_string(item->Factor), "77 45 22 10,30,180,600 50,3 0101 11 111 -7");
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
