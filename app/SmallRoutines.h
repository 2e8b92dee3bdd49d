#pragma once
// Small text routines shared by the parser, the report and the file handling.
#include "System.h"

// folder and name with one "/" between them, added unless the folder already ends in one.
AnsiString JoinPath(const AnsiString& folder, const AnsiString& name);

// A text shorter than width gets fill characters on the left (right = false) or on the
// right until it is width long; any other text is cut to its first width characters.
AnsiString PadString(const AnsiString& text, char fill, int width, bool right);
