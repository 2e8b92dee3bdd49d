#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FileSearch.h"
#include "support/ScratchFolder.h"

namespace {

// Every entry the search reports, by name, with its attributes.
std::map<std::string, TSearchRec> Search(const std::string& pattern, int attr)
{
  std::map<std::string, TSearchRec> found;
  TSearchRec rec;
  for (int r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec)) {
    EXPECT_EQ(found.count(rec.Name), 0u) << "reported twice: " << rec.Name;
    TSearchRec copy;
    copy.Name = rec.Name;
    copy.Attr = rec.Attr;
    copy.Size = rec.Size;
    found[rec.Name] = std::move(copy);
  }
  FindClose(rec);
  return found;
}

std::vector<std::string> Names(const std::map<std::string, TSearchRec>& found)
{
  std::vector<std::string> names;
  for (const auto& [name, rec] : found)
    names.push_back(name);
  return names;
}

} // namespace

TEST(Wildcards, WindowsStyleMatching)
{
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  };
  const Case cases[] = {
      {"log1.txt", "*.*", true},
      {"noext", "*.*", true},
      {".hidden", "*.*", true},
      {"log.", "*.*", true},
      {"log1.txt", "log*.txt", true},
      {"LOG2.TXT", "log*.txt", true},
      {"log.txt", "log*.txt", true},
      {"alog.txt", "log*.txt", false},
      {"log1.txt.bak", "log*.txt", false},
      {"log1.txt", "log?.txt", true},
      {"log12.txt", "log?.txt", false},
      {"a", "?", true},
      {"ab", "?", false},
      {"4711abc.qel", "471*.qel", true},
      {"471_old.qel", "471*.qel", true},
      {"4711.txt", "471*.qel", false},
      {"472.qel", "471*.qel", false},
      {"log", "log.*", true},
      {"logs", "log.*", false},
      {"aXbYb", "a*b", true},
      {"aXbYc", "a*b", false},
      {"abc", "a*c*", true},
      {"anything", "*", true},
      // Only ASCII letters fold: Windows-1251 А (C0) and а (E0) stay distinct bytes.
      {"\xC0.txt", "\xE0.txt", false},
      {"\xC0.txt", "\xC0.TXT", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesWildcard(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

class FileSearchTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir.Write("log1.txt", "12345");
    dir.Write("LOG2.TXT", "");
    dir.Write("other.qel", "");
    dir.Write("\xC0\xFF.txt", ""); // Windows-1251 bytes, not UTF-8
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_directory_symlink(dir / "sub", dir / "linkdir");
    std::filesystem::create_symlink(dir / "log1.txt", dir / "linkfile");
  }
  ScratchFolder dir;
};

TEST_F(FileSearchTest, StarDotStarReportsEverythingWithDotEntries)
{
  const auto found = Search(dir / "*.*", faAnyFile);
  EXPECT_EQ(Names(found), (std::vector<std::string>{".", "..", "LOG2.TXT", "linkdir", "linkfile", "log1.txt",
                                                    "other.qel", "sub", "\xC0\xFF.txt"}));
  EXPECT_TRUE(found.at(".").Attr & faDirectory);
  EXPECT_TRUE(found.at("..").Attr & faDirectory);
  EXPECT_TRUE(found.at("sub").Attr & faDirectory);
  EXPECT_EQ(found.at("log1.txt").Attr & (faDirectory | faSymLink), 0);
  EXPECT_EQ(found.at("log1.txt").Size, 5);
}

TEST_F(FileSearchTest, LinkToFolderIsNoFolder)
{
  const auto found = Search(dir / "link*", faAnyFile);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found.at("linkdir").Attr & faDirectory, 0);
  EXPECT_TRUE(found.at("linkdir").Attr & faSymLink);
  EXPECT_TRUE(found.at("linkfile").Attr & faSymLink);
  EXPECT_EQ(found.at("linkfile").Size, 5) << "size of the file the link points to";
}

TEST_F(FileSearchTest, PatternSelectsCaseInsensitively)
{
  EXPECT_EQ(Names(Search(dir / "log*.txt", faAnyFile)), (std::vector<std::string>{"LOG2.TXT", "log1.txt"}));
  EXPECT_EQ(Names(Search(dir / "*.QEL", faAnyFile)), (std::vector<std::string>{"other.qel"}));
}

TEST_F(FileSearchTest, FolderAndMaskMayHoldBackslashAndColon)
{
  std::filesystem::create_directory(dir / "a:b\\c");
  dir.Write("a:b\\c/log\\1:2.txt", "");
  EXPECT_EQ(Names(Search(dir / "a:b\\c/log\\*:?.txt", 0)), (std::vector<std::string>{"log\\1:2.txt"}));
}

TEST_F(FileSearchTest, FoldersPassOnlyWhenAsked)
{
  const auto found = Search(dir / "*", 0);
  EXPECT_EQ(found.count("."), 0u);
  EXPECT_EQ(found.count("sub"), 0u);
  EXPECT_EQ(found.count("log1.txt"), 1u);
  EXPECT_EQ(found.count("linkdir"), 1u) << "a link is not a folder, so it passes like a file";
}

TEST_F(FileSearchTest, NothingFound)
{
  TSearchRec rec;
  EXPECT_NE(FindFirst(dir / "*.none", faAnyFile, rec), 0);
  EXPECT_NE(FindFirst(dir / "missing/*.*", faAnyFile, rec), 0);
  EXPECT_NE(FindFirst(dir / "log1.txt/*.*", faAnyFile, rec), 0) << "a file is no folder to search";
  EXPECT_NE(FindFirst(dir.Path() + "/", faAnyFile, rec), 0) << "no name part";
  EXPECT_NE(FindNext(rec), 0);
  FindClose(rec);
  FindClose(rec);
}

TEST_F(FileSearchTest, EndOfSearchStaysAtTheEndAndARecordCanBeReused)
{
  TSearchRec rec;
  ASSERT_EQ(FindFirst(dir / "other.*", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "other.qel");
  EXPECT_NE(FindNext(rec), 0);
  EXPECT_NE(FindNext(rec), 0);
  ASSERT_EQ(FindFirst(dir / "log1.*", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "log1.txt");
  FindClose(rec);
}
