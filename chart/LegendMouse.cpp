// The legend under the mouse: the row the pointer is on, and a click that shows or hides that
// row's item on the chart.
#include "PaintBox.h"
#include "app/Qelunit.h"

void BQELunit::LegendMouseMove(TObject*, TShiftState, int, int Y)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !ChartMask(mask) || !mask)
    return;
  LegendRow = -1;
  // Rows as the legend drew them (the fault panel measures its bold text taller). Only y
  // counts; the gaps between rows are no row.
  const int64_t pitch = int64_t{LegendRowHeight} + PanelRowSpacing;
  for (int32_t i = 0; mask->Items && i < mask->Items->Count(); ++i) {
    const int64_t top = pitch * i + PanelRowSpacing;
    if (top <= Y && Y <= top + LegendRowHeight) {
      LegendRow = i;
      break;
    }
  }
}

void BQELunit::LegendMouseDown(TObject* Sender, TMouseButton, TShiftState Shift, int X, int Y)
{
  // The click takes the row under the pointer now: a wheel scroll moves the rows under a still
  // pointer without any move.
  LegendMouseMove(Sender, Shift, X, Y);
}

void BQELunit::LegendClick(TObject*)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !ChartMask(mask) || !mask || !mask->Items)
    return;
  if (LegendRow < 0 || LegendRow >= mask->Items->Count())
    return;
  LTypeCell* item = mask->Items->Get(LegendRow);
  if (!item)
    return;
  item->Chart = item->Chart ? 0 : 1;
  DropChartCaches();
  // The mask editor shows the same mask: its chart box follows.
  if (ChartMaskIndex == EditorMaskIndex)
    ShowOptionsAndMaskRows();
  CalcValueRange();
  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
  ShowZoomStatus();
  ChartPaint(ChartPaintBox);
}
