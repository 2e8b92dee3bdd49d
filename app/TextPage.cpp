// The Text page: the find bar's search up and down, its clear, start and end buttons, and the
// caret readout in the status bar below the text.
#include <algorithm>
#include <string>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "app/Qelunit.h"
#include "app/TextSearch.h"

void BQELunit::FindButtonClick(TObject*)
{
  // The memo is refilled by a parse.
  if (ParseRunning)
    return;
  if (FindEdit->Text().empty() && TextMemo->SelLength() != 0)
    FindEdit->SetText(TextMemo->SelText());
  const std::vector<AnsiString> forms = SearchForms(FindEdit->Text(), FindEdit->Utf8Text(), FindEdit->CodePage());
  const std::string_view text = TextMemo->Store().Text();
  const int64_t caret = TextMemo->SelStart();
  TextMatch match;
  if (FindDownRadio->Checked()) {
    // One on, so that a repeated find moves past the match it found last; never past the end.
    const int64_t from = std::min(caret + 1, TextMemo->GetTextLen());
    TextMemo->SetSelStart(from);
    match = FindForward(text, from, forms);
  } else {
    match = FindBackward(text, caret, forms);
  }
  if (match.Position >= 0) {
    TextMemo->SetSelStart(match.Position);
    TextMemo->SetSelLength(match.Length);
  }
  ShowCaretPosition();
}

void BQELunit::ClearFindButtonClick(TObject*)
{
  FindEdit->SetText("");
}

void BQELunit::TextStartButtonClick(TObject*)
{
  TextMemo->LineScroll(-TextMemo->Lines()->Count());
  TextMemo->SetSelStart(std::min<int64_t>(1, TextMemo->GetTextLen()));
  ShowCaretPosition();
}

void BQELunit::TextEndButtonClick(TObject*)
{
  TextMemo->LineScroll(TextMemo->Lines()->Count());
  // Before the final line break, when there is one.
  const std::string_view text = TextMemo->Store().Text();
  const bool finalBreak = text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
  TextMemo->SetSelStart(static_cast<int64_t>(text.size()) - (finalBreak ? 2 : 0));
  ShowCaretPosition();
}

void BQELunit::ShowCaretPosition()
{
  // All three from the selection's start: a selection over several lines keeps the column of
  // the line it starts on.
  const int64_t start = TextMemo->SelStart();
  const int64_t line = TextMemo->LineFromChar(start);
  const int64_t column = start - TextMemo->LineIndex(line);
  AnsiString lineText, columnText, offsetText;
  TextStatusBar->SetSimpleText(GetUiText(69, lineText) + std::to_string(line + 1) + GetUiText(70, columnText) +
                               std::to_string(column + 1) + GetUiText(71, offsetText) + std::to_string(start));
}

void BQELunit::TextMemoMouseMove(TObject*, TShiftState, int, int)
{
  if (TextMemo->CanFocus())
    TextMemo->SetFocus();
  ShowCaretPosition();
}

void BQELunit::TextMemoKeyUp(TObject*, Word&, TShiftState)
{
  ShowCaretPosition();
}
