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
#include "chart/ViewLimits.h"

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
  // A larger plot may lower the zoom's cap.
  ZoomY = ClampZoom(ZoomY, PlotHeight);
  ZoomX = ClampZoom(ZoomX, PlotWidth);
  ZoomedHeight = ZoomedSize(PlotHeight, ZoomY);
  ZoomedWidth = ZoomedSize(PlotWidth, ZoomX);
  // The view keeps its share of the zoomed plot, inside it.
  PanX = ClampPan(ZoomedWidth * PanPercentX * 0.01, PlotWidth, ZoomedWidth);
  PanY = ClampPan(ZoomedHeight * PanPercentY * 0.01, PlotHeight, ZoomedHeight);

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

  // As tall as the status names need. The new height runs this handler again, which then finds
  // it right; the page's own resize, or the drawing that follows a new range, takes the new
  // plot height (laid out from here, inside the page's realignment, the column would be
  // measured against a chart area not yet sized and keep that narrow width).
  const int height = FitStatusNames();
  if (height == ChartStatusBar->Height()) {
    ChartStatusBar->Invalidate();
    return;
  }
  ChartStatusBar->SetHeight(height);
  ChartStatusBar->Invalidate();
}
