// The hover bar of the mask editor: it follows the mouse onto the row under it, names the item
// and moves it up or down or deletes it; the wheel scrolls the rows.
#include "Buttons.h"
#include "CheckBox.h"
#include "ColorBox.h"
#include "Edit.h"
#include "IgnoreFailure.h"
#include "Label.h"
#include "Mouse.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"

namespace {

int Pitch(const MaskRowLayout& g)
{
  return g.RowHeight + 2 * g.RowSpacing;
}

// Top of row i in the box's content (the rows as placed with the box unscrolled).
int RowTop(const MaskRowLayout& g, int i)
{
  return g.TopMargin + g.RowHeight + g.HeaderGap + Pitch(g) * i;
}

// The row at a height of the content; truncated toward zero, so a point less than a pitch above
// the first row is still on it.
int RowAt(const MaskRowLayout& g, int y)
{
  return (y - g.TopMargin - g.RowHeight - g.HeaderGap) / Pitch(g);
}

// Items a and b change places in the list and on the screen, without a rebuild.
void SwapRows(TPtrList<LTypeCell>& items, int a, int b)
{
  items.Exchange(a, b);
  LTypeCell* first = items.Get(a);
  LTypeCell* second = items.Get(b);
  if (!first || !second)
    return;
  TControl* const one[] = {first->NameLabel, first->FactorEdit, first->OffsetEdit,
                           first->ColorBox,  first->ChartCheck, first->CursorCheck};
  TControl* const other[] = {second->NameLabel, second->FactorEdit, second->OffsetEdit,
                             second->ColorBox,  second->ChartCheck, second->CursorCheck};
  for (int k = 0; k < 6; ++k)
    if (one[k] && other[k]) {
      const int top = one[k]->Top();
      one[k]->SetTop(other[k]->Top());
      other[k]->SetTop(top);
    }
}

// The pointer follows the bar (where the window system lets programs move it).
void MovePointer(int dy)
{
  if (dy == 0)
    return;
  const TPoint at = Mouse->CursorPos();
  Mouse->SetCursorPos(TPoint{at.x, at.y + dy});
}

}  // namespace

int BQELunit::HoverBarRow() const
{
  const MaskRowLayout& g = MaskRowGeometry;
  return RowAt(g, RowHoverBar->Top() + g.RowSpacing + MaskRowBox->VertScrollBar()->Position());
}

void BQELunit::PlaceHoverBar(int r, const LTypeCell* item)
{
  const MaskRowLayout& g = MaskRowGeometry;
  // The row's edits, colour box and check boxes stay in front of the bar and usable; the bar
  // covers the name column.
  RowHoverBar->SendToBack();
  RowHoverBar->SetBounds(g.LeftMargin - 5 - MaskRowBox->HorzScrollBar()->Position(),
                         RowTop(g, r) - g.RowSpacing - MaskRowBox->VertScrollBar()->Position(), g.RowWidth,
                         Pitch(g));
  // Down, up, delete from the left, 5 apart, the last 10 before the end of the name column.
  const int w = RowUpButton->Width();
  RowDownButton->SetBounds(g.NameWidth - 3 * w - 20, g.RowSpacing, w, g.RowHeight);
  RowUpButton->SetBounds(g.NameWidth - 2 * w - 15, g.RowSpacing, w, g.RowHeight);
  RowDeleteButton->SetBounds(g.NameWidth - w - 10, g.RowSpacing, w, g.RowHeight);
  RowHoverLabel->SetWidth(RowDownButton->Left() - 10);
  RowHoverLabel->SetCaption(ChannelName(item));
  RowHoverBar->Show();
}

void BQELunit::MaskRowBoxMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !MaskRowBox || !EditorMask(mask))
    return;
  RowBoxScroll = MaskRowBox->VertScrollBar()->Position();
  RowBoxMouseX = X;
  RowBoxMouseY = Y;
  RowBoxShift = Shift;
  FocusMaskRowBox();
  const int r = RowAt(MaskRowGeometry, RowBoxScroll + Y);
  const int count = mask->Items ? mask->Items->Count() : 0;
  if (r < 0 || r > count - 1) {
    RowHoverBar->Hide();
    return;
  }
  PlaceHoverBar(r, mask->Items->Get(r));
}

void BQELunit::MaskRowEditMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
  if (const auto* control = dynamic_cast<const TControl*>(Sender))
    MaskRowBoxMouseMove(Sender, Shift, X + control->Left(), Y + control->Top());
}

void BQELunit::MaskRowLabelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
  MaskRowEditMouseMove(Sender, Shift, X, Y);
}

void BQELunit::MaskRowBoxMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint, bool& Handled)
{
  if (ParseRunning || !MaskRowBox || WheelDelta == 0)
    return;
  // Fine turns (touchpads) add up to whole notches of 120.
  RowBoxWheelDelta += WheelDelta;
  const int notches = RowBoxWheelDelta / 120;
  RowBoxWheelDelta -= notches * 120;
  if (notches != 0) {
    TControlScrollBar* bar = MaskRowBox->VertScrollBar();
    bar->SetPosition(bar->Position() - notches * WheelScrollLines() * 10);
  }
  Handled = true;
}

void BQELunit::FocusMaskRowBox()
{
  LMaskCell* mask = nullptr;
  if (!MaskRowBox || !EditorMask(mask) || MaskRowBox->Focused())
    return;
  // Typing in a row is not interrupted.
  bool rowFocused = false;
  IgnoreFailure([&] {
    for (int i = 0; mask->Items && i < mask->Items->Count() && !rowFocused; ++i)
      if (const LTypeCell* item = mask->Items->Get(i))
        for (const TWinControl* control :
             {static_cast<const TWinControl*>(item->FactorEdit), static_cast<const TWinControl*>(item->OffsetEdit),
              static_cast<const TWinControl*>(item->ColorBox), static_cast<const TWinControl*>(item->ChartCheck),
              static_cast<const TWinControl*>(item->CursorCheck)})
          rowFocused = rowFocused || (control && control->Focused());
  });
  // So that the wheel scrolls the rows.
  if (!rowFocused && MaskRowBox->CanFocus())
    MaskRowBox->SetFocus();
}

void BQELunit::RowUpButtonClick(TObject*)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !MaskRowBox || !EditorMask(mask) || !mask->Items)
    return;
  const int r = HoverBarRow();
  if (r < 1 || r > mask->Items->Count() - 1)
    return;
  SwapRows(*mask->Items, r, r - 1);
  DropChartCaches();
  // At the top of the visible rows the box scrolls a row instead of the bar moving; the bar is
  // placed after the scroll, so it stays on the moved item also where the scroll stops short.
  const MaskRowLayout& g = MaskRowGeometry;
  const int barTop = RowHoverBar->Top();
  const int shift = Pitch(g) >= barTop ? Pitch(g) : 0;
  TControlScrollBar* bar = MaskRowBox->VertScrollBar();
  bar->SetPosition(bar->Position() - shift);
  PlaceHoverBar(r - 1, mask->Items->Get(r - 1));
  MovePointer(RowHoverBar->Top() - barTop);
}

void BQELunit::RowDownButtonClick(TObject*)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !MaskRowBox || !EditorMask(mask) || !mask->Items)
    return;
  const int r = HoverBarRow();
  const int count = mask->Items->Count();
  if (r < 0 || r > count - 2)
    return;
  SwapRows(*mask->Items, r, r + 1);
  DropChartCaches();
  // Near the bottom of the box it scrolls a row, unless the moved item became the last.
  const MaskRowLayout& g = MaskRowGeometry;
  const int barTop = RowHoverBar->Top();
  const int shift = MaskRowBox->Height() - barTop < 2 * Pitch(g) && r != count - 2 ? Pitch(g) : 0;
  TControlScrollBar* bar = MaskRowBox->VertScrollBar();
  bar->SetPosition(bar->Position() + shift);
  PlaceHoverBar(r + 1, mask->Items->Get(r + 1));
  MovePointer(RowHoverBar->Top() - barTop);
}

void BQELunit::RowDeleteButtonClick(TObject*)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !MaskRowBox || !EditorMask(mask) || !mask->Items)
    return;
  const int r = HoverBarRow();
  if (r < 0 || r > mask->Items->Count() - 1)
    return;
  // Edits typed into the other rows are kept.
  ReadOptionsAndMaskRows();
  LTypeCell* item = mask->Items->Get(r);
  mask->Items->Delete(r);
  if (item) {
    DeleteRowControls(*item);
    delete item;
  }
  mask->Items->Pack();
  DropChartCaches();
  ShowOptionsAndMaskRows();
  // The bar moves to the row now under the mouse.
  MaskRowBox->VertScrollBar()->SetPosition(RowBoxScroll);
  MaskRowBoxMouseMove(RowHoverBar, RowBoxShift, RowBoxMouseX, RowBoxMouseY);
}
