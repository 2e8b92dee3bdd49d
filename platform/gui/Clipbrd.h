#pragma once
// The desktop clipboard, as far as the program reads it: its text, the file it names, and
// word of its changes.
#include <functional>

#include "System.h"

class TControl;

// The clipboard's text in the ANSI code page (GetACP); characters that code page lacks become
// "?". Empty when the clipboard holds no text.
AnsiString ClipboardText();

// The file the clipboard names, as the file system's bytes whatever the code page: the first
// local file of a URL list (a file manager's copy), else the text, a "file://" URL made a
// path. Empty when the clipboard holds neither.
AnsiString ClipboardFileName();

// Runs onChange after every change of the clipboard's content, for as long as receiver lives.
// Watching is cheaper than reading: on X11 each read is a round trip to the clipboard's owner.
void WatchClipboard(TControl* receiver, std::function<void()> onChange);
