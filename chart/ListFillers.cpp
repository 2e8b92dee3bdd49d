// The lists that show names: the parameter and status lists of the Mask tab, the editor's and
// the chart's mask combos, each refilled from the records in the current language; and the mask
// items' ids and names brought up to date from the parameters.
#include <string_view>
#include <unordered_map>

#include "ComboBox.h"
#include "ListBox.h"
#include "app/Qelunit.h"

namespace {

// One batch for a whole refill: the control repaints once, not once a line.
class UpdateScope {
public:
  explicit UpdateScope(TStrings& lines) : lines_(lines) { lines_.BeginUpdate(); }
  ~UpdateScope() { lines_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

private:
  TStrings& lines_;
};

// The masks' names in list order; then the stored index is selected when it names an entry,
// else the first entry; without entries the index becomes -1.
void FillMaskCombo(const BQELunit& unit, TComboBox& combo, int32_t& index)
{
  TStrings& entries = *combo.Items();
  {
    const UpdateScope update(entries);
    entries.Clear();
    for (int i = 0; unit.MaskCells && i < unit.MaskCells->Count(); ++i)
      if (const LMaskCell* mask = unit.MaskCells->Get(i))
        entries.Add(unit.MaskName(mask));
  }
  const int count = entries.Count();
  if (count == 0) {
    index = -1;
    combo.SetItemIndex(-1);
    return;
  }
  combo.SetItemIndex(index >= 0 && index < count ? index : 0);
}

}  // namespace

void BQELunit::FillChannelList()
{
  if (!ChannelList)
    return;
  TStrings& lines = *ChannelList->Items();
  const UpdateScope update(lines);
  lines.Clear();
  for (int i = 0; TypeCells && i < TypeCells->Count(); ++i) {
    const LTypeCell* channel = TypeCells->Get(i);
    if (channel && (!HideUnusedChannels || channel->Chart))
      lines.Add(ChannelName(channel));
  }
}

void BQELunit::FillStatusList()
{
  if (!StatusList)
    return;
  TStrings& lines = *StatusList->Items();
  const UpdateScope update(lines);
  lines.Clear();
  for (int i = 0; StatusCells && i < StatusCells->Count(); ++i)
    if (const LStatusCell* status = StatusCells->Get(i))
      lines.Add(status->Name);
}

void BQELunit::FillMaskList()
{
  if (!MaskCombo)
    return;
  FillMaskCombo(*this, *MaskCombo, EditorMaskIndex);
  if (MaskCombo->ItemIndex() < 0)
    EditorMaskIndex = -1;
  // Takes the selected entry as the edited mask and shows its rows. The rows are not marked
  // valid here: at the start's language switch the Options page does not show the stored
  // options yet, and a read-back then would overwrite them.
  MaskComboChange(MaskCombo);
}

void BQELunit::FillMaskSelector()
{
  if (!ChartMaskCombo)
    return;
  RefillChartMaskCombo();
  ChartMaskComboChange(ChartMaskCombo);
  MasksChanged = 0;
}

void BQELunit::RefillChartMaskCombo()
{
  if (!ChartMaskCombo)
    return;
  FillMaskCombo(*this, *ChartMaskCombo, ChartMaskIndex);
  ChartMaskIndex = ChartMaskCombo->ItemIndex();
}

void BQELunit::ChartMaskComboChange(TObject*)
{
  if (!ChartMaskCombo)
    return;
  ChartMaskIndex = ChartMaskCombo->ItemIndex();
  // The records may be half made: the chart follows the pick once the parse is over.
  if (ParseRunning) {
    WhenParseEnds([this] { ChartMaskComboChange(ChartMaskCombo); });
    return;
  }
  CalcValueRange();
  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
}

void BQELunit::RefreshMaskNames()
{
  // The first parameter of each Russian name, as a walk of the list in order finds it.
  std::unordered_map<std::string_view, const LTypeCell*> channels;
  for (int i = 0; TypeCells && i < TypeCells->Count(); ++i)
    if (const LTypeCell* channel = TypeCells->Get(i))
      channels.emplace(channel->NameRu, channel);

  for (int m = 0; MaskCells && m < MaskCells->Count(); ++m) {
    const LMaskCell* mask = MaskCells->Get(m);
    for (int i = 0; mask && mask->Items && i < mask->Items->Count(); ++i) {
      LTypeCell* item = mask->Items->Get(i);
      // A status item is found by its name: were it linked to a parameter of that name (the
      // LH logs have an "IDLE" of both kinds), the mask would hold that parameter twice for good.
      if (!item || item->Id == StatusItemId)
        continue;
      const auto found = channels.find(std::string_view(item->NameRu));
      if (found == channels.end()) {
        // No stale id: a later parameter may take it under another name.
        item->Id = NoChannelId;
        continue;
      }
      item->Id = found->second->Id;
      item->NameEn = found->second->NameEn;
      item->NameDe = found->second->NameDe;
    }
  }
  DropChartCaches();
}
