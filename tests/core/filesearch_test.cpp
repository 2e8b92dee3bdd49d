#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>
#include <string>
#include <vector>

#include "FileSearch.h"
#include "support/ScratchFolder.h"

namespace {

// Every entry the search reports, sorted (they come in the folder's order), one line each: name,
// then d for a folder, l for a link, and the size of a file that is no link.
std::string Search(const std::string& pattern, int attr)
{
  std::vector<std::string> found;
  TSearchRec rec;
  for (int r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec))
    found.push_back(rec.Name + " " + (rec.Attr & faDirectory ? "d" : "") + (rec.Attr & faSymLink ? "l" : "") +
                    (rec.Attr & (faDirectory | faSymLink) ? "" : std::to_string(rec.Size)) + "\n");
  FindClose(rec);
  std::sort(found.begin(), found.end());
  std::string joined;
  for (const std::string& line : found)
    joined += line;
  return joined;
}

}  // namespace

// Against fnmatch with ASCII case folding, on random names and masks: '*' any run, '?' one byte,
// only ASCII letters fold (Windows-1251 А and а stay distinct bytes), and a trailing ".*" also
// matches a name without a dot.
TEST(Wildcards, AgreeWithFnmatchOnRandomNamesAndMasks)
{
  const char alphabet[] = {'a', 'A', 'b', '.', '\xC0', '\xE0'};
  uint32_t seed = 99;
  auto next = [&seed](uint32_t n) { return ((seed = seed * 1103515245u + 12345u) >> 16) % n; };
  for (int round = 0; round < 30000; ++round) {
    std::string name, mask;
    for (uint32_t n = next(6); n > 0; --n)
      name += alphabet[next(6)];
    for (uint32_t n = next(6); n > 0; --n)
      mask += next(3) == 0 ? "*?"[next(2)] : alphabet[next(6)];
    bool expected = fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0)
      expected = expected || fnmatch(mask.substr(0, mask.size() - 2).c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    ASSERT_EQ(MatchesWildcard(name, mask), expected) << testing::PrintToString(name) << " ~ " << mask;
  }
}

// A link to a folder is no folder; a link to a file has that file's size; names are bytes and
// may hold '\' and ':'; an ended search stays ended and its record can start another.
TEST(FileSearch, PatternsSelectCaseInsensitivelyAndFoldersOnlyWhenAsked)
{
  ScratchFolder dir;
  dir.Write("log1.txt", "12345");
  dir.Write("LOG2.TXT", "");
  dir.Write("other.qel", "");
  dir.Write("\xC0\xFF.txt", "");  // Windows-1251 bytes, not UTF-8
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_directory_symlink(dir / "sub", dir / "linkdir");
  std::filesystem::create_symlink(dir / "log1.txt", dir / "linkfile");
  EXPECT_EQ(Search(dir / "*.*", faAnyFile),
            ". d\n.. d\nLOG2.TXT 0\nlinkdir l\nlinkfile l\nlog1.txt 5\nother.qel 0\nsub d\n\xC0\xFF.txt 0\n");
  EXPECT_EQ(Search(dir / "*", 0), "LOG2.TXT 0\nlinkdir l\nlinkfile l\nlog1.txt 5\nother.qel 0\n\xC0\xFF.txt 0\n");
  EXPECT_EQ(Search(dir / "log*.txt", faAnyFile), "LOG2.TXT 0\nlog1.txt 5\n");
  TSearchRec rec;
  ASSERT_EQ(FindFirst(dir / "linkfile", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Size, 5) << "the size of the file the link points to";
  EXPECT_NE(FindNext(rec), 0);
  EXPECT_NE(FindNext(rec), 0);
  ASSERT_EQ(FindFirst(dir / "other.*", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "other.qel");
  FindClose(rec);
  std::filesystem::create_directory(dir / "a:b\\c");
  dir.Write("a:b\\c/log\\1:2.txt", "");
  EXPECT_EQ(Search(dir / "a:b\\c/log\\*:?.txt", 0), "log\\1:2.txt 0\n");

  for (const std::string& nothing : {dir / "*.none", dir / "missing/*.*", dir / "log1.txt/*.*", dir.Path() + "/"})
    EXPECT_NE(FindFirst(nothing, faAnyFile, rec), 0) << nothing;
  EXPECT_NE(FindNext(rec), 0);
  FindClose(rec);
  FindClose(rec);
}
