#pragma once
// The log a command line names, for the start and for a later start that hands it over.
#include "System.h"

// The trimmed argument as the process that got it reads it: a relative name is the file in the
// working folder, made absolute; only a bare name found nowhere there is one in the program's
// folder.
AnsiString CommandLineLogName(const AnsiString& argument, const AnsiString& program);
