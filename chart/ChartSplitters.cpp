// The two splitters of the Chart page: the fault panel's share of the left column, and the
// column's width; both are options kept in the settings.
#include "PageControl.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"

void BQELunit::LegendSplitterMoved(TObject*)
{
  if (!ReadyFlag)
    return;
  // The layout keeps it within 5 .. 95 when it uses it.
  if (const int column = ChartColumnPanel->ClientHeight(); column > 0)
    LegendHeightPercent = static_cast<int32_t>(int64_t{FaultScrollBox->Height()} * 100 / column);
  DrawValuePanels();
  DrawErrorPanel();
}

void BQELunit::ChartSplitterMoved(TObject*)
{
  if (!ReadyFlag)
    return;
  LeftColumnWidth = ChartColumnPanel->Width();
  ChartPageResize(ChartPage);
}
