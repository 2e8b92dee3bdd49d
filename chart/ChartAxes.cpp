#include <cstdlib>

#include "Canvas.h"
#include "Numbers.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartFrame.h"
#include "chart/ChartGrid.h"

namespace {

constexpr TColor GridColor = 0x808080;
// The value labels' left edge; they end two pixels before the plot.
constexpr int ValueLabelLeft = 10;
// Below this visible span (ms) the time labels show hundredths of a second.
constexpr int64_t FineTimeSpan = 10000;

}  // namespace

void DrawGridLines(TCanvas& canvas, const ChartFrame& frame, const GridLines& values, const GridLines& times)
{
  TPen* pen = canvas.Pen();
  pen->SetColor(GridColor);
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  const int right = ChartFrame::PictureX(frame.PlotWidth);
  for (int64_t i = 0; i < values.Count; ++i) {
    int y = 0;
    if (!SaturatedTrunc(ChartFrame::Top + values.Offset + static_cast<double>(i) * values.PixelStep, y))
      continue;
    canvas.MoveTo(ChartFrame::Left, y);
    canvas.LineTo(right, y);
  }
  for (int64_t i = 0; i < times.Count; ++i) {
    int x = 0;
    if (!SaturatedTrunc(ChartFrame::Left + times.Offset + static_cast<double>(i) * times.PixelStep, x))
      continue;
    canvas.MoveTo(x, ChartFrame::Top);
    canvas.LineTo(x, frame.Bottom());
  }
}

void DrawGridLabels(TCanvas& canvas, const ChartFrame& frame, const GridLines& values, const GridLines& times,
                    int th)
{
  for (int64_t i = 0; i < values.Count; ++i) {
    int top = 0;
    if (!SaturatedTrunc(ChartFrame::Top + values.Offset + static_cast<double>(i) * values.PixelStep - th / 2,
                        top) ||
        top > frame.Bottom())
      continue;
    const double value = values.First - static_cast<double>(i) * values.Step;
    canvas.TextRect(Rect(ValueLabelLeft, top, ChartFrame::Left - 2, ClampToInt(int64_t{top} + th)), ValueLabelLeft,
                    top, IntToStr(static_cast<int64_t>(value)));
  }
  const bool fine = frame.TimeTo - frame.TimeFrom < FineTimeSpan;
  const int top = ClampToInt(int64_t{frame.Bottom()} + th / 2);
  const int right = ChartFrame::PictureX(frame.PlotWidth);
  for (int64_t i = 0; i < times.Count; ++i) {
    const double seconds = (times.First + static_cast<double>(i) * times.Step) * 0.001;
    const AnsiString text = fine ? FloatToStrF(seconds, ffFixed, 10, 2) : IntToStr(static_cast<int64_t>(seconds));
    const int w = canvas.TextWidth(text);
    const double centre = ChartFrame::Left + times.Offset + static_cast<double>(i) * times.PixelStep;
    int left = 0;
    if (!SaturatedTrunc(centre - w / 2, left))
      continue;
    // A label that would start right of the plot ends at its line instead.
    if (left > right && !SaturatedTrunc(centre - w, left))
      continue;
    canvas.TextRect(Rect(left, top, ClampToInt(int64_t{left} + w), ClampToInt(int64_t{top} + th)), left, top,
                    text);
  }
}
