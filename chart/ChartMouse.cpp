// The mouse on the chart: the cursor follows it; a drag with the left button pans, with the
// right button zooms around the point where it went down; a double click shows the whole log.
#include <cmath>
#include <cstdint>

#include "Numbers.h"
#include "PaintBox.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "chart/ViewLimits.h"

namespace {

// Zoom change per pixel of mouse movement.
constexpr double ZoomPerPixel = 0.02;

// The zoom that keeps the zoomed position of the press point under it: the pan at the press
// grown by the zoom's ratio.
double PanAround(double zoom, double pressZoom, int32_t pressPan, int32_t press, int32_t margin)
{
  return std::trunc((zoom / pressZoom - 1.0) * (static_cast<double>(pressPan) + press - margin)) + pressPan;
}

}  // namespace

void BQELunit::ChartMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
{
  if (ParseRunning)
    return;
  MouseX = PressX = X;
  MouseY = PressY = Y;
  PressPanX = PanX;
  PressZoomX = ZoomX;
  PressPanY = PanY;
  PressZoomY = ZoomY;
  // Only a button that went down here drags: one pressed elsewhere (a dialog closed by a
  // double click over the chart) may still be held when the pointer arrives.
  if (Button == mbLeft)
    LeftDragOnChart = 1;
  else if (Button == mbRight)
    RightDragOnChart = 1;
}

void BQELunit::ChartMouseUp(TObject*, TMouseButton Button, TShiftState, int, int)
{
  if (Button == mbLeft)
    LeftDragOnChart = 0;
  else if (Button == mbRight)
    RightDragOnChart = 0;
}

void BQELunit::ChartMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
  if (ParseRunning)
    return;
  // The mouse wheel then scrolls the legend.
  if (LegendScrollBox && !LegendScrollBox->Focused() && LegendScrollBox->CanFocus())
    LegendScrollBox->SetFocus();

  // A release the chart never saw ends the drag too.
  if (!Shift.Contains(ssLeft))
    LeftDragOnChart = 0;
  if (!Shift.Contains(ssRight))
    RightDragOnChart = 0;
  if (LeftDragOnChart || RightDragOnChart) {
    if (LeftDragOnChart) {
      PanX = ClampPan(static_cast<double>(PanX) + MouseX - X, PlotWidth, ZoomedWidth);
      PanY = ClampPan(static_cast<double>(PanY) + MouseY - Y, PlotHeight, ZoomedHeight);
      PanPercentX = PanPercent(PanX, ZoomedWidth);
      PanPercentY = PanPercent(PanY, ZoomedHeight);
    }
    if (RightDragOnChart) {
      // Clamped against the zoomed size at the new zoom, which the drawing below takes: the
      // time under the press point stays there even after one long step.
      ZoomX = ClampZoom(ZoomX + (X - MouseX) * ZoomPerPixel, PlotWidth);
      ZoomedWidth = ZoomedSize(PlotWidth, ZoomX);
      PanX = ClampPan(PanAround(ZoomX, PressZoomX, PressPanX, PressX, MarginLeft), PlotWidth, ZoomedWidth);
      PanPercentX = PanPercent(PanX, ZoomedWidth);
      if (EnableYZoom) {
        // Moving up zooms in.
        ZoomY = ClampZoom(ZoomY + (MouseY - Y) * ZoomPerPixel, PlotHeight);
        ZoomedHeight = ZoomedSize(PlotHeight, ZoomY);
        PanY = ClampPan(PanAround(ZoomY, PressZoomY, PressPanY, PressY, MarginTop), PlotHeight, ZoomedHeight);
        PanPercentY = PanPercent(PanY, ZoomedHeight);
      }
    }
    DrawChart();
  }

  // Outside the plot the cursor reads the extended scales.
  MouseX = X;
  MouseY = Y;
  CursorTimeExact = (static_cast<double>(X) - MarginLeft + PanX) * MsPerPixel;
  SaturatedTrunc(CursorTimeExact, CursorTime);
  SaturatedTrunc((static_cast<double>(PlotHeight) - (Y - MarginTop)) * UnitsPerPixel + VisibleValueBottom,
                 CursorValue);

  CalcCursorValues();
  DrawValuePanels();
  DrawErrorPanel();
  ShowZoomStatus();
  ChartPaint(ChartPaintBox);
}

void BQELunit::ChartDblClick(TObject*)
{
  if (ParseRunning)
    return;
  ZoomX = ZoomY = 1.0;
  PanX = PanY = 0;
  PanPercentX = PanPercentY = 0.0;
  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
  ShowZoomStatus();
  // The value window drawn after the chart reaches the screen too.
  ChartPaint(ChartPaintBox);
}
