// The central object's start and end: the start timer's eleventh tick, the start's language,
// file type and reading speed, and the order of the destructor.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <stdexcept>

#include "AppPaths.h"
#include "CommandLine.h"
#include "Memo.h"
#include "Paths.h"
#include "Timer.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "support/StartTestSupport.h"
#include "settings/SettingsSchema.h"

namespace {

class Lifecycle : public ::testing::Test {
protected:
  void TearDown() override
  {
    // As the main form's close does; the form is freed after the object, as in the program.
    delete gQELunit;
    gQELunit = nullptr;
    delete form;
  }

  // The program's start: the form shown makes the central object.
  BQELunit& Start()
  {
    form->Show();
    EXPECT_NE(gQELunit, nullptr);
    return *gQELunit;
  }

  static void Ticks(BQELunit& unit, int count)
  {
    for (int i = 0; i < count; ++i)
      unit.StartTimerTimer(unit.StartTimer);
  }

  ScratchFolder folder;
  EnvScope desktopData{"XDG_DATA_HOME", (folder / "desktop").c_str()};
  EnvScope locale{"LC_ALL", "C"};
  TQELMainForm* form = new TQELMainForm(Application);
};

TEST_F(Lifecycle, TheEleventhTickOpensTheCommandLineLogAndACloseMeanwhileBreaksItOff)
{
  const std::string log = folder.Write("start log.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  EXPECT_EQ(unit.ReadyFlag, 1);
  ASSERT_NE(unit.StartTimer, nullptr);
  EXPECT_TRUE(unit.StartTimer->Enabled());
  EXPECT_EQ(unit.StartTimer->Interval(), 100);

  Ticks(unit, 10);
  EXPECT_EQ(unit.TickCount, 10);
  EXPECT_EQ(unit.LogFileName, "");
  EXPECT_EQ(unit.DataCells->Count(), 0);
  EXPECT_TRUE(unit.StartTimer->Enabled());

  // A close asked for while the log is being parsed (the progress window lets it through).
  static int closes = 0;
  closes = 0;
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& self, int, int64_t, int64_t) {
    EXPECT_EQ(self.BusyFlag, 1);
    QELMainForm->Close();
    ++closes;
  };
  QELMainForm = form;
  Ticks(unit, 1);
  QELMainForm = nullptr;
  EXPECT_GT(closes, 0);

  // The close broke the parse off instead of freeing the object under it.
  ASSERT_EQ(gQELunit, &unit) << "the window closed under the opening";
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(unit.LogFileName, log);
  EXPECT_EQ(unit.AbortFlag, 1);
  EXPECT_EQ(unit.DataCells->Count(), 0);
  EXPECT_FALSE(unit.StartTimer->Enabled());
  EXPECT_EQ(unit.BusyFlag, 0);

  // Back in the message loop the window closes, and the object goes with it.
  unit.ProgressHook = nullptr;
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_FALSE(form->Visible());
}

TEST_F(Lifecycle, TheRunningTimerOpensTheLogOnItsEleventhTickOnly)
{
  const std::string log = folder.Write("timed.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  EXPECT_EQ(unit.LogFileName, "") << "opened during construction";
  ASSERT_TRUE(RunLoopUntil([&] { return !unit.LogFileName.empty(); }));
  EXPECT_EQ(unit.TickCount, 11);
  EXPECT_EQ(unit.LogFileName, log);
  EXPECT_FALSE(unit.StartTimer->Enabled());
  RunLoopFor(300);
  EXPECT_EQ(unit.TickCount, 11);
}

TEST_F(Lifecycle, TicksWaitWhileAParseRuns)
{
  const std::string log = folder.Write("waiting.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  // A log opened by hand is being parsed under the progress window.
  unit.ParseRunning = 1;
  Ticks(unit, 20);
  EXPECT_EQ(unit.TickCount, 0);
  EXPECT_EQ(unit.LogFileName, "");
  EXPECT_EQ(unit.BusyFlag, 0);
  unit.ParseRunning = 0;
  Ticks(unit, 11);
  EXPECT_EQ(unit.LogFileName, log);
}

TEST_F(Lifecycle, CommandLinesWithoutALogOrWithABareName)
{
  {
    CommandLineScope commandLine({});
    BQELunit& unit = Start();
    Ticks(unit, 11);
    EXPECT_FALSE(unit.StartTimer->Enabled());
    EXPECT_EQ(unit.LogFileName, "");
    form->Close();
  }
  // A bare name is one in the program's folder; missing, it still becomes the current log.
  CommandLineScope commandLine({"no such log.qel"});
  form->Show();
  ASSERT_NE(gQELunit, nullptr);
  Ticks(*gQELunit, 11);
  EXPECT_EQ(gQELunit->LogFileName, ExtractFilePath(ExeName()) + "no such log.qel");
  EXPECT_EQ(gQELunit->DataCells->Count(), 0);
  EXPECT_EQ(gQELunit->TextMemo->Lines()->Count(), 0);
}

// '\\' and ':' belong to a name: only a '/' makes it a path rather than a bare name.
TEST_F(Lifecycle, BareNameOfACommandLineMayHoldBackslashAndColon)
{
  const char* const cases[][2] = {
      {"/opt/d 12:30.qel", "/opt/12:30.qel"},
      {"/opt/d a\\b.qel", "/opt/a\\b.qel"},
      {"\"/opt/x\\y/d\" C:\\1.qel", "/opt/x\\y/C:\\1.qel"},
      {"/opt/d /logs/1:2.qel", "/logs/1:2.qel"},
  };
  BQELunit headless;
  for (const auto& [line, log] : cases) {
    headless.OpenCommandLineLog(line);
    EXPECT_EQ(headless.LogFileName, log) << line;
  }
}

TEST_F(Lifecycle, OnlyTheProgramsStartRegistersTheFileTypeAndRunsATimer)
{
  const std::filesystem::path package = folder / "desktop/mime/packages/qelext.xml";
  {
    BQELunit headless;
    EXPECT_EQ(headless.StartTimer, nullptr);
    EXPECT_EQ(headless.ReadyFlag, 1);
    EXPECT_FALSE(std::filesystem::exists(package));
  }
  Start();
  ASSERT_TRUE(std::filesystem::exists(package));
  EXPECT_NE(ScratchFolder::Read(package.string()).find("*.qel"), std::string::npos);
  EXPECT_NE(ScratchFolder::Read(package.string()).find("Dravolin C, analiz file-diagnostic"), std::string::npos);
}

TEST_F(Lifecycle, ARussianSystemStartsInRussianOthersKeepTheStoredLanguage)
{
  {
    BQELunit unit;
    unit.Language = 2;
  }  // saved at the end
  {
    BQELunit unit;
    EXPECT_EQ(unit.Language, 2);
  }
  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  BQELunit unit;
  EXPECT_EQ(unit.Language, 0);
}

TEST_F(Lifecycle, TheStoredReadingSpeedIsClampedAndTypedInHz)
{
  for (const auto& [stored, started] : {std::pair{10, 16}, std::pair{60, 50}, std::pair{33, 33}}) {
    {
      BQELunit unit;
      unit.ReadingSpeed = stored;
      unit.SpeedInHz = 0;
    }
    BQELunit unit;
    EXPECT_EQ(unit.ReadingSpeed, started) << stored;
    EXPECT_EQ(unit.SpeedInHz, 1);
  }
}

TEST_F(Lifecycle, TheTimerIsGoneBeforeTheSettingsAreReadBackAndAFailureStopsNoStep)
{
  const std::string log = folder.Write("parsed.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  Ticks(unit, 11);
  ASSERT_GT(unit.DataCells->Count(), 0);

  static bool timerGone = false;
  timerGone = false;
  unit.EditorRowsValid = 1;
  unit.ReadMaskRowsHook = [](BQELunit& self) {
    timerGone = self.StartTimer == nullptr;
    throw std::runtime_error("the rows cannot be read");
  };
  const std::string settings = DataFolder() + SettingsFileName;
  ASSERT_FALSE(std::filesystem::exists(settings));
  form->Close();
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_TRUE(timerGone);
  // The failed read-back stopped neither the save nor the frees (the sanitizer run checks
  // that every list and record went).
  EXPECT_TRUE(std::filesystem::exists(settings));
}

}  // namespace
