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

class OldVersions : public SettingsSchema, public ::testing::WithParamInterface<int32_t> {};

// Values follow the end of each version's sequence that would change the fields, or fail the
// read, if the reader went on; version 4 and any later one read the whole sequence. Old versions have no German
// names: the English name stands in (names no dictionary knows). Saving after an old version writes version 4 of
// what was read.
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
  for (ItemRow& c : expected.channels)
    c.de = version < GermanSince ? c.en : c.de;
  for (MaskRow& m : expected.masks) {
    m.de = version < GermanSince ? m.en : m.de;
    for (ItemRow& i : m.items)
      i.de = version < GermanSince ? i.en : i.de;
  }
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
