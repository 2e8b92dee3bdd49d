#pragma once
// The application object: the Qt application, the main form, the message pump and the one
// place where exceptions from handlers end up.
#include <deque>
#include <exception>
#include <functional>

#include "Component.h"
#include "System.h"

class TForm;

// Replaces the message box of HandleException (tests watch it through this).
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception* E)>;

class TApplication : public TComponent {
public:
  TApplication();

  // Creates the Qt application (once) and keeps the command line for ExeName.
  void Initialize(int argc, char** argv);

  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& title) { title_ = title; }

  // The first form created this way becomes the main form; the application owns it.
  template <class T>
  void CreateForm(T*& reference)
  {
    reference = new T(this);
    if (!mainForm_)
      mainForm_ = reference;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until Terminate (closing the main form);
  // then frees the forms the application owns.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Once the program is asked to close (a signal, a close refused while work runs), no modal
  // window opens any more: a handler's next dialog returns at once as cancelled, so the close
  // is never left waiting behind it.
  void AskClose(bool asked = true) { closeAsked_ = asked; }
  bool CloseAsked() const { return closeAsked_; }

  // Runs every pending event inside the caller, timers and paints included.
  void ProcessMessages();
  int PumpDepth() const { return pumpDepth_; }
  int ModalDepth() const { return modalDepth_; }

  // Queues work for the main loop: it runs only when no ProcessMessages and no modal loop is
  // active, in the order queued.
  void Defer(std::function<void()> work);

  AnsiString ExeName() const;

  // Called inside a catch block: the exception goes to OnException when bound, else to a
  // message box.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception* E);
  TExceptionEvent OnException;

private:
  friend class ModalLoopScope;
  void ScheduleDeferred();
  void RunDeferred();

  int argc_ = 0;
  AnsiString title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool closeAsked_ = false;
  int pumpDepth_ = 0;
  int modalDepth_ = 0;
  std::deque<std::function<void()>> deferred_;
  bool deferredScheduled_ = false;
};

// The platform plugins Initialize asks Qt to try, in order; empty leaves the choice to Qt (also
// when the user has set QT_QPA_PLATFORM).
AnsiString PreferredQtPlatforms();

// Counts a modal loop (ShowModal, message boxes, dialogs) for ModalDepth while it lives.
class ModalLoopScope {
public:
  ModalLoopScope();
  ~ModalLoopScope();
  ModalLoopScope(const ModalLoopScope&) = delete;
  ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};

// Lives for the whole process, like the class library's: the Qt application and any form
// still owned at exit stay reachable rather than being torn down after Qt's own statics.
extern TApplication* const Application;
