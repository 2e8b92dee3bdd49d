// Where the settings come from at start (the file, else "defini", else the defaults in code),
// and that the end of the program writes them, also when the save fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "AppPaths.h"
#include "CodePage.h"
#include "Resources.h"
#include "program/SettingsTestSupport.h"

namespace {

std::string SettingsFile()
{
  return DataFolder() + SettingsFileName;
}

// What the start does to the settings after reading them, whatever they held.
std::string AsAtStart(SettingsRows rows)
{
  rows.options["SpeedInHz"] = 1;
  rows.options["ReadingSpeed"] = std::clamp(rows.options["ReadingSpeed"], 16, 50);
  // The chart's selector takes the first mask when the stored index names none.
  const int masks = static_cast<int>(rows.masks.size());
  int& chartMask = rows.options["ChartMaskIndex"];
  chartMask = masks == 0 ? -1 : chartMask >= 0 && chartMask < masks ? chartMask : 0;
  if (GetOEMCP() == 866 && GetACP() == 1251)
    rows.options["Language"] = 0;
  return Dump(rows);
}

// The first start's settings made in code, independently of any file or resource; the object
// that makes them leaves no settings file behind.
SettingsRows BuiltInRows()
{
  ScratchFolder elsewhere;
  BQELunit unit;
  unit.SettingsPath = elsewhere / SettingsFileName;
  unit.RecentCombo->Items()->Clear();
  unit.MakeDefaultSettings();
  return RowsOf(unit);
}

// No file (a first start) or one that cannot be read whole: "defini", not the defaults made in
// code; the file is written at exit and read at the next start.
TEST(SettingsStart, SettingsFileComesFirstElseDefini)
{
  SettingsRows cut = RichRows();
  cut.hook = [](RowWriter& w, const std::string& at) { return at == "mask 1" && (w.Str("cut"), true); };
  const std::string defaults = AsAtStart(BuiltInRows());
  const std::optional<std::string> files[] = {std::nullopt,
                                              ContainerOf(RichRows()),
                                              ContainerOf(cut),
                                              "BEAM v.1 but nothing after",
                                              "",
                                              "BEAM v.2" + ContainerOf(RichRows()).substr(8)};
  for (const auto& bytes : files) {
    std::filesystem::remove(SettingsFile());
    if (bytes)
      std::ofstream(SettingsFile(), std::ios::binary) << *bytes;
    std::string atStart;
    {
      BQELunit unit;
      EXPECT_EQ(unit.SettingsPath, SettingsFile());
      EXPECT_EQ(unit.SettingsVersion, 4);
      atStart = DumpSettings(unit);
      EXPECT_EQ(std::filesystem::exists(SettingsFile()), bytes.has_value());
    }
    EXPECT_EQ(atStart, bytes == files[1] ? AsAtStart(RichRows()) : defaults);
    BQELunit next;
    EXPECT_EQ(DumpSettings(next), atStart);
  }
}

// Without the resource the lists are emptied and the defaults made in code replace everything
// but the recent files; written out, they are "defini" byte for byte, and "defini" reads as them.
TEST(SettingsStart, DefiniIsWhatTheWriterMakesOfTheDefaultsInCode)
{
  const ResourceEntry* defini = FindResource(DefaultSettingsResource, SettingsResourceType);
  ASSERT_NE(defini, nullptr);
  ScratchFolder folder;
  BQELunit unit;
  PutRows(unit, RichRows());
  EXPECT_FALSE(unit.LoadSettingsResource("no such resource"));
  EXPECT_EQ(unit.TypeCells->Count() + unit.MaskCells->Count() + unit.StatusCells->Count(), 0);
  unit.MakeDefaultSettings();
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), 3);
  unit.RecentCombo->Items()->Clear();
  EXPECT_EQ(DumpSettings(unit), Dump(BuiltInRows()));
  ASSERT_TRUE(unit.SaveSettingsFile(folder / "defaults.ini"));
  EXPECT_TRUE(ScratchFolder::Read(folder / "defaults.ini") ==
              std::string(reinterpret_cast<const char*>(defini->Data), defini->Size))
      << "the embedded defaults are out of date";

  PutRows(unit, RichRows());
  ASSERT_TRUE(unit.LoadSettingsResource(DefaultSettingsResource));
  EXPECT_EQ(DumpSettings(unit), Dump(BuiltInRows()));
}

TEST(SettingsSave, FailedSaveKeepsThePreviousFileAndIsSwallowedAtExit)
{
  ScratchFolder folder;
  const std::string file = folder / SettingsFileName;
  {
    BQELunit unit;
    PutRows(unit, RichRows());
    ASSERT_TRUE(unit.SaveSettingsFile(file));
    unit.MakeDefaultSettings();
    {
      FileSizeLimit fsize(ScratchFolder::Read(file).size() / 2);
      EXPECT_FALSE(unit.SaveSettingsFile(file));
    }
    unit.SettingsPath = folder / (std::string("missing/") + SettingsFileName);
  }  // no exception from the failing save at exit
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  BQELunit reader;
  ASSERT_TRUE(reader.LoadSettingsFile(file));
  EXPECT_EQ(DumpSettings(reader), Dump(RichRows()));
}

}  // namespace
