#pragma once
// The text of the Help page: Russian for language 0, English for every other language (there
// is no German help).
#include <vector>

#include "System.h"

// Every line is padded with blanks to this many bytes.
constexpr size_t HelpLineWidth = 107;

// The lines in code-page bytes (Russian in Windows-1251), converted at the first call.
const std::vector<AnsiString>& HelpTextLines(int language);
