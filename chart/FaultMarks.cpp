#include <cstdint>
#include <vector>

#include "Canvas.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartFrame.h"
#include "chart/TimeOrder.h"

namespace {

constexpr TColor Green = 0x008000;   // no codes
constexpr TColor Red = 0x0000FF;     // actual codes
constexpr TColor Navy = 0x800000;    // post codes
constexpr TColor Yellow = 0x00FFFF;  // an erase
constexpr TColor White = 0xFFFFFF;   // the frame
constexpr int MarkSize = 10;
constexpr int ChangedMarkSize = 14;
constexpr int MarkGap = 5;  // between the mark and the picture's bottom

}  // namespace

void DrawFaultMarks(TCanvas& canvas, const ChartFrame& frame, TPtrList<LErrorCell>& faults, bool everyMark)
{
  TBrush* brush = canvas.Brush();
  // In time order, as the parser makes them, the intervals before the window are passed over by
  // a binary search.
  bool ordered = !everyMark;
  for (int32_t i = 1; i < faults.Count() && ordered; ++i)
    ordered = faults.Get(i - 1) && faults.Get(i) && faults.Get(i - 1)->Time <= faults.Get(i)->Time;
  const int32_t first = ordered ? PassedUpTo(faults, 0, frame.BeforeWindow()) : 0;
  // Every mark in the window keeps its rectangle; one that the next mark covers whole (marks are
  // opaque) leaves no pixel and is not drawn, unless every one is asked for.
  std::vector<LErrorCell*> marks;
  for (int32_t i = first; i < faults.Count(); ++i) {
    LErrorCell* fault = faults.Get(i);
    if (!fault || fault->Time < frame.TimeFrom)
      continue;
    if (fault->Time > frame.TimeTo)
      break;
    const int size = fault->Changed ? ChangedMarkSize : MarkSize;
    int x = 0;
    if (!frame.X(fault->Time, x))
      continue;
    x = ClampToInt(int64_t{x} + ChartFrame::Left - size / 2);
    const int y = frame.Bottom() + 45 - size - MarkGap;
    fault->MarkLeft = x;
    fault->MarkTop = y;
    fault->MarkRight = ClampToInt(int64_t{x} + size);
    fault->MarkBottom = y + size;
    marks.push_back(fault);
  }
  for (size_t m = 0; m < marks.size(); ++m) {
    const LErrorCell* fault = marks[m];
    const LErrorCell* next = m + 1 < marks.size() ? marks[m + 1] : nullptr;
    if (!everyMark && next && next->MarkLeft <= fault->MarkLeft && next->MarkRight >= fault->MarkRight &&
        next->MarkTop <= fault->MarkTop && next->MarkBottom >= fault->MarkBottom)
      continue;
    const int x = fault->MarkLeft;
    const int y = fault->MarkTop;
    const int size = fault->MarkBottom - fault->MarkTop;

    // Post codes take the left half, actual codes the right; the band below tells an erase.
    const bool actual = fault->HasActual;
    const bool post = fault->HasPost;
    const bool erase = fault->Erase;
    const TColor none = erase ? Yellow : Green;
    const TColor left = post ? Navy : actual ? Red : none;
    const TColor right = actual ? Red : post ? Navy : none;
    const int half = ClampToInt(int64_t{x} + size / 2);
    brush->SetColor(left);
    canvas.FillRect(Rect(x, y, half, y + size));
    brush->SetColor(right);
    canvas.FillRect(Rect(half, y, fault->MarkRight, y + size));
    if (erase || (!actual && !post)) {
      brush->SetColor(none);
      canvas.FillRect(Rect(x, y + size * 6 / 10 + 1, fault->MarkRight, y + size));
    }
    brush->SetColor(White);
    canvas.FrameRect(Rect(x, y, fault->MarkRight, y + size));
  }
}
