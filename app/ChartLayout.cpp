// The Chart page's layout: the left column (mask combo, legend, fault list), the plot's
// geometry with its zoomed size and pan, and the status bar's panels.
#include <algorithm>

#include "ComboBox.h"
#include "PageControl.h"
#include "PaintBox.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "app/Qelunit.h"

namespace {

// The pan that keeps the view at the same share of the zoomed plot, kept inside it; 0 when
// the plot has no room.
int32_t KeptPan(double percent, int32_t plot, int32_t zoomed)
{
  const auto pan = static_cast<int32_t>(zoomed * percent * 0.01);
  return std::max(0, std::min(pan, zoomed - plot));
}

}  // namespace

void BQELunit::ChartPageResize(TObject*)
{
  if (!LaysOut())
    return;
  ChartComboPanel->SetHeight(ChartMaskCombo->Height() + 8);
  ChartMaskCombo->SetBounds(0, 0, ChartComboPanel->ClientWidth(), ChartMaskCombo->Height());

  // Stored so: a value out of range from the settings is saved corrected.
  LegendHeightPercent = std::clamp(LegendHeightPercent, 5, 95);
  FaultScrollBox->SetHeight(ChartColumnPanel->ClientHeight() * LegendHeightPercent / 100);

  // The upper limit wins: a narrow chart area gets a narrower column, but never a negative one.
  const int minSize = ChartSplitter->MinSize();
  LeftColumnWidth = std::max(LeftColumnWidth, minSize);
  LeftColumnWidth = std::max(0, std::min(LeftColumnWidth, ChartAreaPanel->Width() - minSize));
  ChartColumnPanel->SetWidth(LeftColumnWidth);

  // Below its margins the plot has no room.
  PlotHeight = std::max(0, ChartPaintBox->Height() - MarginTop - MarginBottom);
  PlotWidth = std::max(0, ChartPaintBox->Width() - MarginLeft - MarginRight);
  ZoomedHeight = static_cast<int32_t>(PlotHeight * ZoomY);
  ZoomedWidth = static_cast<int32_t>(PlotWidth * ZoomX);
  PanX = KeptPan(PanPercentX, PlotWidth, ZoomedWidth);
  PanY = KeptPan(PanPercentY, PlotHeight, ZoomedHeight);

  if (PageControl->ActivePage() != ChartPage)
    return;
  // Never from inside a parse, which is still building the records drawn: once it has ended,
  // the layout runs again and draws (one run for any number of resizes meanwhile).
  if (ParseRunning) {
    if (!ChartLayoutDeferred) {
      ChartLayoutDeferred = 1;
      WhenParseEnds([this] {
        ChartLayoutDeferred = 0;
        ChartPageResize(ChartPage);
      });
    }
    return;
  }
  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
}

void BQELunit::ChartStatusBarResize(TObject*)
{
  if (!LaysOut())
    return;
  // TODO(interact): FitStatusNames here, the status names' height for the new width.
  const int u = ChartMaskCombo->Height();
  const int widths[4] = {3 * u, 3 * u, 5 * u, 3 * u};
  TStatusPanels* panels = ChartStatusBar->Panels();
  panels->BeginUpdate();
  int rest = ChartStatusBar->Width();
  for (int i = 0; i < 4; ++i) {
    panels->Items(i)->SetWidth(widths[i]);
    rest -= widths[i];
  }
  // The status names at the cursor take what is left, or a width of their own.
  panels->Items(4)->SetWidth(rest > 0 ? rest : 10 * u);
  panels->EndUpdate();
}
