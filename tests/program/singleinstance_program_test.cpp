// The program's single instance across real processes: the test program runs again as the
// program's first or later start (RunDravolin itself), chosen by an environment variable.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUuid>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "AppPaths.h"
#include "Application.h"
#include "SingleInstance.h"
#include "Timer.h"
#include "app/EntryPoint.h"
#include "settings/SettingsSchema.h"
#include "support/ChildProcess.h"
#include "support/StartTestSupport.h"

namespace {

constexpr const char* kRole = "DRAVOLIN_PROGRAM_ROLE";  // "first", "slow close" or "later"
constexpr const char* kSignature = "DRAVOLIN_PROGRAM_SIGNATURE";
constexpr const char* kArgument = "DRAVOLIN_PROGRAM_ARGUMENT";  // hex, so any byte passes
constexpr const char* kExpected = "DRAVOLIN_PROGRAM_EXPECTED";  // hex: the log a first awaits
constexpr const char* kData = "DRAVOLIN_PROGRAM_DATA";          // where the settings go

TEST(ProgramInstanceChild, Run)
{
  const std::string role = std::getenv(kRole) ? std::getenv(kRole) : "";
  if (role.empty())
    GTEST_SKIP() << "only runs as a start of the program in the single-instance tests";
  // Qt keeps the command line for the life of the process.
  static std::string program = "dravolin";
  static std::string argument = FromHex(std::getenv(kArgument));
  static char* argv[] = {program.data(), argument.data(), nullptr};
  if (const char* data = std::getenv(kData); data && *data)
    SetDataFolderForTests(data);

  if (role == "later") {
    // Without a display, as from a terminal or a script.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      unsetenv(name);
    const int returned = RunDravolin(2, argv, std::getenv(kSignature));
    ReportToParent(std::string("application=") + (QCoreApplication::instance() ? "made" : "none"));
    ReportToParent("returned=" + std::to_string(returned));
    return;
  }
  // A first start: reports its own log once the start opened it, and the handed-over one
  // once that is open, then closes its window as the user would. Without a log to await it
  // runs until something else closes it.
  ReportToParent("pid=" + std::to_string(::getpid()));
  const std::string expected = FromHex(std::getenv(kExpected));
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
      if (!openedOwn && gQELunit->LogFileName == argument) {
        openedOwn = true;
        if (role == "slow close") {
          gQELunit->EditorRowsValid = 1;
          gQELunit->ReadMaskRowsHook = [](BQELunit&) {
            ReportToParent("closing");
            std::this_thread::sleep_for(std::chrono::seconds(60));
          };
        }
        ReportToParent("opened=" + std::to_string(gQELunit->DataCells->Count()));
      }
      if (!expected.empty() && gQELunit->LogFileName == expected) {
        ReportToParent("received=" + std::to_string(gQELunit->DataCells->Count()));
        watch->SetEnabled(false);
        QELMainForm->Close();
      }
    };
  });
  EXPECT_EQ(RunDravolin(2, argv, std::getenv(kSignature)), 0);
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_TRUE(std::filesystem::exists(DataFolder() + SettingsFileName));
  ReportToParent("ended");
}

class ProgramInstance : public ProgramStart {
protected:
  // A start of the program in a process of its own; it makes the application itself.
  ChildProcess::Environment Program(const std::string& role, const std::string& argument,
                                    const std::string& expected = "", const std::string& data = "",
                                    const std::string& suffix = "") const
  {
    return {{NoApplicationVariable, "1"},     {kRole, role},
            {kSignature, signature + suffix}, {kArgument, ToHex(argument)},
            {kExpected, ToHex(expected)},     {kData, data}};
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

TEST_F(ProgramInstance, ALaterStartWithoutADisplayHandsOverItsLogAndEndsTheFirstOpensIt)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  // Blanks and Cyrillic (UTF-8) bytes in the name pass byte for byte.
  const std::string handed = folder.Write("\xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB9 log.qel",
                                          SmallLog() + "F1011500    470      O2 Sensor (mV)\r\n");
  ChildProcess first(Child, Program("first", own, handed));
  ASSERT_EQ(first.WaitFor("opened="), "3");

  ChildProcess later(Child, Program("later", handed));
  EXPECT_EQ(later.WaitFor("returned="), "0");
  EXPECT_EQ(later.Reported("application="), "none");
  EXPECT_TRUE(later.EndedWell());

  EXPECT_EQ(first.WaitFor("received="), "4");
  EXPECT_TRUE(first.WaitFor("ended").has_value());
  EXPECT_TRUE(first.EndedWell());
}

// A handed-over log waits for the start's own command line, for the progress window's pump,
// for a parse and for a modal loop; of two handed over meanwhile only the newer is opened.
TEST_F(ProgramInstance, AHandedOverLogWaitsUntilTheProgramCanTakeItAndTheNewestWins)
{
  TSingleInstance instance;
  form->ListenTo(instance);
  ASSERT_TRUE(instance.BecomeFirst(signature));
  std::vector<std::string> logs;
  for (const char* name : {"a.qel", "b.qel", "c.qel", "d.qel", "e.qel"})
    logs.push_back(folder.Write(name, SmallLog()));
  const auto handOver = [&](const std::string& log) {
    EXPECT_TRUE(ChildProcess(Child, Program("later", log)).EndedWell());
  };

  CommandLineScope ownCommandLine({});
  BQELunit& unit = Start();
  handOver(logs[0]);
  RunLoopFor(100);
  EXPECT_EQ(unit.LogFileName, "");
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[0]; }));
  EXPECT_GE(unit.TickCount, 11);

  {
    ChildProcess later(Child, Program("later", logs[1]));
    QElapsedTimer clock;
    clock.start();
    while (later.Running() && clock.elapsed() < 30000)
      Application->ProcessMessages();
    EXPECT_EQ(later.Reported("returned="), "0");
    Application->ProcessMessages();
    EXPECT_EQ(unit.LogFileName, logs[0]) << "delivered inside the pump";
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[1]; }));

  unit.ParseRunning = 1;
  handOver(logs[2]);
  RunLoopFor(300);
  EXPECT_EQ(unit.LogFileName, logs[1]);
  unit.ParseRunning = 0;
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[2]; }));

  static std::vector<AnsiString> parsed;
  parsed.clear();
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& self, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      parsed.push_back(self.LogFileName);
  };
  {
    TModalLoopScope modal;
    handOver(logs[3]);
    handOver(logs[4]);
    RunLoopFor(100);
    EXPECT_EQ(unit.LogFileName, logs[2]);
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[4]; }));
  RunLoopFor(200);
  EXPECT_EQ(parsed, std::vector<AnsiString>{logs[4]});
  unit.ProgressHook = nullptr;
}

TEST_F(ProgramInstance, TerminationSignalsCloseTheWindowAsItsCloseBoxDoesSavingTheSettings)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  const int numbers[] = {SIGTERM, SIGINT, SIGHUP};
  std::vector<std::string> data;
  std::vector<std::unique_ptr<ChildProcess>> starts;
  for (const int number : numbers) {
    data.push_back(folder / ("data " + std::to_string(number)));
    std::filesystem::create_directory(data.back());
    starts.push_back(
        std::make_unique<ChildProcess>(Child, Program("first", own, "", data.back(), std::to_string(number))));
  }
  for (size_t i = 0; i < starts.size(); ++i) {
    ASSERT_EQ(starts[i]->WaitFor("opened="), "3") << numbers[i];
    EXPECT_FALSE(std::filesystem::exists(data[i] + "/" + SettingsFileName));
    Signal(*starts[i], numbers[i]);
  }
  for (size_t i = 0; i < starts.size(); ++i) {
    EXPECT_TRUE(starts[i]->WaitFor("ended").has_value()) << numbers[i];
    EXPECT_TRUE(starts[i]->EndedWell()) << numbers[i];
    EXPECT_TRUE(std::filesystem::exists(data[i] + "/" + SettingsFileName)) << numbers[i];
  }
}

TEST_F(ProgramInstance, WhileClosingNoLaterStartWaitsOnItAndASecondSignalEndsItAtOnce)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  ChildProcess start(Child, Program("slow close", own));
  ASSERT_EQ(start.WaitFor("opened="), "3");
  Signal(start, SIGTERM);
  ASSERT_TRUE(start.WaitFor("closing").has_value());
  // No longer listening: a start now finds no one instead of handing over to a closing window.
  TSingleInstance later;
  EXPECT_TRUE(later.BecomeFirst(signature));
  Signal(start, SIGTERM);
  EXPECT_FALSE(start.EndedWell());
  EXPECT_FALSE(start.Running());
  EXPECT_FALSE(start.Reported("ended").has_value());
}

}  // namespace
