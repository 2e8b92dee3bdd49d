#include "app/NameEditor.h"

#include "Application.h"
#include "Button.h"
#include "CodePage.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"

namespace {

// Russian and English names are kept in code page 1251, German names in 1252, whatever the
// interface language: each edit shows and encodes its own.
constexpr int RussianCodePage = 1251;
constexpr int EnglishCodePage = 1251;
constexpr int GermanCodePage = 1252;

TLabel* NewRowLabel(TForm* form, const AnsiString& caption, int top)
{
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(caption);
  label->SetLeft(10);
  label->SetTop(top);
  return label;
}

TEdit* NewRowEdit(TForm* form, const AnsiString& text, int codePage, int top)
{
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetCodePage(codePage);
  edit->SetText(text);
  edit->SetLeft(120);
  edit->SetTop(top);
  edit->SetWidth(200);
  return edit;
}

}  // namespace

BNameRED::BNameRED()
    : OkCaption(Utf8ToAnsi("Применить", 1251)), CancelCaption(Utf8ToAnsi("Отмена", 1251)),
      WindowCaption(Utf8ToAnsi("Диалог", 1251))
{
}

bool BNameRED::Execute()
{
  auto* form = new TForm(Application);
  form->SetCaption(WindowCaption);
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);

  RussianLabel = NewRowLabel(form, RussianCaption, 20);
  RussianEdit = NewRowEdit(form, RussianName, RussianCodePage, RussianLabel->Top());
  EnglishLabel = NewRowLabel(form, EnglishCaption, RussianLabel->Top() + RussianLabel->Height() + 20);
  EnglishEdit = NewRowEdit(form, EnglishName, EnglishCodePage, EnglishLabel->Top());
  GermanLabel = NewRowLabel(form, GermanCaption, EnglishLabel->Top() + EnglishLabel->Height() + 20);
  GermanEdit = NewRowEdit(form, GermanName, GermanCodePage, GermanLabel->Top());
  form->SetClientWidth(GermanEdit->Left() + GermanEdit->Width() + 10);

  CancelButton = new TButton(form);
  CancelButton->SetParent(form);
  CancelButton->SetWidth(80);
  CancelButton->SetTop(GermanLabel->Top() + GermanLabel->Height() + 20);
  CancelButton->SetLeft(form->ClientWidth() - 80 - 10);
  CancelButton->SetCaption(CancelCaption);
  CancelButton->SetModalResult(mrCancel);

  OkButton = new TButton(form);
  OkButton->SetParent(form);
  OkButton->SetWidth(80);
  OkButton->SetTop(CancelButton->Top());
  OkButton->SetLeft(CancelButton->Left() - 80 - 10);
  OkButton->SetCaption(OkCaption);
  OkButton->SetModalResult(mrOk);
  form->SetClientHeight(OkButton->Top() + OkButton->Height() + 10);

  const bool confirmed = form->ShowModal() == mrOk;
  if (confirmed) {
    RussianName = RussianEdit->Text();
    EnglishName = EnglishEdit->Text();
    GermanName = GermanEdit->Text();
  }
  form->Release();
  // The window goes with the next turn of the message loop; keep no pointers into it.
  RussianLabel = EnglishLabel = GermanLabel = nullptr;
  RussianEdit = EnglishEdit = GermanEdit = nullptr;
  OkButton = CancelButton = nullptr;
  return confirmed;
}
