#include "app/Qelform.h"

#include "Application.h"
#include "CommandLine.h"
#include "SingleInstance.h"
#include "Timer.h"
#include "app/Qelunit.h"

TQELMainForm* QELMainForm = nullptr;
BQELunit* gQELunit = nullptr;

const char* const ApplicationTitle = "Dravolin   v.2016-11-09";

TQELMainForm::TQELMainForm(TComponent* AOwner) : TForm(AOwner)
{
  SetBounds(198, 120, 800, 600);
  Constraints()->SetMinWidth(800);
  Constraints()->SetMinHeight(600);
  SetBorderWidth(5);
  // Replaced by the application title at start.
  SetCaption("QEL chart");
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  SetPosition(poScreenCenter);
  SetWindowState(wsMaximized);
  SetShowHint(true);

  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TQELMainForm::FormShow(TObject*)
{
  // The form is shown again after a minimise or a flag change; the object is made once.
  if (!gQELunit)
    gQELunit = new BQELunit(this);
}

void TQELMainForm::FormCloseQuery(TObject*, bool& CanClose)
{
  // While the start opens its log, or any parse pumps messages under the progress window,
  // freeing the object would pull the records from under the running parse. The parse is
  // asked to stop instead, and the close is made again once the loop is back outside it.
  if (!gQELunit || (!gQELunit->BusyFlag && !gQELunit->ParseRunning))
    return;
  CanClose = false;
  // The work is broken off and no dialog or later start's log may come before the close.
  Application->AskClose();
  if (gQELunit->ParseRunning)
    gQELunit->AbortFlag = 1;
  if (closePending_)
    return;
  closePending_ = true;
  Application->Defer([this, alive = std::weak_ptr<int>(alive_)] {
    if (alive.expired())
      return;
    closePending_ = false;
    Close();
  });
}

void TQELMainForm::FormClose(TObject*, TCloseAction&)
{
  // Freeing a large log takes a moment: a later start made meanwhile must not wait for an
  // acknowledgement that never comes.
  if (instance_)
    instance_->StopListening();
  if (!gQELunit)
    return;
  // Cleared first: nothing that runs while the object is freed (a message, a received
  // command line) may reach it any more.
  BQELunit* unit = gQELunit;
  gQELunit = nullptr;
  delete unit;
}

bool TQELMainForm::CanTakeCommandLine()
{
  // A later start's log waiting when a close is asked for is dropped: parsing it first could
  // keep a logout waiting long enough to be killed unsaved.
  return gQELunit && gQELunit->ReadyFlag && !gQELunit->BusyFlag && !gQELunit->ParseRunning &&
         !Application->CloseAsked() && !(gQELunit->StartTimer && gQELunit->StartTimer->Enabled());
}

void TQELMainForm::WMCopyData(const AnsiString& commandLine)
{
  if (!CanTakeCommandLine())
    return;
  std::vector<AnsiString> arguments;
  if (UnpackArguments(commandLine, arguments))
    gQELunit->SplitCommandLine(arguments);
  else
    gQELunit->SplitCommandLine(commandLine);
}

void TQELMainForm::ListenTo(SingleInstance& instance)
{
  instance_ = &instance;
  instance.Ready = [] { return CanTakeCommandLine(); };
  instance.OnMessage = [this](const AnsiString& commandLine) {
    BringToForeground(this);
    WMCopyData(commandLine);
  };
}
