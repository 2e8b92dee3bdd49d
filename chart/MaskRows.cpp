// The mask editor's rows: six controls per item of the edited mask (name, factor, offset, colour,
// Chart and Cursor), made the first time the item is shown and reused afterwards, beside the
// mask's own fields; shown from the mask and read back into it.
#include <tuple>
#include <utility>

#include "CheckBox.h"
#include "ColorBox.h"
#include "Edit.h"
#include "Exceptions.h"
#include "IgnoreFailure.h"
#include "Label.h"
#include "Numbers.h"
#include "PageControl.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "UpDown.h"
#include "app/Qelunit.h"

namespace {

// The control, made on first need: owned by the Options tab, in the row box.
template <class Control>
Control* Made(Control*& control, TComponent* owner, TWinControl* parent, bool& made)
{
  made = !control;
  if (made) {
    control = new Control(owner);
    control->SetParent(parent);
  }
  return control;
}

template <class Control>
void DeleteControl(Control*& control) noexcept
{
  IgnoreFailure([&] {
    Control* gone = control;
    control = nullptr;
    delete gone;
  });
}

void HideRow(const LTypeCell& item)
{
  TControl* const row[] = {item.NameLabel, item.FactorEdit, item.OffsetEdit,
                           item.ColorBox,  item.ChartCheck, item.CursorCheck};
  for (TControl* control : row)
    if (control)
      control->Hide();
}

// What the rows edit of an item.
auto Edited(const LTypeCell& item)
{
  return std::tuple(item.Factor, item.Offset, item.Color, item.Chart, item.Cursor);
}

// The edit's integer into value; a text that is none keeps the value and the edit as typed.
void ReadInt(const TEdit* edit, int32_t& value)
{
  if (!edit)
    return;
  try {
    value = StrToInt(edit->Text());
  } catch (const EConvertError&) {
  }
}

}  // namespace

void BQELunit::ShowMaskRow(LTypeCell& item, int i)
{
  const MaskRowLayout& g = MaskRowGeometry;
  const int pitch = g.RowHeight + 2 * g.RowSpacing;
  const int top = g.TopMargin + g.RowHeight + g.HeaderGap + pitch * i;
  bool made = false;

  TLabel* label = Made(item.NameLabel, OptionsPage, MaskRowBox, made);
  if (made) {
    label->SetAutoSize(false);
    label->OnMouseMove = Bind(&BQELunit::MaskRowLabelMouseMove);
  }
  label->SetBounds(g.LeftMargin, top + g.RowSpacing, g.NameWidth - 10, label->Height());
  label->SetCaption(ChannelName(&item));
  label->Show();

  int left = label->Left() + g.NameWidth;
  const std::pair<TEdit * LTypeCell::*, int32_t> edits[] = {{&LTypeCell::FactorEdit, item.Factor},
                                                            {&LTypeCell::OffsetEdit, item.Offset}};
  const int widths[] = {g.FactorWidth, g.OffsetWidth};
  for (int k = 0; k < 2; ++k) {
    TEdit* edit = Made(item.*edits[k].first, OptionsPage, MaskRowBox, made);
    if (made)
      edit->OnMouseMove = Bind(&BQELunit::MaskRowEditMouseMove);
    edit->SetBounds(left, top, widths[k] - 5, edit->Height());
    edit->SetText(IntToStr(edits[k].second));
    edit->Show();
    left += widths[k];
  }

  TColorBox* colors = Made(item.ColorBox, OptionsPage, MaskRowBox, made);
  if (!colors->Style().Contains(cbCustomColor)) {
    TColorBoxStyle style = colors->Style();
    colors->SetStyle(style << cbCustomColor);
  }
  colors->SetBounds(left, top, g.ColorWidth - 5, colors->Height());
  colors->SetSelected(item.Color);
  colors->Show();

  // The boxes sit in the middle of the row, a third into their columns.
  const int checkTop = top + (g.RowHeight - 13) / 2;
  TCheckBox* chart = Made(item.ChartCheck, OptionsPage, MaskRowBox, made);
  chart->SetBounds(left + g.ColorWidth + g.ChartWidth / 3, checkTop, 13, 13);
  chart->SetChecked(item.Chart != 0);
  chart->Show();
  TCheckBox* cursor = Made(item.CursorCheck, OptionsPage, MaskRowBox, made);
  cursor->SetBounds(chart->Left() + g.ChartWidth, checkTop, 13, 13);
  cursor->SetChecked(item.Cursor != 0);
  cursor->Show();
}

void BQELunit::ShowEditorMask()
{
  if (!MaskRowBox)
    return;
  // Whatever row the bar stood on is rebuilt, or belongs to another mask now.
  RowHoverBar->Hide();
  LMaskCell* mask = nullptr;
  if (!EditorMask(mask))
    return;
  MaskRowBox->Hide();
  IgnoreFailure([&] {
    for (int m = 0; m < MaskCells->Count(); ++m)
      if (LMaskCell* each = MaskCells->Get(m); each && each->Items)
        for (int i = 0; i < each->Items->Count(); ++i)
          if (LTypeCell* item = each->Items->Get(i))
            HideRow(*item);
  });
  MaskRowBox->HorzScrollBar()->SetPosition(0);
  MaskRowBox->VertScrollBar()->SetPosition(0);
  IgnoreFailure([&] {
    for (int i = 0; mask->Items && i < mask->Items->Count(); ++i)
      if (LTypeCell* item = mask->Items->Get(i))
        ShowMaskRow(*item, i);
  });
  ThicknessUpDown->SetPosition(mask->Thickness);
  UnderCursorCheck->SetChecked(mask->UnderCursor != 0);
  YBottomEdit->SetText(IntToStr(mask->YBottom));
  YTopEdit->SetText(IntToStr(mask->YTop));
  MaskRowBox->Show();
}

void BQELunit::ReadEditorMask()
{
  LMaskCell* mask = nullptr;
  if (!MaskRowBox || !EditorMask(mask) || !mask->Items)
    return;
  bool changed = false;
  for (int i = 0; i < mask->Items->Count(); ++i) {
    LTypeCell* item = mask->Items->Get(i);
    if (!item)
      return;
    const auto before = Edited(*item);
    ReadInt(item->FactorEdit, item->Factor);
    ReadInt(item->OffsetEdit, item->Offset);
    if (item->ColorBox)
      item->Color = item->ColorBox->Selected();
    if (item->ChartCheck)
      item->Chart = item->ChartCheck->Checked() ? 1 : 0;
    if (item->CursorCheck)
      item->Cursor = item->CursorCheck->Checked() ? 1 : 0;
    changed = changed || before != Edited(*item);
  }
  mask->Thickness = ThicknessUpDown->Position();
  mask->UnderCursor = UnderCursorCheck->Checked() ? 1 : 0;
  ReadInt(YBottomEdit, mask->YBottom);
  ReadInt(YTopEdit, mask->YTop);
  // The chart's summaries of the items are not valid for the new factors and flags.
  if (changed)
    DropChartCaches();
}

void BQELunit::DeleteRowControls(LTypeCell& item)
{
  DeleteControl(item.NameLabel);
  DeleteControl(item.FactorEdit);
  DeleteControl(item.OffsetEdit);
  DeleteControl(item.ColorBox);
  DeleteControl(item.ChartCheck);
  DeleteControl(item.CursorCheck);
}

void BQELunit::FreeMaskRows()
{
  LMaskCell* mask = nullptr;
  if (!MaskRowBox || !EditorMask(mask) || !mask->Items)
    return;
  MaskRowBox->Hide();
  RowHoverBar->Hide();
  for (int i = 0; i < mask->Items->Count(); ++i)
    if (LTypeCell* item = mask->Items->Get(i))
      DeleteRowControls(*item);
  MaskRowBox->Show();
}
