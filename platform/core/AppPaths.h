#pragma once
// Where the program lives and where it keeps its data files.
#include "System.h"

// $HOME, else the user's entry's home, else "/tmp"; without a trailing '/'.
AnsiString HomeFolder();

// The executable's folder, ending with '/'.
AnsiString ProgramFolder();

// The program folder when it is writable, else $XDG_CONFIG_HOME/dravolin/
// (default ~/.config/dravolin/), created when missing. Ends with '/'.
AnsiString DataFolder();

// The rule behind DataFolder, for a given candidate program folder.
AnsiString DataFolderFor(const AnsiString& programFolder);

// Where a file the user saves is suggested: the program folder when it is writable, else the
// home folder. Ends with '/'.
AnsiString SaveFolder();
AnsiString SaveFolderFor(const AnsiString& programFolder);

// Makes DataFolder() return `folder` (a '/' is added when missing); "" restores the rule.
void SetDataFolderForTests(const AnsiString& folder);
