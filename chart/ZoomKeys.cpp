// F5 to F8: the chart shows a preset number of seconds around the cursor, and the pointer goes
// to the middle of the plot, where the cursor time now is.
#include <cmath>

#include "ComCtrls.h"
#include "Mouse.h"
#include "Numbers.h"
#include "PageControl.h"
#include "PaintBox.h"
#include "app/Qelunit.h"
#include "chart/Options.h"
#include "chart/ViewLimits.h"

void BQELunit::ZoomF5ActionExecute(TObject*)
{
  ZoomToPresetSeconds(0);
}

void BQELunit::ZoomF6ActionExecute(TObject*)
{
  ZoomToPresetSeconds(1);
}

void BQELunit::ZoomF7ActionExecute(TObject*)
{
  ZoomToPresetSeconds(2);
}

void BQELunit::ZoomF8ActionExecute(TObject*)
{
  ZoomToPresetSeconds(3);
}

void BQELunit::ZoomToPresetSeconds(int key)
{
  // A span the settings never corrected counts as its default.
  ZoomToSeconds(ZoomSeconds[key] < 1 ? DefaultZoomSeconds[key] : ZoomSeconds[key]);
}

void BQELunit::ZoomToSeconds(int seconds)
{
  // Only a log the chart shows on the screen, and never while a parse rebuilds it.
  if (!ReadyFlag || ParseRunning || seconds < 1 || TimeSpan <= 0 || LogFileName.empty() ||
      PageControl->ActivePage() != ChartPage || !ChartPaintBox->Visible())
    return;
  ZoomX = ClampZoom(static_cast<double>(TimeSpan) * 0.001 / seconds, PlotWidth);
  ZoomY = 1.0;
  ZoomedWidth = ZoomedSize(PlotWidth, ZoomX);
  ZoomedHeight = ZoomedSize(PlotHeight, ZoomY);
  // The cursor time in the middle of the view; the view inside the zoomed plot.
  const double cursorX = std::trunc(PlotWidth * ZoomX * static_cast<double>(CursorTime) / TimeSpan);
  PanX = ClampPan(cursorX - PlotWidth / 2, PlotWidth, ZoomedWidth);
  PanY = 0;
  // A later resize keeps this view.
  PanPercentX = PanPercent(PanX, ZoomedWidth);
  PanPercentY = 0.0;

  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
  ShowZoomStatus();
  ChartPaint(ChartPaintBox);

  const TPoint origin = ChartPaintBox->ClientOrigin();
  Mouse->SetCursorPos(TPoint{ClampToInt(int64_t{origin.x} + MarginLeft + PlotWidth / 2),
                             ClampToInt(int64_t{origin.y} + MarginTop + PlotHeight / 2)});
}
