#include "app/Progress.h"

#include "Application.h"
#include "Button.h"
#include "CodePage.h"
#include "Form.h"
#include "Gauges.h"
#include "IgnoreFailure.h"
#include "Label.h"

BProgress::BProgress(TControl* owner, Byte* abortFlag)
    : WindowCaption(Utf8ToAnsi("Наберитесь терпения ...  :)", 1251)), ButtonText(Utf8ToAnsi("Прервать", 1251)),
      Owner(owner), AbortFlag(abortFlag)
{
  Form = new TForm(owner);
  Form->SetBorderStyle(bsDialog);
  Form->SetFormStyle(fsStayOnTop);
  Form->SetPosition(poMainFormCenter);
  Form->OnClose = [this](TObject* Sender, TCloseAction&) { FormClose(Sender); };

  MainGauge = new TCGauge(Form);
  MainGauge->SetParent(Form);
  MainGauge->SetBorderStyle(bsNone);
  MainGauge->SetBackColor(0xFFFFFF);
  MainGauge->SetKind(gkPie);
  MainGauge->SetForeColor(0x800000);

  SecondGauge = new TCGauge(Form);
  SecondGauge->SetParent(Form);
  SecondGauge->SetBorderStyle(bsNone);
  SecondGauge->SetBackColor(0xFFFFFF);
  SecondGauge->SetKind(gkPie);
  SecondGauge->SetForeColor(0x0000FF);
  SecondGauge->SetVisible(false);

  Label = new TLabel(Form);
  Label->SetParent(Form);
  Label->SetAutoSize(false);
  Label->SetWordWrap(true);
  Label->SetCaption("");

  Button = new TButton(Form);
  Button->SetParent(Form);
  Button->OnClick = [this](TObject* Sender) { AbortClick(Sender); };
  Button->SetCaption(Utf8ToAnsi("Прервать", 1251));

  Margin = Button->Height();
  // The small gauge overlaps the corner of the big one.
  SecondGauge->BringToFront();
  Created = true;
}

BProgress::~BProgress()
{
  if (!Created)
    return;
  // The form outlives this object until the message loop frees it: nothing of it may call back.
  Form->OnClose = nullptr;
  Button->OnClick = nullptr;
  Form->Release();
}

void BProgress::Show(bool on)
{
  if (!Created)
    return;
  Form->SetCaption(WindowCaption);
  Button->SetCaption(ButtonText);
  if (on) {
    Owner->SetEnabled(false);
    Form->Show();
    Arrange();
  } else {
    Form->Hide();
    Owner->SetEnabled(true);
  }
  Application->ProcessMessages();
  lastPump_ = std::chrono::steady_clock::now();
}

void BProgress::Arrange()
{
  if (!Created)
    return;
  const int formHeight = 4 * Margin;
  int formWidth = 5 * formHeight;
  const double widest = 0.8 * Owner->Width();
  if (formWidth >= widest)
    formWidth = static_cast<int>(widest);
  const TPoint origin = Owner->ClientOrigin();
  Form->SetBounds(origin.x + (Owner->Width() - formWidth) / 2, origin.y + (Owner->Height() - formHeight) / 2,
                  formWidth, formHeight);

  const int height = Form->ClientHeight();
  const int width = Form->ClientWidth();
  const int gauge = static_cast<int>(0.8 * height);
  const int inset = static_cast<int>(0.1 * height);
  MainGauge->SetBounds(inset, inset, gauge, gauge);

  const int small = gauge / 2;
  SecondGauge->SetBounds(MainGauge->Left() + MainGauge->Width(), MainGauge->Top() + MainGauge->Height() - small,
                         small, small);

  const int labelLeft = 2 * MainGauge->Left() + MainGauge->Width();
  Label->SetBounds(labelLeft, MainGauge->Top(), width - labelLeft - MainGauge->Left(),
                   MainGauge->Height() - Margin);

  const int buttonHeight = Margin;
  const int buttonWidth = 5 * buttonHeight;
  Button->SetBounds(static_cast<int>(width - buttonWidth - 0.1 * height),
                    static_cast<int>(0.9 * height - buttonHeight), buttonWidth, buttonHeight);
}

void BProgress::SetGauge(TCGauge* gauge, int max, int pos)
{
  // Only changes: an update per log line must cost little more than the pump.
  if (gauge->MaxValue() != max)
    gauge->SetMaxValue(max);
  if (gauge->Progress() != pos)
    gauge->SetProgress(pos);
}

void BProgress::Pump(bool always)
{
  if (!Form->Visible() || Application->Terminated())
    return;
  if (!always && std::chrono::steady_clock::now() - lastPump_ < PumpInterval)
    return;
  Application->ProcessMessages();
  // From the end of this pump: however long it took, the operation gets its share of time.
  lastPump_ = std::chrono::steady_clock::now();
}

void BProgress::SetProgress(int mainMax, int mainPos, int secondMax, int secondPos, bool showSecond)
{
  if (!Created)
    return;
  SetGauge(MainGauge, mainMax, mainPos);
  SecondGauge->SetVisible(showSecond);
  if (showSecond)
    SetGauge(SecondGauge, secondMax, secondPos);
  Pump(false);
}

void BProgress::SetMainProgress(int max, int pos)
{
  if (!Created)
    return;
  SetGauge(MainGauge, max, pos);
  Pump(false);
}

void BProgress::SetSecondProgress(int max, int pos)
{
  if (!Created)
    return;
  SetGauge(SecondGauge, max, pos);
  Pump(false);
}

void BProgress::SetText(const AnsiString& text)
{
  if (!Created)
    return;
  Label->SetCaption(text);
  if (Form->Visible())
    Label->Repaint();
  Pump(true);
}

void BProgress::AbortClick(TObject*)
{
  if (AbortFlag)
    *AbortFlag = 1;
}

void BProgress::FormClose(TObject*)
{
  if (AbortFlag)
    *AbortFlag = 1;
}

ProgressShown::ProgressShown(BProgress* progress, const AnsiString& caption, const AnsiString& buttonText,
                             int secondMax)
    : progress_(progress)
{
  if (!progress_)
    return;
  progress_->WindowCaption = caption;
  progress_->ButtonText = buttonText;
  progress_->SetProgress(0, 0, secondMax, 0, true);
  progress_->Show(true);
}

ProgressShown::~ProgressShown()
{
  if (progress_)
    IgnoreFailure([&] { progress_->Show(false); });
}
