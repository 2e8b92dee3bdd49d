// BQELunit::SaveSettingsFile: the version-4 settings sequence from the lists, the recent
// files and the option fields. The file is replaced only when every value reached the disk;
// any failure leaves the previous file as it was.
#include "ComboBox.h"
#include "Exceptions.h"
#include "app/Qelunit.h"
#include "settings/ConfigSaveFile.h"
#include "settings/SettingsSchema.h"

namespace {

// The typed writes, each raising when a value was not accepted.
class SettingsOutput {
public:
  explicit SettingsOutput(BConfigSave& writer) : Writer(writer) {}

  void Int(int32_t value) { Need(Writer.WriteInt(&value)); }
  void Bool(Byte value)
  {
    const bool flag = value != 0;
    Need(Writer.WriteBool(&flag));
  }
  void Color(TColor value) { Need(Writer.WriteColor(&value)); }
  void String(const AnsiString& value) { Need(Writer.WriteString(value)); }

private:
  static void Need(bool ok)
  {
    if (!ok)
      throw Exception("");
  }

  BConfigSave& Writer;
};

// Null entries are not records: the count says how many entries follow.
template <class T>
int32_t RecordCount(const TPtrList<T>* list)
{
  int32_t count = 0;
  for (int i = 0; list && i < list->Count(); ++i)
    count += list->Get(i) != nullptr;
  return count;
}

void WriteNames(SettingsOutput& out, const LTypeCell& cell)
{
  out.String(cell.NameRu);
  out.String(cell.NameEn);
  out.String(cell.NameDe);
}

void WriteMask(SettingsOutput& out, const LMaskCell& mask)
{
  out.String(mask.NameRu);
  out.String(mask.NameEn);
  out.String(mask.NameDe);
  out.Bool(mask.UnderCursor);
  out.Int(mask.Thickness);
  out.Int(mask.YBottom);
  out.Int(mask.YTop);
  out.Int(RecordCount(mask.Items));
  for (int i = 0; mask.Items && i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (!item)
      continue;
    out.Int(item->Id);
    WriteNames(out, *item);
    out.Int(item->Factor);
    out.Int(item->Offset);
    out.Color(item->Color);
    out.Bool(item->Chart);
    out.Bool(item->Cursor);
  }
}

}  // namespace

bool BQELunit::SaveSettingsFile(const AnsiString& path)
{
  try {
    BConfigSaveFile file(path);
    SettingsOutput out(file);
    out.Int(SettingsFormatVersion);

    const TStrings* recent = RecentCombo ? RecentCombo->Items() : nullptr;
    out.Int(recent ? recent->Count() : 0);
    for (int i = 0; recent && i < recent->Count(); ++i)
      out.String(recent->Get(i));

    out.Int(RecordCount(TypeCells));
    for (int i = 0; TypeCells && i < TypeCells->Count(); ++i) {
      if (const LTypeCell* channel = TypeCells->Get(i)) {
        out.Int(channel->Id);
        WriteNames(out, *channel);
        out.Bool(channel->Chart);
      }
    }

    out.Int(RecordCount(MaskCells));
    for (int i = 0; MaskCells && i < MaskCells->Count(); ++i)
      if (const LMaskCell* mask = MaskCells->Get(i))
        WriteMask(out, *mask);

    out.Int(EditorMaskIndex);
    out.Int(ChartMaskIndex);
    out.Int(TextLinePeriod);
    for (const int32_t seconds : ZoomSeconds)
      out.Int(seconds);
    out.Int(ValueWindowOffset.x);
    out.Int(ValueWindowOffset.y);
    out.Bool(EnableYZoom);
    out.Int(FramePeriod);
    out.Bool(ShowProgress);
    out.Bool(HideUnusedChannels);
    out.Int(Language);

    out.Int(RecordCount(StatusCells));
    for (int i = 0; StatusCells && i < StatusCells->Count(); ++i)
      if (const LStatusCell* status = StatusCells->Get(i))
        out.String(status->Name);

    out.Bool(OldErrorAlgorithm);
    out.Int(LegendHeightPercent);
    out.Bool(ParamChartStyle);
    out.Bool(StatusChartStyle);
    out.Bool(MultiLineStatuses);
    out.Int(LeftColumnWidth);
    out.Int(ReadingSpeed);
    out.Bool(SpeedInHz);
    return file.Commit();
  } catch (...) {
    return false;
  }
}
