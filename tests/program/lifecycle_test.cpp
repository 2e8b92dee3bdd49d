// The program's start and end: the main form making and freeing the central object, the start
// timer's eleventh tick, the command lines the start and later starts hand over, the stored
// values the start corrects, the order of the close; and the single instance across real
// processes, where the test program runs again as the program's first or later start
// (RunDravolin itself), chosen by an environment variable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QUuid>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "AppPaths.h"
#include "Application.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Label.h"
#include "PageControl.h"
#include "Panel.h"
#include "SingleInstance.h"
#include "app/EntryPoint.h"
#include "app/Progress.h"
#include "settings/SettingsSchema.h"
#include "support/ChildProcess.h"
#include "support/StartTestSupport.h"

namespace {

class MainForm : public ProgramStart {};
class Lifecycle : public ProgramStart {};

// Only the program's start registers the file type. A later start's command line is taken only
// once the start opened its own and nothing runs; a close is refused then; showing again keeps
// the object. The close stops the timer, reads the rows back and saves, hides the window and only
// then frees; a step that fails stops none of the later ones.
TEST_F(MainForm, TheStartMakesTheObjectThatTakesCommandLinesAndCloseFreesItUnlessItWorks)
{
  const std::string package = folder / "desktop/mime/packages/qelext.xml", log = folder.Write("a.qel", SmallLog());
  const AnsiString line = "\"/opt/dra volin/dravolin\" \"" + log + "\" more";
  delete new BQELunit;
  EXPECT_FALSE(std::filesystem::exists(package));
  CommandLineScope commandLine({});
  form->WMCopyData(line);  // no object yet to take it
  BQELunit& unit = Start();
  EXPECT_EQ(unit.Owner, form);
  EXPECT_NE(ScratchFolder::Read(package).find("*.qel"), std::string::npos);
  form->WMCopyData(line);
  EXPECT_EQ(unit.LogFileName, "");
  Ticks(unit, 11);
  for (Byte* flag : {&unit.BusyFlag, &unit.ParseRunning}) {
    *flag = 1;
    EXPECT_FALSE(TQELMainForm::CanTakeCommandLine());
    form->Close();
    EXPECT_TRUE(gQELunit == &unit && form->Visible() && Application->CloseAsked());
    *flag = 0;
  }
  // The refused close is retried from the main loop, which this test never runs: it goes on
  // as a program that was not asked to close.
  Application->AskClose(false);
  // Taken under the progress window: each stage's text in turn, the window up and the main panel
  // disabled at every look; afterwards the window gone and the panel enabled again.
  static std::string looks;
  unit.Language = 1;
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& u, int, int64_t, int64_t position) {
    looks += !u.Progress->Form->Visible() || u.MainPanel->Enabled() ? "!" : "";
    looks += position < 0 ? u.Progress->Label->Caption() + "|" : "";
  };
  form->WMCopyData(line);
  EXPECT_TRUE(unit.LogFileName == log && unit.DataCells->Count() == 3);
  EXPECT_EQ(looks, "Reading LOG-file|Analising LOG-file|Set link [Next <-> Previous]|Initialize chart parametrs|"
                   "Update list with all parametrs|Found mask QEL or PMS or LH|Prepare chart and show|");
  EXPECT_TRUE(!unit.Progress->Form->Visible() && unit.MainPanel->Enabled());
  unit.ProgressHook = nullptr;
  form->Hide();
  form->Show();
  EXPECT_EQ(gQELunit, &unit);

  static std::string steps;
  static const auto State = [](const char* step, BQELunit& self) {
    return std::string(step) + (self.StartTimer ? ": timer" : ": no timer") +
           (self.Owner->Widget()->isVisible() ? ", shown" : ", hidden") +  // the window itself
           (std::filesystem::exists(DataFolder() + SettingsFileName) ? ", saved\n" : ", unsaved\n");
  };
  // A factor typed into the editor's rows reaches the saved settings; the rows point at items:
  // they go while the masks stand, after the save, with the window hidden.
  LMaskCell* mask = unit.MaskCells->Get(0);
  if (unit.MaskCombo->Items()->Count() == 0)
    unit.MaskCombo->Items()->Add(unit.MaskName(mask));
  unit.MaskCombo->SetItemIndex(0);
  unit.EditorMaskIndex = 0;
  unit.ShowOptionsAndMaskRows();
  unit.EditorRowsValid = 1;
  TEdit* factor = mask->Items->Get(0)->FactorEdit;
  factor->SetText("-77");
  QObject::connect(factor->Widget(), &QObject::destroyed,
                   [&unit] { steps += State(unit.MaskCells->Count() ? "free rows" : "masks gone", unit); });
  std::filesystem::remove(DataFolder() + SettingsFileName);  // the headless start's
  form->Close();
  EXPECT_TRUE(gQELunit == nullptr && !form->Visible());
  // The sanitizer run checks that every list and record went.
  EXPECT_EQ(steps, "free rows: no timer, hidden, saved\n");
  BQELunit reread;
  EXPECT_EQ(reread.MaskCells->Get(0)->Items->Get(0)->Factor, -77);
}

// The first argument after the program path, either quoted or not. A bare name is one in the
// program's folder; '\\' and ':' belong to a name, only a '/' makes it a path.
TEST_F(Lifecycle, ACommandLinesFirstArgumentBecomesTheLog)
{
  const char* const cases[][2] = {
      {"\"/opt/dra volin/dravolin\" \"/logs/a b.qel\" more", "/logs/a b.qel"},
      {"/opt/dravolin/dravolin    other.qel", "/opt/dravolin/other.qel"},
      {"/opt/d \"/logs/a b.qel\"", "/logs/a b.qel"},
      {"/opt/d 12:30.qel", "/opt/12:30.qel"},
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

// The running timer opens the start's log on its eleventh tick and then stops; ticks wait for
// a parse, and a close asked for while the start's log is parsed breaks the parse off instead
// of freeing the object under it, then closes the window back in the message loop.
TEST_F(Lifecycle, TheTimerOpensTheLogOnItsEleventhTickAfterAParseAndACloseBreaksTheOpeningOff)
{
  const std::string log = folder.Write("start log.qel", SmallLog());
  CommandLineScope commandLine({log});
  {
    BQELunit& unit = Start();
    EXPECT_EQ(unit.LogFileName, "") << "opened during construction";
    ASSERT_TRUE(RunLoopUntil([&] { return !unit.LogFileName.empty(); }));
    EXPECT_TRUE(unit.TickCount == 11 && unit.DataCells->Count() == 3);
    RunLoopFor(300);
    EXPECT_TRUE(unit.TickCount == 11 && !unit.StartTimer->Enabled());
    form->Close();
  }
  BQELunit& unit = Start();
  unit.ParseRunning = 1;  // a log opened by hand is being parsed under the progress window
  Ticks(unit, 20);
  EXPECT_EQ(unit.TickCount, 0);
  unit.ParseRunning = 0;
  Ticks(unit, 10);
  EXPECT_EQ(unit.LogFileName, "");

  static int closes = 0;
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& self, int, int64_t, int64_t) {
    EXPECT_EQ(self.BusyFlag, 1);
    QELMainForm->Close();
    ++closes;
  };
  QELMainForm = form;
  Ticks(unit, 1);
  QELMainForm = nullptr;
  ASSERT_EQ(gQELunit, &unit) << "the window closed under the opening";
  EXPECT_TRUE(closes > 0 && unit.LogFileName == log && unit.AbortFlag == 1 && unit.DataCells->Count() == 0 &&
              unit.BusyFlag == 0);
  unit.ProgressHook = nullptr;
  RunLoopFor(20);
  EXPECT_TRUE(gQELunit == nullptr && !form->Visible());
}

// Settings that edit the frame timing in ms (SpeedInHz 0): the start fills the Options page in
// Hz, under the Hz label, so a visit to it and the save at the end keep the stored speed and
// frame period.
TEST_F(Lifecycle, StoredTimingInMillisecondsSurvivesAStartAndAVisitToOptions)
{
  {
    BQELunit stored;  // saved at its end
    stored.ReadingSpeed = 33, stored.FramePeriod = 30, stored.SpeedInHz = 0;
  }
  for (int start = 0; start < 2; ++start) {
    BQELunit unit;
    AnsiString hzLabel;
    EXPECT_EQ(unit.FramePeriodLabel->Caption(), unit.GetUiText(42, hzLabel)) << "start " << start;
    unit.PageControl->SetActivePage(unit.OptionsPage);
    unit.PageControlChange(unit.PageControl);
    unit.PageControl->SetActivePage(unit.TextPage);
    unit.PageControlChange(unit.PageControl);
    EXPECT_EQ(std::to_string(unit.ReadingSpeed) + " " + std::to_string(unit.FramePeriod) + " " +
                  std::to_string(unit.ReparseNeeded) + " " + unit.FramePeriodEdit->Text(),
              "33 30 0 33")
        << "start " << start;
  }
}

// A Russian system starts in Russian, others keep the stored language; the stored reading
// speed is clamped and typed in Hz.
TEST_F(Lifecycle, TheStartCorrectsTheStoredLanguageAndReadingSpeed)
{
  const struct {
    const char* locale;
    int language, speed;
    const char* started;
  } rows[] = {{"C", 2, 10, "2 16 1"}, {"C", 1, 60, "1 50 1"}, {"ru_RU.UTF-8", 2, 33, "0 33 1"}};
  for (const auto& row : rows) {
    {
      BQELunit stored;  // saved at its end
      stored.Language = row.language, stored.ReadingSpeed = row.speed, stored.SpeedInHz = 0;
    }
    EnvScope rowLocale("LC_ALL", row.locale);
    BQELunit unit;
    EXPECT_EQ(std::to_string(unit.Language) + " " + std::to_string(unit.ReadingSpeed) + " " +
                  std::to_string(unit.SpeedInHz),
              row.started);
  }
}

constexpr const char* RoleVariable = "DRAVOLIN_PROGRAM_ROLE";  // "first", "slow close", "two dialogs" or "later"
constexpr const char* SignatureVariable = "DRAVOLIN_PROGRAM_SIGNATURE";
constexpr const char* ArgumentVariable = "DRAVOLIN_PROGRAM_ARGUMENT";  // hex, so any byte passes
constexpr const char* DataVariable = "DRAVOLIN_PROGRAM_DATA";          // where the settings go
constexpr const char* ExtraVariable = "DRAVOLIN_PROGRAM_EXTRA";        // KiB of further arguments

TEST(ProgramInstanceChild, Run)
{
  const std::string role = std::getenv(RoleVariable) ? std::getenv(RoleVariable) : "";
  if (role.empty())
    GTEST_SKIP() << "only runs as a start of the program in the single-instance tests";
  // Qt keeps the command line for the life of the process.
  static std::string program = "dravolin";
  static std::string argument = FromHex(std::getenv(ArgumentVariable));
  // `dravolin *.qel` in a big folder: further names after the log, one KiB each.
  static std::vector<std::string> extra(std::getenv(ExtraVariable) ? std::stoul(std::getenv(ExtraVariable)) : 0,
                                        std::string(1023, 'x') + ".qel");
  static std::vector<char*> argv = {program.data(), argument.data()};
  for (std::string& name : extra)
    argv.push_back(name.data());
  argv.push_back(nullptr);
  if (const char* data = std::getenv(DataVariable); data && *data)
    SetDataFolderForTests(data);

  if (role == "later") {
    // Without a display, as from a terminal or a script.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      unsetenv(name);
    const int returned =
        RunDravolin(static_cast<int>(argv.size() - 1), argv.data(), std::getenv(SignatureVariable));
    ReportToParent(std::string("application=") + (QCoreApplication::instance() ? "made" : "none"));
    ReportToParent("returned=" + std::to_string(returned));
    return;
  }
  // A first start: reports its own log once the start opened it, then runs until something
  // closes it.
  ReportToParent("pid=" + std::to_string(::getpid()));
  bool openedOwn = false;
  std::unique_ptr<TTimer> watch;
  // A timer needs the application, which the start makes.
  Application->Defer([&] {
    watch = std::make_unique<TTimer>(nullptr);
    watch->SetInterval(20);
    watch->OnTimer = [&](TObject*) {
      // The progress window lets timers tick inside a parse: look only between parses.
      if (!gQELunit || gQELunit->ParseRunning)
        return;
      if (openedOwn && role == "two dialogs" && QApplication::activeModalWidget())
        ReportToParent("dialog");
      if (!openedOwn && gQELunit->LogFileName == argument) {
        openedOwn = true;
        // The old-log walk's message, then its folder chooser.
        if (role == "two dialogs")
          Application->Defer([] { gQELunit->RenameLogsButtonClick(nullptr); });
        if (role == "slow close") {
          // The close itself, then a slow end of it: a second signal must not wait for that.
          TQELMainForm* main = gQELunit->Owner;
          main->OnClose = [close = main->OnClose](TObject* sender, TCloseAction& action) {
            close(sender, action);
            ReportToParent("closing");
            std::this_thread::sleep_for(std::chrono::seconds(60));
          };
        }
        ReportToParent("opened=" + std::to_string(gQELunit->DataCells->Count()));
      }
    };
  });
  EXPECT_EQ(RunDravolin(2, argv.data(), std::getenv(SignatureVariable)), 0);
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_TRUE(std::filesystem::exists(DataFolder() + SettingsFileName));
  ReportToParent("ended");
}

class ProgramInstance : public ProgramStart {
protected:
  // A start of the program in a process of its own; it makes the application itself.
  ChildProcess::Environment Program(const std::string& role, const std::string& argument,
                                    const std::string& data = "", const std::string& suffix = "",
                                    int extraKiB = 0) const
  {
    return {{NoApplicationVariable, "1"},        {RoleVariable, role}, {SignatureVariable, signature + suffix},
            {ArgumentVariable, ToHex(argument)}, {DataVariable, data}, {ExtraVariable, std::to_string(extraKiB)}};
  }

  // Signals the start as the desktop or a terminal would.
  static void Signal(ChildProcess& start, int number)
  {
    const std::optional<std::string> pid = start.Reported("pid=");
    ASSERT_TRUE(pid.has_value());
    ::kill(static_cast<pid_t>(std::stol(*pid)), number);
  }

  static constexpr const char* Child = "ProgramInstanceChild.Run";
  const std::string signature = "Dravolin test " + QUuid::createUuid().toString().toStdString();
  // Sockets, and whatever a start killed in a test leaves, go to the test's folder.
  EnvScope runtimeDir{"XDG_RUNTIME_DIR", folder.Path().c_str()};
  EnvScope temporaryDir{"TMPDIR", folder.Path().c_str()};
};

// A later start, without a display and with more than the hand-over limit of further names,
// hands its log over and ends; the log waits for the progress
// window's pump and for a modal loop, and of two handed over meanwhile only the newer is opened.
// (Waiting for the start's own log and for a parse is the main form's test.)
TEST_F(ProgramInstance, AHandedOverLogWaitsUntilTheProgramCanTakeItAndTheNewestWins)
{
  SingleInstance instance;
  form->ListenTo(instance);
  ASSERT_TRUE(instance.BecomeFirst(signature));
  std::vector<std::string> logs;
  // Blanks and Cyrillic (UTF-8) bytes in a name pass byte for byte.
  for (const char* name : {"a.qel", "b.qel", "\xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB9 log.qel"})
    logs.push_back(folder.Write(name, SmallLog()));
  CommandLineScope ownCommandLine({});
  BQELunit& unit = Start();
  Ticks(unit, 11);
  {
    ChildProcess later(Child, Program("later", logs[0], "", "", 1100));
    QElapsedTimer clock;
    clock.start();
    while (later.Running() && clock.elapsed() < 30000)
      Application->ProcessMessages();
    EXPECT_TRUE(later.Reported("returned=") == "0" && later.Reported("application=") == "none");
    Application->ProcessMessages();
    EXPECT_EQ(unit.LogFileName, "") << "delivered inside the pump";
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[0]; }));

  static std::vector<AnsiString> parsed;
  parsed.clear();
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& self, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      parsed.push_back(self.LogFileName);
  };
  {
    ModalLoopScope modal;
    for (const std::string& log : {logs[1], logs[2]})
      EXPECT_TRUE(ChildProcess(Child, Program("later", log)).EndedWell());
    RunLoopFor(100);
    EXPECT_EQ(unit.LogFileName, logs[0]);
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[2]; }));
  RunLoopFor(200);
  EXPECT_EQ(parsed, std::vector<AnsiString>{logs[2]});
  unit.ProgressHook = nullptr;
  // Once a close is asked for, a log still waiting is dropped.
  {
    ModalLoopScope modal;
    EXPECT_TRUE(ChildProcess(Child, Program("later", logs[0])).EndedWell());
    Application->AskClose();
  }
  RunLoopFor(300);
  Application->AskClose(false);
  EXPECT_EQ(unit.LogFileName, logs[2]);
}

// SIGTERM, SIGINT and SIGHUP close the window as its close box does, saving the settings; while
// the close runs no later start waits on it, and a second signal ends it at once.
TEST_F(ProgramInstance, TerminationSignalsCloseTheWindowAsItsCloseBoxDoesAndASecondEndsItAtOnce)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  const int numbers[] = {SIGTERM, SIGINT, SIGHUP};
  std::vector<std::unique_ptr<ChildProcess>> starts;
  for (const int number : numbers) {
    const std::string data = folder / std::to_string(number), suffix = std::to_string(number);
    std::filesystem::create_directory(data);
    starts.push_back(std::make_unique<ChildProcess>(Child, Program("first", own, data, suffix)));
    ASSERT_EQ(starts.back()->WaitFor("opened="), "3") << number;
    EXPECT_FALSE(std::filesystem::exists(data + "/" + SettingsFileName));
    Signal(*starts.back(), number);
  }
  // A signal while a handler shows the first of two dialogs: the second never opens, and the
  // close saves.
  {
    const std::string data = folder / "dialogs";
    std::filesystem::create_directory(data);
    ChildProcess dialogs(Child, Program("two dialogs", own, data, "dialogs"));
    ASSERT_TRUE(dialogs.WaitFor("dialog").has_value());
    Signal(dialogs, SIGTERM);
    EXPECT_TRUE(dialogs.WaitFor("ended").has_value() && dialogs.EndedWell());
    EXPECT_TRUE(std::filesystem::exists(data + "/" + SettingsFileName));
  }
  ChildProcess slow(Child, Program("slow close", own));
  ASSERT_EQ(slow.WaitFor("opened="), "3");
  Signal(slow, SIGTERM);
  for (size_t i = 0; i < starts.size(); ++i) {
    EXPECT_TRUE(starts[i]->WaitFor("ended").has_value() && starts[i]->EndedWell()) << numbers[i];
    EXPECT_TRUE(std::filesystem::exists(folder / std::to_string(numbers[i]) + "/" + SettingsFileName));
  }
  ASSERT_TRUE(slow.WaitFor("closing").has_value());
  SingleInstance later;
  EXPECT_TRUE(later.BecomeFirst(signature));
  Signal(slow, SIGTERM);
  EXPECT_FALSE(slow.EndedWell() || slow.Running() || slow.Reported("ended").has_value());
}

}  // namespace
