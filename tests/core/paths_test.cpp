#include <gtest/gtest.h>

#include <filesystem>

#include "Paths.h"
#include "support/ScratchFolder.h"

// A Linux file name may hold '\\' and ':'; only '/' separates.
TEST(Paths, SplitsAtSlashOnly)
{
  struct Case {
    const char* name;
    const char* path;
    const char* file;
  };
  const Case cases[] = {
      {"/home/u/logs/a.qel", "/home/u/logs/", "a.qel"},
      {"C:\\Logs\\x.txt", "", "C:\\Logs\\x.txt"},
      {"/logs/12:30.qel", "/logs/", "12:30.qel"},
      {"/a:b\\c/d\\e:f", "/a:b\\c/", "d\\e:f"},
      {"plain.txt", "", "plain.txt"},
      {"/", "/", ""},
      {"folder/", "folder/", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
  }
}

TEST(Paths, ExtensionComesFromTheFilePartOnly)
{
  EXPECT_EQ(ExtractFileExt("/a/log.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("/a/b.d/log"), "");
  EXPECT_EQ(ExtractFileExt("/a/b.d\\log"), ".d\\log");
  EXPECT_EQ(ExtractFileExt("/a/.hidden"), ".hidden");
  EXPECT_EQ(ExtractFileExt("name."), ".");
  EXPECT_EQ(ExtractFileExt("X.TXT"), ".TXT");
  EXPECT_EQ(ExtractFileExt(""), "");
}

TEST(Paths, ChangeFileExtReplacesOrAppends)
{
  EXPECT_EQ(ChangeFileExt("/logs/log.txt", ".bin"), "/logs/log.bin");
  EXPECT_EQ(ChangeFileExt("/logs.d/log", ".bin"), "/logs.d/log.bin");
  EXPECT_EQ(ChangeFileExt("/l/x.d\\1:2", ".bin"), "/l/x.bin");
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
  EXPECT_EQ(ChangeFileExt("", ".bin"), ".bin");
}

TEST(Paths, FileExistsOnlyForFilesAndLinksToThem)
{
  ScratchFolder dir;
  const std::string file = dir.Write("file.txt", "x");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink(file, dir / "to-file");
  std::filesystem::create_symlink(dir / "sub", dir / "to-sub");
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");

  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(dir / "to-file"));
  EXPECT_FALSE(FileExists(dir / "sub"));
  EXPECT_FALSE(FileExists(dir / "to-sub"));
  EXPECT_FALSE(FileExists(dir / "dangling"));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_FALSE(FileExists(""));
}

TEST(Paths, RenameMovesAFileOrFolder)
{
  ScratchFolder dir;
  dir.Write("log.txt", "content");
  EXPECT_TRUE(RenameFile(dir / "log.txt", dir / "log.qel"));
  EXPECT_FALSE(std::filesystem::exists(dir / "log.txt"));
  EXPECT_EQ(ScratchFolder::Read(dir / "log.qel"), "content");

  std::filesystem::create_directory(dir / "old");
  EXPECT_TRUE(RenameFile(dir / "old", dir / "new"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "new"));
}

TEST(Paths, RenameNeverReplacesAnExistingTarget)
{
  ScratchFolder dir;
  dir.Write("log.txt", "source");
  dir.Write("log.qel", "target");
  EXPECT_FALSE(RenameFile(dir / "log.txt", dir / "log.qel"));
  EXPECT_EQ(ScratchFolder::Read(dir / "log.txt"), "source");
  EXPECT_EQ(ScratchFolder::Read(dir / "log.qel"), "target");

  // Plain rename() would replace an empty folder with another one.
  std::filesystem::create_directory(dir / "a");
  std::filesystem::create_directory(dir / "b");
  dir.Write("a/keep", "1");
  EXPECT_FALSE(RenameFile(dir / "a", dir / "b"));
  EXPECT_TRUE(std::filesystem::exists(dir / "a/keep"));

  EXPECT_FALSE(RenameFile(dir / "missing", dir / "other"));
  EXPECT_FALSE(std::filesystem::exists(dir / "other"));
}
