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

// The absolute program path, then each argument as the process got it: what a file name holds
// passes intact, quotes and blanks included.
std::vector<AnsiString> GetCommandLineArguments();

// A program path and its arguments as one text, for a later start to hand over to the running
// one; any bytes but NUL pass. UnpackArguments gives the list back, or false for a text that
// is not such a list (a one-string command line).
AnsiString PackArguments(const std::vector<AnsiString>& arguments);
bool UnpackArguments(const AnsiString& text, std::vector<AnsiString>& arguments);

// The executable's absolute path.
AnsiString ExeName();
