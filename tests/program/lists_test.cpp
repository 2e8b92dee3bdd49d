// The lists that show names: what the parameter and status lists and the two mask combos hold
// in each language, and how a parse links the mask items to its parameters again (also when
// it is broken off), the built-in LH-SFI mask's status items included.
#include <string>

#include "ComboBox.h"
#include "Edit.h"
#include "ListBox.h"
#include "PageControl.h"
#include "PaintBox.h"
#include "program/ParserTestSupport.h"

namespace {

std::string Joined(TStrings* lines)
{
  std::string joined;
  for (int i = 0; i < lines->Count(); ++i)
    joined += lines->Get(i) + ";";
  return joined;
}

LTypeCell* Named(LTypeCell* cell, const AnsiString& en, const AnsiString& de)
{
  cell->NameEn = en, cell->NameDe = de;
  return cell;
}

using Lists = ParserTest;

// Sorted without regard to case, equal names kept; hidden parameters only while the option
// hides them; each language's names, any language beyond 1 German.
TEST_F(Lists, ParameterAndStatusListsShowTheirNamesSortedInTheCurrentLanguage)
{
  Named(AddItem(unit.TypeCells, 2, "b-ru"), "B", "b-de");
  Named(AddItem(unit.TypeCells, 3, "A-ru", 0), "a", "a-de");
  Named(AddItem(unit.TypeCells, 4, "c-ru"), "C", "B-de");
  Named(AddItem(unit.TypeCells, 5, "a-ru"), "B", "a-de");
  std::string shown;
  for (const auto& [language, hide] : {std::pair{1, 1}, {1, 0}, {0, 1}, {7, 0}}) {
    unit.Language = language;
    unit.HideUnusedChannels = static_cast<Byte>(hide);
    unit.FillChannelList();
    shown += Joined(unit.ChannelList->Items()) + "\n";
  }
  EXPECT_EQ(shown, "B;B;C;\na;B;B;C;\na-ru;b-ru;c-ru;\na-de;a-de;b-de;B-de;\n");

  unit.ClearStatusCells();
  for (const char* name : {"KAT", "idle", "A/C", "KAT", "Drive"}) {
    auto* status = new LStatusCell;
    status->Name = name;
    unit.StatusCells->Add(status);
  }
  unit.FillStatusList();
  EXPECT_EQ(Joined(unit.StatusList->Items()), "A/C;Drive;idle;KAT;KAT;");
}

// Item ids of the LH-SFI mask, in its order.
std::string LhIds(BQELunit& unit)
{
  std::string ids;
  const LMaskCell* mask = unit.MaskCells->Get(2);
  for (int i = 0; i < mask->Items->Count(); ++i)
    ids += std::to_string(mask->Items->Get(i)->Id) + " ";
  return ids;
}

// An LH log that has parameters named like the mask's status items: those stay statuses,
// while the parameter items of those names take the parameters' ids and names. An item whose
// parameter is gone loses its stale id. A parse broken off in its walk links what it made and
// leaves the lists.
TEST_F(Lists, AParseLinksTheParameterItemsAndLeavesTheStatusItems)
{
  unit.MakeDefaultMasks();  // parameters 2 to 13, from "ДМРВ, кг/ч" to "MAP, mbar"
  LMaskCell* lh = unit.MaskCells->Get(2);
  ASSERT_EQ(lh->NameEn, "LH-SFI");
  lh->Items->Get(1)->Id = 9;            // "LMM Voltage", of a parameter freed since
  lh->Items->Get(13)->NameEn = "Idle";  // "IDLE", renamed in English only
  const std::string log = ValueLine("F1011000", "1", "ON/OFF ratio") + ValueLine("F1011000", "0", "IDLE") +
                          ValueLine("F1011000", "1", "Safety fuel shut-off");
  Parse(log, "LH_1.qel");
  EXPECT_EQ(LhIds(unit), "14 -1 2 5 4 7 12 -1 -1 9 -1 -1 -1 15 16 1 1 1 ");
  const LTypeCell& idle = *lh->Items->Get(13);
  EXPECT_EQ(idle.NameRu + "/" + idle.NameEn + "/" + idle.NameDe, "IDLE/IDLE/IDLE");
  EXPECT_EQ(unit.ChannelList->Items()->Count(), 15);

  // Broken off in the walk, after the first line: only the parameter made so far is linked.
  unit.ClearTypeCells();
  unit.ChannelList->Items()->Clear();
  unit.ChannelList->Items()->Add("stale");
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t, int64_t position) {
    if (stage == 2 && position > 0)
      u.AbortFlag = 1;
  };
  std::string lines;
  for (int i = 0; i < 5000; ++i)
    lines += ValueLine("F1011000", "1", "IDLE");
  Parse(lines + ValueLine("F1011000", "1", "ON/OFF ratio"), "LH_2.qel");
  EXPECT_EQ(LhIds(unit), "-1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 2 -1 1 1 1 ");
  EXPECT_EQ(Joined(unit.ChannelList->Items()), "stale;");
  unit.ProgressHook = nullptr;
}

// The chart's selector lists the masks in the current language and selects the stored one, or
// the first; the chart is drawn through it. After the last mask none is selected and the chart
// is hidden.
TEST_F(Lists, TheChartSelectorSelectsTheStoredMaskOrTheFirstAndDrawsThroughIt)
{
  unit.MakeDefaultMasks();
  Parse(ValueLines(20));
  std::string seen;
  for (const auto& [language, index] : {std::pair{0, 2}, {1, 3}, {2, -1}, {1, 1}}) {
    unit.Language = language;
    unit.ChartMaskIndex = index;
    unit.MasksChanged = 1;
    unit.ChartPaintBox->Hide();
    unit.FillMaskSelector();
    LMaskCell* mask = nullptr;
    seen += Joined(unit.ChartMaskCombo->Items()) + " " + std::to_string(unit.ChartMaskIndex) +
            std::to_string(unit.ChartMaskCombo->ItemIndex()) + std::to_string(unit.MasksChanged) +
            std::to_string(unit.ChartMask(mask) ? unit.MaskCells->IndexOf(mask) : -1) +
            (unit.ChartPaintBox->Visible() ? " drawn\n" : " hidden\n");
  }
  unit.ClearMaskCells();
  unit.FillMaskSelector();
  seen += Joined(unit.ChartMaskCombo->Items()) + " " + std::to_string(unit.ChartMaskIndex) +
          (unit.ChartPaintBox->Visible() ? " drawn" : " hidden");
  EXPECT_EQ(seen, "QEL \xCE\xE1\xF9\xE0\xFF;PMS \xCE\xE1\xF9\xE0\xFF;LH-SFI; 2202 drawn\n"
                  "QEL Common;PMS Common;LH-SFI; 0000 drawn\n"
                  "QEL Gemein;PMS Gemein;LH-SFI; 0000 drawn\n"
                  "QEL Common;PMS Common;LH-SFI; 1101 drawn\n"
                  " -1 hidden");
}

// A language switch refills every list of names; a mask added meanwhile reaches the chart's
// selector when the Chart page is shown, or when the speed is typed on it (then after the
// parse the new speed asks for).
TEST_F(Lists, TheListsFollowTheLanguageAndTheChartPageRefillsTheSelectorAfterMaskEdits)
{
  unit.MakeDefaultMasks();
  unit.Language = 0;
  unit.ApplyLanguage();
  const std::string rpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты"
  EXPECT_EQ(unit.ChannelList->Items()->IndexOf(rpm) >= 0, true);
  EXPECT_EQ(unit.ChartMaskCombo->Items()->Get(0), "QEL \xCE\xE1\xF9\xE0\xFF");
  unit.EditorMaskIndex = 2;
  unit.Language = 1;
  unit.ApplyLanguage();
  EXPECT_EQ(unit.ChannelList->Items()->IndexOf("RPM") >= 0 && unit.ChannelList->Items()->IndexOf(rpm) < 0, true);
  // The editor's combo too, on the mask it edits.
  EXPECT_EQ(Joined(unit.MaskCombo->Items()) + " " + std::to_string(unit.MaskCombo->ItemIndex()),
            "QEL Common;PMS Common;LH-SFI; 2");

  std::string seen;
  unit.LogFileName = folder.Write("log.qel", ValueLines(5));
  unit.PageControl->SetActivePage(unit.ChartPage);
  for (const char* speed : {"45", "30"}) {
    AddMask(unit, speed);
    unit.MasksChanged = 1;
    unit.SpeedEdit->SetText(speed);
    unit.ReadingSpeedEditExit(unit.SpeedEdit);
    seen += Joined(unit.ChartMaskCombo->Items()) + " " + std::to_string(unit.MasksChanged) +
            std::to_string(unit.DataCells->Count()) + "\n";
  }
  AddMask(unit, "page");
  unit.MasksChanged = 1;
  unit.PageControlChange(unit.PageControl);
  seen += Joined(unit.ChartMaskCombo->Items()) + " " + std::to_string(unit.MasksChanged);
  EXPECT_EQ(seen, "QEL Common;PMS Common;LH-SFI;45; 00\n"
                  "QEL Common;PMS Common;LH-SFI;45;30; 05\n"
                  "QEL Common;PMS Common;LH-SFI;45;30;page; 0");
}

}  // namespace
