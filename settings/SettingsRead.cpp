// BQELunit::ReadSettings: the settings sequence from a container reader into the lists, the
// recent files and the option fields. A failed mask or status record is skipped and reading
// goes on; any other failure, or a damaged container anywhere, ends the read with false,
// keeping what was stored before it. The options stored are brought into their bounds.
#include <memory>
#include <unordered_set>

#include "ComboBox.h"
#include "Exceptions.h"
#include "app/Qelunit.h"
#include "settings/ConfigLoad.h"
#include "settings/SettingsSchema.h"

namespace {

// The typed reads, each raising on a short read or a wrong tag.
class SettingsInput {
public:
  explicit SettingsInput(BConfigLoad& reader) : Reader(reader) {}

  int32_t Int()
  {
    int value = 0;
    Need(Reader.ReadInt(value));
    return value;
  }
  Byte Bool()
  {
    bool value = false;
    Need(Reader.ReadBool(value));
    return value ? 1 : 0;
  }
  TColor Color()
  {
    TColor value = 0;
    Need(Reader.ReadColor(value));
    return value;
  }
  AnsiString String()
  {
    AnsiString value;
    Need(Reader.ReadString(value));
    return value;
  }
  // A list's count; zero or less reads no entries. Charged to the records the whole read
  // may declare, so a hostile count fails here instead of looping or allocating.
  int32_t Count() { return Charge(Int()); }
  int32_t Charge(int32_t count)
  {
    if (count <= 0)
      return 0;
    Need(count <= RecordsLeft);
    RecordsLeft -= count;
    return count;
  }
  // A record that failed without moving the reader met the end of the data: every record
  // after it would fail the same way, and the row after the list too.
  bool Stuck(uint64_t progressBefore) const { return Reader.Progress() == progressBefore; }
  uint64_t Progress() const { return Reader.Progress(); }

  // A value that is read and dropped, whose failure does not matter.
  void SkipBool()
  {
    bool dropped;
    (void)Reader.ReadBool(dropped);
  }

private:
  static void Need(bool ok)
  {
    if (!ok)
      throw Exception("");
  }

  BConfigLoad& Reader;
  int64_t RecordsLeft = SettingsRecordLimit;
};

// Frees a mask that never reached the list, with whatever items it has so far.
struct MaskDeleter {
  void operator()(LMaskCell* mask) const noexcept
  {
    if (TPtrList<LTypeCell>* items = mask->Items) {
      for (int i = 0; i < items->Count(); ++i)
        delete items->Get(i);
      delete items;
    }
    delete mask;
  }
};
using MaskPtr = std::unique_ptr<LMaskCell, MaskDeleter>;

// Old sequences have no German names: the English name stands in, and the dictionary
// gives both when it knows the Russian one.
void MigrateNames(BQELunit& unit, LTypeCell& cell)
{
  cell.NameDe = cell.NameEn;
  AnsiString translated;
  if (!unit.TranslateName(cell.NameRu, 0, translated).empty())
    cell.NameEn = translated;
  if (!unit.TranslateName(cell.NameRu, 1, translated).empty())
    cell.NameDe = translated;
}

void ReadNames(BQELunit& unit, SettingsInput& in, LTypeCell& cell)
{
  cell.NameRu = in.String();
  cell.NameEn = in.String();
  if (unit.SettingsVersion > 2)
    cell.NameDe = in.String();
  else
    MigrateNames(unit, cell);
}

void ReadChannels(BQELunit& unit, SettingsInput& in)
{
  std::unordered_set<int32_t> ids;
  for (int i = 0; i < unit.TypeCells->Count(); ++i)
    if (const LTypeCell* channel = unit.TypeCells->Get(i))
      ids.insert(channel->Id);
  const int32_t count = in.Count();
  for (int32_t i = 0; i < count; ++i) {
    auto channel = std::make_unique<LTypeCell>();
    channel->Id = in.Int();
    ReadNames(unit, in, *channel);
    channel->Chart = in.Bool();
    // Read whole, so the stream stays in step; a refused id never reaches the list.
    if (!IsStorableChannelId(channel->Id) || !ids.insert(channel->Id).second)
      continue;
    unit.TypeCells->Add(channel.get());
    channel.release();
  }
}

std::unique_ptr<LTypeCell> ReadItem(BQELunit& unit, SettingsInput& in)
{
  auto item = std::make_unique<LTypeCell>();
  item->Id = StorableItemId(in.Int());
  ReadNames(unit, in, *item);
  item->Factor = in.Int();
  item->Offset = in.Int();
  item->Color = StorableColor(in.Color());
  item->Chart = in.Bool();
  item->Cursor = in.Bool();
  return item;
}

MaskPtr ReadMask(BQELunit& unit, SettingsInput& in)
{
  MaskPtr mask(new LMaskCell);
  mask->Items = new TPtrList<LTypeCell>;
  mask->NameRu = in.String();
  mask->NameEn = in.String();
  // Mask names are the user's own: no dictionary for them.
  mask->NameDe = unit.SettingsVersion > 2 ? in.String() : mask->NameEn;
  mask->UnderCursor = in.Bool();
  mask->Thickness = StorableThickness(in.Int());
  mask->YBottom = in.Int();
  mask->YTop = in.Int();
  MakeYAxisStorable(*mask);
  const int32_t count = in.Count();
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<LTypeCell> item = ReadItem(unit, in);
    mask->Items->Add(item.get());
    item.release();
  }
  return mask;
}

void ReadMasks(BQELunit& unit, SettingsInput& in)
{
  const int32_t count = in.Count();
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t before = in.Progress();
    try {
      MaskPtr mask = ReadMask(unit, in);
      unit.MaskCells->Add(mask.get());
      mask.release();
    } catch (...) {
      // Skipped; the next mask is read from where the stream stands. At the end of the data,
      // or after damage of the container itself, the read ends here.
      if (in.Stuck(before))
        throw;
    }
  }
}

void ReadStatuses(BQELunit& unit, SettingsInput& in)
{
  const int32_t count = in.Count();
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t before = in.Progress();
    try {
      auto status = std::make_unique<LStatusCell>();
      auto steps = std::make_unique<TPtrList<LStatusStep>>();
      status->Name = in.String();
      unit.StatusCells->Add(status.get());
      status->Steps = steps.release();
      status.release();
    } catch (...) {
      // Skipped; the next name is read from where the stream stands (as for a mask).
      if (in.Stuck(before))
        throw;
    }
  }
}

void ReadRecentFiles(BQELunit& unit, SettingsInput& in)
{
  // The list empties as soon as its count is read, even a count the record limit refuses.
  const int32_t declared = in.Int();
  TStrings* items = unit.RecentCombo ? unit.RecentCombo->Items() : nullptr;
  if (items)
    items->Clear();
  const int32_t count = in.Charge(declared);
  for (int32_t i = 0; i < count; ++i) {
    const AnsiString name = in.String();
    if (items)
      items->Add(name);
  }
}

}  // namespace

bool BQELunit::ReadSettings(BConfigLoad& reader)
{
  // However the read ends, what it stored must be usable by the next parse.
  struct Corrected {
    BQELunit& Unit;
    ~Corrected() { Unit.CorrectOptions(); }
  } corrected{*this};
  try {
    SettingsInput in(reader);
    SettingsVersion = in.Int();
    ReadRecentFiles(*this, in);
    ReadChannels(*this, in);
    ReadMasks(*this, in);
    EditorMaskIndex = in.Int();
    ChartMaskIndex = in.Int();
    TextLinePeriod = in.Int();
    for (int32_t& seconds : ZoomSeconds)
      seconds = in.Int();
    ValueWindowOffset.x = in.Int();
    ValueWindowOffset.y = in.Int();
    EnableYZoom = in.Bool();
    FramePeriod = in.Int();
    ShowProgress = in.Bool();
    HideUnusedChannels = in.Bool();
    if (SettingsVersion < 3)
      in.SkipBool();
    if (SettingsVersion > 2)
      Language = in.Int();
    ReadStatuses(*this, in);
    OldErrorAlgorithm = in.Bool();
    LegendHeightPercent = in.Int();
    ParamChartStyle = in.Bool();
    StatusChartStyle = in.Bool();
    if (SettingsVersion == 1)
      return true;
    MultiLineStatuses = in.Bool();
    LeftColumnWidth = in.Int();
    if (SettingsVersion == 2 || SettingsVersion == 3)
      return true;
    ReadingSpeed = in.Int();
    SpeedInHz = in.Bool();
    return true;
  } catch (...) {
    return false;
  }
}
