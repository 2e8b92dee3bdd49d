#pragma once
// The process's command line as one Windows-style text, rebuilt from argv.
#include <vector>

#include "System.h"

// Keeps argv for GetCommandLine(); call once at start.
void InitCommandLine(int argc, char** argv);

// The absolute program path, then each argument after a blank. A text holding a
// blank or tab, or an empty one, is put in double quotes; a relative argument that
// names an existing file is made absolute first.
AnsiString GetCommandLine();

// The same rule for a given program path and arguments.
AnsiString BuildCommandLine(const AnsiString& program, const std::vector<AnsiString>& arguments);

// The executable's absolute path.
AnsiString ExeName();
