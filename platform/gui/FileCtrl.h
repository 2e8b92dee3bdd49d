#pragma once
// SelectDirectory: the folder chooser, over QFileDialog in folder mode.
#include "Set.h"
#include "System.h"

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = Set<TSelectDirOpt>;

// Starts in Directory (the working folder when it is empty) and puts the chosen folder there;
// false when cancelled, and Directory then stays. With sdAllowCreate folders can be made in
// the dialog and a name typed for a folder that does not exist yet is accepted; sdPerformCreate
// then creates it, after asking first when sdPrompt is set. HelpCtx is unused: there is no
// help system.
bool SelectDirectory(AnsiString& Directory, TSelectDirOpts Options, int HelpCtx);
