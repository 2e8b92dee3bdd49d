#include "app/EntryPoint.h"

#include <exception>

#include "Application.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "SingleInstance.h"
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
    Application->Initialize(argc, argv);
    TSingleInstance instance;
    if (!instance.BecomeFirst(signature)) {
      instance.SendToFirst(GetCommandLine(), HandOverTimeoutMs);
      return 0;
    }
    Application->SetTitle(ApplicationTitle);
    Application->CreateForm(QELMainForm);
    QELMainForm->SetCaption(ApplicationTitle);
    QELMainForm->ListenTo(instance);
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
