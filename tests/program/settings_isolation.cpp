// Every central object reads the settings file when it is made and writes it when it ends.
// So that no test sees what an earlier one left, the whole test program keeps its settings in
// a folder of its own, and each test starts with no settings file there (a first start).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "AppPaths.h"
#include "settings/SettingsSchema.h"
#include "support/ScratchFolder.h"

namespace {

class SettingsIsolation : public ::testing::EmptyTestEventListener {
public:
  void OnTestProgramStart(const ::testing::UnitTest&) override { Folder = std::make_unique<ScratchFolder>(); }
  // Before the test's fixture exists: a test may still point the data folder elsewhere.
  void OnTestStart(const ::testing::TestInfo&) override
  {
    std::error_code ignored;
    std::filesystem::remove(*Folder / SettingsFileName, ignored);
    SetDataFolderForTests(Folder->Path());
  }
  void OnTestProgramEnd(const ::testing::UnitTest&) override
  {
    SetDataFolderForTests("");
    Folder.reset();
  }

private:
  std::unique_ptr<ScratchFolder> Folder;
};

const bool Registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new SettingsIsolation);
  return true;
}();

}  // namespace
