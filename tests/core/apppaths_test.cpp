#include <gtest/gtest.h>

#include <filesystem>

#include "AppPaths.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"

TEST(DataFolder, AWritableProgramFolderOrTheTestOverrideIsUsed)
{
  ScratchFolder dir;
  EXPECT_EQ(DataFolderFor(dir.Path()), dir.Path() + "/");
  EXPECT_EQ(DataFolderFor(dir.Path() + "/"), dir.Path() + "/");
  SetDataFolderForTests(dir.Path());
  EXPECT_EQ(DataFolder(), dir.Path() + "/");
  SetDataFolderForTests("");
  EXPECT_EQ(DataFolder(), ProgramFolder());  // the test binary's folder is writable
}

// A missing folder is unwritable for every user, root included. XDG_CONFIG_HOME counts only
// when it is an absolute path; the folder is made on demand.
TEST(DataFolder, AnUnwritableProgramFolderFallsBackToTheConfigFolder)
{
  ScratchFolder dir;
  EnvScope home("HOME", dir.Path().c_str());
  const std::string absolute = dir / "config";
  for (const char* xdg : {absolute.c_str(), static_cast<const char*>(nullptr), "", "relative/config"}) {
    EnvScope scope("XDG_CONFIG_HOME", xdg);
    const std::string expected = xdg == absolute.c_str() ? dir / "config/dravolin/" : dir / ".config/dravolin/";
    EXPECT_EQ(DataFolderFor(dir / "missing"), expected) << (xdg ? xdg : "(unset)");
    EXPECT_TRUE(std::filesystem::is_directory(expected));
  }
}
