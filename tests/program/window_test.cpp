// The real main form: its layouts against sizes measured from its own controls; and the whole
// window end to end, started with a sample log and driven through the window system. After each
// step a picture goes to <build>/screenshots/window/NN-step.png for the eye; none may be blank,
// and each step that changed something must show a change.
#include <QImage>
#include <QTabBar>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

using WindowScreens = ProgramStart;
using WindowLayout = ProgramStart;

// Rows and edges in every language at the smallest and a large size, the chart's clamps, plot,
// pan and status panels; nothing moves before the object is ready.
TEST_F(WindowLayout, RowsEdgesClampsPlotPanAndPanelsFollowTheMeasuredSizes)
{
  BQELunit& u = Start();
  form->SetWindowState(wsNormal);
  u.PageControl->SetActivePage(u.OptionsPage);
  for (const auto& [width, language] : {std::pair{800, 0}, {800, 1}, {800, 2}, {1600, 1}}) {
    form->SetBounds(0, 0, width, width * 3 / 4);
    u.Language = language;
    u.ApplyLanguage();
    const int e = u.FindEdit->Height(), c = u.MaskCombo->Height();
    // No tab lies under the toolbar.
    EXPECT_EQ(u.ToolbarPanel->Left(), std::max(230, u.PageControl->TabRect(2).right + 8)) << language;
    // The right edges (each row's sum of gaps and sizes): toolbar, find and mask rows, bevels, lists, flags.
    EXPECT_EQ(u.ToolbarPanel->Left() + u.RecentCombo->Left() + u.RecentCombo->Width() + 248,
              u.MainPanel->ClientWidth());
    EXPECT_TRUE(u.PrevButton->Left() + 48 == u.NextButton->Left() &&
                u.NextButton->Left() + 104 == u.LanguageButton->Left());
    EXPECT_EQ(u.TextEndButton->Left() + e,
              100 + u.FindLabel->Width() + 14 * e + u.FindUpRadio->Width() + u.FindDownRadio->Width());
    EXPECT_EQ(u.DeleteMaskButton->Left() + 4 * c, u.MaskCombo->Left() + 280 + 14 * c);
    EXPECT_EQ(u.MaskBevel3->Left() + u.MaskBevel3->Width(), u.MaskPage->ClientWidth() - 5);
    EXPECT_EQ(u.ListPageControl->Left() + u.ListPageControl->Width(), u.MaskPage->ClientWidth() - 5);
    u.OptionsPageControl->SetActivePage(u.CommonPage);
    EXPECT_EQ(u.GermanButton->Left() + 72, u.CommonBox->ClientWidth() - 8);
    u.OptionsPageControl->SetActivePage(u.MaskPage);
  }

  u.PageControl->SetActivePage(u.ChartPage);
  for (const auto& [percent, width, shownPercent, shownWidth] :
       {std::tuple{0, 50, 5, 100}, {120, 5000, 95, u.ChartAreaPanel->Width() - 100}}) {
    u.LegendHeightPercent = percent;
    u.LeftColumnWidth = width;
    u.ChartPageResize(nullptr);
    EXPECT_EQ(u.FaultScrollBox->Height(), u.ChartColumnPanel->ClientHeight() * shownPercent / 100);
    EXPECT_TRUE(u.LegendHeightPercent == shownPercent && u.ChartColumnPanel->Width() == shownWidth);
  }
  // At zoom 3 the view keeps its share of the zoomed plot over resizes; narrower than its margins
  // the plot is empty and the column narrower than the splitter's minimum; at zoom 1 no pan. A
  // chart is shown: without one the paint box is hidden and keeps its size.
  ShowFirstChartMask(u);
  u.OpenLogFile(folder.Write("w.qel", SmallLog()));
  u.ZoomX = u.ZoomY = 3.0;
  u.PanPercentX = u.PanPercentY = 50.0;
  form->Constraints()->SetMinWidth(0);
  for (const auto& [width, height] : {std::pair{1200, 900}, {900, 700}, {70, 60}}) {
    form->SetBounds(0, 0, width, height);
    EXPECT_EQ(u.ZoomedWidth, 3 * std::max(0, u.ChartPaintBox->Width() - u.MarginLeft - u.MarginRight));
    EXPECT_TRUE(u.PanX == u.ZoomedWidth / 2 && u.PanY == u.ZoomedHeight / 2) << width;
  }
  EXPECT_TRUE(u.PlotWidth == 0 && u.ChartColumnPanel->Width() == std::max(0, u.ChartAreaPanel->Width() - 100));
  u.ZoomX = 1.0;
  u.PanPercentX = -20.0;
  form->SetBounds(0, 0, 1000, 700);
  const int h = u.ChartMaskCombo->Height();
  TStatusPanels* panels = u.ChartStatusBar->Panels();
  EXPECT_EQ(panels->Items(0)->Width() + panels->Items(1)->Width() + panels->Items(3)->Width(), 9 * h);
  EXPECT_TRUE(panels->Items(2)->Width() == 5 * h &&
              panels->Items(4)->Width() == u.ChartStatusBar->Width() - 14 * h);

  // Shown on the Text page, the chart's geometry follows a language switch all the same.
  u.PageControl->SetActivePage(u.TextPage);
  u.PanX = u.PlotWidth = -1;
  u.EnglishButtonClick(nullptr);
  EXPECT_TRUE(u.PanX == 0 && u.PlotWidth == u.ChartPaintBox->Width() - u.MarginLeft - u.MarginRight);
  u.ReadyFlag = 0;
  u.LegendHeightPercent = 0;
  form->SetBounds(0, 0, 1100, 800);
  EXPECT_TRUE(u.LegendHeightPercent == 0 && u.ToolbarPanel->Left() + u.ToolbarPanel->Width() < 1080);
  u.ReadyFlag = 1;
}

// The vertical chains: the page control under the tab row, the speed pair in the toolbar, the
// Mask and Common tabs' sections one under the other and the find row, each from the measured
// sizes of the one above.
TEST_F(WindowLayout, VerticalChainsFollowTheMeasuredHeights)
{
  BQELunit& u = Start();
  form->SetWindowState(wsNormal);
  form->SetBounds(0, 0, 1000, 750);
  u.PageControl->SetActivePage(u.OptionsPage);
  u.OptionsPageResize(u.OptionsPage);
  const auto bottom = [](const TControl* c) { return c->Top() + c->Height(); };
  const std::pair<const TControl*, int> rows[] = {
      {u.PageControl, 22},
      {u.SpeedEdit, (u.ToolbarPanel->Height() - u.RecentCombo->Height()) / 2},
      {u.SpeedUnitLabel, bottom(u.SpeedEdit) - u.SpeedUnitLabel->Height() - 2},
      {u.MaskNameLabel, 5},
      {u.MaskBevel1, u.MaskNameLabel->Top() + 7},
      {u.MaskCombo, u.MaskBevel1->Top() + 15},
      {u.NewMaskButton, u.MaskCombo->Top()},
      {u.MaskOptionsLabel, bottom(u.MaskCombo) + 30},
      {u.MaskBevel2, u.MaskOptionsLabel->Top() + 7},
      {u.UnderCursorCheck, u.MaskBevel2->Top() + 15},
      {u.ThicknessEdit, u.UnderCursorCheck->Top() - 5},
      {u.YBottomEdit, bottom(u.UnderCursorCheck) + 10},
      {u.YBottomLabel, u.YBottomEdit->Top() + 5},
      {u.MaskItemsLabel, bottom(u.YBottomEdit) + 30},
      {u.MaskBevel3, u.MaskItemsLabel->Top() + 7},
      {u.MaskRowBox, u.MaskBevel3->Top() + 15},
      {u.AllItemsLabel, bottom(u.MaskRowBox) + 10},
      {u.ListPageControl, u.MaskRowBox->Top()},
  };
  for (size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(rows[i].first->Top(), rows[i].second) << "row " << i;
  EXPECT_EQ(u.PageControl->Height(), u.MainPanel->ClientHeight() - 22);

  // The Common tab, top to bottom; the find row and the panel's height under it.
  u.OptionsPageControl->SetActivePage(u.CommonPage);
  u.PageControl->SetActivePage(u.TextPage);
  u.FindPanelResize(u.FindPanel);
  const std::pair<const TControl*, int> more[] = {
      {u.TextLinePeriodEdit, 8},
      {u.FramePeriodEdit, bottom(u.TextLinePeriodEdit) + 8},
      {u.ZoomF5Edit, bottom(u.FramePeriodEdit) + 30},
      {u.ZoomF6Edit, bottom(u.ZoomF5Edit) + 8},
      {u.ZoomF8Edit, bottom(u.ZoomF7Edit) + 8},
      {u.ZoomF8Label, u.ZoomF8Edit->Top() + 5},
      {u.ValueWindowXEdit, bottom(u.ZoomF8Edit) + 30},
      {u.ValueWindowYEdit, bottom(u.ValueWindowXEdit) + 8},
      {u.EnableYZoomCheck, bottom(u.ValueWindowYEdit) + 30},
      {u.MultiLineStatusesCheck, bottom(u.OldErrorAlgorithmCheck) + 10},
      {u.StatusStyleGroup, bottom(u.MultiLineStatusesCheck) + 30},
      {u.ParamStyleGroup, u.StatusStyleGroup->Top()},
      {u.ClearHistoryButton, bottom(u.StatusStyleGroup) + 30},
      {u.DictRenameButton, bottom(u.RenameLogsButton) + 10},
      {u.RussianButton, 8},
      {u.GermanButton, bottom(u.EnglishButton) + 8},
      {u.FindLabel, 8},
      {u.FindEdit, 5},
      {u.FindUpRadio, 8},
      {u.TextEndButton, 5},
  };
  for (size_t i = 0; i < std::size(more); ++i)
    EXPECT_EQ(more[i].first->Top(), more[i].second) << "row " << i;
  EXPECT_EQ(u.FindPanel->Height(), bottom(u.FindEdit) + 10);
}

// Tab walks the toolbar's controls as they stand on screen, left to right, and Shift+Tab back,
// whatever order they were made in.
TEST_F(WindowLayout, TabAndShiftTabWalkTheToolbarInScreenOrder)
{
  BQELunit& u = Start();
  ASSERT_TRUE(RunLoopUntil([&] { return u.TickCount > 10 && !u.ParseRunning && form->Widget()->isActiveWindow(); },
                           20000));
  const std::pair<TWinControl*, const char*> controls[] = {
      {u.LanguageButton, "language"}, {u.SpeedEdit, "speed"}, {u.RecentCombo, "recent"}, {u.OpenButton, "open"},
      {u.PasteButton, "paste"},       {u.NextButton, "next"}, {u.PrevButton, "prev"}};
  std::vector<std::tuple<int, std::string, TWinControl*>> onScreen;
  for (const auto& [control, name] : controls)
    if (control->Widget()->isVisible())
      onScreen.emplace_back(control->Left(), name, control);
  std::sort(onScreen.begin(), onScreen.end());
  auto focused = [&] {
    for (const auto& [control, name] : controls)
      if (control->Widget()->hasFocus())
        return std::string(name) + " ";
    return std::string("elsewhere ");
  };
  std::string expected, forward, backward;
  for (const auto& [left, name, control] : onScreen)
    expected += name + " ";
  std::get<2>(onScreen.front())->SetFocus();
  forward = focused();
  for (size_t i = 1; i < onScreen.size(); ++i) {
    window_input::Key(form->Widget(), Qt::Key_Tab);
    forward += focused();
  }
  for (size_t i = 1; i < onScreen.size(); ++i) {
    window_input::Key(form->Widget(), Qt::Key_Backtab);
    backward = focused() + backward;
  }
  EXPECT_EQ(forward, expected);
  EXPECT_EQ(backward + std::get<1>(onScreen.back()) + " ", expected);
}

TEST_F(WindowScreens, EveryTabLanguageSizeAndKeyShowsAWholeWindow)
{
  const std::filesystem::path shots =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / "window";
  std::filesystem::remove_all(shots);
  std::filesystem::create_directories(shots);
  CommandLineScope commandLine{{std::string(DRAVOLIN_TEST_DATA) + "/../../samples/Q5_sample.qel"}};
  BQELunit& u = Start();
  ASSERT_TRUE(RunLoopUntil([&] { return u.TickCount > 10 && !u.ParseRunning; }, 20000));
  ASSERT_GT(u.DataCells->Count(), 0);

  auto tab = [](TPageControl* pages, int index) {
    auto* tabs = pages->Widget()->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    window_input::Click(tabs, tabs->tabRect(index).center());
  };
  auto click = [](TControl* control) { window_input::Click(control->Widget(), QPoint(10, 10)); };
  auto keys = [&](TWinControl* focus) {
    focus->SetFocus();
    for (int key : {Qt::Key_F3, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F10, Qt::Key_F12})
      window_input::Key(form->Widget(), key);
  };
  auto resize = [&](int width, int height) {
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, width, height);
  };
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"started", [] {}},
      {"options-mask", [&] { tab(u.PageControl, 0); }},
      {"options-common", [&] { tab(u.OptionsPageControl, 1); }},
      {"options-help", [&] { tab(u.OptionsPageControl, 2); }},
      {"text", [&] { tab(u.PageControl, 1); }},
      {"chart", [&] { tab(u.PageControl, 2); }},
      {"options", [&] { tab(u.PageControl, 0); }},
      {"options-mask-again", [&] { tab(u.OptionsPageControl, 0); }},
      {"language-button-1", [&] { click(u.LanguageButton); }},
      {"language-button-2", [&] { click(u.LanguageButton); }},
      {"language-button-3", [&] { click(u.LanguageButton); }},
      {"options-common-again", [&] { tab(u.OptionsPageControl, 1); }},
      {"flag-russian", [&] { click(u.RussianButton); }},
      {"flag-english", [&] { click(u.EnglishButton); }},
      {"flag-german", [&] { click(u.GermanButton); }},
      {"size-800x600", [&] { resize(800, 600); }},
      {"size-1600x1000", [&] { resize(1600, 1000); }},
      {"text-german", [&] { tab(u.PageControl, 1); }},
      {"keys-in-memo", [&] { keys(u.TextMemo); }},
      {"keys-in-edit", [&] { keys(u.FindEdit); }},
      {"chart-german", [&] { tab(u.PageControl, 2); }},
      {"keys-in-combo", [&] { keys(u.ChartMaskCombo); }},
  };
  // What a step must show changed: another page, language or size.
  auto state = [&] {
    return std::tuple(u.PageControl->ActivePage(), u.OptionsPageControl->ActivePage(), u.Language, form->Width());
  };
  QImage previous;
  int number = 0;
  for (const auto& [name, step] : steps) {
    const auto before = state();
    step();
    RunLoopFor(50);
    const QImage shot = form->Widget()->grab().toImage();
    EXPECT_TRUE(
        shot.save(QString::fromStdString(shots.string()) + QString::asprintf("/%02d-%s.png", ++number, name)));
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 7)
      for (int x = 0; x < shot.width(); x += 7)
        colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 8u) << name << " is blank";
    EXPECT_TRUE(state() == before || shot != previous) << name << " changed nothing";
    previous = shot;
  }
}

}  // namespace
