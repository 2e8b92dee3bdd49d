// Mask items and the lookups of masks and parameters by the names the user sees.
#include <memory>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"

namespace {

const AnsiString& NameIn(int language, const AnsiString& ru, const AnsiString& en, const AnsiString& de)
{
  if (language == 0)
    return ru;
  if (language == 1)
    return en;
  return de;
}

// Appended at once, so that the mask owns the item as soon as it exists.
void Append(TPtrList<LTypeCell>& items, std::unique_ptr<LTypeCell> item)
{
  items.Add(item.get());
  item.release();
}

}  // namespace

AnsiString BQELunit::MaskName(const LMaskCell* mask) const
{
  return mask ? NameIn(Language, mask->NameRu, mask->NameEn, mask->NameDe) : AnsiString();
}

AnsiString BQELunit::ChannelName(const LTypeCell* item) const
{
  return item ? NameIn(Language, item->NameRu, item->NameEn, item->NameDe) : AnsiString();
}

int32_t BQELunit::ChannelIdByName(const AnsiString& nameRu) const
{
  if (!TypeCells)
    return NoChannelId;
  for (int i = 0; i < TypeCells->Count(); ++i) {
    const LTypeCell* channel = TypeCells->Get(i);
    if (channel && channel->NameRu == nameRu)
      return channel->Id;
  }
  return NoChannelId;
}

void BQELunit::AddChannelItem(LMaskCell* mask, const AnsiString& ru, const AnsiString& en, const AnsiString& de)
{
  if (!mask || !mask->Items)
    return;
  // Each name against the name of its own language only; status items do not count.
  for (int i = 0; i < mask->Items->Count(); ++i) {
    const LTypeCell* item = mask->Items->Get(i);
    if (item && item->Id != StatusItemId && (item->NameRu == ru || item->NameEn == en || item->NameDe == de))
      return;
  }
  auto item = std::make_unique<LTypeCell>();
  item->Id = ChannelIdByName(ru);
  item->Factor = 1;
  item->Offset = 0;
  item->Color = 0x000000;
  item->NameRu = ru;
  item->NameEn = en;
  item->NameDe = de;
  if (const DefaultItemLook* look = FindDefaultItemLook(ru)) {
    item->Factor = look->Factor;
    item->Offset = look->Offset;
    item->Color = look->Color;
    item->Chart = look->Chart;
    item->Cursor = look->Cursor;
  }
  Append(*mask->Items, std::move(item));
}

void BQELunit::AddStatusItem(LMaskCell* mask, const AnsiString& name)
{
  if (!mask || !mask->Items)
    return;
  for (int i = 0; i < mask->Items->Count(); ++i) {
    const LTypeCell* item = mask->Items->Get(i);
    if (item && item->Id == StatusItemId && item->NameRu == name)
      return;
  }
  // Drawn at Offset while the status is off and at Factor + Offset while it is on.
  auto item = std::make_unique<LTypeCell>();
  item->Id = StatusItemId;
  item->Factor = 100;
  item->Offset = -500;
  item->Color = 0xFF00FF;
  item->NameRu = item->NameEn = item->NameDe = name;
  if (name == "A/C") {
    item->Color = 0x0000FF;
    item->Chart = 1;
  } else if (name == "Drive") {
    item->Offset = -700;
    item->Color = 0x00FFFF;
    item->Chart = 1;
  }
  Append(*mask->Items, std::move(item));
}

LMaskCell* BQELunit::FindMaskByName(const AnsiString& name) const
{
  if (!MaskCells)
    return nullptr;
  for (int i = 0; i < MaskCells->Count(); ++i) {
    LMaskCell* mask = MaskCells->Get(i);
    if (mask && MaskName(mask) == name)
      return mask;
  }
  return nullptr;
}

bool BQELunit::MaskOfComboEntry(const TStrings* entries, int selectedIndex, int storedIndex, LMaskCell*& out) const
{
  if (!entries || selectedIndex < 0 || storedIndex < 0 || entries->Count() <= storedIndex)
    return false;
  const AnsiString name = entries->Get(storedIndex);
  // The combos list the masks in list order, so the entry's own mask is at the same index;
  // by name alone, two masks of one name would always give the first.
  if (MaskCells && storedIndex < MaskCells->Count()) {
    LMaskCell* mask = MaskCells->Get(storedIndex);
    if (mask && MaskName(mask) == name) {
      out = mask;
      return true;
    }
  }
  LMaskCell* mask = FindMaskByName(name);
  if (!mask)
    return false;
  out = mask;
  return true;
}

bool BQELunit::EditorMask(LMaskCell*& out)
{
  return MaskCombo && MaskOfComboEntry(MaskCombo->Items(), MaskCombo->ItemIndex(), EditorMaskIndex, out);
}

bool BQELunit::ChartMask(LMaskCell*& out)
{
  return ChartMaskCombo &&
         MaskOfComboEntry(ChartMaskCombo->Items(), ChartMaskCombo->ItemIndex(), ChartMaskIndex, out);
}
