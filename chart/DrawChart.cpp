// BQELunit::DrawChart: the chart of the current log through the chart mask, into ChartBitmap:
// the plot with its grid, the curves and status lines, the frame, the margins with the labels,
// and the fault marks below the plot.
#include <algorithm>
#include <vector>

#include "Bitmap.h"
#include "ComboBox.h"
#include "PaintBox.h"
#include "Panel.h"
#include "Paths.h"
#include "app/Qelunit.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartFrame.h"
#include "chart/ChartGrid.h"
#include "chart/ChartValues.h"

namespace {

constexpr TColor PlotColor = 0xC0DCC0;
constexpr TColor FrameColor = 0x808080;

// A conversion that cannot be made leaves the field at zero, which no scale accepts.
template <class Int>
Int Saturated(double value)
{
  Int out = 0;
  SaturatedTrunc(value, out);
  return out;
}

}  // namespace

void BQELunit::DrawChart()
{
  if (!ReadyFlag)
    return;
  LMaskCell* mask = nullptr;
  const bool drawable = ChartPaintBox && ChartMaskCombo && FileExists(LogFileName) && ChartMaskIndex >= 0 &&
                        ChartMaskIndex < ChartMaskCombo->Items()->Count() && DataCells && DataCells->Count() > 0 &&
                        MaskOfComboEntry(ChartMaskCombo->Items(), ChartMaskIndex, ChartMaskIndex, mask) && mask;
  if (!drawable) {
    if (ChartPaintBox)
      ChartPaintBox->Hide();
    return;
  }
  ChartPaintBox->Show();

  try {
    // Geometry. Below its margins the plot has no room and no scale.
    MarginLeft = ChartFrame::Left;
    MarginRight = 5;
    MarginTop = ChartFrame::Top;
    MarginBottom = 45;
    ChartFrame frame;
    frame.Width = ChartPaintBox->Width();
    frame.Height = ChartPaintBox->Height();
    PlotHeight = frame.PlotHeight = std::max(0, frame.Height - MarginTop - MarginBottom);
    PlotWidth = frame.PlotWidth = std::max(0, frame.Width - MarginLeft - MarginRight);
    const double zoomedHeight = PlotHeight * ZoomY;
    const double zoomedWidth = PlotWidth * ZoomX;
    ZoomedHeight = Saturated<int32_t>(zoomedHeight);
    ZoomedWidth = Saturated<int32_t>(zoomedWidth);
    UnitsPerPixel = zoomedHeight > 0 ? (ValueMax - ValueMin) / zoomedHeight : 0.0;
    VisibleValueBottom = Saturated<int32_t>((zoomedHeight - PanY - PlotHeight) * UnitsPerPixel + ValueMin);
    VisibleValueTop = Saturated<int32_t>((zoomedHeight - PanY) * UnitsPerPixel + ValueMin);
    MsPerPixel = zoomedWidth > 0 ? static_cast<double>(TimeSpan) / zoomedWidth : 0.0;
    VisibleTimeFrom = Saturated<int64_t>(PanX * MsPerPixel);
    VisibleTimeTo = Saturated<int64_t>((static_cast<double>(PanX) + PlotWidth) * MsPerPixel);
    frame.TimeFrom = VisibleTimeFrom;
    frame.TimeTo = VisibleTimeTo;
    frame.ValueBottom = VisibleValueBottom;
    frame.ValueTop = VisibleValueTop;

    ChartBitmap->SetWidth(frame.Width);
    ChartBitmap->SetHeight(frame.Height);
    TCanvas& canvas = *ChartBitmap->Canvas();
    canvas.Brush()->SetColor(PlotColor);
    canvas.FillRect(Rect(frame.Left, frame.Top, frame.Left + frame.PlotWidth, frame.Bottom()));

    const GridLines values = ValueGridLines(frame);
    const GridLines times = TimeGridLines(frame);
    DrawGridLines(canvas, frame, values, times);
    if (frame.HasTimeScale() && frame.HasValueScale())
      DrawChartCurves(canvas, frame, *mask);

    TPen* pen = canvas.Pen();
    pen->SetColor(FrameColor);
    pen->SetWidth(2);
    pen->SetStyle(psSolid);
    const int right = frame.Left + frame.PlotWidth;
    const int bottom = frame.Bottom();
    canvas.MoveTo(frame.Left, frame.Top);
    canvas.LineTo(right, frame.Top);
    canvas.MoveTo(frame.Left, bottom);
    canvas.LineTo(right, bottom);
    canvas.MoveTo(frame.Left, frame.Top);
    canvas.LineTo(frame.Left, bottom);
    canvas.MoveTo(right, frame.Top);
    canvas.LineTo(right, bottom);

    const int w = frame.Width;
    const int h = frame.Height;
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, MarginLeft - 1, h));
    canvas.FillRect(Rect(w - MarginRight + 1, 0, w, h));
    canvas.FillRect(Rect(0, 0, w, MarginTop - 1));
    canvas.FillRect(Rect(0, h - MarginBottom + 1, w, h));

    canvas.Font()->Assign(MainPanel->Font());
    const int th = canvas.TextHeight("ABCypg");
    pen->SetColor(FrameColor);
    pen->SetWidth(1);
    if (!LogFileName.empty())
      DrawGridLabels(canvas, frame, values, times, th);
    if (ErrorCells && frame.HasTimeScale())
      DrawFaultMarks(canvas, frame, *ErrorCells, EveryCurveSegment);
  } catch (...) {
    // What was drawn so far is shown.
  }
}

void BQELunit::DrawChartCurves(TCanvas& canvas, const ChartFrame& frame, const LMaskCell& mask)
{
  if (!mask.Items)
    return;
  const int32_t thickness = mask.Thickness;
  // The straight style goes column by column over the summaries; what they cannot draw, and the
  // step style, walk the records, from the last one before the window when the chain is in
  // time order.
  std::vector<const LTypeCell*> items(static_cast<size_t>(mask.Items->Count()), nullptr);
  std::vector<int32_t> kinds;
  for (int32_t i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (item && item->Chart && item->Id != StatusItemId && HasRecordKind(*item)) {
      items[static_cast<size_t>(i)] = item;
      kinds.push_back(item->Id);
    }
  }
  CursorChains.Add(*DataCells, kinds);
  std::vector<Strokes> lines;
  if (!EveryCurveSegment) {
    CurveSummary.Follow(ChartDataGeneration, *DataCells, kinds);
    if (ParamChartStyle == 1)
      SummarisedCurves(frame, *DataCells, CurveSummary, CursorChains, items, thickness <= 1, lines);
  }
  for (size_t i = 0; i < items.size(); ++i) {
    const LTypeCell* item = items[i];
    if (!item)
      continue;
    const CurveStyle style{item->Color, thickness, ParamChartStyle};
    if (i < lines.size() && !lines[i].empty()) {
      DrawStrokes(canvas, lines[i], style);
      continue;
    }
    LDataCell* first = nullptr;
    const bool timeOrdered = !EveryCurveSegment && CurveSummary.TimeOrdered() && CurveSummary.Slot(item->Id) >= 0;
    if (!(timeOrdered && CursorChains.Reach(*DataCells, item->Id, frame.BeforeWindow(), first) && first) &&
        !CursorChains.First(*DataCells, item->Id, first))
      first = FirstOfKind(*DataCells, item->Id);
    DrawParameterCurve(canvas, frame, *item, first, style);
  }
  for (int32_t i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (!item || !item->Chart || item->Id != StatusItemId || !StatusCells)
      continue;
    for (int32_t s = 0; s < StatusCells->Count(); ++s)
      if (const LStatusCell* status = StatusCells->Get(s); status && status->Name == item->NameRu)
        DrawStatusCurve(canvas, frame, *item, *status, CurveStyle{item->Color, thickness, StatusChartStyle},
                        EveryCurveSegment);
  }
}
