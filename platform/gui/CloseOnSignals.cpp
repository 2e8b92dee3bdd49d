#include "CloseOnSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include "Application.h"

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// Shared with the handler, which may touch nothing else.
int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t closeAsked = 0;
struct sigaction formerActions[std::size(Signals)];

extern "C" void OnCloseSignal(int number)
{
  if (closeAsked) {
    // Asked again while closing: end now, as the signal does by default.
    ::signal(number, SIG_DFL);
    ::raise(number);  // taken as soon as this handler returns
    return;
  }
  closeAsked = 1;
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

CloseOnSignals::CloseOnSignals(std::function<void()> close) : close_(std::move(close))
{
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    pipeEnds[0] = pipeEnds[1] = -1;
    return;  // the signals keep their default: the program ends unsaved, as before
  }
  closeAsked = 0;
  notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Arrived(); });
  struct sigaction action {};
  action.sa_handler = OnCloseSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(Signals); ++i)
    ::sigaction(Signals[i], &action, &formerActions[i]);
}

CloseOnSignals::~CloseOnSignals()
{
  if (!notifier_)
    return;
  for (size_t i = 0; i < std::size(Signals); ++i)
    ::sigaction(Signals[i], &formerActions[i], nullptr);
  notifier_.reset();
  for (int& end : pipeEnds) {
    ::close(end);
    end = -1;
  }
}

void CloseOnSignals::Arrived()
{
  char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  if (closing_)
    return;
  closing_ = true;
  Application->AskClose();
  if (Application->ModalDepth() > 0) {
    if (QWidget* dialog = QApplication::activeModalWidget())
      dialog->close();
    Application->Defer(close_);
    return;
  }
  close_();
}
