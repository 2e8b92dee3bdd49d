// Saving the settings file never costs the previous one: a failed, refused or abandoned
// save leaves it whole and no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "ConfigTestSupport.h"
#include "Exceptions.h"
#include "settings/ConfigSaveFile.h"
#include "support/ScratchFolder.h"

namespace {

size_t FilesIn(const std::string& folder)
{
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    ++n;
  return n;
}

// A settings-like sequence: the version, then `count` pairs of a string and an int.
std::vector<Value> Sequence(const std::string& text, int count)
{
  std::vector<Value> values{{'i', 4}};
  for (int i = 0; i < count; ++i)
    values.insert(values.end(), {{'s', 0, text + std::to_string(i)}, {'i', i}});
  return values;
}

bool WriteSequence(BConfigSave& save, const std::string& text, int count)
{
  for (const Value& v : Sequence(text, count))
    if (!WriteValue(save, v))
      return false;
  return true;
}

bool ReadsAsSequence(const std::string& file, const std::string& text, int count)
{
  BConfigLoadFile load(file);
  return ReadValues(load, Sequence(text, count)) == DumpValues(Sequence(text, count)) + "end";
}

// A save to the same place as the folder's previous, good one.
struct Previous {
  ScratchFolder Dir;
  std::string File = Dir / "Dravolin.ini";
  std::string Bytes;
  Previous()
  {
    BConfigSaveFile save(File);
    EXPECT_TRUE(WriteSequence(save, "old", 3));
    EXPECT_TRUE(save.Commit());
    Bytes = ScratchFolder::Read(File);
  }
  void ExpectUntouched()
  {
    EXPECT_EQ(ScratchFolder::Read(File), Bytes);
    EXPECT_TRUE(ReadsAsSequence(File, "old", 3));
    EXPECT_EQ(FilesIn(Dir.Path()), 1u) << "a temporary file was left behind";
  }
};

}  // namespace

TEST(ConfigSaveFile, CommitReplacesTheFileOnceAndLeavesNoTemporary)
{
  Previous prev;
  {
    BConfigSaveFile save(prev.File);
    ASSERT_TRUE(WriteSequence(save, "new", 5));
    EXPECT_TRUE(std::filesystem::exists(save.TempFileName()));
    EXPECT_TRUE(prev.Bytes == ScratchFolder::Read(prev.File)) << "replaced before Commit";
    EXPECT_TRUE(save.Commit());
    EXPECT_FALSE(save.Commit());  // once only
  }
  EXPECT_TRUE(ReadsAsSequence(prev.File, "new", 5));
  EXPECT_EQ(FilesIn(prev.Dir.Path()), 1u);
  {
    BConfigSaveFile save(prev.File);
    EXPECT_TRUE(save.Commit());
  }
  EXPECT_EQ(ScratchFolder::Read(prev.File), "");  // a commit without values
}

TEST(ConfigSaveFile, AbandonedOrRefusedSaveKeepsTheOldFile)
{
  Previous prev;
  {
    BConfigSaveFile save(prev.File);
    ASSERT_TRUE(WriteSequence(save, "new", 5));
  }  // the schema gave up: no Commit
  prev.ExpectUntouched();
  {
    BConfigSaveFile save(prev.File);
    save.BlockSize = 100000;
    ASSERT_TRUE(WriteSequence(save, "new", 2));
    EXPECT_FALSE(save.WriteString(std::string(130000, 'x')));  // larger than the block buffer
    EXPECT_FALSE(save.Commit());
  }
  prev.ExpectUntouched();
}

// The disk refuses the write at every point from the header to the last byte.
TEST(ConfigSaveFile, WriteFailingAtAnyPointKeepsTheOldFile)
{
  Previous prev;
  for (const int method : {0, 1, 2}) {
    const BeamMode mode{.Compressed = uint8_t(method != 2), .Method = uint8_t(method)};
    const size_t fullSize = WriteValues(mode, Sequence("new", 200)).size();
    for (size_t limit : {size_t(0), size_t(1), size_t(15), size_t(16), size_t(20), fullSize / 2, fullSize - 1}) {
      bool committed;
      {
        BConfigSaveFile save(prev.File);
        save.Compressed = mode.Compressed;
        save.Method = mode.Method;
        EXPECT_TRUE(WriteSequence(save, "new", 200));
        FileSizeLimit fsize(limit);
        committed = save.Commit();
      }
      EXPECT_FALSE(committed) << method << " " << limit;
      prev.ExpectUntouched();
    }
  }
}

TEST(ConfigSaveFile, LinkStaysALinkTheModeIsKeptAndOnlyTemporariesOfDeadSavesGo)
{
  namespace fs = std::filesystem;
  Previous prev;
  fs::create_symlink("Dravolin.ini", prev.Dir / "link.ini");
  fs::permissions(prev.File, fs::perms::owner_read | fs::perms::owner_write);
  const std::string temps[] = {prev.Dir.Write("Dravolin.ini.tmp999999999-3", ""),
                               prev.Dir.Write("Dravolin.ini.tmpx-1", ""),
                               prev.Dir.Write("Dravolin.ini.tmp" + std::to_string(::getpid()) + "-7", "")};
  BConfigSaveFile save(prev.Dir / "link.ini");
  ASSERT_TRUE(WriteSequence(save, "new", 2) && save.Commit());
  EXPECT_TRUE(fs::is_symlink(prev.Dir / "link.ini") && ReadsAsSequence(prev.File, "new", 2));
  EXPECT_EQ(fs::status(prev.File).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::vector<bool>({fs::exists(temps[0]), fs::exists(temps[1]), fs::exists(temps[2])}),
            std::vector<bool>({false, true, true}));
}

TEST(ConfigSaveFile, UnwritableTargetsRaiseAndStayAsTheyWere)
{
  ScratchFolder dir;
  const std::string folder = dir / "Dravolin.ini";
  std::filesystem::create_directory(folder);
  EXPECT_THROW(BConfigSaveFile save(folder), EFCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_THROW(BConfigSaveFile save(dir / "missing/Dravolin.ini"), EFCreateError);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

// Runs only where permissions bind (not as root).
TEST(ConfigSaveFile, UnwritableFileOrFolderRaisesAndKeepsTheOldFile)
{
  namespace fs = std::filesystem;
  Previous prev;
  fs::permissions(prev.File, fs::perms::owner_read);
  if (::access(prev.File.c_str(), W_OK) == 0) {
    fs::permissions(prev.File, fs::perms::owner_read | fs::perms::owner_write);
    GTEST_SKIP() << "permissions do not bind for this user";
  }
  EXPECT_THROW(BConfigSaveFile save(prev.File), EFCreateError);  // as writing in place would
  prev.ExpectUntouched();
  fs::permissions(prev.File, fs::perms::owner_read | fs::perms::owner_write);

  fs::permissions(prev.Dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(BConfigSaveFile save(prev.File), EFCreateError);
  fs::permissions(prev.Dir.Path(), fs::perms::owner_all);
  prev.ExpectUntouched();
}
