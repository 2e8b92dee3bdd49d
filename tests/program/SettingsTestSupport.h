#pragma once
// Shared by the settings tests: the settings sequence written value by value by the test's own
// hand (any version, independently of the program's writer), and what a central object
// remembers as rows, dumped to text so that two states compare with a readable difference.
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

// One option of the sequence: its field, the first version that holds it, and a value unlike
// the default that the reader's corrections leave alone.
struct OptionField {
  const char* Name;
  int32_t Since;
  bool Flag;  // stored as a boolean
  int32_t Sample;
  int32_t (*Get)(const BQELunit&);
  void (*Set)(BQELunit&, int32_t);
};

#define SETTINGS_OPTION(member, since, sample)                                                                    \
  OptionField                                                                                                     \
  {                                                                                                               \
#member, since,                                                                           \
              std::is_same_v<std::remove_cvref_t<decltype(std::declval<BQELunit&>().member)>, Byte>,    \
              sample, [](const BQELunit& u) { return static_cast<int32_t>(u.member); },                 \
              [](BQELunit& u, int32_t v) { u.member = static_cast<std::remove_cvref_t<decltype(u.member)>>(v); }                       \
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
    for (size_t i = 0; i < std::size(OptionFields); ++i)
      if (name == OptionFields[i].Name)
        return Values[i];
    ADD_FAILURE() << "no option " << name;
    return Values[0];
  }
};

class RowWriter;

struct ChannelRow {
  int32_t id;
  AnsiString ru, en, de;
  bool shown;
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

struct SettingsRows {
  std::vector<AnsiString> recent;
  std::vector<ChannelRow> channels;
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

// Appends typed values to a writer; false writes fail the test.
class RowWriter {
public:
  explicit RowWriter(BConfigSave& save) : Save(save) {}
  RowWriter& Int(int32_t v)
  {
    EXPECT_TRUE(Save.WriteInt(&v));
    return *this;
  }
  RowWriter& Bool(bool v)
  {
    EXPECT_TRUE(Save.WriteBool(&v));
    return *this;
  }
  RowWriter& Color(TColor v)
  {
    EXPECT_TRUE(Save.WriteColor(&v));
    return *this;
  }
  RowWriter& Str(const AnsiString& v)
  {
    EXPECT_TRUE(Save.WriteString(v));
    return *this;
  }
  RowWriter& Names(const AnsiString& ru, const AnsiString& en, const AnsiString& de, int32_t version)
  {
    Str(ru).Str(en);
    return version >= GermanSince ? Str(de) : *this;
  }

private:
  BConfigSave& Save;
};

// The settings sequence as `version` has it (the retired flag written as `retired`).
inline void WriteRows(RowWriter& w, const SettingsRows& rows, int32_t version, bool retired = true)
{
  auto count = [](const std::optional<int32_t>& forced, size_t size) {
    return forced ? *forced : static_cast<int32_t>(size);
  };
  auto at = [&](const std::string& point, size_t i = SIZE_MAX) {
    return rows.hook && rows.hook(w, point + (i == SIZE_MAX ? "" : " " + std::to_string(i)));
  };
  w.Int(version).Int(count(rows.recentCount, rows.recent.size()));
  for (const AnsiString& r : rows.recent)
    w.Str(r);
  w.Int(count(rows.channelCount, rows.channels.size()));
  for (size_t n = 0; n < rows.channels.size(); ++n) {
    if (at("channel", n))
      return;
    const ChannelRow& c = rows.channels[n];
    w.Int(c.id).Names(c.ru, c.en, c.de, version).Bool(c.shown);
  }
  w.Int(count(rows.maskCount, rows.masks.size()));
  for (size_t n = 0; n < rows.masks.size(); ++n) {
    if (at("mask", n))
      return;
    const MaskRow& m = rows.masks[n];
    w.Names(m.ru, m.en, m.de, version).Bool(m.underCursor).Int(m.thickness).Int(m.bottom).Int(m.top);
    w.Int(static_cast<int32_t>(m.items.size()));
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
      w.Bool(retired);
    if (Holds(field, version))
      field.Flag ? w.Bool(rows.options.Values[f] != 0) : w.Int(rows.options.Values[f]);
    if (std::string_view(field.Name) != "Language")
      continue;
    w.Int(count(rows.statusCount, rows.statuses.size()));
    for (size_t n = 0; n < rows.statuses.size(); ++n) {
      if (at("status", n))
        return;
      w.Str(rows.statuses[n]);
    }
    if (at("end of statuses"))
      return;
  }
}

// A whole container image written by the test's own hand.
inline std::string ContainerOf(const std::function<void(RowWriter&)>& write)
{
  return WriteContainer(BeamMode{}, [&](TestSave& save) {
    RowWriter w(save);
    write(w);
  });
}

inline std::string ContainerOf(const SettingsRows& rows, int32_t version)
{
  return ContainerOf([&](RowWriter& w) { WriteRows(w, rows, version); });
}

// What a central object remembers, as rows (German names as stored).
inline SettingsRows RowsOf(const BQELunit& u)
{
  SettingsRows r;
  const TStrings* recent = u.RecentCombo->Items();
  for (int i = 0; i < recent->Count(); ++i)
    r.recent.push_back(recent->Get(i));
  for (int i = 0; i < u.TypeCells->Count(); ++i) {
    const LTypeCell& c = *u.TypeCells->Get(i);
    r.channels.push_back({c.Id, c.NameRu, c.NameEn, c.NameDe, c.Chart != 0});
  }
  for (int i = 0; i < u.MaskCells->Count(); ++i) {
    const LMaskCell& m = *u.MaskCells->Get(i);
    MaskRow& row = r.masks.emplace_back(
        MaskRow{m.NameRu, m.NameEn, m.NameDe, m.UnderCursor != 0, m.Thickness, m.YBottom, m.YTop, {}});
    for (int k = 0; k < m.Items->Count(); ++k) {
      const LTypeCell& it = *m.Items->Get(k);
      row.items.push_back(
          {it.Id, it.NameRu, it.NameEn, it.NameDe, it.Factor, it.Offset, it.Color, it.Chart != 0, it.Cursor != 0});
    }
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
  auto add = [&](const std::string& name, const std::string& value) { s += name + "=" + value + "\n"; };
  auto num = [](long long v) { return std::to_string(v) + "|"; };
  for (const AnsiString& x : r.recent)
    add("recent", x);
  for (const ChannelRow& c : r.channels)
    add("channel", num(c.id) + c.ru + "|" + c.en + "|" + c.de + "|" + num(c.shown));
  for (const MaskRow& m : r.masks) {
    add("mask",
        m.ru + "|" + m.en + "|" + m.de + "|" + num(m.underCursor) + num(m.thickness) + num(m.bottom) + num(m.top));
    for (const ItemRow& i : m.items)
      add(" item", num(i.id) + i.ru + "|" + i.en + "|" + i.de + "|" + num(i.factor) + num(i.offset) +
                       num(i.color) + num(i.chart) + num(i.cursor));
  }
  for (const AnsiString& x : r.statuses)
    add("status", x);
  for (size_t f = 0; f < std::size(OptionFields); ++f)
    add(OptionFields[f].Name, std::to_string(r.options.Values[f]));
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
  SetBytes(load, ContainerOf(rows, SettingsFormatVersion));
  ASSERT_TRUE(u.ReadSettings(load));
  ASSERT_EQ(DumpSettings(u), Dump(rows));
}

// Cyrillic and Western bytes as the records hold them.
inline const AnsiString RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";
inline const AnsiString CoolantDe = "K\xFChlmitteltemperatur [\xB0"
                                    "C]";

// A state with something in every row: long and empty strings, negative numbers, all flags.
inline SettingsRows RichRows()
{
  SettingsRows r;
  r.recent = {"/logs/one.qel", "", std::string(300, 'p') + ".txt"};
  r.channels = {{2, RpmRu, "RPM", "Drehzahl", true}, {5, "A", "B", CoolantDe, false}, {9, "", "", "", true}};
  r.masks = {{"\xCC\xE0\xF1\xEA\xE0",
              "Mask",
              "Maske",
              false,
              3,
              -100,
              2500,
              {{5, "A", "B", CoolantDe, -7, 1000, 0x00FF8040, true, false},
               {StatusItemId, "IDLE", "IDLE", "IDLE", 1, -3000, static_cast<TColor>(0x80000008), false, true},
               {NoChannelId, "C", "D", "E", 100, 0, 0x000000, true, true}}},
             {"Empty", "Empty", "Leer", true, 5, 0, 1, {}}};
  r.statuses = {"IDLE", "Drive", "A/C"};
  return r;
}
