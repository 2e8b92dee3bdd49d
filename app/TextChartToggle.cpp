// F3: from the text to the chart at the moment of the caret's line, and from the chart to the
// text at the line of the chart's cursor.
#include <algorithm>
#include <cmath>
#include <limits>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Mouse.h"
#include "Numbers.h"
#include "StdCtrls.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"
#include "chart/TimeOrder.h"

namespace {

// A double truncated toward zero into 64 bits, stopping at the limits.
int64_t Truncated(double value)
{
  if (!(value > -9.2e18))
    return std::isnan(value) ? 0 : std::numeric_limits<int64_t>::min();
  if (value >= 9.2e18)
    return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(value);
}

}  // namespace

void BQELunit::ToggleTextChartActionExecute(TObject*)
{
  // The records and the text are being rebuilt.
  if (ParseRunning)
    return;
  if (PageControl->ActivePage() == TextPage)
    ShowChartAtCaret();
  else if (PageControl->ActivePage() == ChartPage)
    ShowTextAtCursor();
}

void BQELunit::ShowChartAtCaret()
{
  const int64_t caret = TextMemo->SelStart();
  // The records are in text order: the last one at or before the caret.
  const int32_t passed = DataCells ? PassedUpTo(*DataCells, 0, caret, &LDataCell::TextPos) : 0;
  LMaskCell* mask = nullptr;
  if (!LogFileName.empty() && passed > 0 && ChartMask(mask) && mask && TimeSpan > 0) {
    const LDataCell* record = DataCells->Get(passed - 1);
    const LDataCell* next =
        passed < DataCells->Count() && DataCells->Get(passed) ? DataCells->Get(passed) : record;
    CursorTime = record->Time;
    // The share of the way to the next record's line that the caret has gone, in the time
    // between the two; wide enough for many unrecognised lines between them.
    if (caret > record->TextPos && next->TextPos != record->TextPos)
      CursorTime = Interpolate(record->Time, next->Time, record->TextPos, next->TextPos, caret);
    CursorTimeExact = static_cast<double>(CursorTime);

    // The cursor in the middle of the view, the view inside the zoomed plot.
    const double zoomed = PlotWidth * ZoomX;
    const int64_t x = Truncated(zoomed * static_cast<double>(CursorTime) / static_cast<double>(TimeSpan));
    int64_t pan = x - PlotWidth / 2;
    if (PlotWidth + pan > zoomed)
      pan = Truncated(zoomed - PlotWidth);
    PanX = ClampToInt(std::max<int64_t>(pan, 0));

    CalcValueRange();
    CalcCursorValues();
    DrawChart();
    DrawValuePanels();
    DrawErrorPanel();
    ShowZoomStatus();

    // The pointer onto the cursor, so that the chart's readouts follow it from there.
    const TPoint origin = ChartPaintBox->ClientOrigin();
    Mouse->SetCursorPos(TPoint{ClampToInt(origin.x + int64_t{MarginLeft} + x - PanX),
                               ClampToInt(origin.y + int64_t{MarginTop} + PlotHeight / 2)});
  }
  ShowChartPage();
}

void BQELunit::ShowTextAtCursor()
{
  PageControl->SetActivePage(TextPage);
  if (TextMemo->CanFocus())
    TextMemo->SetFocus();
  if (CursorCaretPos != -1) {
    const int64_t at = std::clamp<int64_t>(CursorCaretPos, 0, TextMemo->GetTextLen());
    // First a place further on, so that the text below the line comes into view; then the
    // start of the line itself.
    TextMemo->SetSelStart(std::min(at + 250, TextMemo->GetTextLen()));
    TextMemo->SetSelLength(1);
    TextMemo->SetSelStart(at);
    TextMemo->SetSelLength(6);
  }
  ShowCaretPosition();
}
