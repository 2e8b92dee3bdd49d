#include "Application.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <cstdio>

#include "CommandLine.h"
#include "Exceptions.h"
#include "Form.h"
#include "Guard.h"
#include "TextBoundary.h"

TApplication* const Application = new TApplication;

TApplication::TApplication() : TComponent(nullptr)
{
}

void TApplication::Initialize(int argc, char** argv)
{
  InitCommandLine(argc, argv);
  if (QApplication::instance())
    return;
  const AnsiString platforms = PreferredQtPlatforms();
  if (!platforms.empty())
    qputenv("QT_QPA_PLATFORM", QByteArray(platforms.data(), static_cast<qsizetype>(platforms.size())));
  argc_ = argc;
  // Never deleted (see Application): Qt keeps argc and argv for its lifetime.
  new QApplication(argc_, argv);
  // The application ends when its main form closes, not when the last window does; no display
  // name is set, since Qt would append it to every window title.
  QApplication::setQuitOnLastWindowClosed(false);
  ScheduleDeferred();  // work queued before there was a loop to run it
}

AnsiString PreferredQtPlatforms()
{
  // Pointer warping and window placement work on X11 only; prefer it when a display exists,
  // with Wayland after it, since Qt ends the program when no platform on its list starts.
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsSet("DISPLAY"))
    return AnsiString();
  return "xcb;wayland";
}

void TApplication::Run()
{
  if (mainForm_ && !terminated_)
    mainForm_->Show();
  if (!terminated_)
    QApplication::exec();
  terminated_ = true;
  DestroyComponents();
  mainForm_ = nullptr;
}

void TApplication::Terminate()
{
  terminated_ = true;
  // exit(), not quit(): quit() asks every window to close, and forms answer close requests
  // themselves. exit() also ends any modal loop, which then reports mrCancel.
  if (QCoreApplication::instance())
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages()
{
  ++pumpDepth_;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  --pumpDepth_;
  ScheduleDeferred();
}

void TApplication::Defer(std::function<void()> work)
{
  deferred_.push_back(std::move(work));
  ScheduleDeferred();
}

void TApplication::ScheduleDeferred()
{
  if (deferredScheduled_ || deferred_.empty() || pumpDepth_ > 0 || modalDepth_ > 0 || !qApp)
    return;
  deferredScheduled_ = true;
  QMetaObject::invokeMethod(
      qApp,
      [this] {
        deferredScheduled_ = false;
        RunDeferred();
      },
      Qt::QueuedConnection);
}

void TApplication::RunDeferred()
{
  // A pump or modal loop that picked the call up reschedules it when it ends.
  while (!deferred_.empty() && pumpDepth_ == 0 && modalDepth_ == 0) {
    std::function<void()> work = std::move(deferred_.front());
    deferred_.pop_front();
    Guarded(nullptr, work);
  }
}

AnsiString TApplication::ExeName() const
{
  return ::ExeName();
}

void TApplication::HandleException(TObject* Sender)
{
  if (!std::current_exception())
    return;
  const auto report = [&](const std::exception* E) {
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  };
  try {
    throw;
  } catch (const std::exception& e) {
    report(&e);
  } catch (...) {
    // Anything else shows as an exception with an empty message.
    const Exception unknown;
    report(&unknown);
  }
}

void TApplication::ShowException(const std::exception* E)
{
  const AnsiString message = E ? E->what() : AnsiString();
  if (!QApplication::instance() || CloseAsked()) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return;
  }
  QMessageBox box(QMessageBox::Critical, ToQString(title_), ToQString(message), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  ModalLoopScope modal;
  box.exec();
}

ModalLoopScope::ModalLoopScope()
{
  ++Application->modalDepth_;
}

ModalLoopScope::~ModalLoopScope()
{
  --Application->modalDepth_;
  Application->ScheduleDeferred();
}

void HandleGuardedException(TObject* Sender) noexcept
{
  // The handler of last resort may fail too (a message box without a display); nothing more
  // can be done then.
  try {
    Application->HandleException(Sender);
  } catch (...) {
  }
}
