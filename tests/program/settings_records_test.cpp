// Reading settings: every version's sequence, and settings that are damaged or hold values the
// program cannot use (a failed mask or status record is skipped, any other failure ends the read,
// hostile counts end it at once, unusable ids, pen widths, axes and colours are refused or
// corrected).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <tuple>

#include "program/SettingsTestSupport.h"

namespace {

using SettingsRecords = SettingsTest;
using SettingsSchema = SettingsTest;
class OldVersions : public SettingsTest, public ::testing::WithParamInterface<int32_t> {};

MaskRow SmallMask(const AnsiString& name)
{
  return {name, name + "En", name + "De", true, 2, 0, 100, {{7, name, name, name, 1, 0, 0xFF, true, false}}};
}

// A boolean where a string belongs is taken as a string kind and a failed length: it fails the
// record and consumes exactly its own two bytes, so the next record is read in step. A failed
// status or item drops its record; a failed channel, or data that ends, ends the read.
TEST_F(SettingsRecords, FailedRecordsAreSkippedOrEndTheRead)
{
  const struct {
    const char* at;
    std::function<void(RowWriter&)> write;
    bool ends, loads;
    size_t channels, masks, statuses;  // of RichRows, kept
  } cases[] = {
      {"status 1", [](RowWriter& w) { w.Bool(true); }, false, true, 3, 3, 3},
      // Mask "B": one good item, then an item whose Russian name is a boolean.
      {"mask 1",
       [](RowWriter& w) {
         w.Str("B").Str("B").Str("B").Bool(true).Int(2).Int(0).Int(100).Int(3);
         w.Int(7).Str("i").Str("i").Str("i").Int(1).Int(0).Color(0).Bool(true).Bool(true).Int(8).Bool(true);
       },
       false, true, 3, 3, 3},
      {"mask 2", [](RowWriter& w) { w.Str("Third").Str("Third"); }, true, false, 3, 2, 0},
      {"channel 1", [](RowWriter& w) { w.Int(5).Bool(true); }, false, false, 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    SettingsRows rows = RichRows();
    rows.masks.push_back(SmallMask("Third"));
    const std::string point = c.at;
    rows.maskCount = 3 + (point == "mask 1");
    rows.statusCount = 3 + (point == "status 1");
    rows.hook = [&](RowWriter& w, const std::string& at) {
      if (at == c.at)
        c.write(w);
      return at == c.at && c.ends;
    };
    unit.SetDefaultOptions();
    SettingsRows expected = rows;
    expected.channels.resize(c.channels);
    expected.masks.resize(c.masks);
    expected.statuses.resize(c.statuses);
    if (!c.loads)
      expected.options = RowsOf(unit).options;  // never reached
    EXPECT_EQ(Load(rows), c.loads);
    EXPECT_EQ(DumpSettings(unit), Dump(expected));
    EXPECT_EQ(unit.SettingsVersion, 4);
  }
}

TEST_F(SettingsRecords, RecentFilesAreEmptiedOnlyOnceTheirCountIsRead)
{
  auto recent = [&] { return RowsOf(unit).recent; };
  unit.RecentCombo->Items()->Clear();
  unit.RecentCombo->Items()->Add("kept");
  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4); })));
  EXPECT_EQ(recent(), std::vector<AnsiString>{"kept"});
  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4).Int(3).Str("first"); })));
  EXPECT_EQ(recent(), std::vector<AnsiString>{"first"});
  // A count the record limit refuses was still read: the list empties before the read fails.
  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4).Int(INT_MAX).Str("never"); })));
  EXPECT_EQ(recent(), std::vector<AnsiString>{});
  unit.RecentCombo->Items()->Add("kept");
  EXPECT_FALSE(unit.LoadSettingsFile(folder / "missing.ini"));
  EXPECT_FALSE(LoadBytes(""));
  EXPECT_FALSE(LoadBytes("not a settings file at all"));
  EXPECT_EQ(recent(), std::vector<AnsiString>{"kept"});
}

// Counts of zero or less read no entries; a count far beyond what the data holds fails at once
// instead of trying every record.
TEST_F(SettingsRecords, CountsBelowOneReadNothingAndHostileCountsEndTheRead)
{
  unit.RecentCombo->Items()->Add("old");
  SettingsRows none;
  std::tie(none.recentCount, none.channelCount, none.maskCount, none.statusCount) = std::tuple(-3, INT_MIN, 0, -1);
  EXPECT_TRUE(Load(none));
  EXPECT_EQ(DumpSettings(unit), Dump(SettingsRows{}));

  const std::pair<std::optional<int32_t> SettingsRows::*, const char*> lists[] = {
      {&SettingsRows::recentCount, "channel 0"},
      {&SettingsRows::channelCount, "channel 0"},
      {&SettingsRows::maskCount, "mask 0"},
      {&SettingsRows::statusCount, "status 0"}};
  for (const auto& [count, end] : lists) {
    SettingsRows rows = RichRows();
    rows.*count = INT_MAX;
    // The stream ends after that count (and the entries of the lists before it).
    rows.hook = [end = std::string(end)](RowWriter&, const std::string& at) { return at == end; };
    EXPECT_FALSE(Load(rows)) << end;
  }

  // A long list of small records within the limit loads whole (the recent files far beyond
  // what the combo keeps in use); the limit counts all lists together.
  SettingsRows many;
  many.recent.assign(SettingsRecordLimit - 1, "");
  many.statuses = {"IDLE"};
  EXPECT_TRUE(Load(many));
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), SettingsRecordLimit - 1);
  many.statuses = {"IDLE", "Drive"};
  EXPECT_FALSE(Load(many));
}

// A damaged block after a status fails the whole read, though the next block is whole.
TEST_F(SettingsRecords, DamagedContainerEndsTheReadInsideAStatus)
{
  SettingsRows rows;
  rows.statuses = {"IDLE", std::string(100000, 's')};  // a block of its own
  std::string bytes = ContainerOf([&](RowWriter& w) { WriteRows(w, rows, 4); }, {.BlockSize = 100000});
  EXPECT_TRUE(LoadBytes(bytes));
  bytes[16 + 4 + GetLE32(reinterpret_cast<const uint8_t*>(bytes.data() + 16)) + 4 + 20] ^= 1;
  EXPECT_FALSE(LoadBytes(bytes));
  EXPECT_EQ(unit.StatusCells->Count(), 1);
}

// Whether the read ends or fails, no option stays where the parser or chart cannot use it.
TEST_F(SettingsRecords, OptionsOutOfBoundsTakeTheReadBacksFallbacks)
{
  const std::tuple<const char*, int32_t, int32_t> bounds[] = {{"TextLinePeriod", 0, 10},
                                                              {"ZoomSeconds[0]", 0, 10},
                                                              {"ZoomSeconds[1]", -1, 30},
                                                              {"ZoomSeconds[2]", 1, 1},
                                                              {"ZoomSeconds[3]", INT_MIN, 600},
                                                              {"ValueWindowOffset.x", INT_MAX, 10000},
                                                              {"ValueWindowOffset.y", INT_MIN, -10000},
                                                              {"FramePeriod", -3, 22},
                                                              {"ReadingSpeed", 0, 16}};
  SettingsRows rows, expected;
  for (const auto& [name, stored, corrected] : bounds)
    std::tie(rows.options[name], expected.options[name]) = std::tuple(stored, corrected);
  for (const bool complete : {true, false}) {
    rows.statusCount = complete ? std::nullopt : std::optional(INT_MAX);  // fails after the options
    unit.ReadingSpeed = 0;
    EXPECT_EQ(Load(rows), complete);
    EXPECT_EQ(DumpSettings(unit), Dump(expected));
  }
}

// The bytes of a container, counting the reads asked of them.
class CountedSource : public TStream {
public:
  CountedSource(std::string bytes, int& reads) : Bytes(std::move(bytes)), Reads(reads) {}
  int32_t Read(void* buffer, int32_t count) override
  {
    const size_t n = std::min<size_t>(size_t(count), Bytes.size() - At);
    std::memcpy(buffer, Bytes.data() + At, n);
    At += n;
    ++Reads;
    return int32_t(n);
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t, TSeekOrigin) override { return int64_t(At); }

private:
  std::string Bytes;
  size_t At = 0;
  int& Reads;
};

class ReaderOver : public BConfigLoad {
public:
  explicit ReaderOver(TStream* stream) : BConfigLoad(stream) {}
};

// Data that ends where a long list of masks or statuses begins ends the read at the first
// record, as trying every record would: the reader is not asked once per declared record.
TEST_F(SettingsRecords, DataEndingBeforeALongListEndsTheReadAtOnce)
{
  for (auto [count, end] :
       {std::pair{&SettingsRows::maskCount, "mask 0"}, {&SettingsRows::statusCount, "status 0"}}) {
    SettingsRows rows = RichRows();
    rows.*count = SettingsRecordLimit / 2;
    rows.hook = [end = std::string(end)](RowWriter&, const std::string& at) { return at == end; };
    unit.ClearMaskCells();
    unit.ClearStatusCells();
    int reads = 0;
    ReaderOver reader(new CountedSource(ContainerOf(rows), reads));
    EXPECT_FALSE(unit.ReadSettings(reader)) << end;
    EXPECT_LT(reads, 100) << end;
    EXPECT_EQ(unit.MaskCells->Count() + unit.StatusCells->Count(), end == std::string("mask 0") ? 0 : 2) << end;
  }
}

// Stored values each paired with what the reader makes of them: channel ids the parser cannot
// use are skipped (and the records after them read in step), item ids, colours, pen widths and
// axes corrected.
TEST_F(SettingsRecords, ValuesThatCannotWorkAreSkippedOrCorrected)
{
  SettingsRows rows, expected;
  for (int32_t id : {0, 1, -1, 2, 2, MaxStoredChannelId + 1, INT_MAX, INT_MIN, MaxStoredChannelId, 3})
    rows.channels.push_back(Channel(id, "ru" + std::to_string(id), "en", "de", true));
  expected.channels = {rows.channels[3], rows.channels[8], rows.channels[9]};
  rows.statuses = expected.statuses = {"IDLE"};
  MaskRow stored = SmallMask("M"), corrected = stored;
  stored.items.clear();
  corrected.items.clear();
  // Item ids and colours stored, and as kept.
  const int64_t items[][4] = {{0, -1, 0, 0},
                              {-2, -1, 0x00FFFFFF, 0x00FFFFFF},
                              {INT_MAX, -1, 0x01000000, 0},
                              {MaxStoredChannelId + 1, -1, 0xFFFFFFFF, 0},
                              {StatusItemId, StatusItemId, 0x80000000, 0x80000000},
                              {NoChannelId, NoChannelId, 0x8000001E, 0x8000001E},
                              {7, 7, 0x8000001F, 0},
                              {MaxStoredChannelId, MaxStoredChannelId, 0x80000100, 0}};
  for (const auto& [id, keptId, color, keptColor] : items) {
    stored.items.push_back({int32_t(id), "i", "i", "i", 1, 0, TColor(color), true, true});
    corrected.items.push_back({int32_t(keptId), "i", "i", "i", 1, 0, TColor(keptColor), true, true});
  }
  rows.masks.push_back(stored);
  expected.masks.push_back(corrected);
  // Pen width, then the axis stored and as corrected.
  const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t> masks[] = {
      {0, 1, 10, 10, -200, 4000},           {1, 1, 4000, -200, 4000, -200}, {5, 5, 0, 1, 0, 1},
      {6, 5, INT_MIN, INT_MIN, -200, 4000}, {-100, 1, 7, 7, -200, 4000},    {INT_MAX, 5, 4000, -200, 4000, -200}};
  for (const auto& [width, keptWidth, bottom, top, keptBottom, keptTop] : masks) {
    MaskRow m = SmallMask("T");
    std::tie(m.thickness, m.bottom, m.top) = std::tuple(width, bottom, top);
    rows.masks.push_back(m);
    std::tie(m.thickness, m.bottom, m.top) = std::tuple(keptWidth, keptBottom, keptTop);
    expected.masks.push_back(m);
  }
  EXPECT_TRUE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
}

// Values follow the end of each version's sequence that would change the fields, or fail the
// read, if the reader went on; version 4 and any later one read the whole sequence. Old versions
// have no German names: the English one stands in. Saving after any version writes version 4.
TEST_P(OldVersions, ReadExactlyTheRowsOfTheirVersion)
{
  const int32_t version = GetParam();
  SettingsRows rows = RichRows();
  if (version < GermanSince)
    rows.channels[0].ru = "Zz";  // a name no dictionary knows
  unit.SetDefaultOptions();
  SettingsRows expected = rows;
  for (size_t f = 0; f < std::size(OptionFields); ++f)
    if (!Holds(OptionFields[f], version))
      expected.options.Values[f] = OptionFields[f].Get(unit);
  auto english = [&](auto& row) { row.de = version < GermanSince ? row.en : row.de; };
  std::ranges::for_each(expected.channels, english);
  for (MaskRow& m : expected.masks)
    english(m), std::ranges::for_each(m.items, english);
  EXPECT_TRUE(LoadBytes(ContainerOf([&](RowWriter& w) {
    WriteRows(w, rows, version);
    w.Bool(false).Int(999).Int(17).Bool(false).Str("never read");
  })));
  EXPECT_EQ(unit.SettingsVersion, version);
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
  const std::string file = folder / SettingsFileName;  // the hand-made sequence, byte for byte
  ASSERT_TRUE(unit.SaveSettingsFile(file));
  EXPECT_TRUE(ScratchFolder::Read(file) == ContainerOf(RowsOf(unit)));
}

INSTANTIATE_TEST_SUITE_P(Settings, OldVersions, ::testing::Values(1, 2, 3, 4, 0, -5, 5, 0x7FFFFFFF));

// The dictionary gives both missing names when it knows the Russian one; a mask's name is never
// looked up.
TEST_F(SettingsSchema, OldVersionsTakeMissingNamesFromTheDictionary)
{
  unit.DictCells->Add(new LDictCell{"RuKnown", "EnDict", "DeDict"});
  unit.DictCells->Add(new LDictCell{"RuHalf", "EnHalf", ""});
  SettingsRows rows;
  rows.channels = {Channel(2, "RuKnown", "EnOld", "", true), Channel(3, "RuNone", "EnNone", "", false),
                   Channel(4, "RuHalf", "EnOld", "", true)};
  rows.masks = {{"RuKnown", "MaskEn", "", true, 2, 0, 10, {rows.channels[0], rows.channels[1]}}};
  ASSERT_TRUE(LoadBytes(ContainerOf(rows, 2)));

  SettingsRows expected = rows;
  expected.channels = {Channel(2, "RuKnown", "EnDict", "DeDict", true),
                       Channel(3, "RuNone", "EnNone", "EnNone", false),
                       Channel(4, "RuHalf", "EnHalf", "EnOld", true)};
  expected.masks[0].de = "MaskEn";
  expected.masks[0].items = {expected.channels[0], expected.channels[1]};
  expected.options = RowsOf(unit).options;
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
}

}  // namespace
