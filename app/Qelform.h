#pragma once
// The main form: a thin shell. Its show handler makes the central object, which builds the
// whole window in code; its close handlers free it again; and it takes the command lines that
// later starts of the program hand over.
#include <memory>

#include "Form.h"
#include "System.h"

class BQELunit;
class SingleInstance;

class TQELMainForm : public TForm {
public:
  explicit TQELMainForm(TComponent* AOwner);

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);

  // A later start's program path and arguments (PackArguments), or one whole command line:
  // its first argument is opened. Dropped when the central object cannot take it now (see
  // CanTakeCommandLine).
  void WMCopyData(const AnsiString& commandLine);

  // True while a received command line may open a log: the central object is built, no
  // parse runs, and the start has already opened the program's own command line (which
  // would otherwise replace the newer request a second later).
  static bool CanTakeCommandLine();

  // Lets the instance deliver the texts it receives to this form, only while
  // CanTakeCommandLine holds, bringing the window to the front first. The close stops the
  // instance listening. The instance outlives the form.
  void ListenTo(SingleInstance& instance);

private:
  // Lets a close asked for during a parse find out whether the form still exists.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  bool closePending_ = false;
  SingleInstance* instance_ = nullptr;
};

// The main form, made by the application's CreateForm.
extern TQELMainForm* QELMainForm;
// The one central object; null before the form was shown and after it was closed.
extern BQELunit* gQELunit;

// The application's title and the main form's caption.
extern const char* const ApplicationTitle;
