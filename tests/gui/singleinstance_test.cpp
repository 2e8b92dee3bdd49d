#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <filesystem>

#include "Form.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"
#include "support/GuiTest.h"
#include "SingleInstance.h"

// The other instance is this test program again, started with an environment that makes
// SingleInstanceChild.Run play a role: "send" (a second instance handing over a text) or
// "first" (an instance that reports whether it became the first and, if so, what it received).
namespace {

constexpr const char* kRole = "DRAVOLIN_SINGLE_INSTANCE_ROLE";
constexpr const char* kSignature = "DRAVOLIN_SINGLE_INSTANCE_SIGNATURE";
constexpr const char* kText = "DRAVOLIN_SINGLE_INSTANCE_TEXT";  // hex, so any byte passes
constexpr const char* kStartAt = "DRAVOLIN_SINGLE_INSTANCE_START_AT";

void Report(const std::string& line)
{
  std::printf("@@%s\n", line.c_str());
  std::fflush(stdout);
}

class SingleInstanceChild : public GuiTest {};

TEST_F(SingleInstanceChild, Run)
{
  const char* role = std::getenv(kRole);
  if (!role)
    GTEST_SKIP() << "only runs as the other process of the single-instance tests";
  const AnsiString signature = std::getenv(kSignature);
  const QByteArray text = QByteArray::fromHex(qgetenv(kText));
  // Racers wait for a common moment, so that their starts really meet.
  const qint64 wait = qgetenv(kStartAt).toLongLong() - QDateTime::currentMSecsSinceEpoch();
  if (wait > 0)
    QThread::msleep(static_cast<unsigned long>(wait));

  TSingleInstance instance;
  if (std::string(role) == "send") {
    EXPECT_FALSE(instance.BecomeFirst(signature));
    EXPECT_TRUE(instance.SendToFirst(AnsiString(text.constData(), static_cast<size_t>(text.size())), 10000));
    return;
  }
  std::optional<AnsiString> received;
  instance.OnMessage = [&](const AnsiString& message) { received = message; };
  const bool first = instance.BecomeFirst(signature);
  Report(first ? "role=first" : "role=second");
  if (!first)
    return;
  EXPECT_TRUE(RunMainLoopUntil([&] { return received.has_value(); }, 30000));
  Report("received=" + received.value_or("<nothing>"));
}

class Child {
public:
  Child(const char* role, const AnsiString& signature, const AnsiString& text = "", qint64 startAt = 0)
  {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRole), QString::fromLatin1(role));
    environment.insert(QString::fromLatin1(kSignature), QString::fromUtf8(signature.c_str()));
    environment.insert(QString::fromLatin1(kText),
                       QString::fromLatin1(QByteArray(text.data(), static_cast<qsizetype>(text.size())).toHex()));
    environment.insert(QString::fromLatin1(kStartAt), QString::number(startAt));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SingleInstanceChild.Run")});
  }

  ~Child()
  {
    if (process_.state() != QProcess::NotRunning)
      Kill();
  }

  // The rest of the first reported line that starts with key; runs the main loop meanwhile.
  std::optional<std::string> WaitFor(const std::string& key)
  {
    const std::string marker = "@@" + key;
    std::optional<std::string> found;
    RunUntil([&] {
      output_ += process_.readAllStandardOutput().toStdString();
      const size_t at = output_.find(marker);
      const size_t end = at == std::string::npos ? at : output_.find('\n', at);
      if (end != std::string::npos)
        found = output_.substr(at + marker.size(), end - at - marker.size());
      return found.has_value() || process_.state() == QProcess::NotRunning;
    });
    if (!found)
      output_ += process_.readAllStandardOutput().toStdString();
    return found;
  }

  // Runs the main loop until the child has ended; true when it ended well (its test passed).
  bool Finished()
  {
    RunUntil([&] { return process_.state() == QProcess::NotRunning; });
    return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
  }

  bool Running() const { return process_.state() != QProcess::NotRunning; }

  // As a crash: no clean-up of any kind.
  void Kill()
  {
    process_.kill();
    process_.waitForFinished(10000);
  }

private:
  template <class Done>
  static void RunUntil(Done done)
  {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 30000) {
      QEventLoop loop;
      QTimer::singleShot(5, &loop, &QEventLoop::quit);
      loop.exec();
    }
  }

  QProcess process_;
  std::string output_;
};

class SingleInstanceTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    first.OnMessage = [this](const AnsiString& text) { received.push_back(text); };
  }

  // A signature of its own for each test, so that parallel runs and a running program never
  // meet.
  const AnsiString signature = "Dravolin test " + QUuid::createUuid().toString().toStdString();
  TSingleInstance first;
  std::vector<AnsiString> received;
};

TEST_F(SingleInstanceTest, SecondInstanceHandsOverItsCommandLineAndIsAcknowledged)
{
  ASSERT_TRUE(first.BecomeFirst(signature));
  const AnsiString line = "/opt/dravolin/dravolin \"/tmp/\xCE\xF2\xF7\xB8\xF2 1.qel\"";
  Child second("send", signature, line);
  // It ends well only when it was not first and its text was acknowledged.
  EXPECT_TRUE(second.Finished());
  EXPECT_TRUE(RunMainLoopUntil([&] { return !received.empty(); }));
  EXPECT_EQ(received, std::vector<AnsiString>{line});
}

TEST_F(SingleInstanceTest, TextsWaitForPumpsAndModalLoopsAndTheNewestWins)
{
  ASSERT_TRUE(first.BecomeFirst(signature));
  {
    // The progress window's pump: the text is taken and acknowledged, not delivered.
    Child second("send", signature, "pumped");
    QElapsedTimer clock;
    clock.start();
    while ((second.Running() || clock.elapsed() < 200) && clock.elapsed() < 30000) {
      Application->ProcessMessages();
      QThread::msleep(1);
    }
    EXPECT_TRUE(second.Finished());
    EXPECT_TRUE(received.empty());
  }
  {
    TModalLoopScope modal;
    Child second("send", signature, "modal");
    EXPECT_TRUE(second.Finished());
    RunMainLoopFor(100);
    EXPECT_TRUE(received.empty());
  }
  EXPECT_TRUE(RunMainLoopUntil([&] { return !received.empty(); }));
  RunMainLoopFor(100);
  EXPECT_EQ(received, std::vector<AnsiString>{"modal"});
}

TEST_F(SingleInstanceTest, ATextWaitsUntilTheProgramIsReady)
{
  bool ready = false;
  first.Ready = [&] { return ready; };
  ASSERT_TRUE(first.BecomeFirst(signature));
  Child second("send", signature, "later");
  EXPECT_TRUE(second.Finished());
  RunMainLoopFor(300);
  EXPECT_TRUE(received.empty());
  ready = true;
  EXPECT_TRUE(RunMainLoopUntil([&] { return !received.empty(); }));
  EXPECT_EQ(received, std::vector<AnsiString>{"later"});
}

TEST_F(SingleInstanceTest, AnInstanceFreedWithATextWaitingIsNeverCalled)
{
  auto instance = std::make_unique<TSingleInstance>();
  bool called = false;
  instance->OnMessage = [&](const AnsiString&) { called = true; };
  ASSERT_TRUE(instance->BecomeFirst(signature));
  {
    TModalLoopScope modal;
    Child second("send", signature, "orphan");
    EXPECT_TRUE(second.Finished());
    instance.reset();
  }
  RunMainLoopFor(100);
  EXPECT_FALSE(called);
}

TEST_F(SingleInstanceTest, TheSocketOfACrashedInstanceIsCleanedUp)
{
  {
    Child crashed("first", signature);
    ASSERT_EQ(crashed.WaitFor("role="), "first");
    crashed.Kill();
  }
  ASSERT_TRUE(first.BecomeFirst(signature));
  Child second("send", signature, "after the crash");
  EXPECT_TRUE(second.Finished());
  EXPECT_TRUE(RunMainLoopUntil([&] { return !received.empty(); }));
  EXPECT_EQ(received, std::vector<AnsiString>{"after the crash"});
}

TEST_F(SingleInstanceTest, RacingStartsMakeExactlyOneFirst)
{
  const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 2000;
  std::vector<std::unique_ptr<Child>> racers;
  for (int i = 0; i < 4; ++i)
    racers.push_back(std::make_unique<Child>("first", signature, "", startAt));
  Child* winner = nullptr;
  int seconds = 0;
  for (auto& racer : racers) {
    const std::optional<std::string> role = racer->WaitFor("role=");
    ASSERT_TRUE(role.has_value());
    if (*role == "first") {
      EXPECT_EQ(winner, nullptr) << "two instances became first";
      winner = racer.get();
    } else {
      ++seconds;
      EXPECT_TRUE(racer->Finished());
    }
  }
  ASSERT_NE(winner, nullptr);
  EXPECT_EQ(seconds, 3);

  // The losers' look at the winner delivered nothing; this text is its first.
  TSingleInstance late;
  EXPECT_FALSE(late.BecomeFirst(signature));
  EXPECT_TRUE(late.SendToFirst("quit", 10000));
  EXPECT_EQ(winner->WaitFor("received="), "quit");
  EXPECT_TRUE(winner->Finished());
}

// The permission bits of the one socket in folder; -1 when there is none or more than one.
int SocketModeIn(const std::string& folder)
{
  int mode = -1;
  int sockets = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
      ++sockets;
      mode = static_cast<int>(info.st_mode & 07777);
    }
  }
  return sockets == 1 ? mode : -1;
}

TEST_F(SingleInstanceTest, OnlyTheOwnerCanReachTheSocket)
{
  // Both places the socket can go: the runtime folder, and the temporary folder without one.
  // The folders are opened to everyone, so that only the socket's own bits protect it.
  ScratchFolder runtime;
  ScratchFolder temporary;
  for (const ScratchFolder* folder : {&runtime, &temporary})
    std::filesystem::permissions(folder->Path(), std::filesystem::perms::all);
  for (const bool withRuntimeFolder : {true, false}) {
    EnvScope runtimeDir("XDG_RUNTIME_DIR", withRuntimeFolder ? runtime.Path().c_str() : nullptr);
    EnvScope tmpDir("TMPDIR", temporary.Path().c_str());
    const std::string& folder = withRuntimeFolder ? runtime.Path() : temporary.Path();
    TSingleInstance instance;
    ASSERT_TRUE(instance.BecomeFirst(signature));
    const int mode = SocketModeIn(folder);
    ASSERT_NE(mode, -1) << folder;
    EXPECT_EQ(mode & 077, 0) << std::oct << mode;
    EXPECT_EQ(mode & 0600, 0600) << std::oct << mode;
    // And it is the live socket: a second start finds the first there.
    TSingleInstance second;
    EXPECT_FALSE(second.BecomeFirst(signature));
  }
}

TEST_F(SingleInstanceTest, BringToForegroundRestoresAMinimisedWindowAsItWas)
{
  auto* form = new TForm(Application);
  form->Show();
  QWidget* window = form->Widget();
  window->setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
  BringToForeground(form);
  EXPECT_FALSE(window->isMinimized());
  EXPECT_TRUE(window->isMaximized());
  BringToForeground(nullptr);
  delete form;
}

}  // namespace
