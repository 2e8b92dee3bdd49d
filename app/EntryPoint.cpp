#include "app/EntryPoint.h"

#include <exception>

#include "Application.h"
#include "CloseOnSignals.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "SingleInstance.h"
#include "app/CommandLineLog.h"
#include "app/Qelform.h"

const char* const SingleInstanceSignature = "Dravolin QEL log chart 2016-11-09 single instance";

namespace {

// The running instance acknowledges a text as soon as it has it, even while it is busy; a
// text it never acknowledges is lost, as when no running window can be found.
constexpr int HandOverTimeoutMs = 10000;

}  // namespace

int RunDravolin(int argc, char** argv, const AnsiString& signature)
{
  InitCommandLine(argc, argv);
  try {
    SingleInstance instance;
    // Before the application: a later start makes no window and needs no display.
    if (!instance.BecomeFirst(signature)) {
      // The running instance has another working folder: a relative name is resolved here.
      // Only what the running instance uses: `dravolin *.qel` in a big folder would pass the
      // hand-over limit and its log would never open.
      std::vector<AnsiString> arguments = GetCommandLineArguments();
      if (arguments.size() > 2)
        arguments.resize(2);
      if (arguments.size() > 1)
        arguments[1] = CommandLineLogName(arguments[1], arguments[0]);
      instance.SendToFirst(PackArguments(arguments), HandOverTimeoutMs);
      return 0;
    }
    Application->Initialize(argc, argv);
    instance.Serve();
    Application->SetTitle(ApplicationTitle);
    Application->CreateForm(QELMainForm);
    QELMainForm->SetCaption(ApplicationTitle);
    QELMainForm->ListenTo(instance);
    // A logout, Ctrl+C or kill closes the window as its close box does, saving the settings.
    const CloseOnSignals closeOnSignals([] {
      if (QELMainForm)
        QELMainForm->Close();
    });
    Application->Run();
    // The application has freed its forms.
    instance.OnMessage = nullptr;
    instance.Ready = nullptr;
    QELMainForm = nullptr;
  } catch (const std::exception& e) {
    Application->ShowException(&e);
  } catch (...) {
    const Exception unknown;
    Application->ShowException(&unknown);
  }
  return 0;
}
