#pragma once
// The class library's small modal dialogs. Captions and texts are program text, shown as
// plain text (never markup) through the display code page.
#include "System.h"

// Asks for one line of text, starting from Value. OK puts the typed text into Value (in the
// display code page, "?" for characters it lacks) and returns true; cancelling returns false
// and leaves Value as it was.
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);

// A modal message with one OK button and the application's title as its caption.
void ShowMessage(const AnsiString& Msg);
