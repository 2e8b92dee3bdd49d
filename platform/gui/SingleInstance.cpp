#include "SingleInstance.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <QWidget>

#include "Application.h"
#include "Form.h"
#include "Guard.h"
#include "TextBoundary.h"

namespace {

constexpr char Acknowledgement = '\x06';
// How long a start waits for another start to finish its listen-or-connect step.
constexpr int LockWaitMs = 5000;
// How often a waiting text asks Ready again.
constexpr int ReadyRetryMs = 100;

// A folder of the user's own under the temporary folder, for systems without a runtime folder.
// One that is not a real folder, is another user's or is open to others is not used: whoever
// can write there could take the socket's name first.
bool OwnPrivateFolder(const AnsiString& folder)
{
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 0777) == 0700;
}

AnsiString PrivateFolder()
{
  const AnsiString folder = QStringToFileName(QDir::tempPath()) + "/dravolin-" + std::to_string(getuid());
  ::mkdir(folder.c_str(), 0700);
  return OwnPrivateFolder(folder) ? folder : AnsiString();
}

// In the user's runtime folder when there is one (only the user can enter it), else in a
// private folder; the user id keeps users apart, the hash keeps any signature a valid name.
// Empty when neither is safe.
AnsiString ServerPath(const AnsiString& signature)
{
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray(signature.data(), static_cast<qsizetype>(signature.size())),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(16);
  // The runtime folder is trusted no more than our own fallback: a world-writable one would let
  // another user bind our name and receive our command line.
  const AnsiString runtime = QStringToFileName(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  const AnsiString folder = !runtime.empty() && OwnPrivateFolder(runtime) ? runtime : PrivateFolder();
  if (folder.empty())
    return AnsiString();
  return folder + "/si-" + hash.constData() + "-" + std::to_string(getuid());
}

// The socket's address; false when the path does not fit.
bool Address(const AnsiString& path, sockaddr_un& address)
{
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path))
    return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

// Blocking calls on fd give up when the deadline has passed.
bool LimitTo(int fd, const QDeadlineTimer& deadline)
{
  const qint64 ms = deadline.remainingTime();
  if (ms == 0)
    return false;
  timeval limit{};
  if (ms > 0) {
    limit.tv_sec = static_cast<time_t>(ms / 1000);
    limit.tv_usec = static_cast<suseconds_t>((ms % 1000) * 1000);
  }
  return ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0 &&
         ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0;
}

class Descriptor {
public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor()
  {
    if (fd_ >= 0)
      ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

private:
  int fd_;
};

// Whether an instance listens there. One too busy to take the connection now (its queue
// is full) is still there: its socket must not be taken.
bool SomeoneListens(const sockaddr_un& address)
{
  const Descriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (probe.Get() < 0)
    return false;
  int result = 0;
  do
    result = ::connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  while (result != 0 && errno == EINTR);
  return result == 0 || errno == EAGAIN || errno == EINPROGRESS;
}

// A socket listening at address and reachable by the user only; -1 when none can be made.
int Listen(const sockaddr_un& address)
{
  Descriptor server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (server.Get() < 0 || ::bind(server.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return -1;
  if (::chmod(address.sun_path, 0600) != 0 || ::listen(server.Get(), SOMAXCONN) != 0) {
    ::unlink(address.sun_path);
    return -1;
  }
  return server.Release();
}

}  // namespace

SingleInstance::SingleInstance() : self_(std::make_shared<SingleInstance*>(this))
{
}

SingleInstance::~SingleInstance()
{
  StopListening();
}

void SingleInstance::StopListening()
{
  // The server removes the name when it closes; connections not yet answered are cut, so
  // their senders stop waiting at once.
  server_.reset();
  if (listening_ >= 0) {
    ::close(std::exchange(listening_, -1));
    ::unlink(serverName_.c_str());
  }
}

bool SingleInstance::BecomeFirst(const AnsiString& signature)
{
  serverName_ = ServerPath(signature);
  sockaddr_un address{};
  if (!Address(serverName_, address)) {
    // The program still runs, only no later instance can reach it.
    serverName_.clear();
    return true;
  }
  // Two starts at the same moment would both find no one listening and both listen; the
  // lock lets one finish before the other looks. Without it the start goes on unguarded.
  QLockFile lock(FileNameToQString(serverName_ + ".lock"));
  lock.tryLock(LockWaitMs);

  if (SomeoneListens(address))
    return false;
  // No one answers: clear away a socket file that a crashed instance left behind.
  ::unlink(address.sun_path);
  listening_ = Listen(address);
  if (QCoreApplication::instance())
    Serve();
  return true;
}

void SingleInstance::Serve()
{
  if (listening_ < 0 || server_)
    return;
  server_ = std::make_unique<QLocalServer>();
  // The server owns the socket from here on and removes its file when it closes.
  if (!server_->listen(static_cast<qintptr>(std::exchange(listening_, -1)))) {
    server_.reset();
    return;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { Guarded(nullptr, [this] { Accept(); }); });
}

bool SingleInstance::SendToFirst(const AnsiString& commandLine, int timeoutMs)
{
  sockaddr_un address{};
  if (!Address(serverName_, address))
    return false;
  const QDeadlineTimer deadline(timeoutMs);
  const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.Get() < 0 || !LimitTo(socket.Get(), deadline) ||
      ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return false;
  // Whoever listens there must be this user: the text holds the log's full path.
  ucred peer{};
  socklen_t length = sizeof peer;
  if (::getsockopt(socket.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != getuid())
    return false;
  // The text and its end, the NUL.
  const char* next = commandLine.c_str();
  size_t left = commandLine.size() + 1;
  while (left > 0) {
    if (!LimitTo(socket.Get(), deadline))
      return false;
    const ssize_t sent = ::send(socket.Get(), next, left, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR)
      continue;
    if (sent <= 0)
      return false;
    next += sent;
    left -= static_cast<size_t>(sent);
  }
  char answer = 0;
  ssize_t got = 0;
  do
    got = LimitTo(socket.Get(), deadline) ? ::recv(socket.Get(), &answer, 1, 0) : 0;
  while (got < 0 && errno == EINTR);
  return got == 1 && answer == Acknowledgement;
}

void SingleInstance::Accept()
{
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    QObject::connect(socket, &QLocalSocket::readyRead, socket,
                     [this, socket, received] { Guarded(nullptr, [&] { Receive(*socket, *received); }); });
  }
}

void SingleInstance::Receive(QLocalSocket& socket, QByteArray& received)
{
  received.append(socket.readAll());
  const qsizetype end = received.indexOf('\0');
  if (end > MaxMessage || (end < 0 && received.size() > MaxMessage)) {
    socket.abort();
    return;
  }
  if (end < 0)
    return;
  // One text per connection: whatever follows it is not read.
  QObject::disconnect(&socket, &QLocalSocket::readyRead, nullptr, nullptr);
  Queue(AnsiString(received.constData(), static_cast<size_t>(end)));
  socket.putChar(Acknowledgement);
  socket.disconnectFromServer();  // after the acknowledgement has gone out
}

void SingleInstance::Queue(AnsiString text)
{
  pending_ = std::move(text);
  hasPending_ = true;
  ScheduleDelivery();
}

void SingleInstance::ScheduleDelivery()
{
  if (deliveryScheduled_)
    return;
  deliveryScheduled_ = true;
  const std::weak_ptr<SingleInstance*> weak = self_;
  Application->Defer([weak] {
    if (const auto self = weak.lock())
      (*self)->Deliver();
  });
}

void SingleInstance::Deliver()
{
  deliveryScheduled_ = false;
  if (!hasPending_)
    return;
  if (Ready && !Ready()) {
    deliveryScheduled_ = true;
    const std::weak_ptr<SingleInstance*> weak = self_;
    QTimer::singleShot(ReadyRetryMs, [weak] {
      if (const auto self = weak.lock()) {
        (*self)->deliveryScheduled_ = false;
        Guarded(nullptr, [&] { (*self)->ScheduleDelivery(); });
      }
    });
    return;
  }
  const AnsiString text = std::move(pending_);
  pending_.clear();
  hasPending_ = false;
  if (OnMessage)
    OnMessage(text);
}

void BringToForeground(TForm* form)
{
  if (!form)
    return;
  QWidget* window = form->Widget();
  if (window->isMinimized())
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->raise();
  window->activateWindow();
}
