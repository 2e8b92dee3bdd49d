#pragma once
// The chart's grid: the step between grid lines, snapped to round numbers, and the first line.
#include <cstdint>

// The value step for a raw step of a tenth of the visible value range: below 2 it is 1, from
// 2 to 3 the raw step itself, then 5, 10, 25, 50, and from there 100, 250, 500 times each power
// of ten (up to 1.5, 3.5 and 7.5 of it), so that a grid never has more than about 15 lines.
double ValueGridStep(double raw);
// The time step (ms) for a tenth of the visible span: 100, 250, 500 times each power of ten, up
// to 1.3, 3.5 and 7.5 of it.
double TimeGridStep(double raw);

// Counting from 0 in steps of `step`: the first multiple at or above `top` when top is not
// negative, else the first at or below it. For the value grid's top line.
double FirstValueGridLine(int64_t top, double step);
// The first multiple of `step` at or above `from`; 0 when from is not positive. For the time
// grid's left line.
double FirstTimeGridLine(int64_t from, double step);

struct ChartFrame;

// The lines of one grid: line i stands for First + i * Step (time) or First - i * Step (value)
// and lies Offset + i * PixelStep pixels into the plot (from the top for values, from the left
// for times). Count is 0 without the scale the grid needs.
struct GridLines {
  double Step = 0;
  double First = 0;
  double Offset = 0;
  double PixelStep = 0;
  int64_t Count = 0;
};
GridLines ValueGridLines(const ChartFrame& frame);
GridLines TimeGridLines(const ChartFrame& frame);
