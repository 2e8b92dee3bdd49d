#pragma once
// The Text page's search: bytes, exact, in the memo's own text (no copy of it). The typed text
// may stand for more than one byte sequence; the match nearest in the search direction wins.
#include <cstdint>
#include <string_view>
#include <vector>

#include "System.h"

struct TextMatch {
  int64_t Position = -1;  // -1: none
  int64_t Length = 0;
};

// The first occurrence of any form that starts at or after `from`.
TextMatch FindForward(std::string_view text, int64_t from, const std::vector<AnsiString>& forms);
// The last occurrence of any form that ends at or before `end`; overlapping occurrences count.
TextMatch FindBackward(std::string_view text, int64_t end, const std::vector<AnsiString>& forms);

// What the find edit's text is searched as, from its bytes in the code page and its UTF-8
// bytes: one form when they are the same (plain ASCII, or bytes the program set, such as a
// selection taken into the edit); else the code page's bytes, unless a character the code page
// lacks stands as a fallback byte there, and the UTF-8 bytes, as lines that are valid UTF-8
// show in UTF-8.
std::vector<AnsiString> SearchForms(const AnsiString& bytes, const AnsiString& utf8, int codePage);
