#pragma once
// The plot of one rendering: where it lies in the picture and how times and plotted values map
// to its pixels. Every conversion saturates and refuses NaN and infinities, so no number of a
// log, a zoom or a window size can make a drawing fail; a scale whose span is empty is missing,
// and the steps that need it are left out.
#include <cstdint>

#include "Numbers.h"

struct ChartFrame {
  static constexpr int32_t Left = 60;  // the plot's left and top edges in the picture
  static constexpr int32_t Top = 5;

  int32_t Width = 0;  // the picture
  int32_t Height = 0;
  int32_t PlotWidth = 0;
  int32_t PlotHeight = 0;
  int64_t TimeFrom = 0;  // visible window
  int64_t TimeTo = 0;
  int32_t ValueBottom = 0;
  int32_t ValueTop = 0;

  bool HasTimeScale() const { return PlotWidth > 0 && TimeTo != TimeFrom; }
  bool HasValueScale() const { return PlotHeight > 0 && ValueTop != ValueBottom; }
  int32_t Bottom() const { return Top + PlotHeight; }
  // The latest time before the window (the earliest time there is, when the window starts there).
  int64_t BeforeWindow() const { return TimeFrom > INT64_MIN ? TimeFrom - 1 : TimeFrom; }

  // Pixels from the plot's left edge to a time, and from its bottom edge up to a plotted value,
  // truncated toward zero.
  bool X(int64_t time, int& x) const
  {
    return SaturatedTrunc((static_cast<double>(time) - static_cast<double>(TimeFrom)) * PlotWidth /
                              (static_cast<double>(TimeTo) - static_cast<double>(TimeFrom)),
                          x);
  }
  bool Y(int value, int& y) const
  {
    return SaturatedTrunc((static_cast<double>(value) - ValueBottom) * PlotHeight /
                              (static_cast<double>(ValueTop) - ValueBottom),
                          y);
  }
  // Picture coordinates of plot offsets.
  static int PictureX(int x) { return ClampToInt(int64_t{Left} + x); }
  int PictureY(int y) const { return ClampToInt(int64_t{Bottom()} - y); }
};

// An item's plotted value, factor * value + offset, truncated; false for a value that is no
// number or beyond every range.
inline bool PlottedValue(int32_t factor, int32_t offset, double value, int& out)
{
  return SaturatedTrunc(factor * value + offset, out);
}
