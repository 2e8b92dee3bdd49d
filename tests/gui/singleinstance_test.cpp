// One instance per user and signature: the hand-over between processes, raw peers at the
// socket, racing and crashed starts, and where the socket may live.
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "SingleInstance.h"
#include "support/ChildProcess.h"
#include "support/ControlTest.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"

namespace {

constexpr const char* RoleVariable = "DRAVOLIN_SINGLE_INSTANCE_ROLE";  // "send" or "first"
constexpr const char* SignatureVariable = "DRAVOLIN_SINGLE_INSTANCE_SIGNATURE";
constexpr const char* TextVariable = "DRAVOLIN_SINGLE_INSTANCE_TEXT";  // hex, so any byte passes
constexpr const char* StartAtVariable = "DRAVOLIN_SINGLE_INSTANCE_START_AT";
constexpr const char* Child = "SingleInstanceChild.Run";

// The other process: a later instance that must hand its text over ("send"), or one that
// reports whether it became the first and, if so, the first text it received ("first").
TEST(SingleInstanceChild, Run)
{
  const char* role = std::getenv(RoleVariable);
  if (!role)
    GTEST_SKIP() << "only runs as the other process of the single-instance tests";
  EnsureTestApplication();
  const AnsiString signature = std::getenv(SignatureVariable);
  // Racers wait for a common moment, so that their starts really meet.
  QThread::msleep(static_cast<unsigned long>(
      std::max<qint64>(0, qgetenv(StartAtVariable).toLongLong() - QDateTime::currentMSecsSinceEpoch())));
  SingleInstance instance;
  if (std::string(role) == "send") {
    EXPECT_FALSE(instance.BecomeFirst(signature));
    EXPECT_TRUE(instance.SendToFirst(FromHex(std::getenv(TextVariable)), 10000));
    return;
  }
  std::optional<AnsiString> received;
  instance.OnMessage = [&](const AnsiString& message) { received = message; };
  const bool first = instance.BecomeFirst(signature);
  ReportToParent(first ? "role=first" : "role=second");
  if (!first)
    return;
  EXPECT_TRUE(RunLoopUntil([&] { return received.has_value(); }, 30000));
  ReportToParent("received=" + received.value_or("<nothing>"));
}

class SingleInstanceTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    first.OnMessage = [this](const AnsiString& text) { received.push_back(text); };
  }

  ChildProcess::Environment Role(const char* role, const std::string& text = "", qint64 startAt = 0) const
  {
    return {{RoleVariable, role},
            {SignatureVariable, signature},
            {TextVariable, ToHex(text)},
            {StartAtVariable, std::to_string(startAt)}};
  }

  // A raw peer of the instance listening at path.
  static int Connect(const AnsiString& path)
  {
    const int peer = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{AF_UNIX, {}};
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::connect(peer, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return peer;
  }

  // Sends all of bytes while the main loop runs; stops when the instance dropped the peer.
  static void SendAll(int peer, const std::string& bytes)
  {
    for (size_t sent = 0; sent < bytes.size();) {
      const ssize_t n = ::send(peer, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0 && errno != EAGAIN)
        return;
      n > 0 ? void(sent += static_cast<size_t>(n)) : RunLoopFor(1);
    }
  }

  // The first byte the peer gets, running the main loop meanwhile; -1 when the instance closed
  // the connection without one, -2 when nothing came at all.
  static int Answer(int peer)
  {
    int answer = -2;
    RunLoopUntil([&] {
      unsigned char byte = 0;
      const ssize_t n = ::recv(peer, &byte, 1, 0);
      if (n == 1)
        answer = byte;
      else if (n == 0 || errno != EAGAIN)
        answer = -1;
      return answer != -2;
    });
    return answer;
  }

  // Sockets and lock files of the tests, and of the processes they start, go here.
  ScratchFolder runtime;
  EnvScope runtimeDir{"XDG_RUNTIME_DIR", runtime.Path().c_str()};
  // A signature of each test's own, so that parallel runs and a running program never meet.
  const std::string signature = "Dravolin test " + QUuid::createUuid().toString().toStdString();
  SingleInstance first;
  std::vector<AnsiString> received;
};

TEST_F(SingleInstanceTest, TheSocketOfACrashedInstanceIsTakenOverAndTextsPassByteForByte)
{
  {
    ChildProcess crashed(Child, Role("first"));
    ASSERT_EQ(crashed.WaitFor("role="), "first");
    crashed.Kill();
  }
  ASSERT_TRUE(first.BecomeFirst(signature));
  const std::string line = "/opt/dravolin/dravolin \"/tmp/\xCE\xF2\xF7\xB8\xF2 1.qel\"";
  // It ends well only when it was not first and its text was acknowledged.
  EXPECT_TRUE(ChildProcess(Child, Role("send", line)).EndedWell());
  EXPECT_TRUE(RunLoopUntil([&] { return !received.empty(); }));
  EXPECT_EQ(received, std::vector<AnsiString>{line});
  // Once it stops listening, a later start finds no one and becomes the first.
  first.StopListening();
  EXPECT_FALSE(std::filesystem::exists(first.ServerName()));
  SingleInstance later;
  EXPECT_TRUE(later.BecomeFirst(signature));
}

// A text ends at its NUL.
TEST_F(SingleInstanceTest, RawPeersTextsAreDeliveredWholeOnceOrDroppedOverTheLimit)
{
  ASSERT_TRUE(first.BecomeFirst(signature));
  const std::string limit(static_cast<size_t>(SingleInstance::MaxMessage), 'x');
  const std::tuple<const char*, std::vector<std::string>, int, std::vector<AnsiString>> rows[] = {
      {"two writes with a pause",
       {"/usr/bin/dravolin \"/logs/first ", std::string("half.qel\"", sizeof "half.qel\"")},
       6,
       {"/usr/bin/dravolin \"/logs/first half.qel\""}},
      {"as long as the limit", {limit + '\0'}, 6, {limit}},
      {"over the limit without an end", {limit + 'x'}, -1, {}},
      {"the next peer", {std::string("next", 5)}, 6, {"next"}},
  };
  for (const auto& [what, writes, answer, delivered] : rows) {
    received.clear();
    const int peer = Connect(first.ServerName());
    for (const std::string& bytes : writes) {
      EXPECT_TRUE(received.empty()) << what << ": delivered before its end";
      SendAll(peer, bytes);
      RunLoopFor(100);
    }
    EXPECT_EQ(Answer(peer), answer) << what;
    RunLoopFor(100);
    EXPECT_TRUE(received == delivered) << what << ": " << received.size() << " texts";
    ::close(peer);
  }
}

TEST_F(SingleInstanceTest, RacingStartsMakeExactlyOneFirst)
{
  const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 2000;
  std::vector<std::unique_ptr<ChildProcess>> racers;
  for (int i = 0; i < 4; ++i)
    racers.push_back(std::make_unique<ChildProcess>(Child, Role("first", "", startAt)));
  ChildProcess* winner = nullptr;
  std::vector<std::string> roles;
  for (auto& racer : racers) {
    roles.push_back(racer->WaitFor("role=").value_or("none"));
    if (roles.back() == "first")
      winner = racer.get();
    else
      EXPECT_TRUE(racer->EndedWell());
  }
  std::sort(roles.begin(), roles.end());
  EXPECT_EQ(roles, (std::vector<std::string>{"first", "second", "second", "second"}));
  ASSERT_NE(winner, nullptr);
  // The losers' look at the winner delivered nothing; this text is its first.
  SingleInstance late;
  EXPECT_FALSE(late.BecomeFirst(signature));
  EXPECT_TRUE(late.SendToFirst("quit", 10000));
  EXPECT_EQ(winner->WaitFor("received="), "quit");
  EXPECT_TRUE(winner->EndedWell());
}

// "socket 600", "folder 700" and so on.
std::string Mode(const std::string& path)
{
  struct stat info {};
  std::ostringstream text;
  if (::lstat(path.c_str(), &info) == 0)
    text << (S_ISSOCK(info.st_mode)  ? "socket "
             : S_ISDIR(info.st_mode) ? "folder "
                                     : "file ")
         << std::oct << (info.st_mode & 07777);
  return text.str();
}

// The folders around are open to everyone, so that only its own bits protect it. A private
// folder others could have made or reach is not used: each start is first, leaving nothing.
TEST_F(SingleInstanceTest, OnlyTheOwnerCanReachTheSocketOrThereIsNone)
{
  ScratchFolder temporary;
  ScratchFolder elsewhere;
  for (const ScratchFolder* open : {&runtime, &temporary})
    std::filesystem::permissions(open->Path(), std::filesystem::perms::all);
  const std::string folder = temporary / ("dravolin-" + std::to_string(::getuid()));
  const std::tuple<std::string, std::function<void()>, const char*> rows[] = {
      {"runtime folder open to others", nullptr, "first, second, socket 600 in folder 700"},
      {"private folder", [] {}, "first, second, socket 600 in folder 700"},
      {"a link to a folder of the user's",
       [&] { std::filesystem::create_directory_symlink(elsewhere.Path(), folder); }, "first, first, nowhere"},
      {"open to others", [&] { ::mkdir(folder.c_str(), 0755); }, "first, first, nowhere"},
      {"another user's",
       [&] {
         ::mkdir(folder.c_str(), 0700);
         EXPECT_EQ(::lchown(folder.c_str(), ::getuid() + 1, ::getgid()), 0);
       },
       "first, first, nowhere"},
      {"a file", [&] { std::ofstream(folder) << "x"; }, "first, first, nowhere"},
  };
  for (const auto& [what, make, expected] : rows) {
    if (::getuid() != 0 && what == "another user's")
      continue;  // only the superuser can give a folder away
    std::filesystem::remove_all(folder);
    if (make)
      make();
    EnvScope runtimeHere("XDG_RUNTIME_DIR", make ? nullptr : runtime.Path().c_str());
    EnvScope tmpDir("TMPDIR", temporary.Path().c_str());
    SingleInstance one;
    SingleInstance other;
    std::string state = one.BecomeFirst(signature) ? "first, " : "second, ";
    state += other.BecomeFirst(signature) ? "first, " : "second, ";
    const std::string socket = one.ServerName();
    state += socket.empty() ? "nowhere"
                            : Mode(socket) + " in " + Mode(std::filesystem::path(socket).parent_path().string());
    EXPECT_EQ(state, expected) << what;
    EXPECT_FALSE(socket.empty() && std::filesystem::is_directory(folder) && !std::filesystem::is_empty(folder));
  }
  std::filesystem::permissions(runtime.Path(), std::filesystem::perms::owner_all);
  SingleInstance own;
  ASSERT_TRUE(own.BecomeFirst(signature));
  EXPECT_EQ(std::filesystem::path(own.ServerName()).parent_path(), runtime.Path());
}

// A listener of another user at our socket's name (only the superuser can stage one) gets
// nothing of our command line.
TEST_F(SingleInstanceTest, NothingIsSentToAnotherUsersListener)
{
  if (::getuid() != 0)
    GTEST_SKIP() << "only the superuser can listen as another user";
  AnsiString path;
  {
    SingleInstance probe;
    ASSERT_TRUE(probe.BecomeFirst(signature));
    path = probe.ServerName();
  }
  int ready[2], report[2];
  ASSERT_TRUE(::pipe(ready) == 0 && ::pipe(report) == 0);
  const pid_t child = ::fork();
  if (child == 0) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address);
    // The credentials a connection sees are those of the listen() call.
    if (::setresuid(65534, 65534, 65534) != 0 || ::listen(server, 1) != 0)
      ::_exit(1);
    ::write(ready[1], "L", 1);
    // The later start's probe connects first, then its sender: every connection is read.
    pollfd wait{server, POLLIN, 0};
    char got[64];
    ssize_t n = 0;
    while (::poll(&wait, 1, 1500) == 1) {
      const int peer = ::accept(server, nullptr, nullptr);
      pollfd in{peer, POLLIN, 0};
      const ssize_t read = ::poll(&in, 1, 1000) == 1 ? ::recv(peer, got, sizeof got, 0) : 0;
      n += read > 0 ? read : 0;
      ::close(peer);
    }
    ::write(report[1], &n, sizeof n);
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  SingleInstance later;
  EXPECT_FALSE(later.BecomeFirst(signature));
  EXPECT_FALSE(later.SendToFirst("/home/user/secret.qel", 3000));
  ssize_t sent = -1;
  ASSERT_EQ(::read(report[0], &sent, sizeof sent), static_cast<ssize_t>(sizeof sent));
  ::waitpid(child, nullptr, 0);
  ::unlink(path.c_str());
  for (int fd : {ready[0], ready[1], report[0], report[1]})
    ::close(fd);
  EXPECT_EQ(sent, 0);
}

}  // namespace
