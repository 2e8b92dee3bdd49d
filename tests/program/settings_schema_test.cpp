// The settings sequence: every value survives a save and a load, the file holds the values in
// order, and older versions are read by their own rules.
#include <gtest/gtest.h>

#include "program/SettingsTestSupport.h"

namespace {

class SettingsSchema : public ::testing::Test {
protected:
  bool LoadBytes(const std::string& bytes) { return unit.LoadSettingsFile(folder.Write("in.ini", bytes)); }

  ScratchFolder folder;
  BQELunit unit;
};

// The writer's file is the hand-made sequence byte for byte, and reads back whole.
TEST_F(SettingsSchema, SavedFileHoldsEveryValueInOrderAndReadsBack)
{
  PutRows(unit, RichRows());
  const std::string file = folder / SettingsFileName;
  ASSERT_TRUE(unit.SaveSettingsFile(file));
  EXPECT_TRUE(ScratchFolder::Read(file) == ContainerOf(RichRows(), 4));

  BQELunit other;
  other.SettingsVersion = 0;
  ASSERT_TRUE(other.LoadSettingsFile(file));
  EXPECT_EQ(DumpSettings(other), Dump(RichRows()));
  EXPECT_EQ(other.SettingsVersion, 4);
}

// Names no dictionary knows, so that the old versions keep them as they are.
SettingsRows PlainRows()
{
  SettingsRows rows = RichRows();
  rows.channels[0].ru = "Zz";
  return rows;
}

// What a load of `rows` in `version` leaves, over the options it started from.
SettingsRows ExpectedAfter(SettingsRows rows, int32_t version, const OptionRows& before)
{
  if (version < GermanSince) {
    for (ChannelRow& c : rows.channels)
      c.de = c.en;
    for (MaskRow& m : rows.masks) {
      m.de = m.en;
      for (ItemRow& i : m.items)
        i.de = i.en;
    }
  }
  for (size_t f = 0; f < std::size(OptionFields); ++f)
    if (!Holds(OptionFields[f], version))
      rows.options.Values[f] = before.Values[f];
  return rows;
}

class OldVersions : public SettingsSchema, public ::testing::WithParamInterface<int32_t> {};

// Values follow the end of each version's sequence that would change the fields, or fail the
// read, if the reader went on.
TEST_P(OldVersions, ReadExactlyTheRowsOfTheirVersion)
{
  const int32_t version = GetParam();
  unit.SetDefaultOptions();
  const OptionRows before = RowsOf(unit).options;
  const std::string bytes = ContainerOf([&](RowWriter& w) {
    WriteRows(w, PlainRows(), version);
    w.Bool(false).Int(999).Int(17).Bool(false).Str("never read");
  });
  EXPECT_TRUE(LoadBytes(bytes));
  EXPECT_EQ(unit.SettingsVersion, version);
  EXPECT_EQ(DumpSettings(unit), Dump(ExpectedAfter(PlainRows(), version, before)));

  // Saving after an old version writes version 4 of what was read.
  const std::string file = folder / SettingsFileName;
  ASSERT_TRUE(unit.SaveSettingsFile(file));
  EXPECT_TRUE(ScratchFolder::Read(file) == ContainerOf(RowsOf(unit), 4));
}

INSTANTIATE_TEST_SUITE_P(Settings, OldVersions, ::testing::Values(1, 2, 3, 4, 0, -5, 5, 0x7FFFFFFF));

TEST_F(SettingsSchema, OldVersionsTakeMissingNamesFromTheDictionary)
{
  unit.DictCells->Add(new LDictCell{"RuKnown", "EnDict", "DeDict"});
  unit.DictCells->Add(new LDictCell{"RuHalf", "EnHalf", ""});
  SettingsRows rows;
  rows.channels = {
      {2, "RuKnown", "EnOld", "", true}, {3, "RuNone", "EnNone", "", false}, {4, "RuHalf", "EnOld", "", true}};
  rows.masks = {{"RuKnown",
                 "MaskEn",
                 "",
                 true,
                 2,
                 0,
                 10,
                 {{2, "RuKnown", "EnOld", "", 1, 0, 0, true, true},
                  {NoChannelId, "RuNone", "EnNone", "", 1, 0, 0, false, false}}}};
  ASSERT_TRUE(LoadBytes(ContainerOf(rows, 2)));

  SettingsRows expected = rows;
  expected.channels = {{2, "RuKnown", "EnDict", "DeDict", true},
                       {3, "RuNone", "EnNone", "EnNone", false},
                       {4, "RuHalf", "EnHalf", "EnOld", true}};
  expected.masks[0].de = "MaskEn";  // a mask's name is never looked up
  expected.masks[0].items = {{2, "RuKnown", "EnDict", "DeDict", 1, 0, 0, true, true},
                             {NoChannelId, "RuNone", "EnNone", "EnNone", 1, 0, 0, false, false}};
  const SettingsRows got = RowsOf(unit);
  expected.options = got.options;
  EXPECT_EQ(Dump(got), Dump(expected));
}

}  // namespace
