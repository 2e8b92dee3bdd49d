#pragma once
// The desktop clipboard, as far as the program reads it: its text.
#include "System.h"

// The clipboard's text in the ANSI code page (GetACP); characters that code page lacks become
// "?". Empty when the clipboard holds no text.
AnsiString ClipboardText();

// The clipboard's text as a file name: the file system's own bytes, whatever the code page.
// Empty when the clipboard holds no text.
AnsiString ClipboardFileName();
