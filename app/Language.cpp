// The language switch: every caption, hint and menu text of the window, the flag, the help
// page and the layouts follow Language.
#include <utility>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "QtTranslations.h"
#include "StdCtrls.h"
#include "TextBoundary.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"
#include "texts/HelpText.h"

void BQELunit::LanguageButtonClick(TObject*)
{
  Language = Language + 1 > 2 ? 0 : Language + 1;
  ApplyLanguage();
}

void BQELunit::RussianButtonClick(TObject*)
{
  Language = 0;
  ApplyLanguage();
}

void BQELunit::EnglishButtonClick(TObject*)
{
  Language = 1;
  ApplyLanguage();
}

void BQELunit::GermanButtonClick(TObject*)
{
  Language = 2;
  ApplyLanguage();
}

void BQELunit::ApplyLanguage()
{
  // First: the names and texts of the log are bytes of the language's code page, and the
  // texts below are shown through it.
  SetDisplayCodePage(Language == 0 || Language == 1 ? 1251 : 1252);
  // Dialogs and message boxes of the toolkit speak the window's language too.
  UseQtTranslations(Language == 0 ? "ru" : Language == 1 ? "en" : "de");

  AnsiString text;
  const std::pair<int, TControl*> captions[] = {{3, OptionsPage},
                                                {4, TextPage},
                                                {5, ChartPage},
                                                {6, MaskPage},
                                                {7, CommonPage},
                                                {8, HelpPage},
                                                {13, FindLabel},
                                                {14, FindButton},
                                                {15, FindUpRadio},
                                                {16, FindDownRadio},
                                                {20, MaskNameLabel},
                                                {21, MaskOptionsLabel},
                                                {22, MaskItemsLabel},
                                                {23, AllItemsLabel},
                                                {24, NewMaskButton},
                                                {25, RenameMaskButton},
                                                {26, DeleteMaskButton},
                                                {27, UnderCursorCheck},
                                                {28, ThicknessLabel},
                                                {29, YBottomLabel},
                                                {30, YTopLabel},
                                                {41, TextLinePeriodLabel},
                                                {42, FramePeriodLabel},
                                                {43, SpeedUnitLabel},
                                                {44, ZoomF5Label},
                                                {45, ZoomF6Label},
                                                {46, ZoomF7Label},
                                                {47, ZoomF8Label},
                                                {48, ValueWindowXLabel},
                                                {49, ValueWindowYLabel},
                                                {50, EnableYZoomCheck},
                                                {51, ShowProgressCheck},
                                                {52, OldErrorAlgorithmCheck},
                                                {53, MultiLineStatusesCheck},
                                                {54, ClearHistoryButton},
                                                {55, RenameLogsButton},
                                                {56, DictRenameButton},
                                                {57, ItemNameHeader},
                                                {58, FactorHeader},
                                                {59, OffsetHeader},
                                                {60, ColorHeader},
                                                {61, ChartHeader},
                                                {62, CursorHeader},
                                                {64, ChannelListPage},
                                                {65, StatusListPage},
                                                {67, ParamStyleGroup},
                                                {68, StatusStyleGroup}};
  for (const auto& [id, control] : captions)
    control->SetCaption(GetUiText(id, text));
  const std::pair<int, TControl*> hints[] = {
      {9, OpenButton},       {10, PrevButton},    {11, NextButton},  {12, PasteButton}, {17, ClearFindButton},
      {18, TextStartButton}, {19, TextEndButton}, {31, ChannelList}, {32, StatusList},  {63, LanguageButton}};
  for (const auto& [id, control] : hints)
    control->SetHint(GetUiText(id, text));
  const std::pair<int, TMenuItem*> menus[] = {{HideUnusedChannels ? 33 : 34, ShowAllChannelsMenu},
                                              {35, HideChannelMenu},
                                              {36, ShowChannelMenu},
                                              {37, RenameChannelMenu},
                                              {38, DeleteChannelMenu},
                                              {39, AddStatusMenu},
                                              {40, DeleteStatusMenu}};
  for (const auto& [id, item] : menus)
    item->SetCaption(GetUiText(id, text));

  LoadResourceGraphicOrNone(LanguageButton->Glyph(), Language == 0   ? "flagr2"
                                                     : Language == 1 ? "flage2"
                                                                     : "flagd2");

  TStrings* help = HelpMemo->Lines();
  help->BeginUpdate();
  help->Clear();
  for (const AnsiString& line : HelpTextLines(Language))
    help->Add(line);
  help->EndUpdate();
  // The top of the text in view.
  HelpMemo->SetSelStart(1);
  HelpMemo->SetSelLength(1);

  // Every list of names in the new language, and the Text page's readout. The chart is drawn
  // once the window is laid out for the new texts.
  FillMaskList();
  RefillChartMaskCombo();
  FillChannelList();
  FillStatusList();
  ShowCaretPosition();

  // The rows and fields show the names in the new language; what was typed is kept.
  ReadOptionsAndMaskRows();
  ShowOptionsAndMaskRows();

  MainPanelResize(MainPanel);
  FindPanelResize(FindPanel);
  OptionsPageResize(OptionsPage);
  ChartPageResize(ChartPage);
  ChartStatusBarResize(ChartStatusBar);
}
