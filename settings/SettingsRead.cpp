// BQELunit::ReadSettings: the settings sequence from a container reader into the lists, the
// recent files and the option fields. A failed mask or status record is skipped and reading
// goes on; any other failure, or a damaged container anywhere, ends the read with false,
// keeping what was stored before it. The options stored are brought into their bounds.
#include <memory>
#include <unordered_set>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "settings/ConfigLoad.h"
#include "settings/SettingsSchema.h"

namespace {

// The typed reads. The first failure (a short read, a wrong tag, a refused count) sticks: every
// read after it reads nothing and gives nothing, as if the read had stopped there, until a
// skipped record clears it. No exception: a damaged file can fail a record on every read, and
// the reads of each record after it would each unwind the stack.
class SettingsInput {
public:
  explicit SettingsInput(BConfigLoad& reader) : Reader(reader) {}

  bool Ok() const { return Good; }
  // The failed record is left behind; the next one is read from where the stream stands.
  void SkipFailedRecord() { Good = true; }

  int32_t Int()
  {
    int32_t value = 0;
    IntInto(value);
    return value;
  }
  Byte Bool()
  {
    Byte value = 0;
    BoolInto(value);
    return value;
  }
  TColor Color()
  {
    TColor value = 0;
    if (Good)
      Need(Reader.ReadColor(value));
    return value;
  }
  AnsiString String()
  {
    AnsiString value;
    if (Good)
      Need(Reader.ReadString(value));
    return value;
  }
  // Into a field that keeps its value when the read fails.
  bool IntInto(int32_t& field)
  {
    int value = 0;
    if (Good && Need(Reader.ReadInt(value)))
      field = value;
    return Good;
  }
  bool BoolInto(Byte& field)
  {
    bool value = false;
    if (Good && Need(Reader.ReadBool(value)))
      field = value ? 1 : 0;
    return Good;
  }
  // A list's count; zero or less reads no entries. Charged to the records the whole read
  // may declare, so a hostile count fails here instead of looping or allocating.
  int32_t Count() { return Charge(Int()); }
  int32_t Charge(int32_t count)
  {
    if (!Good || count <= 0)
      return 0;
    if (!Need(count <= RecordsLeft))
      return 0;
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
    if (Good)
      (void)Reader.ReadBool(dropped);
  }

private:
  bool Need(bool ok)
  {
    Good = Good && ok;
    return Good;
  }

  BConfigLoad& Reader;
  int64_t RecordsLeft = SettingsRecordLimit;
  bool Good = true;
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
    if (!in.Ok())
      return;
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
    if (!in.Ok())
      break;
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
    MaskPtr mask = ReadMask(unit, in);
    if (in.Ok()) {
      unit.MaskCells->Add(mask.get());
      mask.release();
      continue;
    }
    // Skipped; the next mask is read from where the stream stands. At the end of the data,
    // or after damage of the container itself, the failure stands and the read ends.
    if (in.Stuck(before))
      return;
    in.SkipFailedRecord();
  }
}

void ReadStatuses(BQELunit& unit, SettingsInput& in)
{
  const int32_t count = in.Count();
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t before = in.Progress();
    AnsiString name = in.String();
    if (in.Ok()) {
      auto status = std::make_unique<LStatusCell>();
      auto steps = std::make_unique<TPtrList<LStatusStep>>();
      status->Name = std::move(name);
      unit.StatusCells->Add(status.get());
      status->Steps = steps.release();
      status.release();
      continue;
    }
    // Skipped; the next name is read from where the stream stands (as for a mask).
    if (in.Stuck(before))
      return;
    in.SkipFailedRecord();
  }
}

void ReadRecentFiles(BQELunit& unit, SettingsInput& in)
{
  // The list empties as soon as its count is read, even a count the record limit refuses.
  int32_t declared = 0;
  if (!in.IntInto(declared))
    return;
  TStrings* items = unit.RecentCombo ? unit.RecentCombo->Items() : nullptr;
  if (items)
    items->Clear();
  const int32_t count = in.Charge(declared);
  for (int32_t i = 0; i < count; ++i) {
    const AnsiString name = in.String();
    if (!in.Ok())
      return;
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
  // After a failure every read below reads nothing and changes nothing.
  try {
    SettingsInput in(reader);
    in.IntInto(SettingsVersion);
    ReadRecentFiles(*this, in);
    ReadChannels(*this, in);
    ReadMasks(*this, in);
    in.IntInto(EditorMaskIndex);
    in.IntInto(ChartMaskIndex);
    in.IntInto(TextLinePeriod);
    for (int32_t& seconds : ZoomSeconds)
      in.IntInto(seconds);
    in.IntInto(ValueWindowOffset.x);
    in.IntInto(ValueWindowOffset.y);
    in.BoolInto(EnableYZoom);
    in.IntInto(FramePeriod);
    in.BoolInto(ShowProgress);
    in.BoolInto(HideUnusedChannels);
    if (SettingsVersion < 3)
      in.SkipBool();
    if (SettingsVersion > 2)
      in.IntInto(Language);
    ReadStatuses(*this, in);
    in.BoolInto(OldErrorAlgorithm);
    in.IntInto(LegendHeightPercent);
    in.BoolInto(ParamChartStyle);
    in.BoolInto(StatusChartStyle);
    if (SettingsVersion == 1)
      return in.Ok();
    in.BoolInto(MultiLineStatuses);
    in.IntInto(LeftColumnWidth);
    if (SettingsVersion == 2 || SettingsVersion == 3)
      return in.Ok();
    in.IntInto(ReadingSpeed);
    in.BoolInto(SpeedInHz);
    return in.Ok();
  } catch (...) {
    // Only an allocation that failed gets here.
    return false;
  }
}
