// Every central object reads the settings file when it is made and writes it when it ends.
// So that no test sees what an earlier one left, the whole test program keeps its settings in
// a folder of its own, and each test starts with no settings file there (a first start).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "AppPaths.h"
#include "settings/SettingsSchema.h"

namespace {

class SettingsIsolation : public ::testing::EmptyTestEventListener {
public:
  void OnTestProgramStart(const ::testing::UnitTest&) override
  {
    std::string templ = (std::filesystem::temp_directory_path() / "dravolin-settings-XXXXXX").string();
    if (::mkdtemp(templ.data()))
      Folder = templ;
  }
  // Before the test's fixture exists: a test may still point the data folder elsewhere.
  void OnTestStart(const ::testing::TestInfo&) override
  {
    if (Folder.empty())
      return;
    std::error_code ignored;
    std::filesystem::remove(Folder + "/" + SettingsFileName, ignored);
    SetDataFolderForTests(Folder);
  }
  void OnTestProgramEnd(const ::testing::UnitTest&) override
  {
    SetDataFolderForTests("");
    std::error_code ignored;
    if (!Folder.empty())
      std::filesystem::remove_all(Folder, ignored);
  }

private:
  std::string Folder;
};

const bool Registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new SettingsIsolation);
  return true;
}();

} // namespace
