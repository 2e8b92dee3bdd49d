// The program's start and end: the main form making and freeing the central object, the start
// timer's eleventh tick, the command lines the start and later starts hand over, the stored
// values the start corrects, and the order of the close.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "AppPaths.h"
#include "Memo.h"
#include "Timer.h"
#include "settings/SettingsSchema.h"
#include "support/StartTestSupport.h"

namespace {

class MainForm : public ProgramStart {};
class Lifecycle : public ProgramStart {};

TEST_F(MainForm, ShowMakesTheCentralObjectOnceAndCloseFreesItUnlessItWorks)
{
  CommandLineScope commandLine({});
  BQELunit* unit = &Start();
  EXPECT_EQ(unit->Owner, form);
  form->Hide();
  form->Show();
  EXPECT_EQ(gQELunit, unit);
  for (Byte* flag : {&unit->BusyFlag, &unit->ParseRunning}) {
    *flag = 1;
    form->Close();
    EXPECT_EQ(gQELunit, unit);
    EXPECT_TRUE(form->Visible());
    *flag = 0;
  }
  form->Close();
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_FALSE(form->Visible());
}

TEST_F(MainForm, AHandedOverCommandLineIsTakenOnceTheStartOpenedItsOwnAndNothingRuns)
{
  const std::string log = folder.Write("second start 1.qel", SmallLog());
  const AnsiString line = "\"/opt/dra volin/dravolin\" \"" + log + "\" more";
  CommandLineScope commandLine({});
  form->WMCopyData(line);  // no object yet to take it
  BQELunit& unit = Start();
  form->WMCopyData(line);
  EXPECT_EQ(unit.LogFileName, "");
  Ticks(unit, 11);
  for (Byte* flag : {&unit.BusyFlag, &unit.ParseRunning}) {
    *flag = 1;
    EXPECT_FALSE(TQELMainForm::CanTakeCommandLine());
    *flag = 0;
  }
  form->WMCopyData(line);
  EXPECT_EQ(unit.LogFileName, log);
  EXPECT_EQ(unit.DataCells->Count(), 3);
}

// The first argument after the program path, either quoted or not. A bare name is one in the
// program's folder; '\\' and ':' belong to a name, only a '/' makes it a path.
TEST_F(Lifecycle, ACommandLinesFirstArgumentBecomesTheLog)
{
  const char* const cases[][2] = {
      {"\"/opt/dra volin/dravolin\" \"/logs/a b.qel\" more", "/logs/a b.qel"},
      {"/opt/dravolin/dravolin    other.qel", "/opt/dravolin/other.qel"},
      {"/opt/d 12:30.qel", "/opt/12:30.qel"},
      {"/opt/d a\\b.qel", "/opt/a\\b.qel"},
      {"\"/opt/x\\y/d\" C:\\1.qel", "/opt/x\\y/C:\\1.qel"},
      {"/opt/d /logs/1:2.qel", "/logs/1:2.qel"},
      // Nothing after the program path, or a quote never closed: the log stays.
      {"/opt/dravolin/dravolin", "kept"},
      {"\"/opt/dra volin/dravolin\"   ", "kept"},
      {"/opt/dravolin/dravolin \"/tmp/x.qel", "kept"},
      {"\"/opt/dravolin/dravolin x.qel", "kept"},
  };
  BQELunit headless;
  for (const auto& [line, log] : cases) {
    headless.LogFileName = "kept";
    headless.SplitCommandLine(AnsiString(line));
    EXPECT_EQ(headless.LogFileName, log) << line;
  }
}

TEST_F(Lifecycle, TheRunningTimerOpensTheCommandLineLogOnItsEleventhTickOnly)
{
  const std::string log = folder.Write("timed.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  EXPECT_EQ(unit.LogFileName, "") << "opened during construction";
  ASSERT_TRUE(RunLoopUntil([&] { return !unit.LogFileName.empty(); }));
  EXPECT_EQ(unit.TickCount, 11);
  EXPECT_EQ(unit.DataCells->Count(), 3);
  EXPECT_FALSE(unit.StartTimer->Enabled());
  RunLoopFor(300);
  EXPECT_EQ(unit.TickCount, 11);
}

TEST_F(Lifecycle, TicksWaitForAParseAndACloseDuringTheOpeningBreaksItOff)
{
  const std::string log = folder.Write("start log.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  // A log opened by hand is being parsed under the progress window.
  unit.ParseRunning = 1;
  Ticks(unit, 20);
  EXPECT_EQ(unit.TickCount, 0);
  unit.ParseRunning = 0;
  Ticks(unit, 10);
  EXPECT_EQ(unit.LogFileName, "");

  // A close asked for while the log is parsed (the progress window lets it through).
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
  EXPECT_EQ(unit.LogFileName, log);
  EXPECT_EQ(unit.AbortFlag, 1);
  EXPECT_EQ(unit.DataCells->Count(), 0);
  EXPECT_EQ(unit.BusyFlag, 0);

  // Back in the message loop the window closes, and the object goes with it.
  unit.ProgressHook = nullptr;
  RunLoopFor(20);
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_FALSE(form->Visible());
}

TEST_F(Lifecycle, OnlyTheProgramsStartRegistersTheFileTypeAndRunsATimer)
{
  const std::string package = folder / "desktop/mime/packages/qelext.xml";
  {
    BQELunit headless;
    EXPECT_EQ(headless.StartTimer, nullptr);
    EXPECT_FALSE(std::filesystem::exists(package));
  }
  Start();
  const std::string registered = ScratchFolder::Read(package);
  EXPECT_NE(registered.find("*.qel"), std::string::npos);
  EXPECT_NE(registered.find("Dravolin C, analiz file-diagnostic"), std::string::npos);
}

// A Russian system starts in Russian, others keep the stored language; the stored reading
// speed is clamped and typed in Hz.
TEST_F(Lifecycle, TheStartCorrectsTheStoredLanguageAndReadingSpeed)
{
  const struct {
    const char* locale;
    int language, speed;
    const char* started;
  } rows[] = {
      {"C", 2, 10, "language 2, speed 16 (Hz 1)"},
      {"C", 1, 60, "language 1, speed 50 (Hz 1)"},
      {"ru_RU.UTF-8", 2, 33, "language 0, speed 33 (Hz 1)"},
  };
  for (const auto& row : rows) {
    {
      BQELunit stored;  // saved at its end
      stored.Language = row.language;
      stored.ReadingSpeed = row.speed;
      stored.SpeedInHz = 0;
    }
    EnvScope rowLocale("LC_ALL", row.locale);
    BQELunit unit;
    EXPECT_EQ("language " + std::to_string(unit.Language) + ", speed " + std::to_string(unit.ReadingSpeed) +
                  " (Hz " + std::to_string(unit.SpeedInHz) + ")",
              row.started);
  }
}

// The close stops the timer, reads the rows back and saves, hides the window and only then
// frees; a step that fails stops none of the later ones.
TEST_F(Lifecycle, CloseReadsBackSavesAndHidesBeforeTheFreesAndAFailedStepStopsNone)
{
  const std::string log = folder.Write("parsed.qel", SmallLog());
  CommandLineScope commandLine({log});
  BQELunit& unit = Start();
  Ticks(unit, 11);
  ASSERT_GT(unit.DataCells->Count(), 0);

  static std::string steps;
  steps.clear();
  static const auto state = [](const char* step, BQELunit& self) {
    return std::string(step) + (self.StartTimer ? ": timer" : ": no timer") +
           (self.Owner->Widget()->isVisible() ? ", shown" : ", hidden") +  // the window itself
           (std::filesystem::exists(DataFolder() + SettingsFileName) ? ", saved\n" : ", unsaved\n");
  };
  unit.EditorRowsValid = 1;
  unit.ReadMaskRowsHook = [](BQELunit& self) {
    steps += state("read back", self);
    throw std::runtime_error("the rows cannot be read");
  };
  unit.FreeMaskRowsHook = [](BQELunit& self) { steps += state("free", self); };
  form->Close();
  EXPECT_EQ(gQELunit, nullptr);
  // The sanitizer run checks that every list and record went.
  EXPECT_EQ(steps, "read back: no timer, shown, unsaved\nfree: no timer, hidden, saved\n");
}

}  // namespace
