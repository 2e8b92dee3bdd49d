#include <gtest/gtest.h>

#include <filesystem>

#include "Paths.h"
#include "support/ScratchFolder.h"

// A Linux file name may hold '\\' and ':'; only '/' separates, and the extension comes from the
// file part alone.
TEST(Paths, SplitsAtSlashOnly)
{
  struct Case {
    const char* name;
    const char* path;
    const char* file;
    const char* ext;
    const char* asBin;  // ChangeFileExt(name, ".bin")
  };
  const Case cases[] = {
      {"/home/u/logs/a.qel", "/home/u/logs/", "a.qel", ".qel", "/home/u/logs/a.bin"},
      {"C:\\Logs\\x.txt", "", "C:\\Logs\\x.txt", ".txt", "C:\\Logs\\x.bin"},
      {"/a:b\\c/d\\e:f", "/a:b\\c/", "d\\e:f", "", "/a:b\\c/d\\e:f.bin"},
      {"/a/log.tar.gz", "/a/", "log.tar.gz", ".gz", "/a/log.tar.bin"},
      {"/l/x.d\\1:2", "/l/", "x.d\\1:2", ".d\\1:2", "/l/x.bin"},
      {"/a/.hidden", "/a/", ".hidden", ".hidden", "/a/.bin"},
      {"name.", "", "name.", ".", "name.bin"},
      {"folder/", "folder/", "", "", "folder/.bin"},
      {"", "", "", "", ".bin"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    EXPECT_EQ(ChangeFileExt(c.name, ".bin"), c.asBin) << c.name;
  }
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
}

TEST(Paths, FileExistsOnlyForFilesAndLinksToThem)
{
  ScratchFolder dir;
  const std::string file = dir.Write("file.txt", "x");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink(file, dir / "to-file");
  std::filesystem::create_symlink(dir / "sub", dir / "to-sub");
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");
  for (const char* name : {"file.txt", "to-file", "sub", "to-sub", "dangling", "missing"})
    EXPECT_EQ(FileExists(dir / name), name[0] == 'f' || name == std::string("to-file")) << name;
  EXPECT_FALSE(FileExists(""));
}

// Plain rename() would replace an existing file, or an empty folder with another one.
TEST(Paths, RenameMovesAFileOrFolderButNeverReplacesATarget)
{
  ScratchFolder dir;
  dir.Write("log.txt", "content");
  dir.Write("source.txt", "source");
  std::filesystem::create_directory(dir / "old");
  std::filesystem::create_directory(dir / "a");
  dir.Write("a/keep", "1");
  EXPECT_TRUE(RenameFile(dir / "log.txt", dir / "log.qel"));
  EXPECT_TRUE(RenameFile(dir / "old", dir / "new"));
  EXPECT_FALSE(RenameFile(dir / "source.txt", dir / "log.qel"));
  EXPECT_FALSE(RenameFile(dir / "a", dir / "new"));
  EXPECT_FALSE(RenameFile(dir / "missing", dir / "other"));
  std::string left;
  for (const char* name : {"log.txt", "log.qel", "source.txt", "new", "a/keep", "other"})
    left += std::string(name) +
            (std::filesystem::is_directory(dir / name) ? " folder"
             : std::filesystem::exists(dir / name)     ? " " + ScratchFolder::Read(dir / name)
                                                       : " -") +
            "\n";
  EXPECT_EQ(left, "log.txt -\nlog.qel content\nsource.txt source\nnew folder\na/keep 1\nother -\n");
}
