// A status's step line. Every step is drawn, the last running on to the plot's right edge; on a
// long log most lie outside the window or repeat, in the same pixel column, a line drawn just
// before (the levels are only two). Neither leaves a pixel: those the margins cover are skipped,
// and of lines drawn the same several times only the last is drawn, since it paints every pixel
// the earlier ones painted, as they did.
#include <algorithm>
#include <array>
#include <vector>

#include "Canvas.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartFrame.h"

namespace {

// One line as the canvas draws it: ends in the picture, pen width and style.
struct Line {
  TPoint a, b;
  int width;
  TPenStyle style;
  bool operator==(const Line& o) const
  {
    return a.x == o.a.x && a.y == o.a.y && b.x == o.b.x && b.y == o.b.y && width == o.width && style == o.style;
  }
};

// How many of the lines kept last are compared with an earlier one: the repeats of a column lie
// close together.
constexpr size_t Recent = 8;

}  // namespace

void DrawStatusCurve(TCanvas& canvas, const ChartFrame& frame, const LTypeCell& item, const LStatusCell& status,
                     const CurveStyle& style, bool everySegment)
{
  if (!status.Steps)
    return;
  int levels[2] = {0, 0};
  for (int state = 0; state < 2; ++state) {
    int value = 0;
    if (!PlottedValue(item.Factor, item.Offset, state, value) || !frame.Y(value, levels[state]))
      return;  // no step can be drawn
    levels[state] = frame.PictureY(levels[state]);
  }
  const TPtrList<LStatusStep>& steps = *status.Steps;
  const int32_t count = steps.Count();
  int32_t first = 0;
  int32_t last = count - 1;
  // In time order the steps wholly left of the plot come first and those right of it last;
  // the margins cover what a line of this width draws out there.
  bool ordered = !everySegment;
  for (int32_t j = 0; ordered && j < count; ++j)
    ordered = steps.Get(j) && (j == 0 || steps.Get(j - 1)->Time <= steps.Get(j)->Time);
  if (ordered && count > 0) {
    const int reach = std::max(style.Thickness, 1) + 2;
    const auto leftOf = [&](int64_t time) {
      int x = 0;
      return frame.X(time, x) && x < -reach;
    };
    const auto rightOf = [&](int64_t time) {
      int x = 0;
      return frame.X(time, x) && x > frame.PlotWidth + reach;
    };
    // The first step whose next step is not left of the plot; the last step not right of it
    // (the very last step is drawn all the same).
    int32_t low = 0, high = count - 1;
    while (low < high) {
      const int32_t middle = low + (high - low) / 2;
      leftOf(steps.Get(middle + 1)->Time) ? low = middle + 1 : high = middle;
    }
    first = low;
    low = first, high = count - 1;
    while (low < high) {
      const int32_t middle = high - (high - low) / 2;
      rightOf(steps.Get(middle)->Time) ? high = middle - 1 : low = middle;
    }
    last = low;
  }

  std::vector<Line> lines;
  const auto add = [&](TPoint a, TPoint b, int width, TPenStyle pen) { lines.push_back({a, b, width, pen}); };
  // The last step runs on to the right edge from wherever it is.
  for (int32_t j = first; j < count; j = j < last ? j + 1 : count - 1 > j ? count - 1 : count) {
    const LStatusStep* step = steps.Get(j);
    const LStatusStep* next = j + 1 < count ? steps.Get(j + 1) : step;
    if (!step || !next)
      continue;
    int xa = 0;
    int xb = frame.PlotWidth;
    if (!frame.X(step->Time, xa) || (next != step && !frame.X(next->Time, xb)))
      continue;
    const TPoint a{ChartFrame::PictureX(xa), levels[step->State ? 1 : 0]};
    const int yb = levels[next->State ? 1 : 0];
    const TPoint b{ChartFrame::PictureX(xb), yb};
    // In the straight style a change of state is drawn thin and dotted; in the step style the
    // level runs on to the next step, and a thin dotted riser goes to its level.
    if (style.Style == 1) {
      step->State == next->State ? add(a, b, style.Thickness, psSolid) : add(a, b, 1, psDot);
    } else {
      add(a, TPoint{b.x, a.y}, style.Thickness, psSolid);
      add(TPoint{b.x, a.y}, b, 1, psDot);
    }
  }

  std::vector<bool> drawn(lines.size(), true);
  if (!everySegment) {
    std::array<size_t, Recent> recent{};
    size_t kept = 0;
    for (size_t i = lines.size(); i-- > 0;) {
      const size_t seen = std::min(kept, Recent);
      for (size_t k = 0; k < seen && drawn[i]; ++k)
        drawn[i] = !(lines[recent[k]] == lines[i]);
      if (drawn[i])
        recent[kept++ % Recent] = i;
    }
  }
  TPen* pen = canvas.Pen();
  pen->SetColor(style.Color);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!drawn[i])
      continue;
    pen->SetWidth(lines[i].width);
    pen->SetStyle(lines[i].style);
    canvas.MoveTo(lines[i].a.x, lines[i].a.y);
    canvas.LineTo(lines[i].b.x, lines[i].b.y);
  }
}
