#pragma once
// The one crossing between the program's 8-bit texts and Qt's strings. Every caption, hint,
// title and message goes through ToQString; every text read back from a widget through
// FromQString. File names are the file system's bytes and use the separate pair below.
#include <QString>
#include <string_view>

#include "System.h"

// The code page of the display: 1252 while the interface speaks German, 1251 otherwise.
// Controls that carry no code page of their own follow it, also with texts already shown.
void SetDisplayCodePage(int codePage);
int DisplayCodePage();

// Bytes that are valid UTF-8 holding a byte of 0x80 or more show as UTF-8; any other bytes
// decode with codePage (0: the display code page).
QString ToQString(std::string_view text, int codePage = 0);

// Text from a widget as bytes of codePage (0: the display code page); "?" stands for each
// character the code page lacks.
AnsiString FromQString(const QString& text, int codePage = 0);

// File names pass unchanged between the program and the file system (QFile's name encoding).
QString FileNameToQString(const AnsiString& name);
AnsiString QStringToFileName(const QString& name);
