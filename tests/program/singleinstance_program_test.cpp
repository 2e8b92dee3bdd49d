// The program's single instance across real processes: the test program runs again as the
// program's first or later start (RunDravolin itself), chosen by an environment variable.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QUuid>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "AppPaths.h"
#include "Application.h"
#include "SingleInstance.h"
#include "Timer.h"
#include "app/EntryPoint.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "support/StartTestSupport.h"
#include "settings/SettingsSchema.h"

namespace {

constexpr const char* kRole = "DRAVOLIN_PROGRAM_ROLE";        // "first" or "later"
constexpr const char* kSignature = "DRAVOLIN_PROGRAM_SIGNATURE";
constexpr const char* kArgument = "DRAVOLIN_PROGRAM_ARGUMENT";  // hex, so any byte passes
constexpr const char* kExpected = "DRAVOLIN_PROGRAM_EXPECTED";  // hex: the log a first awaits
constexpr const char* kData = "DRAVOLIN_PROGRAM_DATA";          // where the settings go

void Report(const std::string& line)
{
  std::printf("@@%s\n", line.c_str());
  std::fflush(stdout);
}

std::string FromHex(const char* hex)
{
  const QByteArray bytes = QByteArray::fromHex(QByteArray(hex ? hex : ""));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

TEST(ProgramInstanceChild, Run)
{
  const std::string role = std::getenv(kRole) ? std::getenv(kRole) : "";
  if (role.empty())
    GTEST_SKIP() << "only runs as a start of the program in the single-instance tests";
  // Qt keeps the command line for the life of the process.
  static std::string program = "dravolin";
  static std::string argument = FromHex(std::getenv(kArgument));
  static char* argv[] = {program.data(), argument.data(), nullptr};
  if (const char* data = std::getenv(kData))
    SetDataFolderForTests(data);

  if (role == "later") {
    const int returned = RunDravolin(2, argv, std::getenv(kSignature));
    Report(std::string("application=") + (QCoreApplication::instance() ? "made" : "none"));
    Report("returned=" + std::to_string(returned));
    return;
  }
  // A first start: reports its own log once the start opened it, and the handed-over one
  // once that is open, then closes its window as the user would. Without a log to await it
  // runs until something else closes it.
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
            Report("closing");
            std::this_thread::sleep_for(std::chrono::seconds(60));
          };
        }
        Report("opened=" + std::to_string(gQELunit->DataCells->Count()));
      }
      if (!expected.empty() && gQELunit->LogFileName == expected) {
        Report("received=" + std::to_string(gQELunit->DataCells->Count()));
        watch->SetEnabled(false);
        QELMainForm->Close();
      }
    };
  });
  EXPECT_EQ(RunDravolin(2, argv, std::getenv(kSignature)), 0);
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_TRUE(std::filesystem::exists(DataFolder() + SettingsFileName));
  Report("ended");
}

class Start {
public:
  Start(const char* role, const std::string& signature, const std::string& argument,
        const std::string& desktop, const std::string& expected = "", const std::string& data = "")
  {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The start makes the application itself, as the program does; a later one without a
    // display, as from a terminal or a script.
    environment.insert(QString::fromLatin1(NoApplicationVariable), QStringLiteral("1"));
    if (std::string(role) == "later")
      for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!data.empty())
      environment.insert(QString::fromLatin1(kData), QString::fromStdString(data));
    environment.insert(QString::fromLatin1(kRole), QString::fromLatin1(role));
    environment.insert(QString::fromLatin1(kSignature), QString::fromStdString(signature));
    environment.insert(QString::fromLatin1(kArgument), Hex(argument));
    environment.insert(QString::fromLatin1(kExpected), Hex(expected));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(desktop));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ProgramInstanceChild.Run")});
  }
  ~Start()
  {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(10000);
    }
  }

  // The rest of the first reported line that starts with key, from what has come so far.
  std::optional<std::string> Reported(const std::string& key)
  {
    output_ += process_.readAllStandardOutput().toStdString();
    const std::string marker = "@@" + key;
    const size_t at = output_.find(marker);
    const size_t end = at == std::string::npos ? at : output_.find('\n', at);
    if (end == std::string::npos)
      return std::nullopt;
    return output_.substr(at + marker.size(), end - at - marker.size());
  }

  // The same, running the main loop until it came or the start ended.
  std::optional<std::string> WaitFor(const std::string& key)
  {
    RunLoopUntil([&] { return Reported(key).has_value() || !Running(); }, 30000);
    return Reported(key);
  }

  bool Running() const { return process_.state() != QProcess::NotRunning; }

  void Signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }

  // Ended by a signal, within the time limit.
  bool Killed()
  {
    RunLoopUntil([&] { return process_.state() == QProcess::NotRunning; }, 30000);
    return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::CrashExit;
  }

  // Ended by itself with exit code 0 (its test passed).
  bool EndedWell()
  {
    RunLoopUntil([&] { return process_.state() == QProcess::NotRunning; }, 30000);
    return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
  }

private:
  static QString Hex(const std::string& bytes)
  {
    return QString::fromLatin1(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex());
  }

  QProcess process_;
  std::string output_;
};

class ProgramInstance : public ::testing::Test {
protected:
  void TearDown() override
  {
    delete gQELunit;
    gQELunit = nullptr;
    delete form;
  }

  const std::string signature = "Dravolin test " + QUuid::createUuid().toString().toStdString();
  ScratchFolder folder;
  std::string desktop = folder / "desktop";
  TestDesktop testDesktop{folder};
  // Sockets, and whatever a start killed in a test leaves, go to the test's folder.
  EnvScope runtimeDir{"XDG_RUNTIME_DIR", folder.Path().c_str()};
  EnvScope temporaryDir{"TMPDIR", folder.Path().c_str()};
  TQELMainForm* form = nullptr;
};

TEST_F(ProgramInstance, ALaterStartHandsOverItsLogAndEndsTheFirstOpensIt)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  // Blanks and Cyrillic (UTF-8) bytes in the name pass byte for byte.
  const std::string handed = folder.Write("\xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB9 log.qel",
                                          SmallLog() + "F1011500    470      O2 Sensor (mV)\r\n");
  Start first("first", signature, own, desktop, handed);
  ASSERT_EQ(first.WaitFor("opened="), "3");

  Start later("later", signature, handed, desktop);
  EXPECT_EQ(later.WaitFor("returned="), "0");
  EXPECT_EQ(later.Reported("application="), "none");
  EXPECT_TRUE(later.EndedWell());

  EXPECT_EQ(first.WaitFor("received="), "4");
  EXPECT_TRUE(first.WaitFor("ended").has_value());
  EXPECT_TRUE(first.EndedWell());
}

TEST_F(ProgramInstance, AHandedOverLogWaitsForPumpsModalLoopsAndParsesAndTheNewestWins)
{
  TSingleInstance instance;
  form = new TQELMainForm(Application);
  form->ListenTo(instance);
  ASSERT_TRUE(instance.BecomeFirst(signature));
  std::vector<std::string> logs;
  for (const char* name : {"a.qel", "b.qel", "c.qel", "d.qel", "e.qel"})
    logs.push_back(folder.Write(name, SmallLog()));

  // Handed over before the start has opened its own command line: it waits for that.
  CommandLineScope ownCommandLine({});
  form->Show();
  BQELunit& unit = *gQELunit;
  {
    Start later("later", signature, logs[0], desktop);
    EXPECT_TRUE(later.EndedWell());
  }
  RunLoopFor(100);
  EXPECT_EQ(unit.LogFileName, "");
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[0]; }));
  EXPECT_GE(unit.TickCount, 11);

  // The progress window's pump.
  {
    Start later("later", signature, logs[1], desktop);
    QElapsedTimer clock;
    clock.start();
    while (later.Running() && clock.elapsed() < 30000)
      Application->ProcessMessages();
    EXPECT_EQ(later.Reported("returned="), "0");
    for (int i = 0; i < 20; ++i)
      Application->ProcessMessages();
    EXPECT_EQ(unit.LogFileName, logs[0]);
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[1]; }));

  // A parse at work.
  unit.ParseRunning = 1;
  {
    Start later("later", signature, logs[2], desktop);
    EXPECT_TRUE(later.EndedWell());
  }
  RunLoopFor(300);
  EXPECT_EQ(unit.LogFileName, logs[1]);
  unit.ParseRunning = 0;
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[2]; }));

  // A modal loop, with two hand-overs meanwhile: only the newer is opened.
  static std::vector<AnsiString> parsed;
  parsed.clear();
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& self, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      parsed.push_back(self.LogFileName);
  };
  {
    TModalLoopScope modal;
    Start older("later", signature, logs[3], desktop);
    EXPECT_TRUE(older.EndedWell());
    Start newer("later", signature, logs[4], desktop);
    EXPECT_TRUE(newer.EndedWell());
    RunLoopFor(100);
    EXPECT_EQ(unit.LogFileName, logs[2]);
  }
  ASSERT_TRUE(RunLoopUntil([&] { return unit.LogFileName == logs[4]; }));
  RunLoopFor(200);
  EXPECT_EQ(parsed, std::vector<AnsiString>{logs[4]});
  unit.ProgressHook = nullptr;
}

}  // namespace

namespace {

TEST_F(ProgramInstance, TerminationSignalsCloseTheWindowAsItsCloseBoxDoesSavingTheSettings)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  struct Run {
    int number;
    std::string data;
    std::unique_ptr<Start> start;
  };
  std::vector<Run> runs;
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    const std::string data = folder / ("data " + std::to_string(number));
    std::filesystem::create_directory(data);
    runs.push_back({number, data,
                    std::make_unique<Start>("first", signature + std::to_string(number), own, desktop, "", data)});
  }
  for (Run& run : runs) {
    ASSERT_EQ(run.start->WaitFor("opened="), "3") << run.number;
    EXPECT_FALSE(std::filesystem::exists(run.data + "/" + SettingsFileName));
    run.start->Signal(run.number);
  }
  for (Run& run : runs) {
    EXPECT_TRUE(run.start->WaitFor("ended").has_value()) << run.number;
    EXPECT_TRUE(run.start->EndedWell()) << run.number;
    EXPECT_TRUE(std::filesystem::exists(run.data + "/" + SettingsFileName)) << run.number;
  }
}

TEST_F(ProgramInstance, WhileClosingNoLaterStartWaitsOnItAndASecondSignalEndsItAtOnce)
{
  const std::string own = folder.Write("own log.qel", SmallLog());
  Start start("slow close", signature, own, desktop);
  ASSERT_EQ(start.WaitFor("opened="), "3");
  start.Signal(SIGTERM);
  ASSERT_TRUE(start.WaitFor("closing").has_value());
  // No longer listening: a start now finds no one instead of handing over to a closing window.
  TSingleInstance later;
  EXPECT_TRUE(later.BecomeFirst(signature));
  start.Signal(SIGTERM);
  EXPECT_TRUE(start.Killed());
  EXPECT_FALSE(start.Reported("ended").has_value());
}

}  // namespace
