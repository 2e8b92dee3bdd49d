// The controls of the Options page: the mask editor with the parameter and status lists, the
// Common tab's option fields, and the box the editor's rows grow in.
#include <tuple>
#include <utility>

#include "Bevel.h"
#include "CheckBox.h"
#include "Edit.h"
#include "GroupBox.h"
#include "Image.h"
#include "Label.h"
#include "ListBox.h"
#include "Menus.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "UpDown.h"
#include "app/ControlTree.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"

using namespace control_tree;

namespace {

TMenuItem* AddMenuItem(TPopupMenu* popup)
{
  auto* item = new TMenuItem(popup);
  popup->Items()->Add(item);
  return item;
}

TListBox* AddList(TWinControl* parent, TPopupMenu*& popup)
{
  auto* list = Add<TListBox>(parent);
  list->SetShowHint(true);
  list->SetSorted(true);
  popup = new TPopupMenu(list);
  list->SetPopupMenu(popup);
  return list;
}

// A label made just before the edit it names, both on the Common tab.
TEdit* AddLabelledEdit(TWinControl* parent, TLabel*& label)
{
  label = Add<TLabel>(parent);
  return Add<TEdit>(parent);
}

TImage* AddSample(TWinControl* group)
{
  auto* image = Add<TImage>(group);
  image->SetAutoSize(true);
  return image;
}

}  // namespace

void BQELunit::CreateMaskPage()
{
  ListPageControl = Add<TPageControl>(MaskPage);
  ChannelListPage = AddPage(ListPageControl);
  StatusListPage = AddPage(ListPageControl);

  MaskNameLabel = Add<TLabel>(MaskPage);
  MaskOptionsLabel = Add<TLabel>(MaskPage);
  MaskItemsLabel = Add<TLabel>(MaskPage);
  AllItemsLabel = Add<TLabel>(MaskPage);
  MaskBevel1 = Add<TBevel>(MaskPage);
  MaskBevel2 = Add<TBevel>(MaskPage);
  MaskBevel3 = Add<TBevel>(MaskPage);
  MaskBevel4 = Add<TBevel>(MaskPage);
  MaskCombo = AddListCombo(MaskPage);
  MaskCombo->OnChange = Bind(&BQELunit::MaskComboChange);
  NewMaskButton = Add<TButton>(MaskPage);
  NewMaskButton->OnClick = Bind(&BQELunit::NewMaskButtonClick);
  RenameMaskButton = Add<TButton>(MaskPage);
  RenameMaskButton->OnClick = Bind(&BQELunit::RenameMaskButtonClick);
  DeleteMaskButton = Add<TButton>(MaskPage);
  DeleteMaskButton->OnClick = Bind(&BQELunit::DeleteMaskButtonClick);
  UnderCursorCheck = Add<TCheckBox>(MaskPage);
  UnderCursorCheck->SetChecked(true);

  ThicknessLabel = Add<TLabel>(MaskPage);
  ThicknessUpDown = Add<TUpDown>(MaskPage);
  ThicknessUpDown->SetPosition(2);
  ThicknessUpDown->SetMin(1);
  ThicknessUpDown->SetMax(5);
  // Only the up-down changes the thickness.
  ThicknessEdit = Add<TEdit>(MaskPage);
  ThicknessEdit->SetReadOnly(true);
  ThicknessUpDown->SetAssociate(ThicknessEdit);

  YBottomLabel = Add<TLabel>(MaskPage);
  YBottomEdit = Add<TEdit>(MaskPage);
  YTopLabel = Add<TLabel>(MaskPage);
  YTopEdit = Add<TEdit>(MaskPage);

  ChannelList = AddList(ChannelListPage, ChannelPopup);
  ChannelList->SetStyle(lbOwnerDrawFixed);
  ChannelList->OnDblClick = Bind(&BQELunit::ChannelListDblClick);
  ChannelList->OnDrawItem = Bind(&BQELunit::ChannelListDrawItem);
  StatusList = AddList(StatusListPage, StatusPopup);
  StatusList->SetAlign(alClient);
  StatusList->SetCodePage(LogCodePage);
  StatusList->OnDblClick = Bind(&BQELunit::StatusListDblClick);
  RenameChannelMenu = AddMenuItem(ChannelPopup);
  RenameChannelMenu->OnClick = Bind(&BQELunit::RenameChannelMenuClick);
  DeleteChannelMenu = AddMenuItem(ChannelPopup);
  DeleteChannelMenu->OnClick = Bind(&BQELunit::DeleteChannelMenuClick);
  HideChannelMenu = AddMenuItem(ChannelPopup);
  HideChannelMenu->OnClick = Bind(&BQELunit::HideChannelMenuClick);
  ShowChannelMenu = AddMenuItem(ChannelPopup);
  ShowChannelMenu->OnClick = Bind(&BQELunit::ShowChannelMenuClick);
  ShowAllChannelsMenu = AddMenuItem(ChannelPopup);
  ShowAllChannelsMenu->OnClick = Bind(&BQELunit::ShowAllChannelsMenuClick);
  AddStatusMenu = AddMenuItem(StatusPopup);
  AddStatusMenu->OnClick = Bind(&BQELunit::AddStatusMenuClick);
  DeleteStatusMenu = AddMenuItem(StatusPopup);
  DeleteStatusMenu->OnClick = Bind(&BQELunit::DeleteStatusMenuClick);
}

void BQELunit::CreateCommonPage()
{
  CommonBox = Add<TScrollBox>(CommonPage);
  CommonBox->SetAlign(alClient);
  CommonBox->SetBorderStyle(bsNone);

  TextLinePeriodEdit = AddLabelledEdit(CommonBox, TextLinePeriodLabel);
  FramePeriodEdit = AddLabelledEdit(CommonBox, FramePeriodLabel);
  FramePeriodEdit->OnExit = Bind(&BQELunit::FramePeriodEditExit);
  ZoomF5Edit = AddLabelledEdit(CommonBox, ZoomF5Label);
  ZoomF6Edit = AddLabelledEdit(CommonBox, ZoomF6Label);
  ZoomF7Edit = AddLabelledEdit(CommonBox, ZoomF7Label);
  ZoomF8Edit = AddLabelledEdit(CommonBox, ZoomF8Label);
  ValueWindowXEdit = AddLabelledEdit(CommonBox, ValueWindowXLabel);
  ValueWindowYEdit = AddLabelledEdit(CommonBox, ValueWindowYLabel);

  EnableYZoomCheck = Add<TCheckBox>(CommonBox);
  ShowProgressCheck = Add<TCheckBox>(CommonBox);
  OldErrorAlgorithmCheck = Add<TCheckBox>(CommonBox);
  MultiLineStatusesCheck = Add<TCheckBox>(CommonBox);

  ClearHistoryButton = Add<TButton>(CommonBox);
  ClearHistoryButton->OnClick = Bind(&BQELunit::ClearHistoryButtonClick);
  RenameLogsButton = Add<TButton>(CommonBox);
  RenameLogsButton->OnClick = Bind(&BQELunit::RenameLogsButtonClick);
  DictRenameButton = Add<TButton>(CommonBox);
  DictRenameButton->OnClick = Bind(&BQELunit::DictRenameButtonClick);
  RussianButton = AddBitBtn(CommonBox, "flagr");
  RussianButton->OnClick = Bind(&BQELunit::RussianButtonClick);
  EnglishButton = AddBitBtn(CommonBox, "flage");
  EnglishButton->OnClick = Bind(&BQELunit::EnglishButtonClick);
  GermanButton = AddBitBtn(CommonBox, "flagd");
  GermanButton->OnClick = Bind(&BQELunit::GermanButtonClick);

  // The radio buttons have no caption: the sample pictures beside them name the styles.
  ParamStyleGroup = Add<TGroupBox>(CommonBox);
  ParamStyleRadio1 = Add<TRadioButton>(ParamStyleGroup);
  ParamStyleRadio2 = Add<TRadioButton>(ParamStyleGroup);
  ParamStyleImage1 = AddSample(ParamStyleGroup);
  ParamStyleImage2 = AddSample(ParamStyleGroup);
  StatusStyleGroup = Add<TGroupBox>(CommonBox);
  StatusStyleRadio1 = Add<TRadioButton>(StatusStyleGroup);
  StatusStyleRadio2 = Add<TRadioButton>(StatusStyleGroup);
  StatusStyleImage1 = AddSample(StatusStyleGroup);
  StatusStyleImage2 = AddSample(StatusStyleGroup);

  LoadResourceGraphicOrNone(ParamStyleImage1->Picture()->Bitmap(), "chartstyle1");
  LoadResourceGraphicOrNone(ParamStyleImage2->Picture()->Bitmap(), "chartstyle2");
  LoadResourceGraphicOrNone(StatusStyleImage1->Picture()->Bitmap(), "chartstyle3");
  LoadResourceGraphicOrNone(StatusStyleImage2->Picture()->Bitmap(), "chartstyle2");
}

void BQELunit::CreateMaskRowBox()
{
  MaskRowLayout& rows = MaskRowGeometry;
  rows = MaskRowLayout();
  // The rows' edits are as high as the thickness edit.
  rows.RowHeight = ThicknessEdit->Height();

  MaskRowBox = Add<TScrollBox>(MaskPage);
  MaskRowBox->OnMouseWheel = Bind(&BQELunit::MaskRowBoxMouseWheel);
  MaskRowBox->OnMouseMove = Bind(&BQELunit::MaskRowBoxMouseMove);
  // The panel's raised bevel sets the bar off from the rows.
  RowHoverBar = Add<TPanel>(MaskRowBox);
  RowHoverBar->SetCaption("");
  RowHoverBar->SetVisible(false);
  RowHoverBar->SetColor(0xC0DCC0);
  RowHoverLabel = Add<TLabel>(RowHoverBar);
  RowHoverLabel->SetCaption("");
  RowHoverLabel->SetColor(0xC0DCC0);
  RowHoverLabel->SetAutoSize(false);
  RowHoverLabel->SetBounds(rows.LeftMargin - 5, 2 * rows.RowSpacing, rows.NameWidth - 10, RowHoverLabel->Height());
  // No hints: the bar follows the mouse over the rows.
  const std::tuple<TBitBtn**, const char*, void (BQELunit::*)(TObject*)> rowButtons[] = {
      {&RowUpButton, "moveup", &BQELunit::RowUpButtonClick},
      {&RowDownButton, "movedown", &BQELunit::RowDownButtonClick},
      {&RowDeleteButton, "delete", &BQELunit::RowDeleteButtonClick}};
  for (const auto& [button, glyph, click] : rowButtons) {
    *button = AddBitBtn(RowHoverBar, glyph, false);
    (*button)->SetBounds((*button)->Left(), rows.RowSpacing, rows.RowHeight, (*button)->Height());
    (*button)->OnClick = Bind(click);
  }

  for (TLabel** header :
       {&ItemNameHeader, &FactorHeader, &OffsetHeader, &ColorHeader, &ChartHeader, &CursorHeader}) {
    *header = Add<TLabel>(MaskRowBox);
    (*header)->Font()->SetStyle((*header)->Font()->Style() | fsBold);
  }
}
