// The layouts of the real main form, checked against sizes measured from its own controls: rows
// and edges in every language at the smallest and a large size, the chart's clamps, plot, pan
// and status panels; nothing moves before the object is ready.
#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/StartTestSupport.h"

namespace {

using WindowLayout = ProgramStart;

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
  // the plot is empty and the column narrower than the splitter's minimum; at zoom 1 no pan.
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

}  // namespace
