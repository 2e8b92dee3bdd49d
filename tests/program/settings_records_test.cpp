// Reading settings that are damaged or hold values the program cannot use: a failed mask or
// status record is skipped, any other failure ends the read, hostile counts end it at once,
// and unusable ids, pen widths, axes and colours are refused or corrected.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <tuple>
#include <utility>

#include "program/SettingsTestSupport.h"

namespace {

class SettingsRecords : public ::testing::Test {
protected:
  bool Load(const SettingsRows& rows) { return LoadBytes(ContainerOf(rows, 4)); }
  bool LoadBytes(const std::string& bytes) { return unit.LoadSettingsFile(folder.Write("in.ini", bytes)); }

  ScratchFolder folder;
  BQELunit unit;
};

MaskRow SmallMask(const AnsiString& name)
{
  return {name, name + "En", name + "De", true, 2, 0, 100, {{7, name, name, name, 1, 0, 0xFF, true, false}}};
}

// A boolean where a string belongs is taken as a string kind and a failed length: it fails
// the record and consumes exactly its own two bytes, so the next record is read in step.
TEST_F(SettingsRecords, FailedStatusIsSkippedAndTheNextOneRead)
{
  SettingsRows rows;
  rows.statuses = {"IDLE", "Drive"};
  rows.statusCount = 3;
  rows.hook = [](RowWriter& w, const std::string& at) {
    if (at == "status 1")
      w.Bool(true);
    return false;
  };
  EXPECT_TRUE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(rows));
}

TEST_F(SettingsRecords, FailedItemDropsItsMaskAndReadingGoesOn)
{
  SettingsRows rows;
  rows.masks = {SmallMask("A"), SmallMask("C")};
  rows.maskCount = 3;
  rows.hook = [](RowWriter& w, const std::string& at) {
    if (at == "mask 1") {
      // Mask "B": one good item, then an item whose Russian name is a boolean.
      w.Str("B").Str("B").Str("B").Bool(true).Int(2).Int(0).Int(100).Int(3);
      w.Int(7).Str("i").Str("i").Str("i").Int(1).Int(0).Color(0).Bool(true).Bool(true);
      w.Int(8).Bool(true);
    }
    return false;
  };
  EXPECT_TRUE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(rows));
}

TEST_F(SettingsRecords, StreamEndingInsideTheThirdMaskKeepsWhatCameBefore)
{
  SettingsRows rows = RichRows();
  rows.masks.push_back(SmallMask("Third"));
  rows.maskCount = 5;
  rows.hook = [](RowWriter& w, const std::string& at) {
    if (at != "mask 2")
      return false;
    w.Str("Third").Str("Third");
    return true;
  };
  unit.SetDefaultOptions();
  const OptionRows before = RowsOf(unit).options;
  EXPECT_FALSE(Load(rows));

  SettingsRows expected = RichRows();  // the options and statuses were never reached
  expected.statuses.clear();
  expected.options = before;
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
  EXPECT_EQ(unit.SettingsVersion, 4);
}

TEST_F(SettingsRecords, FailedChannelEndsTheRead)
{
  SettingsRows rows = RichRows();
  rows.hook = [](RowWriter& w, const std::string& at) {
    if (at == "channel 1")
      w.Int(5).Bool(true);
    return false;
  };
  unit.SetDefaultOptions();
  SettingsRows expected;
  expected.recent = rows.recent;
  expected.channels = {rows.channels[0]};
  expected.options = RowsOf(unit).options;
  EXPECT_FALSE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
}

TEST_F(SettingsRecords, RecentFilesAreEmptiedOnlyOnceTheirCountIsRead)
{
  unit.RecentCombo->Items()->Clear();
  unit.RecentCombo->Items()->Add("kept");
  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4); })));
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), 1);

  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4).Int(3).Str("first"); })));
  ASSERT_EQ(unit.RecentCombo->Items()->Count(), 1);
  EXPECT_EQ(unit.RecentCombo->Items()->Get(0), "first");

  // A count the record limit refuses was still read: the list empties before the read fails.
  EXPECT_FALSE(LoadBytes(ContainerOf([](RowWriter& w) { w.Int(4).Int(INT_MAX).Str("never"); })));
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), 0);
  unit.RecentCombo->Items()->Add("kept");

  EXPECT_FALSE(unit.LoadSettingsFile(folder / "missing.ini"));
  EXPECT_FALSE(LoadBytes(""));
  EXPECT_FALSE(LoadBytes("not a settings file at all"));
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), 1);
}

TEST_F(SettingsRecords, CountsOfZeroOrLessReadNoEntries)
{
  unit.RecentCombo->Items()->Add("old");
  SettingsRows rows;
  rows.recentCount = -3;
  rows.channelCount = INT_MIN;
  rows.maskCount = 0;
  rows.statusCount = -1;
  EXPECT_TRUE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(SettingsRows{}));
}

// A count far beyond what the data holds fails at once instead of trying every record.
TEST_F(SettingsRecords, HostileCountsEndTheRead)
{
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
  std::string bytes = WriteContainer({.BlockSize = 100000}, [&](TestSave& s) {
    RowWriter w(s);
    WriteRows(w, rows, 4);
  });
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
  for (const auto& [name, stored, corrected] : bounds) {
    rows.options[name] = stored;
    expected.options[name] = corrected;
  }
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
    ++Reads;
    const auto n = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(count), Bytes.size() - At));
    std::memcpy(buffer, Bytes.data() + At, static_cast<size_t>(n));
    At += static_cast<size_t>(n);
    return n;
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t, TSeekOrigin) override { return static_cast<int64_t>(At); }

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
    ReaderOver reader(new CountedSource(ContainerOf(rows, 4), reads));
    EXPECT_FALSE(unit.ReadSettings(reader)) << end;
    EXPECT_LT(reads, 100) << end;
    EXPECT_EQ(unit.MaskCells->Count(), end == std::string("mask 0") ? 0 : 2) << end;
    EXPECT_EQ(unit.StatusCells->Count(), 0) << end;
  }
}

TEST_F(SettingsRecords, ParameterIdsTheParserCannotUseAreSkipped)
{
  SettingsRows rows;
  for (int32_t id : {0, 1, -1, 2, 2, MaxStoredChannelId + 1, INT_MAX, INT_MIN, MaxStoredChannelId, 3})
    rows.channels.push_back({id, "ru" + std::to_string(id), "en", "de", true});
  rows.statuses = {"IDLE"};  // read on in step after the skipped records
  SettingsRows expected = rows;
  expected.channels = {rows.channels[3], rows.channels[8], rows.channels[9]};
  EXPECT_TRUE(Load(rows));
  EXPECT_EQ(DumpSettings(unit), Dump(expected));
}

// Stored values each paired with what the reader makes of them.
TEST_F(SettingsRecords, MaskValuesThatCannotWorkAreCorrected)
{
  SettingsRows rows, expected;
  MaskRow stored = SmallMask("M"), corrected = stored;
  stored.items.clear();
  corrected.items.clear();
  const std::pair<int32_t, int32_t> ids[] = {{0, -1},
                                             {-2, -1},
                                             {INT_MAX, -1},
                                             {MaxStoredChannelId + 1, -1},
                                             {StatusItemId, StatusItemId},
                                             {NoChannelId, NoChannelId},
                                             {7, 7},
                                             {MaxStoredChannelId, MaxStoredChannelId}};
  for (const auto& [id, kept] : ids) {
    stored.items.push_back({id, "i", "i", "i", 1, 0, 0, true, true});
    corrected.items.push_back({kept, "i", "i", "i", 1, 0, 0, true, true});
  }
  const auto system = [](uint32_t bits) { return static_cast<TColor>(bits); };
  const std::pair<TColor, TColor> colors[] = {{0, 0},
                                              {0x00FFFFFF, 0x00FFFFFF},
                                              {0x01000000, 0},
                                              {-1, 0},
                                              {system(0x80000000u), system(0x80000000u)},
                                              {system(0x8000001Eu), system(0x8000001Eu)},
                                              {system(0x8000001Fu), 0},
                                              {system(0x80000100u), 0}};
  for (const auto& [color, kept] : colors) {
    stored.items.push_back({7, "c", "c", "c", 1, 0, color, true, true});
    corrected.items.push_back({7, "c", "c", "c", 1, 0, kept, true, true});
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

}  // namespace
