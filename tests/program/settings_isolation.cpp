// Every central object reads the settings file when it is made and writes it when it ends. So
// that no test sees what an earlier one left, the test program keeps its settings in a folder of
// its own, and each test starts there with no settings file (a first start).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "AppPaths.h"
#include "settings/SettingsSchema.h"
#include "support/ScratchFolder.h"

namespace {

class SettingsIsolation : public ::testing::EmptyTestEventListener {
  void OnTestProgramStart(const ::testing::UnitTest&) override { Folder = std::make_unique<ScratchFolder>(); }
  // Before the test's fixture exists: a test may still point the data folder elsewhere.
  void OnTestStart(const ::testing::TestInfo&) override
  {
    std::filesystem::remove(*Folder / SettingsFileName);
    SetDataFolderForTests(Folder->Path());
  }
  void OnTestProgramEnd(const ::testing::UnitTest&) override
  {
    SetDataFolderForTests("");
    Folder.reset();
  }
  std::unique_ptr<ScratchFolder> Folder;
};

const bool Registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new SettingsIsolation);
  return true;
}();

}  // namespace
