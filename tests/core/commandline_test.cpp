#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "AppPaths.h"
#include "CommandLine.h"
#include "support/ScratchFolder.h"

namespace {

// Runs a test inside a folder and goes back afterwards.
class InFolder {
public:
  explicit InFolder(const std::string& folder) : old_(std::filesystem::current_path())
  {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

private:
  std::filesystem::path old_;
};

}  // namespace

TEST(CommandLine, QuotesTextsWithBlanksAndEmptyOnes)
{
  EXPECT_EQ(BuildCommandLine("/opt/dravolin/dravolin", {}), "/opt/dravolin/dravolin");
  EXPECT_EQ(BuildCommandLine("/opt/my tools/dravolin", {}), "\"/opt/my tools/dravolin\"");
  EXPECT_EQ(BuildCommandLine("/p", {"/abs/no such.qel", "", "tab\there", "plain"}),
            "/p \"/abs/no such.qel\" \"\" \"tab\there\" plain");
}

TEST(CommandLine, RelativeNameOfAnExistingFileBecomesAbsolute)
{
  ScratchFolder dir;
  dir.Write("log 1.qel", "");
  dir.Write("\xC0.qel", "");
  std::filesystem::create_directory(dir / "sub");
  // The folder may be reached through a link (/tmp often is); the name the program sees is getcwd's.
  InFolder here(dir.Path());
  const std::string cwd = std::filesystem::current_path().string();

  EXPECT_EQ(BuildCommandLine("/p", {"log 1.qel"}), "/p \"" + cwd + "/log 1.qel\"");
  EXPECT_EQ(BuildCommandLine("/p", {"./\xC0.qel"}), "/p " + cwd + "/\xC0.qel");
  EXPECT_EQ(BuildCommandLine("/p", {"missing.qel"}), "/p missing.qel");
  EXPECT_EQ(BuildCommandLine("/p", {"sub"}), "/p sub") << "a folder is no file";
  EXPECT_EQ(BuildCommandLine("/p", {"-x"}), "/p -x");
}

TEST(CommandLine, ProgramPathIsTheAbsoluteExecutable)
{
  const std::string exe = ExeName();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe[0], '/');
  EXPECT_EQ(std::filesystem::path(exe).filename(), "core_tests");
  EXPECT_EQ(ProgramFolder(), exe.substr(0, exe.rfind('/') + 1));

  char arg0[] = "core_tests";
  char arg1[] = "no such file";
  char* argv[] = {arg0, arg1, nullptr};
  InitCommandLine(2, argv);
  EXPECT_EQ(GetCommandLine(), BuildCommandLine(exe, {}) + " \"no such file\"");
}
