#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "AppPaths.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"

TEST(DataFolder, WritableProgramFolderIsUsed)
{
  ScratchFolder dir;
  EXPECT_EQ(DataFolderFor(dir.Path()), dir.Path() + "/");
  EXPECT_EQ(DataFolderFor(dir.Path() + "/"), dir.Path() + "/");
}

// A missing folder is unwritable for every user, root included (root may write anywhere else).
TEST(DataFolder, UnwritableProgramFolderFallsBackToXdgConfigHome)
{
  ScratchFolder dir;
  EnvScope xdg("XDG_CONFIG_HOME", (dir / "config").c_str());
  const std::string folder = DataFolderFor(dir / "no-such-program-folder");
  EXPECT_EQ(folder, dir / "config/dravolin/");
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << "created on demand";
}

TEST(DataFolder, WithoutXdgConfigHomeTheHomeConfigFolderIsUsed)
{
  ScratchFolder dir;
  EnvScope home("HOME", dir.Path().c_str());
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    EnvScope unset("XDG_CONFIG_HOME", xdg);
    EXPECT_EQ(DataFolderFor(dir / "missing"), dir / ".config/dravolin/") << (xdg ? xdg : "(unset)");
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / ".config/dravolin"));
}

TEST(DataFolder, TestOverrideAndItsReset)
{
  ScratchFolder dir;
  SetDataFolderForTests(dir.Path());
  EXPECT_EQ(DataFolder(), dir.Path() + "/");
  SetDataFolderForTests("");
  // The test binary's own folder is writable, so the rule picks it.
  EXPECT_EQ(DataFolder(), ProgramFolder());
}
