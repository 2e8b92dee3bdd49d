// Where the settings come from at start (the file, else "defini", else the defaults in code),
// that the end of the program writes them, that "defini" is what the writer makes of the
// defaults today, and that a failed save at the end costs neither the previous file nor the exit.
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
  BQELunit next;
  EXPECT_EQ(DumpSettings(next), atStart);
}

// A readable file comes first; one that cannot be read whole falls back to "defini".
TEST(SettingsStart, SettingsFileComesFirstElseDefini)
{
  SettingsRows cut = RichRows();
  cut.hook = [](RowWriter& w, const std::string& at) {
    if (at == "mask 1")
      w.Str("cut");
    return at == "mask 1";
  };
  const std::string defaults = AsAtStart(BuiltInRows());
  const std::pair<std::string, std::string> files[] = {{ContainerOf(RichRows()), AsAtStart(RichRows())},
                                                       {ContainerOf(cut), defaults},
                                                       {"BEAM v.1 but nothing after", defaults},
                                                       {"", defaults},
                                                       {"BEAM v.2" + ContainerOf(RichRows()).substr(8), defaults}};
  for (const auto& [bytes, expected] : files) {
    std::ofstream(SettingsFile(), std::ios::binary | std::ios::trunc) << bytes;
    BQELunit unit;
    EXPECT_EQ(DumpSettings(unit), expected);
    EXPECT_EQ(unit.SettingsVersion, 4);
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
