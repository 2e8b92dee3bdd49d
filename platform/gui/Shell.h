#pragma once
// Starting other programs: always with an argument vector, never through a shell, so no path
// or text is ever interpreted.
#include <QStringList>

#include "System.h"

// Opens a file with the desktop's default application for its type (xdg-open), as a double
// click in the file manager would. Whether anything opens is not reported.
void ShellOpen(const AnsiString& fileName);

// Starts a program found on PATH, detached, its output discarded; false when it is not
// installed or does not start.
bool RunDetached(const QString& program, const QStringList& arguments);
