// The Options page's layout: the mask editor's tab (name, mask options, the row box and the
// parameter and status lists) and the Common tab's option fields.
#include <algorithm>
#include <tuple>

#include "Bevel.h"
#include "Buttons.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupBox.h"
#include "Image.h"
#include "Label.h"
#include "ListBox.h"
#include "PageControl.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "UpDown.h"
#include "app/Layout.h"
#include "app/Qelunit.h"

using layout::Bottom;
using layout::CaptionedWidth;
using layout::Right;

namespace {

// A label at (0, top) over its bevel, a line from left to the tab's right margin.
void PlaceHeading(TLabel* label, TBevel* bevel, int top, int bevelDrop, int left, int width)
{
  label->SetBounds(0, top, label->Width(), label->Height());
  bevel->SetBounds(left, top + bevelDrop, std::max(0, width), 4);
}

void PlaceBox(TControl* control, int left, int top, int width)
{
  control->SetBounds(left, top, width, control->Height());
}

// An option's edit, 60 wide, with its label to the right.
void PlaceField(TEdit* edit, TLabel* label, int top)
{
  edit->SetBounds(8, top, 60, edit->Height());
  label->SetBounds(Right(edit) + 5, top + 5, label->Width(), label->Height());
}

// Two square radio buttons, each with its sample picture 8 pixels to the right; the second
// pair starts in the middle of the group.
void PlaceStyleGroup(TGroupBox* group, TRadioButton* first, TRadioButton* second, TImage* firstImage,
                     TImage* secondImage)
{
  const int size = first->Height();
  const int top = (group->Height() - size) / 2 + 5;
  first->SetBounds(10, top, size, size);
  second->SetBounds(group->Width() / 2 + 10, top, size, size);
  const int imageTop = (group->Height() - firstImage->Height()) / 2 + 5;
  firstImage->SetBounds(Right(first) + 8, imageTop, firstImage->Width(), firstImage->Height());
  secondImage->SetBounds(Right(second) + 8, imageTop, secondImage->Width(), secondImage->Height());
}

}  // namespace

void BQELunit::OptionsPageResize(TObject*)
{
  if (!LaysOut())
    return;
  LayOutMaskTab();
  LayOutCommonTab();
}

void BQELunit::LayOutMaskTab()
{
  const int w = MaskPage->ClientWidth();
  const int h = MaskPage->ClientHeight();
  // The bevels start right of the longest heading.
  const int left = AllItemsLabel->Width() + 10;
  const int bevelWidth = w - 5 - left;

  PlaceHeading(MaskNameLabel, MaskBevel1, 5, 7, left, bevelWidth);
  PlaceBox(MaskCombo, left, MaskBevel1->Top() + 15, 250);
  const int c = MaskCombo->Height();
  NewMaskButton->SetBounds(Right(MaskCombo) + 10, MaskCombo->Top(), 4 * c, c);
  RenameMaskButton->SetBounds(Right(NewMaskButton) + 10, MaskCombo->Top(), 6 * c, c);
  DeleteMaskButton->SetBounds(Right(RenameMaskButton) + 10, MaskCombo->Top(), 4 * c, c);

  PlaceHeading(MaskOptionsLabel, MaskBevel2, Bottom(MaskCombo) + 30, 7, left, bevelWidth);
  PlaceBox(UnderCursorCheck, left, MaskBevel2->Top() + 15, CaptionedWidth(UnderCursorCheck, 220));
  const int checkTop = UnderCursorCheck->Top();
  PlaceBox(ThicknessEdit, Right(UnderCursorCheck) + 50, checkTop - 5, 25);
  ThicknessUpDown->SetBounds(Right(ThicknessEdit) + 1, checkTop - 5, ThicknessUpDown->Width(),
                             ThicknessUpDown->Height());
  ThicknessLabel->SetBounds(Right(ThicknessUpDown) + 10, checkTop, ThicknessLabel->Width(),
                            ThicknessLabel->Height());
  PlaceBox(YBottomEdit, left, Bottom(UnderCursorCheck) + 10, MaskRowLayout().OffsetWidth);
  YBottomLabel->SetBounds(Right(YBottomEdit) + 5, YBottomEdit->Top() + 5, YBottomLabel->Width(),
                          YBottomLabel->Height());
  PlaceBox(YTopEdit, ThicknessEdit->Left(), YBottomEdit->Top(), 60);
  YTopLabel->SetBounds(Right(YTopEdit) + 5, YBottomLabel->Top(), YTopLabel->Width(), YTopLabel->Height());

  PlaceHeading(MaskItemsLabel, MaskBevel3, Bottom(YBottomEdit) + 30, 7, left, bevelWidth);
  const int boxTop = MaskBevel3->Top() + 15;
  MaskRowBox->SetBounds(MaskItemsLabel->Left(), boxTop,
                        std::max(0, static_cast<int>(0.7 * w - MaskItemsLabel->Left())), std::max(0, h - boxTop));

  // The column headings scroll with the rows. A bold heading wider than its column (Russian
  // ones, in the Linux fonts) widens the column, so that no two headings run into each other.
  MaskRowLayout& rows = MaskRowGeometry;
  const int headerTop = rows.TopMargin - MaskRowBox->VertScrollBar()->Position();
  const MaskRowLayout least;
  const std::tuple<TLabel*, int32_t&, int32_t> columns[] = {
      {ItemNameHeader, rows.NameWidth, least.NameWidth},   {FactorHeader, rows.FactorWidth, least.FactorWidth},
      {OffsetHeader, rows.OffsetWidth, least.OffsetWidth}, {ColorHeader, rows.ColorWidth, least.ColorWidth},
      {ChartHeader, rows.ChartWidth, least.ChartWidth},    {CursorHeader, rows.CursorWidth, least.CursorWidth}};
  int x = rows.LeftMargin;
  for (const auto& [header, width, narrowest] : columns) {
    width = std::max(narrowest, header->Width() + 10);
    header->SetBounds(x, headerTop, header->Width(), header->Height());
    x += width;
  }
  rows.RowWidth = Right(CursorHeader) - rows.LeftMargin;

  // Below the row box, which reaches the tab's bottom: out of sight.
  PlaceHeading(AllItemsLabel, MaskBevel4, Bottom(MaskRowBox) + 10, 4, left, MaskBevel1->Width());

  const int listLeft = Right(MaskRowBox) + 10;
  ListPageControl->SetBounds(listLeft, MaskRowBox->Top(), std::max(0, w - listLeft - 5), MaskRowBox->Height());
  ChannelList->SetBounds(0, 0, ChannelListPage->ClientWidth(), ChannelListPage->ClientHeight());
}

void BQELunit::LayOutCommonTab()
{
  struct Field {
    TEdit* edit;
    TLabel* label;
    int gap;  // above it
  };
  const Field fields[] = {{TextLinePeriodEdit, TextLinePeriodLabel, 8},
                          {FramePeriodEdit, FramePeriodLabel, 8},
                          {ZoomF5Edit, ZoomF5Label, 30},
                          {ZoomF6Edit, ZoomF6Label, 8},
                          {ZoomF7Edit, ZoomF7Label, 8},
                          {ZoomF8Edit, ZoomF8Label, 8},
                          {ValueWindowXEdit, ValueWindowXLabel, 30},
                          {ValueWindowYEdit, ValueWindowYLabel, 8}};
  int bottom = 0;
  for (const Field& field : fields) {
    PlaceField(field.edit, field.label, bottom + field.gap);
    bottom = Bottom(field.edit);
  }
  int gap = 30;
  for (TCheckBox* check : {EnableYZoomCheck, ShowProgressCheck, OldErrorAlgorithmCheck, MultiLineStatusesCheck}) {
    PlaceBox(check, 8, bottom + gap, CaptionedWidth(check, 400));
    bottom = Bottom(check);
    gap = 10;
  }

  StatusStyleGroup->SetBounds(8, bottom + 30, 300, 90);
  ParamStyleGroup->SetBounds(Right(StatusStyleGroup) + 10, StatusStyleGroup->Top(), 300, 90);
  PlaceStyleGroup(StatusStyleGroup, StatusStyleRadio1, StatusStyleRadio2, StatusStyleImage1, StatusStyleImage2);
  PlaceStyleGroup(ParamStyleGroup, ParamStyleRadio1, ParamStyleRadio2, ParamStyleImage1, ParamStyleImage2);
  // Only the status style is offered.
  ParamStyleGroup->SetVisible(false);

  bottom = Bottom(StatusStyleGroup);
  gap = 30;
  for (TButton* button : {ClearHistoryButton, RenameLogsButton, DictRenameButton}) {
    PlaceBox(button, 8, bottom + gap, 400);
    bottom = Bottom(button);
    gap = 10;
  }

  bottom = 0;
  for (TBitBtn* flag : {RussianButton, EnglishButton, GermanButton}) {
    flag->SetBounds(CommonBox->ClientWidth() - 72 - 8, bottom + 8, 72, 56);
    bottom = Bottom(flag);
  }
}
