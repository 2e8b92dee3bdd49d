#pragma once
// The value word of a log line read as BQELunit::CleanNumber and StrToFloat read it, with the
// same results, but in place: a parse reads millions of them.
#include <string_view>

// False when the cleaned word is empty, is no number, or is beyond the range of a double.
bool ReadValueWord(std::string_view word, double& value);
