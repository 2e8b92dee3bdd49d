#include "chart/ChartDrawing.h"

#include "Canvas.h"
#include "chart/ChartFrame.h"

void DrawCurveSegment(TCanvas& canvas, const ChartFrame& frame, int xa, int ya, int xb, int yb,
                      const CurveStyle& style)
{
  TPen* pen = canvas.Pen();
  pen->SetColor(style.Color);
  pen->SetWidth(style.Thickness);
  pen->SetStyle(psSolid);
  canvas.MoveTo(ChartFrame::PictureX(xa), frame.PictureY(ya));
  if (style.Style == 1) {
    canvas.LineTo(ChartFrame::PictureX(xb), frame.PictureY(yb));
    return;
  }
  canvas.LineTo(ChartFrame::PictureX(xb), frame.PictureY(ya));
  pen->SetWidth(1);
  pen->SetStyle(psDot);
  canvas.LineTo(ChartFrame::PictureX(xb), frame.PictureY(yb));
}

void DrawParameterCurve(TCanvas& canvas, const ChartFrame& frame, const LTypeCell& item, const LDataCell* first,
                        const CurveStyle& style)
{
  for (const LDataCell* cell = first; cell && cell->Next;) {
    const LDataCell* next = cell->Next;
    if (frame.TimeFrom > cell->Time && frame.TimeFrom > next->Time) {
      cell = next;
      continue;
    }
    // A value that is no number draws neither of its two segments.
    int va = 0;
    int vb = 0;
    int xa = 0;
    int ya = 0;
    int xb = 0;
    int yb = 0;
    if (PlottedValue(item.Factor, item.Offset, cell->Value, va) &&
        PlottedValue(item.Factor, item.Offset, next->Value, vb) && frame.X(cell->Time, xa) && frame.Y(va, ya) &&
        frame.X(next->Time, xb) && frame.Y(vb, yb))
      DrawCurveSegment(canvas, frame, xa, ya, xb, yb, style);
    cell = next;
    if (cell->Time > frame.TimeTo)
      break;
  }
}

void DrawStrokes(TCanvas& canvas, const Strokes& strokes, const CurveStyle& style)
{
  TPen* pen = canvas.Pen();
  pen->SetColor(style.Color);
  pen->SetWidth(style.Thickness);
  pen->SetStyle(psSolid);
  for (const auto& [from, to] : strokes) {
    canvas.MoveTo(from.x, from.y);
    canvas.LineTo(to.x, to.y);
  }
}
