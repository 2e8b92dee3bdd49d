#pragma once
// Where the rows of the legend, the value window and the fault panel lie: row r spans
// (height + spacing) * r + spacing down for `height` pixels; a picture of k rows ends where row k
// would start. 64-bit inside, held at the int range, so no mask or fault list overflows them.
#include <cstdint>

#include "Numbers.h"
#include "Types.h"
#include "chart/ChartState.h"

inline int32_t PanelRowTop(const ChartState& chart, int32_t rowHeight, int64_t row)
{
  return ClampToInt((int64_t{rowHeight} + chart.PanelRowSpacing) * row + chart.PanelRowSpacing);
}

inline int32_t PanelPictureHeight(const ChartState& chart, int32_t rowHeight, int64_t rows)
{
  return PanelRowTop(chart, rowHeight, rows);
}

// The three cells of a legend or value-window row: colour box, value, name to the right edge.
struct PanelRow {
  TRect Box;
  TRect Value;
  TRect Name;
};

inline PanelRow PanelRowAt(const ChartState& chart, int32_t row, int32_t width)
{
  const int32_t top = PanelRowTop(chart, chart.TextHeight, row);
  const int32_t bottom = ClampToInt(int64_t{top} + chart.TextHeight);
  const int32_t box = chart.PanelInset;
  const int32_t value = 2 * chart.PanelInset + chart.PanelBoxWidth;
  const int32_t name = 3 * chart.PanelInset + chart.PanelBoxWidth + chart.PanelValueWidth;
  return {Rect(box, top, box + chart.PanelBoxWidth, bottom),
          Rect(value, top, value + chart.PanelValueWidth, bottom), Rect(name, top, width, bottom)};
}
