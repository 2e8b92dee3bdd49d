// Opening the file the clipboard names, and the paste button's hint that shows what it holds.
#include "Buttons.h"
#include "Clipbrd.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"

namespace {

// A whole page of copied text would make a hint larger than the screen.
constexpr size_t HintTextLimit = 300;

}  // namespace

void BQELunit::PasteButtonClick(TObject*)
{
  const AnsiString name = Trim(ClipboardFileName());
  if (FileExists(name))
    OpenLogFile(name);
}

// Bound to the pointer's entering the button and to changes of the clipboard, not to every
// move over it: each read of the clipboard can wait on another program.
void BQELunit::PasteButtonMouseMove(TObject*)
{
  AnsiString hint;
  GetUiText(1, hint);
  hint += ClipboardText().substr(0, HintTextLimit) + " ]";
  if (!FileExists(Trim(ClipboardFileName()))) {
    AnsiString missing;
    hint += GetUiText(2, missing);
  }
  PasteButton->SetHint(hint);
}
