#include "chart/ChartGrid.h"

#include <algorithm>
#include <cmath>

#include "chart/ChartFrame.h"

namespace {

// The least k >= 0 with k * step >= amount (amount >= 0, step > 0): what adding the step from 0
// until the amount is reached gives, found by division.
double StepsUpTo(double amount, double step)
{
  double k = std::ceil(amount / step);
  while (k > 0 && (k - 1) * step >= amount)
    --k;
  while (k * step < amount)
    ++k;
  return k;
}

}  // namespace

double ValueGridStep(double raw)
{
  if (!(raw >= 2))
    return 1;
  if (raw <= 3)
    return raw;
  if (raw <= 7)
    return 5;
  if (raw <= 13)
    return 10;
  if (raw <= 35)
    return 25;
  if (raw <= 75)
    return 50;
  for (double decade = 100;; decade *= 10) {
    if (raw <= 1.5 * decade)
      return decade;
    if (raw <= 3.5 * decade)
      return 2.5 * decade;
    if (raw <= 7.5 * decade)
      return 5 * decade;
  }
}

double TimeGridStep(double raw)
{
  if (!(raw > 130))
    return 100;
  for (double decade = 100;; decade *= 10) {
    if (raw <= 3.5 * decade)
      return 2.5 * decade;
    if (raw <= 7.5 * decade)
      return 5 * decade;
    if (raw <= 13 * decade)
      return 10 * decade;
  }
}

double FirstValueGridLine(int64_t top, double step)
{
  if (top < 0)
    return -StepsUpTo(-static_cast<double>(top), step) * step;
  return StepsUpTo(static_cast<double>(top), step) * step;
}

double FirstTimeGridLine(int64_t from, double step)
{
  return from > 0 ? StepsUpTo(static_cast<double>(from), step) * step : 0.0;
}

GridLines ValueGridLines(const ChartFrame& frame)
{
  GridLines grid;
  if (!frame.HasValueScale())
    return grid;
  const int64_t top = frame.ValueTop;
  const int64_t bottom = frame.ValueBottom;
  const double span = static_cast<double>(top - bottom);
  grid.Step = ValueGridStep(0.1 * span);
  grid.PixelStep = frame.PlotHeight * grid.Step / span;
  const auto whole = static_cast<int64_t>(grid.Step);  // at least 1
  grid.Count = std::max<int64_t>(0, top / whole - bottom / whole + 2);
  grid.First = FirstValueGridLine(top, grid.Step);
  grid.Offset = (static_cast<double>(top) - grid.First) * frame.PlotHeight / span;
  return grid;
}

GridLines TimeGridLines(const ChartFrame& frame)
{
  GridLines grid;
  if (!frame.HasTimeScale())
    return grid;
  const double span = static_cast<double>(frame.TimeTo) - static_cast<double>(frame.TimeFrom);
  grid.Step = TimeGridStep(0.1 * span);
  grid.PixelStep = frame.PlotWidth * grid.Step / span;
  const auto whole = static_cast<int64_t>(grid.Step);
  grid.Count = std::max<int64_t>(0, frame.TimeTo / whole - frame.TimeFrom / whole + 2);
  grid.First = FirstTimeGridLine(frame.TimeFrom, grid.Step);
  grid.Offset = (grid.First - static_cast<double>(frame.TimeFrom)) * frame.PlotWidth / span;
  return grid;
}
