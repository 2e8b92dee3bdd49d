#pragma once
// The settings sequence written value by value by the test's own hand (any version, apart from
// the program's writer), and what a central object remembers as rows dumped to text.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "ComboBox.h"
#include "ConfigTestSupport.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"
#include "settings/SettingsSchema.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

// The first version with German names and the language, and without the retired flag.
constexpr int32_t GermanSince = 3;

// One option of the sequence: the first version that holds it, and a value unlike the default
// that the reader's corrections leave alone.
struct OptionField {
  const char* Name;
  int32_t Since;
  bool Flag;  // stored as a boolean
  int32_t Sample;
  int32_t (*Get)(const BQELunit&);
};

#define SETTINGS_OPTION(member, since, sample)                                                                    \
  OptionField                                                                                                     \
  {                                                                                                               \
#member, since, std::is_same_v < std::remove_cvref_t < decltype(BQELunit::member)>, Byte>, sample,            \
        [](const BQELunit& u) { return static_cast<int32_t>(u.member); }                                          \
  }

// The options in the order of the sequence; the statuses follow the language.
inline const OptionField OptionFields[] = {
    SETTINGS_OPTION(EditorMaskIndex, 1, 1),      SETTINGS_OPTION(ChartMaskIndex, 1, 2),
    SETTINGS_OPTION(TextLinePeriod, 1, 11),      SETTINGS_OPTION(ZoomSeconds[0], 1, 12),
    SETTINGS_OPTION(ZoomSeconds[1], 1, 34),      SETTINGS_OPTION(ZoomSeconds[2], 1, 56),
    SETTINGS_OPTION(ZoomSeconds[3], 1, 78),      SETTINGS_OPTION(ValueWindowOffset.x, 1, -9),
    SETTINGS_OPTION(ValueWindowOffset.y, 1, 17), SETTINGS_OPTION(EnableYZoom, 1, 1),
    SETTINGS_OPTION(FramePeriod, 1, 31),         SETTINGS_OPTION(ShowProgress, 1, 0),
    SETTINGS_OPTION(HideUnusedChannels, 1, 0),   SETTINGS_OPTION(Language, GermanSince, 2),
    SETTINGS_OPTION(OldErrorAlgorithm, 1, 1),    SETTINGS_OPTION(LegendHeightPercent, 1, 44),
    SETTINGS_OPTION(ParamChartStyle, 1, 0),      SETTINGS_OPTION(StatusChartStyle, 1, 0),
    SETTINGS_OPTION(MultiLineStatuses, 2, 0),    SETTINGS_OPTION(LeftColumnWidth, 2, 321),
    SETTINGS_OPTION(ReadingSpeed, 4, 33),        SETTINGS_OPTION(SpeedInHz, 4, 0),
};
#undef SETTINGS_OPTION

// Versions 1 to 3 end early; any other version reads to the end, but holds the language, like
// the German names, only from GermanSince on.
inline bool Holds(const OptionField& field, int32_t version)
{
  return version >= field.Since || (version < 1 && field.Since != GermanSince);
}

// Option values by the table's order, named by their fields.
struct OptionRows {
  std::vector<int32_t> Values;
  OptionRows()
  {
    for (const OptionField& f : OptionFields)
      Values.push_back(f.Sample);
  }
  int32_t& operator[](std::string_view name)
  {
    size_t i = 0;
    while (i + 1 < std::size(OptionFields) && name != OptionFields[i].Name)
      ++i;
    EXPECT_EQ(name, OptionFields[i].Name);
    return Values[i];
  }
};

// Appends typed values to a writer; false writes fail the test.
class RowWriter {
public:
  explicit RowWriter(BConfigSave& save) : Save(save) {}
  RowWriter& Int(int32_t v) { return Check(Save.WriteInt(&v)); }
  RowWriter& Bool(bool v) { return Check(Save.WriteBool(&v)); }
  RowWriter& Color(TColor v) { return Check(Save.WriteColor(&v)); }
  RowWriter& Str(const AnsiString& v) { return Check(Save.WriteString(v)); }
  RowWriter& Names(const AnsiString& ru, const AnsiString& en, const AnsiString& de, int32_t version)
  {
    return version >= GermanSince ? Str(ru).Str(en).Str(de) : Str(ru).Str(en);
  }

private:
  RowWriter& Check(bool ok)
  {
    EXPECT_TRUE(ok);
    return *this;
  }
  BConfigSave& Save;
};

struct ItemRow {
  int32_t id;
  AnsiString ru, en, de;
  int32_t factor, offset;
  TColor color;
  bool chart, cursor;
};

struct MaskRow {
  AnsiString ru, en, de;
  bool underCursor;
  int32_t thickness, bottom, top;
  std::vector<ItemRow> items;
};

// A channel is an item of no mask: its factor, offset, colour and cursor flag are not stored.
struct SettingsRows {
  std::vector<AnsiString> recent;
  std::vector<ItemRow> channels;
  std::vector<MaskRow> masks;
  std::vector<AnsiString> statuses;
  OptionRows options;
  // Counts written in place of the lists' sizes, when set.
  std::optional<int32_t> recentCount, channelCount, maskCount, statusCount;
  // Called before entry i of a list ("channel 0", "mask 2", "status 1"), before the options
  // ("options") and after the statuses ("end of statuses"); it may write values of its own
  // there, and ends the sequence at that point by returning true.
  std::function<bool(RowWriter&, const std::string&)> hook;
};

inline ItemRow Channel(int32_t id, const AnsiString& ru, const AnsiString& en, const AnsiString& de, bool shown)
{
  return {id, ru, en, de, 0, 0, 0, shown, false};
}

// The settings sequence as `version` has it (the retired flag written as true).
inline void WriteRows(RowWriter& w, const SettingsRows& rows, int32_t version)
{
  auto count = [](const std::optional<int32_t>& forced, size_t size) { return forced.value_or(int32_t(size)); };
  auto at = [&](const std::string& point) { return rows.hook && rows.hook(w, point); };
  w.Int(version).Int(count(rows.recentCount, rows.recent.size()));
  for (const AnsiString& r : rows.recent)
    w.Str(r);
  w.Int(count(rows.channelCount, rows.channels.size()));
  for (size_t n = 0; n < rows.channels.size(); ++n) {
    const ItemRow& c = rows.channels[n];
    if (at("channel " + std::to_string(n)))
      return;
    w.Int(c.id).Names(c.ru, c.en, c.de, version).Bool(c.chart);
  }
  w.Int(count(rows.maskCount, rows.masks.size()));
  for (size_t n = 0; n < rows.masks.size(); ++n) {
    const MaskRow& m = rows.masks[n];
    if (at("mask " + std::to_string(n)))
      return;
    w.Names(m.ru, m.en, m.de, version).Bool(m.underCursor).Int(m.thickness).Int(m.bottom).Int(m.top);
    w.Int(int32_t(m.items.size()));
    for (const ItemRow& i : m.items)
      w.Int(i.id)
          .Names(i.ru, i.en, i.de, version)
          .Int(i.factor)
          .Int(i.offset)
          .Color(i.color)
          .Bool(i.chart)
          .Bool(i.cursor);
  }
  if (at("options"))
    return;
  for (size_t f = 0; f < std::size(OptionFields); ++f) {
    const OptionField& field = OptionFields[f];
    if (field.Since == GermanSince && version < GermanSince)
      w.Bool(true);
    if (Holds(field, version))
      field.Flag ? w.Bool(rows.options.Values[f] != 0) : w.Int(rows.options.Values[f]);
    if (std::string_view(field.Name) != "Language")
      continue;
    w.Int(count(rows.statusCount, rows.statuses.size()));
    for (size_t n = 0; n < rows.statuses.size(); ++n) {
      if (at("status " + std::to_string(n)))
        return;
      w.Str(rows.statuses[n]);
    }
    if (at("end of statuses"))
      return;
  }
}

// A whole container image written by the test's own hand.
inline std::string ContainerOf(const std::function<void(RowWriter&)>& write, const BeamMode& mode = {})
{
  return WriteContainer(mode, [&](TestSave& save) {
    RowWriter w(save);
    write(w);
  });
}

inline std::string ContainerOf(const SettingsRows& rows, int32_t version = SettingsFormatVersion)
{
  return ContainerOf([&](RowWriter& w) { WriteRows(w, rows, version); });
}

// What a central object remembers, as rows (German names as stored).
inline SettingsRows RowsOf(const BQELunit& u)
{
  SettingsRows r;
  auto item = [](const LTypeCell& c) {
    return ItemRow{c.Id, c.NameRu, c.NameEn, c.NameDe, c.Factor, c.Offset, c.Color, c.Chart != 0, c.Cursor != 0};
  };
  for (int i = 0; i < u.RecentCombo->Items()->Count(); ++i)
    r.recent.push_back(u.RecentCombo->Items()->Get(i));
  for (int i = 0; i < u.TypeCells->Count(); ++i) {
    const LTypeCell& c = *u.TypeCells->Get(i);
    r.channels.push_back(Channel(c.Id, c.NameRu, c.NameEn, c.NameDe, c.Chart != 0));
  }
  for (int i = 0; i < u.MaskCells->Count(); ++i) {
    const LMaskCell& m = *u.MaskCells->Get(i);
    r.masks.push_back({m.NameRu, m.NameEn, m.NameDe, m.UnderCursor != 0, m.Thickness, m.YBottom, m.YTop, {}});
    for (int k = 0; k < m.Items->Count(); ++k)
      r.masks.back().items.push_back(item(*m.Items->Get(k)));
  }
  for (int i = 0; i < u.StatusCells->Count(); ++i)
    r.statuses.push_back(u.StatusCells->Get(i)->Name);
  for (size_t f = 0; f < std::size(OptionFields); ++f)
    r.options.Values[f] = OptionFields[f].Get(u);
  return r;
}

// Rows as text, one record or option a line, so that a difference shows where it is.
inline std::string Dump(const SettingsRows& r)
{
  std::string s;
  auto item = [](const ItemRow& i) {
    return std::to_string(i.id) + "|" + i.ru + "|" + i.en + "|" + i.de + "|" + std::to_string(i.factor) + "|" +
           std::to_string(i.offset) + "|" + std::to_string(i.color) + "|" + std::to_string(i.chart) +
           std::to_string(i.cursor) + "\n";
  };
  for (const AnsiString& x : r.recent)
    s += "recent=" + x + "\n";
  for (const ItemRow& c : r.channels)
    s += "channel=" + item(c);
  for (const MaskRow& m : r.masks) {
    s += "mask=" + m.ru + "|" + m.en + "|" + m.de + "|" + std::to_string(m.underCursor) + "|" +
         std::to_string(m.thickness) + "|" + std::to_string(m.bottom) + "|" + std::to_string(m.top) + "\n";
    for (const ItemRow& i : m.items)
      s += " item=" + item(i);
  }
  for (const AnsiString& x : r.statuses)
    s += "status=" + x + "\n";
  for (size_t f = 0; f < std::size(OptionFields); ++f)
    s += std::string(OptionFields[f].Name) + "=" + std::to_string(r.options.Values[f]) + "\n";
  return s;
}

inline std::string DumpSettings(const BQELunit& u)
{
  return Dump(RowsOf(u));
}

// Makes a central object hold the rows, through the settings reader from memory.
inline void PutRows(BQELunit& u, const SettingsRows& rows)
{
  u.ClearTypeCells();
  u.ClearMaskCells();
  u.ClearStatusCells();
  BConfigLoadMem load;
  SetBytes(load, ContainerOf(rows));
  ASSERT_TRUE(u.ReadSettings(load));
  ASSERT_EQ(DumpSettings(u), Dump(rows));
}

// A state with something in every row: long and empty strings, negative numbers, all flags,
// Cyrillic and Western bytes as the records hold them.
inline SettingsRows RichRows()
{
  const AnsiString coolant = "K\xFChlmitteltemperatur [\xB0"
                             "C]";
  SettingsRows r;
  r.recent = {"/logs/one.qel", "", std::string(300, 'p') + ".txt"};
  r.channels = {Channel(2, "\xCE\xE1\xEE\xF0\xEE\xF2\xFB", "RPM", "Drehzahl", true),
                Channel(5, "A", "B", coolant, false), Channel(9, "", "", "", true)};
  const TColor system = static_cast<TColor>(0x80000008);
  r.masks = {{"\xCC\xE0\xF1\xEA\xE0",
              "Mask",
              "Maske",
              false,
              3,
              -100,
              2500,
              {{5, "A", "B", coolant, -7, 1000, 0x00FF8040, true, false},
               {StatusItemId, "IDLE", "IDLE", "IDLE", 1, -3000, system, false, true},
               {NoChannelId, "C", "D", "E", 100, 0, 0x000000, true, true}}},
             {"Empty", "Empty", "Leer", true, 5, 0, 1, {}}};
  r.statuses = {"IDLE", "Drive", "A/C"};
  return r;
}

// A central object, and a folder for the files it reads and writes.
class SettingsTest : public ::testing::Test {
protected:
  bool Load(const SettingsRows& rows) { return LoadBytes(ContainerOf(rows)); }
  bool LoadBytes(const std::string& bytes) { return unit.LoadSettingsFile(folder.Write("in.ini", bytes)); }

  ScratchFolder folder;
  BQELunit unit;
};
