#pragma once
// The parts of the chart's picture: the grid, the curves (one per drawn parameter item, one
// step line per drawn status item), the labels and the fault marks.
#include <cstdint>

#include "PtrList.h"
#include "Types.h"
#include "log/Records.h"

#include <utility>
#include <vector>

class BChainIndex;
class BChartSummary;
class TCanvas;
struct ChartFrame;
struct GridLines;

// Grey one-pixel lines across the plot, solid (chart/ChartAxes.cpp).
void DrawGridLines(TCanvas& canvas, const ChartFrame& frame, const GridLines& values, const GridLines& times);
// The value of each value line left of the plot, the time of each time line below it, in the
// canvas's font on its brush; th is the font's height.
void DrawGridLabels(TCanvas& canvas, const ChartFrame& frame, const GridLines& values, const GridLines& times,
                    int th);
// A mark below the plot for every fault interval in the visible window, coloured by its kinds
// of codes, larger when its codes changed; each interval keeps its mark's rectangle
// (chart/FaultMarks.cpp). Unless every one is asked for, those before the window are passed
// over by a binary search.
void DrawFaultMarks(TCanvas& canvas, const ChartFrame& frame, TPtrList<LErrorCell>& faults, bool everyMark);

// How a curve is drawn: its colour, the mask's line thickness and the chart style (0 steps with
// dotted risers, 1 straight segments).
struct CurveStyle {
  TColor Color = 0;
  int32_t Thickness = 1;
  int32_t Style = 1;
};

// The segments of a parameter item from the record `first` along its chain: from the last
// segment that ends before the visible window to the first that ends after it, one by one.
void DrawParameterCurve(TCanvas& canvas, const ChartFrame& frame, const LTypeCell& item, const LDataCell* first,
                        const CurveStyle& style);
// Every step of a status, the last one running on to the plot's right edge; unless every
// segment is asked for, only those that leave a pixel: not the ones the margins cover, nor one
// drawn again, the same, later (chart/StatusCurves.cpp).
void DrawStatusCurve(TCanvas& canvas, const ChartFrame& frame, const LTypeCell& item, const LStatusCell& status,
                     const CurveStyle& style, bool everySegment);

// Lines from point to point, each drawn on its own.
using Strokes = std::vector<std::pair<TPoint, TPoint>>;

// The straight-style curves of these items (null entries skipped), a few strokes a pixel column
// that draw the very pixels of their segments with a thin pen (thin) or the mask's wider one;
// an item left without strokes is one this cannot draw (its records out of order, or none in or
// before the window), for the plain walk. False when it draws none (chart/CurveColumns.cpp).
bool SummarisedCurves(const ChartFrame& frame, const TPtrList<LDataCell>& records, const BChartSummary& summary,
                      const BChainIndex& chains, const std::vector<const LTypeCell*>& items, bool thin,
                      std::vector<Strokes>& strokes);

// Solid strokes in the style's colour and thickness.
void DrawStrokes(TCanvas& canvas, const Strokes& strokes, const CurveStyle& style);

// One segment between two points given in plot offsets (x from the left edge, y up from the
// bottom edge): a straight line, or a horizontal at the first level and a dotted riser of
// width 1 to the second. The pen takes the colour and the thickness, solid.
void DrawCurveSegment(TCanvas& canvas, const ChartFrame& frame, int xa, int ya, int xb, int yb,
                      const CurveStyle& style);
