// Saving the settings file never costs the previous one: a failed, refused or abandoned save
// leaves it whole and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <unistd.h>

#include "ConfigTestSupport.h"
#include "Exceptions.h"
#include "settings/ConfigSaveFile.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

size_t FilesIn(const std::string& folder)
{
  return size_t(std::distance(fs::directory_iterator(folder), {}));
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
    EXPECT_TRUE(WriteSequence(save, "old", 3) && save.Commit());
    Bytes = ScratchFolder::Read(File);
  }
  void ExpectUntouched(const std::string& what)
  {
    EXPECT_EQ(ScratchFolder::Read(File), Bytes) << what;
    EXPECT_TRUE(ReadsAsSequence(File, "old", 3)) << what;
    EXPECT_EQ(FilesIn(Dir.Path()), 1u) << what << ": a temporary file was left behind";
  }
};

}  // namespace

TEST(ConfigSaveFile, CommitReplacesTheFileOnceAndLeavesNoTemporary)
{
  Previous prev;
  {
    BConfigSaveFile save(prev.File);
    ASSERT_TRUE(WriteSequence(save, "new", 5));
    EXPECT_TRUE(fs::exists(save.TempFileName()));
    EXPECT_TRUE(prev.Bytes == ScratchFolder::Read(prev.File)) << "replaced before Commit";
    EXPECT_TRUE(save.Commit());
    EXPECT_FALSE(save.Commit());  // once only
  }
  EXPECT_TRUE(ReadsAsSequence(prev.File, "new", 5));
  EXPECT_EQ(FilesIn(prev.Dir.Path()), 1u);
  EXPECT_TRUE(BConfigSaveFile(prev.File).Commit());
  EXPECT_EQ(ScratchFolder::Read(prev.File), "");  // a commit without values
}

// Abandoned (no Commit), refused (a value larger than the block buffer), or the disk refusing
// the write at every point from the header to the last byte.
TEST(ConfigSaveFile, AbandonedRefusedOrFailingSaveKeepsTheOldFile)
{
  Previous prev;
  {
    BConfigSaveFile save(prev.File);
    ASSERT_TRUE(WriteSequence(save, "new", 5));
  }
  prev.ExpectUntouched("abandoned");
  {
    BConfigSaveFile save(prev.File);
    save.BlockSize = 100000;
    ASSERT_TRUE(WriteSequence(save, "new", 2));
    EXPECT_FALSE(save.WriteString(std::string(130000, 'x')));
    EXPECT_FALSE(save.Commit());
  }
  prev.ExpectUntouched("refused");
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
      EXPECT_FALSE(committed);
      prev.ExpectUntouched(std::to_string(method) + " " + std::to_string(limit));
    }
  }
}

TEST(ConfigSaveFile, LinkStaysALinkTheModeIsKeptAndOnlyTemporariesOfDeadSavesGo)
{
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

// A folder, a link to what is no regular file or a missing folder in the way raises; a read-only file or folder
// too, where permissions bind (not as root).
TEST(ConfigSaveFile, UnwritableTargetsRaiseAndStayAsTheyWere)
{
  Previous prev;
  fs::create_directory(prev.Dir / "folder.ini");
  EXPECT_THROW(BConfigSaveFile save(prev.Dir / "folder.ini"), EFCreateError);
  // A link to a FIFO (or, for root, a device node) stays what it is.
  ASSERT_EQ(::mkfifo((prev.Dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("fifo", prev.Dir / "fifo.ini");
  EXPECT_THROW(BConfigSaveFile save(prev.Dir / "fifo.ini"), EFCreateError);
  EXPECT_TRUE(fs::is_fifo(prev.Dir / "fifo") && fs::is_symlink(prev.Dir / "fifo.ini"));
  fs::remove(prev.Dir / "fifo.ini");
  fs::remove(prev.Dir / "fifo");
  EXPECT_THROW(BConfigSaveFile save(prev.Dir / "missing/Dravolin.ini"), EFCreateError);
  fs::remove(prev.Dir / "folder.ini");
  prev.ExpectUntouched("folder in the way");
  for (const std::string& locked : {prev.File, prev.Dir.Path()}) {
    fs::permissions(locked, fs::perms::owner_write | fs::perms::others_write | fs::perms::group_write,
                    fs::perm_options::remove);
    if (::access(locked.c_str(), W_OK) == 0) {
      fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
      GTEST_SKIP() << "permissions do not bind for this user";
    }
    EXPECT_THROW(BConfigSaveFile save(prev.File), EFCreateError) << locked;
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    prev.ExpectUntouched(locked);
  }
}
