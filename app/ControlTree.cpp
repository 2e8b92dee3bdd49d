// The window, built in code: pages, toolbar, text page, chart page and the form's actions.
// The options pages are built in app/OptionsTree.cpp. Captions, hints and positions come
// later, from the language switch and the layouts.
#include "app/ControlTree.h"

#include "ActnList.h"
#include "Clipbrd.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Label.h"
#include "Memo.h"
#include "PaintBox.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"

namespace control_tree {

TTabSheet* AddPage(TPageControl* pageControl)
{
  auto* page = new TTabSheet(pageControl);
  page->SetPageControl(pageControl);
  page->SetBorderWidth(5);
  return page;
}

TPanel* AddPlainPanel(TWinControl* parent)
{
  auto* panel = Add<TPanel>(parent);
  panel->SetBevelOuter(bvNone);
  panel->SetCaption("");
  return panel;
}

TBitBtn* AddBitBtn(TWinControl* parent, const char* glyph, bool showHint)
{
  auto* button = Add<TBitBtn>(parent);
  button->SetCaption("");
  if (showHint)
    button->SetShowHint(true);
  LoadResourceGraphicOrNone(button->Glyph(), glyph);
  return button;
}

TComboBox* AddListCombo(TWinControl* parent)
{
  auto* combo = Add<TComboBox>(parent);
  combo->SetStyle(csDropDownList);
  combo->SetDropDownCount(12);
  return combo;
}

void SetFont(TControl* control, const char* name, int size)
{
  control->Font()->SetName(name);
  control->Font()->SetSize(size);
}

}  // namespace control_tree

using namespace control_tree;

namespace {

// The keys of the form's actions: plain virtual-key codes.
constexpr TShortCut KeyF3 = 114, KeyF5 = 116, KeyF6 = 117, KeyF7 = 118, KeyF8 = 119, KeyF10 = 121, KeyF12 = 123;

TScrollBox* AddBox(TWinControl* parent, TAlign align)
{
  auto* box = Add<TScrollBox>(parent);
  box->SetAlign(align);
  return box;
}

TPaintBox* AddPaintBox(TWinControl* parent)
{
  auto* box = Add<TPaintBox>(parent);
  box->SetBounds(0, 0, 10, 10);  // sized when drawn
  return box;
}

TSplitter* AddSplitter(TComponent* owner, TWinControl* parent, TAlign align)
{
  auto* splitter = new TSplitter(owner);
  splitter->SetParent(parent);
  splitter->SetAlign(align);
  splitter->SetBeveled(true);
  splitter->SetResizeStyle(rsPattern);
  splitter->SetAutoSnap(false);
  return splitter;
}

}  // namespace

void BQELunit::CreateControls()
{
  // Without a main form (tests, benchmarks) the same tree stands on a panel of its own.
  MainPanel = new TPanel(Owner);
  if (Owner)
    MainPanel->SetParent(Owner);
  MainPanel->SetAlign(alClient);
  MainPanel->SetBorderWidth(0);
  MainPanel->SetBevelOuter(bvNone);
  MainPanel->SetCaption("");
  SetFont(MainPanel, "Verdana", 10);
  MainPanel->OnResize = Bind(&BQELunit::MainPanelResize);

  CreatePages();
  CreateToolbar();
  CreateTextPage();
  CreateMaskPage();
  CreateCommonPage();
  CreateMaskRowBox();

  HelpMemo = Add<TMemo>(HelpPage);
  HelpMemo->SetAlign(alClient);
  SetFont(HelpMemo, "Lucida Console", 10);
  HelpMemo->SetReadOnly(true);
  HelpMemo->SetScrollBars(ssBoth);

  CreateChartPage();
  CreateActions();
}

void BQELunit::CreatePages()
{
  PageControl = Add<TPageControl>(MainPanel);
  OptionsPage = AddPage(PageControl);
  OptionsPage->OnResize = Bind(&BQELunit::OptionsPageResize);
  TextPage = AddPage(PageControl);
  ChartPage = AddPage(PageControl);
  ChartPage->OnResize = Bind(&BQELunit::ChartPageResize);
  // Set in code, the active page fires no change.
  PageControl->SetActivePage(ChartPage);
  PageControl->OnChange = Bind(&BQELunit::PageControlChange);

  OptionsPageControl = Add<TPageControl>(OptionsPage);
  OptionsPageControl->SetAlign(alClient);
  MaskPage = AddPage(OptionsPageControl);
  CommonPage = AddPage(OptionsPageControl);
  // A hidden tab keeps its old size until it is shown: the one shown then is laid out anew.
  MaskPage->OnResize = Bind(&BQELunit::OptionsPageResize);
  CommonPage->OnResize = Bind(&BQELunit::OptionsPageResize);
  HelpPage = AddPage(OptionsPageControl);
  OptionsPageControl->SetActivePage(MaskPage);
}

void BQELunit::CreateToolbar()
{
  ToolbarPanel = AddPlainPanel(MainPanel);
  LanguageButton = AddBitBtn(ToolbarPanel, "flagr2");
  LanguageButton->OnClick = Bind(&BQELunit::LanguageButtonClick);
  SpeedUnitLabel = Add<TLabel>(ToolbarPanel);
  SpeedEdit = Add<TEdit>(ToolbarPanel);
  SpeedEdit->OnExit = Bind(&BQELunit::ReadingSpeedEditExit);
  RecentCombo = AddListCombo(ToolbarPanel);
  RecentCombo->OnChange = Bind(&BQELunit::RecentComboChange);
  OpenButton = AddBitBtn(ToolbarPanel, "openfile");
  OpenButton->OnClick = Bind(&BQELunit::OpenButtonClick);
  PasteButton = AddBitBtn(ToolbarPanel, "paste");
  PasteButton->OnClick = Bind(&BQELunit::PasteButtonClick);
  // The hint follows the clipboard without reading it at every move of the pointer.
  PasteButton->OnMouseEnter = Bind(&BQELunit::PasteButtonMouseMove);
  WatchClipboard(PasteButton, [this] { PasteButtonMouseMove(PasteButton); });
  NextButton = AddBitBtn(ToolbarPanel, "next");
  NextButton->OnClick = Bind(&BQELunit::NextButtonClick);
  PrevButton = AddBitBtn(ToolbarPanel, "prev");
  PrevButton->OnClick = Bind(&BQELunit::PrevButtonClick);
}

void BQELunit::CreateTextPage()
{
  TextMemo = Add<TMemo>(TextPage);
  TextMemo->SetAlign(alClient);
  TextMemo->SetScrollBars(ssBoth);
  TextMemo->SetReadOnly(true);
  // The caret and the found text stay visible while the find bar has the focus.
  TextMemo->SetHideSelection(false);
  TextMemo->SetCodePage(LogCodePage);
  SetFont(TextMemo, "Lucida Console", 10);
  TextMemo->OnMouseMove = Bind(&BQELunit::TextMemoMouseMove);
  TextMemo->OnKeyUp = Bind(&BQELunit::TextMemoKeyUp);

  FindPanel = AddPlainPanel(TextPage);
  FindPanel->SetAlign(alTop);
  FindPanel->OnResize = Bind(&BQELunit::FindPanelResize);
  FindLabel = Add<TLabel>(FindPanel);
  FindEdit = Add<TEdit>(FindPanel);
  // What is sought is the log's text, typed in its code page.
  FindEdit->SetCodePage(LogCodePage);
  FindButton = Add<TButton>(FindPanel);
  FindButton->OnClick = Bind(&BQELunit::FindButtonClick);
  FindUpRadio = Add<TRadioButton>(FindPanel);
  FindDownRadio = Add<TRadioButton>(FindPanel);
  FindDownRadio->SetChecked(true);

  TextStatusBar = Add<TStatusBar>(TextPage);
  TextStatusBar->SetAlign(alBottom);

  ClearFindButton = AddBitBtn(FindPanel, "clear");
  ClearFindButton->OnClick = Bind(&BQELunit::ClearFindButtonClick);
  TextStartButton = AddBitBtn(FindPanel, "moveup");
  TextStartButton->OnClick = Bind(&BQELunit::TextStartButtonClick);
  TextEndButton = AddBitBtn(FindPanel, "movedown");
  TextEndButton->OnClick = Bind(&BQELunit::TextEndButtonClick);
}

void BQELunit::CreateChartPage()
{
  ChartAreaPanel = AddPlainPanel(ChartPage);
  ChartAreaPanel->SetAlign(alClient);
  ChartColumnPanel = AddPlainPanel(ChartAreaPanel);
  ChartColumnPanel->SetAlign(alLeft);
  ChartColumnPanel->SetWidth(300);
  ChartComboPanel = AddPlainPanel(ChartColumnPanel);
  ChartComboPanel->SetAlign(alTop);
  LegendScrollBox = AddBox(ChartColumnPanel, alClient);
  FaultScrollBox = AddBox(ChartColumnPanel, alBottom);
  // Made after the fault box, it lies above it.
  LegendSplitter = AddSplitter(ChartColumnPanel, ChartColumnPanel, alBottom);
  LegendSplitter->SetHeight(8);
  // Owned by the column, placed right of it on the chart area.
  ChartSplitter = AddSplitter(ChartColumnPanel, ChartAreaPanel, alLeft);
  ChartSplitter->SetWidth(8);
  ChartSplitter->SetMinSize(100);
  ChartSplitter->SetLeft(1000);

  ChartMaskCombo = AddListCombo(ChartComboPanel);
  ChartMaskCombo->OnChange = Bind(&BQELunit::ChartMaskComboChange);
  ChartPaintBox = Add<TPaintBox>(ChartAreaPanel);
  ChartPaintBox->SetAlign(alClient);
  ChartPaintBox->SetShowHint(true);
  LegendPaintBox = AddPaintBox(LegendScrollBox);
  LegendPaintBox->OnPaint = Bind(&BQELunit::LegendPaint);
  FaultPaintBox = AddPaintBox(FaultScrollBox);
  FaultPaintBox->OnPaint = Bind(&BQELunit::ErrorPanelPaint);

  ChartStatusBar = Add<TStatusBar>(ChartPage);
  ChartStatusBar->SetAlign(alBottom);
  ChartStatusBar->OnResize = Bind(&BQELunit::ChartStatusBarResize);
  ChartStatusBar->Font()->Assign(MainPanel->Font());
  TStatusPanels* panels = ChartStatusBar->Panels();
  panels->BeginUpdate();
  for (int i = 0; i < 5; ++i)
    panels->Add();
  // The status names at the cursor, drawn by the chart.
  panels->Items(4)->SetStyle(psOwnerDraw);
  panels->EndUpdate();
}

void BQELunit::CreateActions()
{
  // The actions belong to the form; a tree without a form frees them with its panel.
  TComponent* owner = Owner ? static_cast<TComponent*>(Owner) : MainPanel;
  ActionList = new TActionList(owner);
  auto add = [&](TShortCut key) {
    auto* action = new TAction(owner);
    action->SetActionList(ActionList);
    action->SetShortCut(key);
    return action;
  };
  // F3 also works from the Chart page.
  ToggleTextChartAction = add(KeyF3);
  ToggleTextChartAction->OnExecute = Bind(&BQELunit::ToggleTextChartActionExecute);
  ZoomF5Action = add(KeyF5);
  ZoomF6Action = add(KeyF6);
  ZoomF7Action = add(KeyF7);
  ZoomF8Action = add(KeyF8);
  SaveReportAction = add(KeyF10);
  SaveReportAction->OnExecute = Bind(&BQELunit::SaveReportActionExecute);
  SaveJpegAction = add(KeyF12);
  SaveJpegAction->OnExecute = Bind(&BQELunit::SaveJpegActionExecute);
  // The keys live on the main panel, so that a progress window, which disables it, blocks them.
  ActionList->AttachTo(MainPanel);
}

void BQELunit::UnbindFormHandlers()
{
  for (TAction* action : {ToggleTextChartAction, ZoomF5Action, ZoomF6Action, ZoomF7Action, ZoomF8Action,
                          SaveReportAction, SaveJpegAction})
    if (action)
      action->OnExecute = nullptr;
}
