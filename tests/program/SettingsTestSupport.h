#pragma once
// Shared by the settings schema tests: the settings sequence written value by value by hand
// (any version, independently of the program's writer), and the whole remembered state of a
// central object as text, so that two states compare with a readable difference.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "ConfigTestSupport.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"
#include "settings/SettingsSchema.h"

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

// The option values of the sequence, by their fields' names.
struct OptionRows {
  int32_t EditorMaskIndex = 1, ChartMaskIndex = 2, TextLinePeriod = 11;
  int32_t ZoomSeconds[4] = {12, 34, 56, 78};
  int32_t ValueWindowX = -9, ValueWindowY = 17;
  bool EnableYZoom = true;
  int32_t FramePeriod = 31;
  bool ShowProgress = false, HideUnusedChannels = false;
  int32_t Language = 2;
  bool OldErrorAlgorithm = true;
  int32_t LegendHeightPercent = 44;
  bool ParamChartStyle = false, StatusChartStyle = false, MultiLineStatuses = false;
  int32_t LeftColumnWidth = 321, ReadingSpeed = 33;
  bool SpeedInHz = false;
};

struct SettingsRows {
  std::vector<AnsiString> recent;
  std::vector<ChannelRow> channels;
  std::vector<MaskRow> masks;
  std::vector<AnsiString> statuses;
  OptionRows options;
  // Counts written in place of the lists' sizes, when set.
  std::optional<int32_t> recentCount, channelCount, maskCount, statusCount;
  // Called before entry i of a list ("channel 0", "mask 2", "status 1") and before the
  // options ("options"); it may write values of its own there, and ends the sequence at
  // that point by returning true.
  std::function<bool(RowWriter&, const std::string&)> hook;
};

// Appends typed values to a writer; false writes fail the test.
class RowWriter {
public:
  explicit RowWriter(BConfigSave& save) : Save(save) {}
  RowWriter& Int(int32_t v) { EXPECT_TRUE(Save.WriteInt(&v)); return *this; }
  RowWriter& Bool(bool v) { EXPECT_TRUE(Save.WriteBool(&v)); return *this; }
  RowWriter& Color(TColor v) { EXPECT_TRUE(Save.WriteColor(&v)); return *this; }
  RowWriter& Str(const AnsiString& v) { EXPECT_TRUE(Save.WriteString(v)); return *this; }

private:
  BConfigSave& Save;
};

// The settings sequence as `version` has it: German names and the language above 2, the
// retired flag (`retired`) below 3; version 1 ends after the curve styles, versions 2 and 3
// after the left column width, every other one after the speed unit.
inline void WriteRows(RowWriter& w, const SettingsRows& rows, int32_t version, bool retired = true)
{
  const bool german = version > 2;
  auto count = [](const std::optional<int32_t>& forced, size_t size) {
    return forced ? *forced : static_cast<int32_t>(size);
  };
  auto at = [&](const std::string& point, size_t i) {
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
    w.Int(c.id).Str(c.ru).Str(c.en);
    if (german)
      w.Str(c.de);
    w.Bool(c.shown);
  }
  w.Int(count(rows.maskCount, rows.masks.size()));
  for (size_t n = 0; n < rows.masks.size(); ++n) {
    if (at("mask", n))
      return;
    const MaskRow& m = rows.masks[n];
    w.Str(m.ru).Str(m.en);
    if (german)
      w.Str(m.de);
    w.Bool(m.underCursor).Int(m.thickness).Int(m.bottom).Int(m.top).Int(static_cast<int32_t>(m.items.size()));
    for (const ItemRow& i : m.items) {
      w.Int(i.id).Str(i.ru).Str(i.en);
      if (german)
        w.Str(i.de);
      w.Int(i.factor).Int(i.offset).Color(i.color).Bool(i.chart).Bool(i.cursor);
    }
  }
  if (at("options", SIZE_MAX))
    return;
  const OptionRows& o = rows.options;
  w.Int(o.EditorMaskIndex).Int(o.ChartMaskIndex).Int(o.TextLinePeriod);
  for (int32_t z : o.ZoomSeconds)
    w.Int(z);
  w.Int(o.ValueWindowX).Int(o.ValueWindowY).Bool(o.EnableYZoom).Int(o.FramePeriod).Bool(o.ShowProgress);
  w.Bool(o.HideUnusedChannels);
  if (version < 3)
    w.Bool(retired);
  if (german)
    w.Int(o.Language);
  w.Int(count(rows.statusCount, rows.statuses.size()));
  for (size_t n = 0; n < rows.statuses.size(); ++n) {
    if (at("status", n))
      return;
    w.Str(rows.statuses[n]);
  }
  if (at("end of statuses", SIZE_MAX))
    return;
  w.Bool(o.OldErrorAlgorithm).Int(o.LegendHeightPercent).Bool(o.ParamChartStyle).Bool(o.StatusChartStyle);
  if (version == 1)
    return;
  w.Bool(o.MultiLineStatuses).Int(o.LeftColumnWidth);
  if (version == 2 || version == 3)
    return;
  w.Int(o.ReadingSpeed).Bool(o.SpeedInHz);
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
    MaskRow row{m.NameRu, m.NameEn, m.NameDe, m.UnderCursor != 0, m.Thickness, m.YBottom, m.YTop, {}};
    for (int k = 0; k < m.Items->Count(); ++k) {
      const LTypeCell& it = *m.Items->Get(k);
      row.items.push_back({it.Id, it.NameRu, it.NameEn, it.NameDe, it.Factor, it.Offset, it.Color, it.Chart != 0,
                           it.Cursor != 0});
    }
    r.masks.push_back(row);
  }
  for (int i = 0; i < u.StatusCells->Count(); ++i)
    r.statuses.push_back(u.StatusCells->Get(i)->Name);
  OptionRows& o = r.options;
  o.EditorMaskIndex = u.EditorMaskIndex;
  o.ChartMaskIndex = u.ChartMaskIndex;
  o.TextLinePeriod = u.TextLinePeriod;
  for (int z = 0; z < 4; ++z)
    o.ZoomSeconds[z] = u.ZoomSeconds[z];
  o.ValueWindowX = u.ValueWindowOffset.x;
  o.ValueWindowY = u.ValueWindowOffset.y;
  o.EnableYZoom = u.EnableYZoom;
  o.FramePeriod = u.FramePeriod;
  o.ShowProgress = u.ShowProgress;
  o.HideUnusedChannels = u.HideUnusedChannels;
  o.Language = u.Language;
  o.OldErrorAlgorithm = u.OldErrorAlgorithm;
  o.LegendHeightPercent = u.LegendHeightPercent;
  o.ParamChartStyle = u.ParamChartStyle;
  o.StatusChartStyle = u.StatusChartStyle;
  o.MultiLineStatuses = u.MultiLineStatuses;
  o.LeftColumnWidth = u.LeftColumnWidth;
  o.ReadingSpeed = u.ReadingSpeed;
  o.SpeedInHz = u.SpeedInHz;
  return r;
}

// Rows as text, one value a line, so that a difference shows where it is.
inline std::string Dump(const SettingsRows& r)
{
  std::string s;
  auto add = [&](const std::string& name, const std::string& value) { s += name + "=" + value + "\n"; };
  auto num = [](long long v) { return std::to_string(v); };
  for (const AnsiString& x : r.recent)
    add("recent", x);
  for (const ChannelRow& c : r.channels)
    add("channel", num(c.id) + "|" + c.ru + "|" + c.en + "|" + c.de + "|" + num(c.shown));
  for (const MaskRow& m : r.masks) {
    add("mask", m.ru + "|" + m.en + "|" + m.de + "|" + num(m.underCursor) + "|" + num(m.thickness) + "|" +
                    num(m.bottom) + "|" + num(m.top));
    for (const ItemRow& i : m.items)
      add(" item", num(i.id) + "|" + i.ru + "|" + i.en + "|" + i.de + "|" + num(i.factor) + "|" + num(i.offset) +
                       "|" + num(i.color) + "|" + num(i.chart) + "|" + num(i.cursor));
  }
  for (const AnsiString& x : r.statuses)
    add("status", x);
  const OptionRows& o = r.options;
  add("EditorMaskIndex", num(o.EditorMaskIndex));
  add("ChartMaskIndex", num(o.ChartMaskIndex));
  add("TextLinePeriod", num(o.TextLinePeriod));
  for (int32_t z : o.ZoomSeconds)
    add("ZoomSeconds", num(z));
  add("ValueWindowOffset", num(o.ValueWindowX) + "," + num(o.ValueWindowY));
  add("EnableYZoom", num(o.EnableYZoom));
  add("FramePeriod", num(o.FramePeriod));
  add("ShowProgress", num(o.ShowProgress));
  add("HideUnusedChannels", num(o.HideUnusedChannels));
  add("Language", num(o.Language));
  add("OldErrorAlgorithm", num(o.OldErrorAlgorithm));
  add("LegendHeightPercent", num(o.LegendHeightPercent));
  add("ParamChartStyle", num(o.ParamChartStyle));
  add("StatusChartStyle", num(o.StatusChartStyle));
  add("MultiLineStatuses", num(o.MultiLineStatuses));
  add("LeftColumnWidth", num(o.LeftColumnWidth));
  add("ReadingSpeed", num(o.ReadingSpeed));
  add("SpeedInHz", num(o.SpeedInHz));
  return s;
}

inline std::string DumpSettings(const BQELunit& u) { return Dump(RowsOf(u)); }

// Makes a central object hold the rows (through the settings reader's own way in: the lists
// emptied, then filled record by record).
inline void PutRows(BQELunit& u, const SettingsRows& rows)
{
  u.ClearTypeCells();
  u.ClearMaskCells();
  u.ClearStatusCells();
  u.RecentCombo->Items()->Clear();
  for (const AnsiString& x : rows.recent)
    u.RecentCombo->Items()->Add(x);
  for (const ChannelRow& c : rows.channels) {
    auto* cell = new LTypeCell;
    cell->Id = c.id;
    cell->NameRu = c.ru;
    cell->NameEn = c.en;
    cell->NameDe = c.de;
    cell->Chart = c.shown;
    u.TypeCells->Add(cell);
  }
  for (const MaskRow& m : rows.masks) {
    auto* mask = new LMaskCell;
    mask->Items = new TPtrList<LTypeCell>;
    u.MaskCells->Add(mask);
    mask->NameRu = m.ru;
    mask->NameEn = m.en;
    mask->NameDe = m.de;
    mask->UnderCursor = m.underCursor;
    mask->Thickness = m.thickness;
    mask->YBottom = m.bottom;
    mask->YTop = m.top;
    for (const ItemRow& i : m.items) {
      auto* item = new LTypeCell;
      item->Id = i.id;
      item->NameRu = i.ru;
      item->NameEn = i.en;
      item->NameDe = i.de;
      item->Factor = i.factor;
      item->Offset = i.offset;
      item->Color = i.color;
      item->Chart = i.chart;
      item->Cursor = i.cursor;
      mask->Items->Add(item);
    }
  }
  for (const AnsiString& x : rows.statuses) {
    auto* status = new LStatusCell;
    status->Steps = new TPtrList<LStatusStep>;
    status->Name = x;
    u.StatusCells->Add(status);
  }
  const OptionRows& o = rows.options;
  u.EditorMaskIndex = o.EditorMaskIndex;
  u.ChartMaskIndex = o.ChartMaskIndex;
  u.TextLinePeriod = o.TextLinePeriod;
  for (int z = 0; z < 4; ++z)
    u.ZoomSeconds[z] = o.ZoomSeconds[z];
  u.ValueWindowOffset = {o.ValueWindowX, o.ValueWindowY};
  u.EnableYZoom = o.EnableYZoom;
  u.FramePeriod = o.FramePeriod;
  u.ShowProgress = o.ShowProgress;
  u.HideUnusedChannels = o.HideUnusedChannels;
  u.Language = o.Language;
  u.OldErrorAlgorithm = o.OldErrorAlgorithm;
  u.LegendHeightPercent = o.LegendHeightPercent;
  u.ParamChartStyle = o.ParamChartStyle;
  u.StatusChartStyle = o.StatusChartStyle;
  u.MultiLineStatuses = o.MultiLineStatuses;
  u.LeftColumnWidth = o.LeftColumnWidth;
  u.ReadingSpeed = o.ReadingSpeed;
  u.SpeedInHz = o.SpeedInHz;
}

// Cyrillic and Western bytes as the records hold them.
inline const AnsiString RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";
inline const AnsiString CoolantDe = "K\xFChlmitteltemperatur [\xB0""C]";

// A state with something in every row: long and empty strings, negative numbers, all flags.
inline SettingsRows RichRows()
{
  SettingsRows r;
  r.recent = {"/logs/one.qel", "", std::string(300, 'p') + ".txt"};
  r.channels = {{2, RpmRu, "RPM", "Drehzahl", true}, {5, "A", "B", CoolantDe, false}, {9, "", "", "", true}};
  r.masks = {{"\xCC\xE0\xF1\xEA\xE0", "Mask", "Maske", false, 3, -100, 2500,
              {{5, "A", "B", CoolantDe, -7, 1000, 0x00FF8040, true, false},
               {StatusItemId, "IDLE", "IDLE", "IDLE", 1, -3000, static_cast<TColor>(0x80000008), false, true},
               {NoChannelId, "C", "D", "E", 100, 0, 0x000000, true, true}}},
             {"Empty", "Empty", "Leer", true, 5, 0, 1, {}}};
  r.statuses = {"IDLE", "Drive", "A/C"};
  return r;
}
