// BQELunit::ChartPaint: the rendered chart on the screen, with the crosshair and the floating
// value window over it. The paint box keeps its pixels, so a cursor move puts back only what
// the old crosshair and value window covered and draws the new ones: a few small rectangles
// instead of the whole picture.
#include <algorithm>
#include <initializer_list>

#include "Bitmap.h"
#include "Guard.h"
#include "PaintBox.h"
#include "app/Qelunit.h"

namespace {

constexpr TColor CrosshairColor = 0xFF00FF;

bool Empty(const TRect& r)
{
  return r.right <= r.left || r.bottom <= r.top;
}

bool Same(const TRect& a, const TRect& b)
{
  return (Empty(a) && Empty(b)) ||
         (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom);
}

}  // namespace

void BQELunit::ChartPaint(TObject*)
{
  if (!ReadyFlag || !ChartPaintBox || !ChartBitmap)
    return;
  Guarded(ChartPaintBox, [&] { PaintChartLayers(); });
}

void BQELunit::PaintChartLayers()
{
  const int width = ChartPaintBox->Width();
  const int height = ChartPaintBox->Height();
  const int right = width - MarginRight;
  const int bottom = height - MarginBottom;
  // Each line of the crosshair depends on its own coordinate only; a dotted line of width 1
  // leaves out its end pixel, the rectangle keeps it.
  ChartScreenLayers want;
  want.Valid = true;
  want.Picture = ChartBitmap->ChangeCount();
  want.ValuePicture = ValueWindowBitmap ? ValueWindowBitmap->ChangeCount() : 0;
  want.Generation = ChartDataGeneration;
  want.Width = width;
  want.Height = height;
  const bool insideX = MarginLeft < MouseX && MouseX < right;
  const bool insideY = MarginTop < MouseY && MouseY < bottom;
  if (insideX)
    want.Vertical = Rect(MouseX, MarginTop, MouseX + 1, bottom + 1);
  if (insideY)
    want.Horizontal = Rect(MarginLeft, MouseY, right + 1, MouseY + 1);
  LMaskCell* mask = nullptr;
  if (insideX && insideY && !LogFileName.empty() && ChartMask(mask) && mask && mask->UnderCursor) {
    const int x = MouseX + ValueWindowOffset.x;
    const int y = MouseY + ValueWindowOffset.y;
    want.ValueWindow = Rect(x, y, x + ValueWindowWidth, y + ValueWindowHeight);
  }

  const ChartScreenLayers& shown = ChartScreen;
  const bool whole = !shown.Valid || shown.Picture != want.Picture || shown.Generation != want.Generation ||
                     shown.Width != want.Width || shown.Height != want.Height;
  if (!whole && shown.ValuePicture == want.ValuePicture && Same(shown.Vertical, want.Vertical) &&
      Same(shown.Horizontal, want.Horizontal) && Same(shown.ValueWindow, want.ValueWindow))
    return;

  TCanvas* screen = ChartPaintBox->Canvas();
  TCanvas* picture = ChartBitmap->Canvas();
  // Until the new layers are complete the screen is taken for unknown: a failure below makes
  // the next paint copy the whole picture again.
  const ChartScreenLayers old = ChartScreen;
  ChartScreen.Valid = false;
  ChartPaintBox->SetRepaintOnDraw(false);
  struct RepaintAgain {
    TPaintBox* box;
    ~RepaintAgain() { box->SetRepaintOnDraw(true); }
  } repaintAgain{ChartPaintBox};

  std::initializer_list<TRect> changed = {old.Vertical,  old.Horizontal,  old.ValueWindow,
                                          want.Vertical, want.Horizontal, want.ValueWindow};
  if (whole)
    BitBlt(screen, 0, 0, width, height, picture, 0, 0);
  else
    for (const TRect& r : {old.Vertical, old.Horizontal, old.ValueWindow})
      if (!Empty(r))
        BitBlt(screen, r.left, r.top, r.Width(), r.Height(), picture, r.left, r.top);

  TPen* pen = screen->Pen();
  pen->SetColor(CrosshairColor);
  pen->SetWidth(1);
  pen->SetStyle(psDot);
  if (insideX) {
    screen->MoveTo(MouseX, MarginTop);
    screen->LineTo(MouseX, bottom);
  }
  if (insideY) {
    screen->MoveTo(MarginLeft, MouseY);
    screen->LineTo(right, MouseY);
  }
  if (!Empty(want.ValueWindow) && ValueWindowBitmap)
    BitBlt(screen, want.ValueWindow.left, want.ValueWindow.top, ValueWindowWidth, ValueWindowHeight,
           ValueWindowBitmap->Canvas(), 0, 0);

  if (whole)
    ChartPaintBox->InvalidateRect(Rect(0, 0, width, height));
  else
    for (const TRect& r : changed)
      ChartPaintBox->InvalidateRect(r);
  ChartScreen = want;
}
