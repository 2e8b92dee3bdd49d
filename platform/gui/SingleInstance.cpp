#include "SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <QWidget>

#include "Application.h"
#include "Form.h"
#include "Guard.h"

namespace {

constexpr char kAcknowledgement = '\x06';
// How long a start waits for another start to finish its listen-or-connect step.
constexpr int kLockWaitMs = 5000;
// A live first instance accepts at once (the system queues the connection).
constexpr int kProbeMs = 1000;
// How often a waiting text asks Ready again.
constexpr int kReadyRetryMs = 100;
// A command line longer than this is no command line; the connection is dropped.
constexpr qsizetype kMaxMessage = 1 << 20;

// In the user's runtime folder when there is one (only the user can enter it), else in the
// temporary folder; the user id keeps users apart, the hash keeps any signature a valid name.
QString ServerName(const AnsiString& signature)
{
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray(signature.data(), static_cast<qsizetype>(signature.size())),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(16);
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (folder.isEmpty() || !QFileInfo(folder).isDir())
    folder = QDir::tempPath();
  return folder + QStringLiteral("/si-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

int Remaining(const QDeadlineTimer& deadline)
{
  return static_cast<int>(deadline.remainingTime());
}

}  // namespace

TSingleInstance::TSingleInstance() : self_(std::make_shared<TSingleInstance*>(this)) {}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::BecomeFirst(const AnsiString& signature)
{
  serverName_ = ServerName(signature);
  // Two starts at the same moment would both find no one listening and both listen; the
  // lock lets one finish before the other looks. Without it the start goes on unguarded.
  QLockFile lock(serverName_ + QStringLiteral(".lock"));
  lock.tryLock(kLockWaitMs);

  QLocalSocket probe;
  probe.connectToServer(serverName_);
  // An instance too busy to accept in time is still there: its socket must not be taken.
  if (probe.waitForConnected(kProbeMs) || probe.error() == QLocalSocket::SocketTimeoutError)
    return false;

  // No one answers: clear away a socket file that a crashed instance left behind.
  QLocalServer::removeServer(serverName_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(serverName_)) {
    // The program still runs, only no later instance can reach it.
    server_.reset();
    return true;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { Guarded(nullptr, [this] { Accept(); }); });
  return true;
}

bool TSingleInstance::SendToFirst(const AnsiString& commandLine, int timeoutMs)
{
  if (serverName_.isEmpty())
    return false;
  const QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(Remaining(deadline)))
    return false;
  QByteArray message(commandLine.data(), static_cast<qsizetype>(commandLine.size()));
  message.append('\0');
  socket.write(message);
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(Remaining(deadline)))
      return false;
  while (socket.bytesAvailable() < 1)
    if (!socket.waitForReadyRead(Remaining(deadline)))
      return false;
  char answer = 0;
  return socket.getChar(&answer) && answer == kAcknowledgement;
}

void TSingleInstance::Accept()
{
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    QObject::connect(socket, &QLocalSocket::readyRead, socket,
                     [this, socket, received] { Guarded(nullptr, [&] { Receive(*socket, *received); }); });
  }
}

void TSingleInstance::Receive(QLocalSocket& socket, QByteArray& received)
{
  received.append(socket.readAll());
  const qsizetype end = received.indexOf('\0');
  if (end < 0) {
    if (received.size() > kMaxMessage)
      socket.abort();
    return;
  }
  // One text per connection: whatever follows it is not read.
  QObject::disconnect(&socket, &QLocalSocket::readyRead, nullptr, nullptr);
  Queue(AnsiString(received.constData(), static_cast<size_t>(end)));
  socket.putChar(kAcknowledgement);
  socket.disconnectFromServer();  // after the acknowledgement has gone out
}

void TSingleInstance::Queue(AnsiString text)
{
  pending_ = std::move(text);
  hasPending_ = true;
  ScheduleDelivery();
}

void TSingleInstance::ScheduleDelivery()
{
  if (deliveryScheduled_)
    return;
  deliveryScheduled_ = true;
  const std::weak_ptr<TSingleInstance*> weak = self_;
  Application->Defer([weak] {
    if (const auto self = weak.lock())
      (*self)->Deliver();
  });
}

void TSingleInstance::Deliver()
{
  deliveryScheduled_ = false;
  if (!hasPending_)
    return;
  if (Ready && !Ready()) {
    deliveryScheduled_ = true;
    const std::weak_ptr<TSingleInstance*> weak = self_;
    QTimer::singleShot(kReadyRetryMs, [weak] {
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
