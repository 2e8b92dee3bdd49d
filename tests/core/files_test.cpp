// File names, folders and searches: names are the file system's bytes and split at "/" only.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

#include "AppPaths.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "FileReplacement.h"
#include "FileSearch.h"
#include "Paths.h"
#include "support/EnvScope.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"

// A Linux file name may hold '\\' and ':'; only '/' separates, and the extension comes from the
// file part alone.
TEST(Paths, SplitsAtSlashOnly)
{
  // {name, path, file, extension, ChangeFileExt(name, ".bin")}
  const std::array<const char*, 5> cases[] = {
      {"/home/u/logs/a.qel", "/home/u/logs/", "a.qel", ".qel", "/home/u/logs/a.bin"},
      {"C:\\Logs\\x.txt", "", "C:\\Logs\\x.txt", ".txt", "C:\\Logs\\x.bin"},
      {"/a:b\\c/d\\e:f", "/a:b\\c/", "d\\e:f", "", "/a:b\\c/d\\e:f.bin"},
      {"/a/log.tar.gz", "/a/", "log.tar.gz", ".gz", "/a/log.tar.bin"},
      {"/a/b.d/log", "/a/b.d/", "log", "", "/a/b.d/log.bin"},  // a dot in a folder is no extension
      {"/l/x.d\\1:2", "/l/", "x.d\\1:2", ".d\\1:2", "/l/x.bin"},
      {"/a/.hidden", "/a/", ".hidden", ".hidden", "/a/.bin"},
      {"name.", "", "name.", ".", "name.bin"},
      {"folder/", "folder/", "", "", "folder/.bin"},
      {"", "", "", "", ".bin"},
  };
  for (const auto& [name, path, file, ext, asBin] : cases)
    EXPECT_EQ(ExtractFilePath(name) + "|" + ExtractFileName(name) + "|" + ExtractFileExt(name) + "|" +
                  ChangeFileExt(name, ".bin"),
              std::string(path) + "|" + file + "|" + ext + "|" + asBin);
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
}

// One file, one name: "..", "." and doubled slashes leave the text, links stay as written.
TEST(Paths, ExpandFileNameGivesOneCleanAbsoluteName)
{
  const std::pair<const char*, const char*> cases[] = {
      {"/x/logs/../logs/a.qel", "/x/logs/a.qel"},
      {"/x//y/./z.qel", "/x/y/z.qel"},
      {"/../a", "/a"},
      {"/a/b/..", "/a"},
      {"/a/b/../", "/a/"},
      {"/", "/"},
      {"/..", "/"},
      {"/a/...b/..c", "/a/...b/..c"},
      {"", ""},
  };
  for (const auto& [name, expanded] : cases)
    EXPECT_EQ(ExpandFileName(name), expanded) << name;

  ScratchFolder dir;
  std::filesystem::create_directories(dir / "w/logs");
  std::filesystem::create_symlink(dir / "w/logs", dir / "link");
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir / "w");
  const std::string here = ExpandFileName("./../link/./x.qel");
  const std::string up = ExpandFileName("../w/logs/../logs//a.qel");
  std::filesystem::current_path(before);
  EXPECT_EQ(here, std::string(dir / "link/x.qel"));
  EXPECT_EQ(up, std::string(dir / "w/logs/a.qel"));
}

// FileExists holds for files and links to them only. Plain rename() would replace an existing
// file, or an empty folder with another one.
TEST(Paths, FileExistsAndRenameMovesAFileOrFolderButNeverReplacesATarget)
{
  ScratchFolder dir;
  const std::string file = dir.Write("file.txt", "x");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink(file, dir / "to-file");
  std::filesystem::create_symlink(dir / "sub", dir / "to-sub");
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");
  std::string exists;
  for (const char* name : {"file.txt", "to-file", "sub", "to-sub", "dangling", "missing", ""})
    exists += FileExists(name[0] ? dir / name : "") ? '1' : '0';
  EXPECT_EQ(exists, "1100000");

  dir.Write("log.txt", "content");
  dir.Write("source.txt", "source");
  std::filesystem::create_directory(dir / "old");
  std::filesystem::create_directory(dir / "a");
  dir.Write("a/keep", "1");
  std::string left;
  for (auto [from, to] : {std::pair{"log.txt", "log.qel"},
                          {"old", "new"},
                          {"source.txt", "log.qel"},
                          {"a", "new"},
                          {"missing", "other"}})
    left += RenameFile(dir / from, dir / to) ? '1' : '0';
  for (const char* name : {"log.txt", "log.qel", "source.txt", "new", "a/keep", "other"})
    left += std::string(name) +
            (std::filesystem::is_directory(dir / name) ? " folder"
             : std::filesystem::exists(dir / name)     ? " " + ScratchFolder::Read(dir / name)
                                                       : " -") +
            "\n";
  EXPECT_EQ(left, "11000log.txt -\nlog.qel content\nsource.txt source\nnew folder\na/keep 1\nother -\n");
}

// A missing folder is unwritable for every user, root included. XDG_CONFIG_HOME counts only
// when it is an absolute path; the folder is made on demand.
TEST(DataFolder, AWritableProgramFolderOrElseTheConfigFolder)
{
  ScratchFolder dir;
  EXPECT_EQ(DataFolderFor(dir.Path()) + " " + DataFolderFor(dir.Path() + "/"),
            dir.Path() + "/ " + dir.Path() + "/");
  SetDataFolderForTests(dir.Path());
  EXPECT_EQ(DataFolder(), dir.Path() + "/");
  SetDataFolderForTests("");
  EXPECT_EQ(DataFolder(), ProgramFolder());  // the test binary's folder is writable
  EnvScope home("HOME", dir.Path().c_str());
  const std::string absolute = dir / "config";
  for (const char* xdg : {absolute.c_str(), static_cast<const char*>(nullptr), "", "relative/config"}) {
    EnvScope scope("XDG_CONFIG_HOME", xdg);
    const std::string expected = xdg == absolute.c_str() ? dir / "config/dravolin/" : dir / ".config/dravolin/";
    EXPECT_EQ(DataFolderFor(dir / "missing"), expected) << (xdg ? xdg : "(unset)");
    EXPECT_TRUE(std::filesystem::is_directory(expected));
  }
}

// By getcwd's name for the folder (/tmp is often reached through a link).
TEST(CommandLine, QuotesAndMakesTheNamesOfExistingFilesAbsolute)
{
  EXPECT_EQ(BuildCommandLine("/opt/dravolin/dravolin", {}), "/opt/dravolin/dravolin");
  EXPECT_EQ(BuildCommandLine("/opt/my tools/dravolin", {"/abs/no such.qel", "", "tab\there", "plain"}),
            "\"/opt/my tools/dravolin\" \"/abs/no such.qel\" \"\" \"tab\there\" plain");
  ScratchFolder dir;
  dir.Write("log 1.qel", "");
  dir.Write("\xC0.qel", "");
  std::filesystem::create_directory(dir / "sub");
  struct Back {
    std::filesystem::path old = std::filesystem::current_path();
    ~Back() { std::filesystem::current_path(old); }
  } back;
  std::filesystem::current_path(dir.Path());
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(BuildCommandLine("/p", {"log 1.qel", "./\xC0.qel", "missing.qel", "sub", "-x"}),
            "/p \"" + cwd + "/log 1.qel\" " + cwd + "/\xC0.qel missing.qel sub -x");
}

TEST(CommandLine, ProgramPathIsTheAbsoluteExecutable)
{
  const std::string exe = ExeName();
  EXPECT_EQ(exe.substr(0, 1) + exe.substr(exe.rfind('/')) + " " + ProgramFolder(),
            "//core_tests " + exe.substr(0, exe.rfind('/') + 1));
  char arg0[] = "core_tests", arg1[] = "no such file";
  char* argv[] = {arg0, arg1, nullptr};
  InitCommandLine(2, argv);
  EXPECT_EQ(GetCommandLine(), BuildCommandLine(exe, {}) + " \"no such file\"");
}

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

// Only ASCII letters fold (Windows-1251 А and а stay distinct), and a trailing ".*" also matches
// a name without a dot.
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

// A link to a folder is no folder; an ended search stays ended and its record can start another.
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
  EXPECT_TRUE(FindNext(rec) != 0 && FindNext(rec) != 0);
  ASSERT_EQ(FindFirst(dir / "other.*", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "other.qel");
  std::filesystem::create_directory(dir / "a:b\\c");
  dir.Write("a:b\\c/log\\1:2.txt", "");
  EXPECT_EQ(Search(dir / "a:b\\c/log\\*:?.txt", 0), "log\\1:2.txt 0\n");

  for (const std::string& nothing : {dir / "*.none", dir / "missing/*.*", dir / "log1.txt/*.*", dir.Path() + "/"})
    EXPECT_NE(FindFirst(nothing, faAnyFile, rec), 0) << nothing;
  EXPECT_NE(FindNext(rec), 0);
  FindClose(rec);
  FindClose(rec);
}

// The name holds the old bytes or all the new ones; nothing is left beside it; a link stays a
// link, a device stays a device; the reason is the system's.
TEST(ReplaceFileContents, ReplacesWholeOrNotAtAll)
{
  namespace fs = std::filesystem;
  ScratchFolder dir;
  const std::string old = dir.Write("old.jpg", "old bytes");
  fs::permissions(old, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("old.jpg", dir / "link.jpg");
  fs::create_directory(dir / "folder.jpg");
  const std::string big(100000, 'b');
  auto attempt = [&](const std::string& name, const std::string& bytes) -> std::string {
    try {
      ReplaceFileContents(name, bytes.data(), bytes.size());
      return "ok";
    } catch (const Exception& e) {
      return e.Message();
    }
  };
  std::string seen;
  {
    FileSizeLimit limit(1000);
    seen += attempt(dir / "old.jpg", big);
    seen += ": " + ScratchFolder::Read(old) + "|";
  }
  for (const auto& [name, bytes] : {std::pair{dir / "new.jpg", std::string("new")},
                                    {dir / "link.jpg", std::string("linked")},
                                    {dir / "folder.jpg", std::string("x")},
                                    {dir / "missing/x.jpg", std::string("x")}})
    seen += attempt(name, bytes) + "|";
  EXPECT_EQ(seen, "File too large: old bytes|ok|ok|Is a directory|No such file or directory|");
  // A device of the test's own, never one of the system's: a fault here would replace it.
  if (::mknod((dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
    EXPECT_EQ(attempt(dir / "full", "x"), "No space left on device");
    EXPECT_TRUE(fs::is_character_file(dir / "full"));
    fs::remove(dir / "full");
  }
  std::vector<std::string> listing;
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    listing.push_back(entry.path().filename().string() + (entry.is_symlink() ? " link " : " ") +
                      (entry.is_regular_file() ? ScratchFolder::Read(entry.path()) : "-"));
  std::sort(listing.begin(), listing.end());
  EXPECT_EQ(listing,
            (std::vector<std::string>{"folder.jpg -", "link.jpg link linked", "new.jpg new", "old.jpg linked"}));
  EXPECT_EQ(fs::status(old).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// The program folder when writable, else the home folder (a missing folder is unwritable for
// every user, root included).
TEST(SaveFolder, AWritableProgramFolderOrElseHome)
{
  ScratchFolder dir;
  EnvScope home("HOME", (dir / "home").c_str());
  EXPECT_EQ(SaveFolderFor(dir.Path()) + " " + SaveFolderFor(dir / "missing") + " " + SaveFolderFor(""),
            dir.Path() + "/ " + dir / "home/ " + dir / "home/");
  EXPECT_EQ(SaveFolder(), ProgramFolder());
}
