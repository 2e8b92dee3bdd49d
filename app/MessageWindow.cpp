#include "app/MessageWindow.h"

#include "Application.h"
#include "Button.h"
#include "CodePage.h"
#include "Form.h"
#include "Label.h"
#include "Numbers.h"
#include "Timer.h"

int BMessageBox::TickInterval = 1000;

namespace {

AnsiString CountdownCaption(int seconds)
{
  return "Ok (" + IntToStr(seconds) + ")";
}

}  // namespace

void BMessageBox::Show(const AnsiString& text, int seconds)
{
  SecondsLeft = seconds < 0 ? 0 : seconds;
  Counting = SecondsLeft >= 1;

  Form = new TForm(Application);
  Form->SetBorderIcons(TBorderIcons{});
  Form->SetPosition(poScreenCenter);
  Form->SetBorderStyle(bsSingle);
  Form->SetBorderWidth(10);
  Form->SetClientHeight(100);
  Form->SetClientWidth(500);
  Form->SetAutoScroll(false);
  Form->SetCaption(Utf8ToAnsi("Внимание!", 1251));

  // Set up at a fixed size, then sized to the wrapped text across the window's width.
  Label = new TLabel(Form);
  Label->SetParent(Form);
  Label->SetAutoSize(false);
  Label->SetCaption(text);
  Label->SetWordWrap(true);
  Label->SetTransparent(true);
  Label->SetAlign(alTop);
  Label->SetHeight(100);
  Label->SetAutoSize(true);

  Button = new TButton(Form);
  Button->SetParent(Form);
  Button->SetCaption(Counting ? CountdownCaption(SecondsLeft) : AnsiString("Ok"));
  Button->SetWidth(100);
  Button->SetLeft((Form->ClientWidth() - 100) / 2);
  Button->SetHeight(25);
  Button->SetTop(Label->Height() + 20);
  Button->SetModalResult(mrOk);
  Form->SetClientHeight(Button->Top() + Button->Height());

  Timer = new TTimer(Form);
  Timer->SetInterval(TickInterval);
  Timer->OnTimer = [this](TObject* Sender) { OnTimerTick(Sender); };
  Timer->SetEnabled(true);

  Form->ShowModal();
  // Closed by the button before the count ran out: no tick may reach this object, which the
  // caller may free before the message loop frees the window.
  Timer->SetEnabled(false);
  Timer->OnTimer = nullptr;
  Form->Release();
}

void BMessageBox::OnTimerTick(TObject*)
{
  if (!Counting)
    return;
  if (SecondsLeft >= 2) {
    --SecondsLeft;
    Button->SetCaption(CountdownCaption(SecondsLeft));
  } else {
    Form->SetModalResult(mrOk);
    Timer->SetEnabled(false);
  }
}

void ShowTimedMessage(const AnsiString& text, int seconds)
{
  BMessageBox box;
  box.Show(text, seconds);
}
