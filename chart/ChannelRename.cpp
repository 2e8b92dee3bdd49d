// Renaming parameters: one in the three-name dialog, refused when another parameter has one of
// the new names; or all at once, their English and German names from the dictionary.
#include "IgnoreFailure.h"
#include "ListBox.h"
#include "app/MessageWindow.h"
#include "app/NameEditor.h"
#include "app/Qelunit.h"
#include "chart/ListLines.h"

namespace {

constexpr int ClashSeconds = 15;

// Text of the first name clash of another parameter: 72 Russian, 73 English, 74 German; 0 none.
int ClashText(const TPtrList<LTypeCell>& channels, const LTypeCell* renamed, const BNameRED& names)
{
  for (int i = 0; i < channels.Count(); ++i) {
    const LTypeCell* other = channels.Get(i);
    if (!other || other == renamed)
      continue;
    if (other->NameRu == names.RussianName)
      return 72;
    if (other->NameEn == names.EnglishName)
      return 73;
    if (other->NameDe == names.GermanName)
      return 74;
  }
  return 0;
}

// English and German names by the dictionary, each only where it has one.
void Translate(BQELunit& unit, LTypeCell& cell)
{
  AnsiString translated;
  if (!unit.TranslateName(cell.NameRu, 0, translated).empty())
    cell.NameEn = translated;
  if (!unit.TranslateName(cell.NameRu, 1, translated).empty())
    cell.NameDe = translated;
}

}  // namespace

void BQELunit::RenameChannelMenuClick(TObject*)
{
  RenameChannel();
}

void BQELunit::RenameChannel()
{
  int selected;
  AnsiString line;
  if (ParseRunning || !SelectedLine(ChannelList, selected, line))
    return;
  LTypeCell* channel = ChannelOfLine(line);
  if (!channel)
    return;

  BNameRED names;
  AnsiString text;
  names.OkCaption = GetUiText(109, text);
  names.CancelCaption = GetUiText(105, text);
  names.WindowCaption = "";
  names.RussianCaption = GetUiText(106, text);
  names.EnglishCaption = GetUiText(107, text);
  names.GermanCaption = GetUiText(108, text);
  names.RussianName = channel->NameRu;
  names.EnglishName = channel->NameEn;
  names.GermanName = channel->NameDe;
  if (!names.Execute())
    return;
  // The dialog's loop serves timers: a log opened meanwhile may have refilled the list.
  if (ParseRunning || TypeCells->IndexOf(channel) < 0)
    return;
  if (const int clash = ClashText(*TypeCells, channel, names)) {
    ShowTimedMessage(GetUiText(clash, text), ClashSeconds);
    return;
  }
  channel->NameRu = names.RussianName;
  channel->NameEn = names.EnglishName;
  channel->NameDe = names.GermanName;
  TStrings& lines = *ChannelList->Items();
  if (selected < lines.Count() && lines.Get(selected) == line)
    lines.Put(selected, ChannelName(channel));
  else
    FillChannelList();

  ChannelList->Repaint();
  // Items of the new Russian name take the new English and German names; items of the old
  // Russian name keep theirs and lose the parameter.
  RefreshMaskNames();
  ReadOptionsAndMaskRows();
  ShowOptionsAndMaskRows();
}

void BQELunit::DictRenameButtonClick(TObject*)
{
  if (ParseRunning)
    return;
  IgnoreFailure([&] {
    for (int i = 0; TypeCells && i < TypeCells->Count(); ++i)
      if (LTypeCell* channel = TypeCells->Get(i))
        Translate(*this, *channel);
    for (int m = 0; MaskCells && m < MaskCells->Count(); ++m) {
      const LMaskCell* mask = MaskCells->Get(m);
      for (int i = 0; mask && mask->Items && i < mask->Items->Count(); ++i)
        if (LTypeCell* item = mask->Items->Get(i))
          Translate(*this, *item);
    }
  });
  DropChartCaches();
  FillChannelList();
  // What was typed into the rows is kept, as every other rebuild of the rows keeps it.
  ReadOptionsAndMaskRows();
  ShowOptionsAndMaskRows();
}
