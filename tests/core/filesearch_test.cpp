#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FileSearch.h"
#include "support/ScratchFolder.h"

namespace {

// Every entry the search reports, one line each: name, then d for a folder, l for a link, and
// the size of a file that is no link.
std::string Search(const std::string& pattern, int attr)
{
  std::string found;
  TSearchRec rec;
  for (int r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec))
    found += rec.Name + " " + (rec.Attr & faDirectory ? "d" : "") + (rec.Attr & faSymLink ? "l" : "") +
             (rec.Attr & (faDirectory | faSymLink) ? "" : std::to_string(rec.Size)) + "\n";
  FindClose(rec);
  return found;
}

}  // namespace

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
    dir.Write("\xC0\xFF.txt", "");  // Windows-1251 bytes, not UTF-8
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_directory_symlink(dir / "sub", dir / "linkdir");
    std::filesystem::create_symlink(dir / "log1.txt", dir / "linkfile");
  }
  ScratchFolder dir;
};

// Entries come in the folder's order: sorted here for the comparison. A link to a folder is no
// folder; a link to a file has that file's size.
TEST_F(FileSearchTest, PatternsSelectCaseInsensitivelyAndFoldersOnlyWhenAsked)
{
  auto sorted = [](std::string lines) {
    std::vector<std::string> all;
    for (size_t at; (at = lines.find('\n')) != std::string::npos; lines.erase(0, at + 1))
      all.push_back(lines.substr(0, at));
    std::sort(all.begin(), all.end());
    std::string joined;
    for (const std::string& line : all)
      joined += line + "\n";
    return joined;
  };
  EXPECT_EQ(sorted(Search(dir / "*.*", faAnyFile)),
            ". d\n.. d\nLOG2.TXT 0\nlinkdir l\nlinkfile l\nlog1.txt 5\nother.qel 0\nsub d\n\xC0\xFF.txt 0\n");
  EXPECT_EQ(sorted(Search(dir / "*", 0)),
            "LOG2.TXT 0\nlinkdir l\nlinkfile l\nlog1.txt 5\nother.qel 0\n\xC0\xFF.txt 0\n");
  EXPECT_EQ(sorted(Search(dir / "log*.txt", faAnyFile)), "LOG2.TXT 0\nlog1.txt 5\n");
  EXPECT_EQ(Search(dir / "*.QEL", faAnyFile), "other.qel 0\n");
  TSearchRec rec;
  ASSERT_EQ(FindFirst(dir / "linkfile", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Size, 5) << "the size of the file the link points to";
  FindClose(rec);
  std::filesystem::create_directory(dir / "a:b\\c");
  dir.Write("a:b\\c/log\\1:2.txt", "");
  EXPECT_EQ(Search(dir / "a:b\\c/log\\*:?.txt", 0), "log\\1:2.txt 0\n");
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
