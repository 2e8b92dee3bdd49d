#pragma once
// The central object's chart view: masks, the chart state, the mask editor's row geometry.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "Events.h"
#include "PtrList.h"
#include "Types.h"
#include "chart/ChainIndex.h"
#include "chart/ChartSummary.h"
#include "log/Records.h"

class TBitmap;

// Where the mask editor lays its rows out (left and top margin, gap under the headings, row
// height and spacing, the row's width, the column widths); the control tree sets it, the
// layout writes RowWidth.
struct MaskRowLayout {
  int32_t LeftMargin = 10;
  int32_t TopMargin = 5;
  int32_t HeaderGap = 10;
  int32_t RowHeight = 0;
  int32_t RowSpacing = 3;
  int32_t RowWidth = 0;
  int32_t NameWidth = 400;
  int32_t FactorWidth = 60;
  int32_t OffsetWidth = 60;
  int32_t ColorWidth = 130;
  int32_t ChartWidth = 70;
  int32_t CursorWidth = 70;
};

// What a legend or value-window picture last showed: everything but the value texts as one
// key, and the value text of each row. A drawing with the same key redraws only the value cells
// whose text changed; an empty key draws the whole picture.
struct PanelPictureMemo {
  std::string Layout;
  std::vector<AnsiString> Values;
};

struct ChartState {
  // Off-screen pictures of the chart page, made by the constructor, copied to the screen on
  // paint.
  TBitmap* ChartBitmap = nullptr;
  TBitmap* LegendBitmap = nullptr;
  TBitmap* ValueWindowBitmap = nullptr;
  TBitmap* FaultPanelBitmap = nullptr;

  // All masks (chart/Masks.cpp).
  TPtrList<LMaskCell>* MaskCells = nullptr;
  // Line record and fault interval at the cursor; none after the records were freed.
  LDataCell* CursorDataCell = nullptr;
  LErrorCell* CursorFaultInterval = nullptr;

  // Chart state (chart/ValueRange.cpp, chart/CursorValues.cpp; the renderer, the panels and the
  // mouse write the rest). A plotted value is an item's factor * value + offset; pixels are the
  // chart paint box's; times are in ms and 64-bit, as the records' times are.
  double ValueMin = 0.0;  // plotted-value range of the chart mask, margins included
  double ValueMax = 0.0;
  int64_t TimeSpan = 0;  // time of the last line record; 1000 when that is not positive
  double ZoomX = 1.0;    // never below 1.0
  double ZoomY = 1.0;
  int32_t PanX = 0;  // visible plot inside the zoomed plot, from the left and the top
  int32_t PanY = 0;
  double PanPercentX = 0.0;  // the pan in % of the zoomed width and height, kept over resizes
  double PanPercentY = 0.0;
  // Geometry of the last rendering: zoomed plot, margins, plot, scales and visible window.
  int32_t ZoomedHeight = 0;
  int32_t ZoomedWidth = 0;
  int32_t MarginLeft = 60;
  int32_t MarginRight = 5;
  int32_t MarginTop = 5;
  int32_t MarginBottom = 45;
  int32_t PlotHeight = 0;
  int32_t PlotWidth = 0;
  int32_t MouseX = 0;  // last mouse position over the chart (the crosshair)
  int32_t MouseY = 0;
  int32_t PressX = 0;  // where a button went down on the chart
  int32_t PressY = 0;
  double MsPerPixel = 0.0;
  double UnitsPerPixel = 0.0;
  int64_t VisibleTimeFrom = 0;
  int64_t VisibleTimeTo = 0;
  int32_t VisibleValueBottom = 0;
  int32_t VisibleValueTop = 0;
  int64_t CursorTime = 0;  // truncated; CursorTimeExact before truncation
  double CursorTimeExact = 0.0;
  int32_t CursorValue = 0;  // plotted value under the mouse
  int32_t PressPanX = 0;    // PanX, ZoomX, PanY, ZoomY when the button went down
  double PressZoomX = 1.0;
  int32_t PressPanY = 0;
  double PressZoomY = 1.0;
  // The three panel pictures and their row layout.
  int32_t LegendHeight = 0;
  int32_t LegendWidth = 0;
  int32_t ValueWindowHeight = 0;
  int32_t ValueWindowWidth = 0;
  int32_t FaultPanelHeight = 0;
  int32_t FaultPanelWidth = 0;
  int32_t LegendRow = -1;   // legend row under the mouse, -1 none
  int32_t PanelInset = 10;  // left inset, also the gap between columns
  int32_t PanelRowSpacing = 10;
  int32_t PanelBoxWidth = 30;   // colour box
  int32_t PanelValueWidth = 0;  // widest value text measured so far; it only grows
  int32_t TextHeight = 10;      // "ABCypg" in the panel font last measured (legend or faults)
  // The legend's row height as last drawn, for its hit test (the bold fault panel measures
  // TextHeight taller).
  int32_t LegendRowHeight = 10;
  // The legend's eye mark, loaded at its first drawing.
  TBitmap* EyeBitmap = nullptr;
  PanelPictureMemo LegendMemo;
  PanelPictureMemo ValueWindowMemo;
  // Widths of value texts measured so far, by font and text: a cursor move meets the same
  // values again and again. Emptied when it grows large.
  std::unordered_map<std::string, int32_t> PanelTextWidths;
  // Checkpoints along the record chains of the chart mask's parameters, for the cursor.
  BChainIndex CursorChains;
  // Block summaries of the chart mask's parameters for the curves (chart/ChartSummary.h), and
  // for the tests: every curve walked segment by segment instead.
  BChartSummary CurveSummary;
  bool EveryCurveSegment = false;
  // Counts every change of records, masks, items, parameters or statuses: whatever the chart
  // keeps between drawings is valid only for the count it was built at.
  uint64_t ChartDataGeneration = 0;
  // Text position of the caret at the cursor; -1 none.
  int64_t CursorCaretPos = -1;

  // Mask-editor row geometry, set with the control tree (app/ControlTree.cpp).
  MaskRowLayout MaskRowGeometry;
  // The mask editor's last mouse move over its rows (chart/MaskRowHover.cpp): the vertical
  // scroll position, the point in the row box and the shift state, which place the hover bar
  // again after a deletion; and the wheel's turn not yet scrolled, in 1/120 notches.
  int32_t RowBoxScroll = 0;
  int32_t RowBoxMouseX = 0;
  int32_t RowBoxMouseY = 0;
  TShiftState RowBoxShift;
  int32_t RowBoxWheelDelta = 0;
};
