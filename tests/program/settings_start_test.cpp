// Where the settings come from at start (the file, else "defini", else the defaults in code),
// that the end of the program writes them, that "defini" is what the writer makes of the
// defaults today, and that a failed save never costs the previous file.
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

std::string BuiltInDefaults()
{
  return Dump(BuiltInRows());
}

TEST(SettingsStart, FirstStartReadsDefiniAndWritesTheFileAtExit)
{
  ASSERT_FALSE(std::filesystem::exists(SettingsFile()));
  std::string atStart;
  {
    BQELunit unit;
    EXPECT_EQ(unit.SettingsPath, SettingsFile());
    EXPECT_EQ(unit.SettingsVersion, 4);  // read from "defini", not made in code
    atStart = DumpSettings(unit);
    ASSERT_FALSE(std::filesystem::exists(SettingsFile()));
  }
  EXPECT_EQ(atStart, AsAtStart(BuiltInRows()));
  ASSERT_TRUE(std::filesystem::exists(SettingsFile()));
  BQELunit next;
  EXPECT_EQ(DumpSettings(next), atStart);
}

TEST(SettingsStart, SettingsFileComesFirst)
{
  std::ofstream(SettingsFile(), std::ios::binary) << ContainerOf(RichRows(), 4);
  BQELunit unit;
  EXPECT_EQ(DumpSettings(unit), AsAtStart(RichRows()));
}

TEST(SettingsStart, UnreadableFileFallsBackToDefini)
{
  SettingsRows rows = RichRows();
  rows.hook = [](RowWriter& w, const std::string& at) {
    if (at != "mask 1")
      return false;
    w.Str("cut");
    return true;
  };
  const std::string damaged[] = {ContainerOf(rows, 4), "BEAM v.1 but nothing after", "",
                                 "BEAM v.2" + ContainerOf(RichRows(), 4).substr(8)};
  const std::string defaults = AsAtStart(BuiltInRows());
  for (const std::string& bytes : damaged) {
    std::ofstream(SettingsFile(), std::ios::binary | std::ios::trunc) << bytes;
    BQELunit unit;
    EXPECT_EQ(DumpSettings(unit), defaults);
    EXPECT_EQ(unit.SettingsVersion, 4);
  }
}

// Without the resource the constructor's last step makes the defaults in code: the lists are
// emptied by the failed load, the defaults replace everything but the recent files.
TEST(SettingsStart, WithoutDefiniTheDefaultsAreMadeInCode)
{
  BQELunit unit;
  PutRows(unit, RichRows());
  EXPECT_FALSE(unit.LoadSettingsResource("no such resource"));
  EXPECT_EQ(unit.TypeCells->Count() + unit.MaskCells->Count() + unit.StatusCells->Count(), 0);
  unit.MakeDefaultSettings();
  EXPECT_EQ(unit.Language, 1);
  SettingsRows expected = RowsOf(unit);
  expected.recent.clear();
  EXPECT_EQ(Dump(expected), BuiltInDefaults());
  EXPECT_EQ(unit.RecentCombo->Items()->Count(), 3);
}

TEST(SettingsStart, DefiniIsWhatTheWriterMakesOfTheDefaults)
{
  const ResourceEntry* defini = FindResource(DefaultSettingsResource, SettingsResourceType);
  ASSERT_NE(defini, nullptr);
  ScratchFolder folder;
  const std::string file = folder / "defaults.ini";
  {
    BQELunit unit;
    unit.RecentCombo->Items()->Clear();
    unit.MakeDefaultSettings();
    ASSERT_TRUE(unit.SaveSettingsFile(file));
  }
  const std::string written = ScratchFolder::Read(file);
  EXPECT_TRUE(written == std::string(reinterpret_cast<const char*>(defini->Data), defini->Size))
      << "the embedded defaults are out of date";

  BQELunit unit;
  PutRows(unit, RichRows());
  ASSERT_TRUE(unit.LoadSettingsResource(DefaultSettingsResource));
  EXPECT_EQ(DumpSettings(unit), BuiltInDefaults());
}

// The container's own tests fail the disk at every point; here one failure reaches the caller.
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
    EXPECT_FALSE(unit.SaveSettingsFile(folder / (std::string("missing/") + SettingsFileName)));
    unit.SettingsPath = folder / (std::string("missing/") + SettingsFileName);
  }  // no exception from the save at exit
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  BQELunit reader;
  ASSERT_TRUE(reader.LoadSettingsFile(file));
  EXPECT_EQ(DumpSettings(reader), Dump(RichRows()));
}

}  // namespace
