#pragma once
// The class library's small modal dialogs. Captions and texts are program text, shown as
// plain text (never markup) through the display code page.
#include "System.h"

// Asks for one line of text, starting from Value. OK puts the typed text into Value (in the
// given code page, "?" for characters it lacks) and returns true; cancelling returns false
// and leaves Value as it was.
// The value is shown and read back in codePage (0: the display code page).
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value, int codePage = 0);

// A modal message with one OK button and the application's title as its caption.
void ShowMessage(const AnsiString& Msg);
