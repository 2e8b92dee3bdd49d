// The program's single instance across real processes: the test program runs again as the
// program's first or later start (RunDravolin itself), chosen by an environment variable.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QUuid>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
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
  const char* role = std::getenv(kRole);
  if (!role)
    GTEST_SKIP() << "only runs as a start of the program in the single-instance tests";
  std::string program = "dravolin";
  std::string argument = FromHex(std::getenv(kArgument));
  char* argv[] = {program.data(), argument.data(), nullptr};

  if (std::string(role) == "later") {
    Report("returned=" + std::to_string(RunDravolin(2, argv, std::getenv(kSignature))));
    return;
  }
  // The first start: reports its own log once the start opened it, and the handed-over one
  // once that is open, then closes its window as the user would.
  const std::string expected = FromHex(std::getenv(kExpected));
  bool openedOwn = false;
  TTimer watch(nullptr);
  watch.SetInterval(20);
  watch.OnTimer = [&](TObject*) {
    // The progress window lets timers tick inside a parse: look only between parses.
    if (!gQELunit || gQELunit->ParseRunning)
      return;
    if (!openedOwn && gQELunit->LogFileName == argument) {
      openedOwn = true;
      Report("opened=" + std::to_string(gQELunit->DataCells->Count()));
    }
    if (gQELunit->LogFileName == expected) {
      Report("received=" + std::to_string(gQELunit->DataCells->Count()));
      watch.SetEnabled(false);
      QELMainForm->Close();
    }
  };
  EXPECT_EQ(RunDravolin(2, argv, std::getenv(kSignature)), 0);
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_TRUE(std::filesystem::exists(DataFolder() + SettingsFileName));
  Report("ended");
}

class Start {
public:
  Start(const char* role, const std::string& signature, const std::string& argument,
        const std::string& desktop, const std::string& expected = "")
  {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
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
  EnvScope desktopData{"XDG_DATA_HOME", desktop.c_str()};
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
