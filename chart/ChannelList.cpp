// The parameter list of the Mask tab: a double click adds the line's parameter to the editor
// mask; its menu hides, shows and deletes parameters and switches between every parameter and
// only the shown ones; hidden parameters are drawn on grey.
#include "ListBox.h"
#include "Menus.h"
#include "app/Qelunit.h"
#include "chart/ListLines.h"

namespace {

constexpr TColor HiddenLineColor = 0xC0C0C0;

}  // namespace

bool SelectedLine(TListBox* list, int& index, AnsiString& text)
{
  if (!list)
    return false;
  index = list->ItemIndex();
  if (index < 0 || index >= list->Items()->Count())
    return false;
  text = list->Items()->Get(index);
  return true;
}

LTypeCell* BQELunit::SelectedChannel(int& selected)
{
  AnsiString line;
  if (ParseRunning || !SelectedLine(ChannelList, selected, line))
    return nullptr;
  return ChannelOfLine(line);
}

LTypeCell* BQELunit::ChannelOfLine(const AnsiString& line) const
{
  for (int i = 0; TypeCells && i < TypeCells->Count(); ++i) {
    LTypeCell* channel = TypeCells->Get(i);
    if (channel && ChannelName(channel) == line)
      return channel;
  }
  return nullptr;
}

void BQELunit::ChannelListDblClick(TObject*)
{
  LMaskCell* mask = nullptr;
  int index;
  AnsiString line;
  if (ParseRunning || !EditorMask(mask) || !SelectedLine(ChannelList, index, line))
    return;
  // By a name in any language: the line may be from before a language switch.
  const LTypeCell* channel = nullptr;
  for (int i = 0; TypeCells && i < TypeCells->Count() && !channel; ++i) {
    const LTypeCell* candidate = TypeCells->Get(i);
    if (candidate && (candidate->NameRu == line || candidate->NameEn == line || candidate->NameDe == line))
      channel = candidate;
  }
  if (channel)
    AddChannelItem(mask, channel->NameRu, channel->NameEn, channel->NameDe);
  else
    AddChannelItem(mask, line, line, line);
  DropChartCaches();
  ReadOptionsAndMaskRows();
  ShowOptionsAndMaskRows();
}

void BQELunit::ChannelListDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState)
{
  if (!ChannelList || Index < 0 || Index >= ChannelList->Items()->Count())
    return;
  const AnsiString line = ChannelList->Items()->Get(Index);
  TCanvas* canvas = ChannelList->Canvas();
  // A parse may be making parameters: the line is drawn, its parameter looked up afterwards.
  if (!ParseRunning) {
    const LTypeCell* channel = ChannelOfLine(line);
    if (channel && !channel->Chart)
      canvas->Brush()->SetColor(HiddenLineColor);
  }
  canvas->TextRect(Rect, Rect.left + 2, Rect.top, line);
}

void BQELunit::HideChannelMenuClick(TObject*)
{
  int selected;
  LTypeCell* channel = SelectedChannel(selected);
  if (!channel)
    return;
  const int top = ChannelList->TopIndex();
  channel->Chart = 0;
  DropChartCaches();
  FillChannelList();
  // The line the hidden one leaves is taken by the next, or by the new last line; the view
  // keeps its top line where it can.
  const int count = ChannelList->Items()->Count();
  if (count <= selected)
    selected = count - 1;
  ChannelList->SetItemIndex(selected);
  ChannelList->SetTopIndex(count > top ? top : count - 1);
}

void BQELunit::ShowChannelMenuClick(TObject*)
{
  int selected;
  LTypeCell* channel = SelectedChannel(selected);
  if (!channel)
    return;
  channel->Chart = 1;
  DropChartCaches();
  ChannelList->Repaint();
}

// Acts on the whole list: no line needs to be selected.
void BQELunit::ShowAllChannelsMenuClick(TObject*)
{
  if (ParseRunning)
    return;
  HideUnusedChannels = HideUnusedChannels ? 0 : 1;
  if (ShowAllChannelsMenu) {
    AnsiString caption;
    ShowAllChannelsMenu->SetCaption(GetUiText(HideUnusedChannels ? 33 : 34, caption));
  }
  FillChannelList();
}

// Mask items of the parameter stay: they carry its names themselves.
void BQELunit::DeleteChannelMenuClick(TObject*)
{
  int selected;
  AnsiString line;
  if (ParseRunning || !SelectedLine(ChannelList, selected, line))
    return;
  if (LTypeCell* channel = ChannelOfLine(line)) {
    TypeCells->Remove(channel);
    delete channel;
    DropChartCaches();
  }
  ChannelList->Items()->Delete(selected);
}
